#include "store/connection.h"

#include "store/dberror.h"

#include <QFileInfo>
#include <QStringList>
#include <cstring>
#include <sqlcipher/sqlite3.h>

namespace brimble {

namespace {

struct Parsed {
    QString file;
    QByteArray key;
};

Parsed parse(const QString& text) {
    Parsed p;
    for (const QString& piece : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype eq = piece.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString name = piece.left(eq).trimmed().toLower();
        const QString value = piece.mid(eq + 1).trimmed();
        if (name == QLatin1String("data source"))
            p.file = value;
        else if (name == QLatin1String("password") ||
                 name == QLatin1String("jet oledb:database password"))
            p.key = value.toUtf8();
    }
    return p;
}

} // namespace

void Connection::applyCipherSettings(sqlite3* db) {
    // Larger pages: fewer decryptions per memo. Files are made with the same setting.
    sqlite3_exec(db, "PRAGMA cipher_page_size=4096;", nullptr, nullptr, nullptr);
}

QString Connection::connectionStringFor(const QString& directoryWithSeparator) {
    return QLatin1String(kPrefix) + directoryWithSeparator + QLatin1String(kSuffix);
}

Connection::~Connection() { close(); }

void Connection::open() {
    if (db_)
        return;
    const Parsed p = parse(connectionString_);
    if (p.file.isEmpty())
        throw DbError(QStringLiteral("The connection string names no data source."));

    sqlite3* db = nullptr;
    // Read-write but never create: a missing file is an error, not a new empty database.
    const int rc = sqlite3_open_v2(p.file.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE,
                                   nullptr);
    if (rc != SQLITE_OK) {
        QString text = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
        sqlite3_close(db);
        if (!QFileInfo::exists(p.file))
            text = QStringLiteral("Could not find file '%1' (%2).").arg(p.file, text);
        else
            text = QStringLiteral("%1: '%2'").arg(text, p.file);
        throw DbError(text);
    }
    db_ = db;
    try {
        if (sqlite3_key(db_, p.key.constData(), int(p.key.size())) != SQLITE_OK)
            fail();
        applyCipherSettings(db_);
        sqlite3_busy_timeout(db_, 5000);
        // Views re-read the whole table after every write: keep up to 64 MB of its pages
        // decrypted rather than decrypting them again each time.
        exec("PRAGMA cache_size=-65536;");
        // The first read proves the key: a wrong one gives "file is not a database".
        exec("SELECT count(*) FROM sqlite_master;");
        // WAL with full sync: every post is on disk when it returns, and a crash loses no
        // saved memo. Other processes may still open the file for reading and writing.
        exec("PRAGMA journal_mode=WAL;");
        exec("PRAGMA synchronous=FULL;");
    } catch (...) {
        sqlite3_close(db_);
        db_ = nullptr;
        throw;
    }
}

void Connection::close() {
    if (!db_)
        return;
    sqlite3_close_v2(db_);
    db_ = nullptr;
    texts_.clear();
    kept_.clear();
}

sqlite3* Connection::handle() const {
    if (!db_)
        throw DbError(QStringLiteral("Operation is not allowed when the connection is closed."));
    return db_;
}

void Connection::exec(const char* sql) {
    char* message = nullptr;
    const int rc = sqlite3_exec(handle(), sql, nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        const QString text = message ? QString::fromUtf8(message) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_free(message);
        throw DbError(text);
    }
}

void Connection::fail(const QString& context) const {
    QString text = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QStringLiteral("no connection");
    if (!context.isEmpty())
        text = context + QStringLiteral(": ") + text;
    throw DbError(text);
}

QByteArray Connection::shareText(qint64 rowid, const char* data, int size) {
    QByteArray& held = texts_[rowid];
    if (held.size() != size || std::memcmp(held.constData(), data, size_t(size)) != 0)
        held = QByteArray(data, size);
    return held;
}

Connection::Changes Connection::changes() {
    Changes c;
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(handle(), "PRAGMA data_version;", -1, &s, nullptr) != SQLITE_OK)
        fail();
    const int rc = sqlite3_step(s);
    if (rc == SQLITE_ROW)
        c.otherCommits = sqlite3_column_int64(s, 0);
    sqlite3_finalize(s);
    if (rc != SQLITE_ROW)
        fail();
    c.ownRows = sqlite3_total_changes(db_);
    return c;
}

const std::vector<StoredRow>* Connection::unchangedRows(const QString& table) {
    const auto it = kept_.find(table);
    if (it == kept_.end())
        return nullptr;
    // Inside a transaction what was read may still be rolled back, which no counter shows.
    if (sqlite3_get_autocommit(handle()) && it->second.at == changes())
        return &it->second.rows;
    kept_.erase(it); // stale: let its rows go now rather than at the next read
    return nullptr;
}

void Connection::keepRows(const QString& table, const std::vector<StoredRow>& rows) {
    if (!sqlite3_get_autocommit(handle())) {
        kept_.erase(table);
        return;
    }
    kept_[table] = KeptRows{changes(), rows};
}

void Connection::setDurableCommits(bool durable) {
    exec(durable ? "PRAGMA synchronous=FULL;" : "PRAGMA synchronous=NORMAL;");
}

} // namespace brimble
