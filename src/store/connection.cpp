#include "store/connection.h"

#include "store/dberror.h"
#include "store/schema.h"
#include "store/view.h"

#include <QFileInfo>
#include <QStringList>
#include <cerrno>
#include <cstring>
#include <sqlcipher/sqlite3.h>

namespace brimble {

namespace {

struct Parsed {
    QString file;
    QByteArray key;
};

// Splits "name=value;name=value". A value may be quoted with " or ' (the quote doubled inside
// stands for itself), so that a path holding ';' or '=' survives.
Parsed parse(const QString& text) {
    Parsed p;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        const qsizetype eq = text.indexOf(QLatin1Char('='), i);
        if (eq < 0)
            break;
        const QString name = text.mid(i, eq - i).trimmed().toLower();
        i = eq + 1;
        while (i < n && text[i].isSpace())
            ++i;
        QString value;
        if (i < n && (text[i] == QLatin1Char('"') || text[i] == QLatin1Char('\''))) {
            const QChar quote = text[i++];
            while (i < n) {
                if (text[i] == quote) {
                    if (i + 1 < n && text[i + 1] == quote) {
                        value += quote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += text[i++];
            }
            const qsizetype end = text.indexOf(QLatin1Char(';'), i);
            i = end < 0 ? n : end + 1;
        } else {
            const qsizetype end = text.indexOf(QLatin1Char(';'), i);
            value = text.mid(i, (end < 0 ? n : end) - i).trimmed();
            i = end < 0 ? n : end + 1;
        }
        if (name == QLatin1String("data source"))
            p.file = value;
        else if (name == QLatin1String("password") ||
                 name == QLatin1String("jet oledb:database password"))
            p.key = value.toUtf8();
    }
    return p;
}

// Errors that concern the file rather than one statement say which file it is.
bool aboutTheFile(int code) {
    switch (code & 0xff) {
    case SQLITE_IOERR:
    case SQLITE_FULL:
    case SQLITE_CANTOPEN:
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_READONLY:
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_PERM:
        return true;
    default:
        return false;
    }
}

} // namespace

void Connection::applyCipherSettings(sqlite3* db) {
    // Larger pages: fewer decryptions per memo. Files are made with the same setting.
    sqlite3_exec(db, "PRAGMA cipher_page_size=4096;", nullptr, nullptr, nullptr);
}

QString Connection::connectionStringFor(const QString& directoryWithSeparator) {
    return connectionStringForFile(directoryWithSeparator + QLatin1String(kFileName));
}

QString Connection::connectionStringForFile(const QString& file) {
    QString source = file;
    // Quoted only when it must be, so ordinary paths keep the plain form.
    if (source.contains(QLatin1Char(';')) || source.contains(QLatin1Char('"')) ||
        source.contains(QLatin1Char('\'')) || source != source.trimmed())
        source = QLatin1Char('"') + source.replace(QLatin1Char('"'), QLatin1String("\"\"")) +
                 QLatin1Char('"');
    return QLatin1String(kPrefix) + source + QLatin1String(kSettings);
}

QString Connection::fileName() const { return parse(connectionString_).file; }

Connection::~Connection() { close(); }

void Connection::open() {
    if (db_)
        return;
    const Parsed p = parse(connectionString_);
    if (p.file.isEmpty())
        throw DbError(QStringLiteral("The connection string names no data source."));

    // A file of no bytes is no database of this program, though the engine would take it as
    // an empty one and write a new database into it.
    const QFileInfo info(p.file);
    if (info.exists() && info.isFile() && info.size() == 0)
        throw DbError(QStringLiteral("'%1' is empty: it is not a Brimble! database.").arg(p.file));

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
    file_ = p.file;
    try {
        if (sqlite3_key(db_, p.key.constData(), int(p.key.size())) != SQLITE_OK)
            fail();
        applyCipherSettings(db_);
        // Another process holding the write lock makes a write wait this long before it
        // fails: long enough for an ordinary commit of another copy, short enough that the
        // window does not freeze.
        sqlite3_busy_timeout(db_, kBusyTimeoutMs);
        // Views hold the rows without their bodies, read from a small index; a body is read
        // once when shown. 8 MB of decrypted pages keeps that index and a few bodies.
        exec("PRAGMA cache_size=-8192;");
        // The first read proves the key: a wrong one gives "file is not a database". Nothing
        // is written before the file is known to hold the program's tables.
        int tables = 0;
        {
            sqlite3_stmt* s = nullptr;
            if (sqlite3_prepare_v2(db_,
                                   "SELECT count(*) FROM sqlite_master WHERE type = 'table' "
                                   "AND name IN ('bm', 'config');",
                                   -1, &s, nullptr) != SQLITE_OK)
                fail();
            const int step = sqlite3_step(s);
            if (step == SQLITE_ROW)
                tables = sqlite3_column_int(s, 0);
            sqlite3_finalize(s);
            if (step != SQLITE_ROW)
                fail();
        }
        if (tables != 2)
            throw DbError(QStringLiteral("'%1' does not hold the tables of a Brimble! database.")
                              .arg(p.file));
        // WAL with full sync: every post is on disk when it returns, and a crash loses no
        // saved memo. Other processes may still open the file for reading and writing.
        exec("PRAGMA journal_mode=WAL;");
        exec("PRAGMA synchronous=FULL;");
        // Files made before the index get it at their first open; a file that cannot take it
        // (read-only, locked) is read the slow way.
        sqlite3_exec(db_, rowsIndexSql().toUtf8().constData(), nullptr, nullptr, nullptr);
        rowsIndex_ = false;
        {
            sqlite3_stmt* s = nullptr;
            if (sqlite3_prepare_v2(db_, "SELECT 1 FROM sqlite_master WHERE type = 'index' AND name = ?;",
                                   -1, &s, nullptr) == SQLITE_OK) {
                sqlite3_bind_text(s, 1, kRowsIndex, -1, SQLITE_STATIC);
                rowsIndex_ = sqlite3_step(s) == SQLITE_ROW;
            }
            sqlite3_finalize(s);
        }
    } catch (...) {
        sqlite3_close(db_);
        db_ = nullptr;
        file_.clear();
        throw;
    }
}

void Connection::close() {
    if (!db_)
        return;
    sqlite3_close_v2(db_);
    db_ = nullptr;
    file_.clear();
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
        sqlite3_free(message);
        fail();
    }
}

QString Connection::errorText() const {
    if (!db_)
        return QStringLiteral("no connection");
    const int code = sqlite3_extended_errcode(db_);
    QString text = QString::fromUtf8(sqlite3_errmsg(db_));
    // The engine reports a write that found no room as a plain I/O error.
    if ((code & 0xff) == SQLITE_IOERR && sqlite3_system_errno(db_) == ENOSPC)
        text = QStringLiteral("the disk is full");
    if (aboutTheFile(code) && !file_.isEmpty())
        text = QStringLiteral("%1: '%2'").arg(text, file_);
    return text;
}

void Connection::fail(const QString& context) const {
    QString text = errorText();
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

void Connection::enroll(View* view) { views_.push_back(view); }

void Connection::leave(View* view) { std::erase(views_, view); }

void Connection::beforeRowWrite(const QString& table, qint64 rowid, const View* writer) {
    for (View* v : views_)
        if (v != writer && v->isOpen() && v->table() == table)
            v->keepBodyOf(rowid);
}

void Connection::setDurableCommits(bool durable) {
    exec(durable ? "PRAGMA synchronous=FULL;" : "PRAGMA synchronous=NORMAL;");
}

} // namespace brimble
