#include "store/maker.h"

#include "store/connection.h"
#include "store/dberror.h"
#include "store/schema.h"

#include <QFile>
#include <QFileInfo>
#include <sqlcipher/sqlite3.h>

namespace brimble {

namespace {

const char* kConfigRow =
    "INSERT INTO config (pfontname, pfontcolor, pfontsize, pfontstyle, pfontcharset, pbgcolor, "
    "selcolor, popcolortype, autorun, formtile, repeatsecond) "
    "VALUES ('MS Sans Serif', 0, 8, '0', 1, 8454143, 12639424, 0, 0, 1, 10);";

} // namespace

bool makeDeliveredDatabase(const QString& path) {
    if (QFileInfo::exists(path))
        return false;
    // Built under a temporary name and renamed, so a failed run leaves no half-made file
    // that later runs would take as delivered.
    const QString temp = path + QStringLiteral(".making");
    QFile::remove(temp);
    sqlite3* db = nullptr;
    auto failWith = [&](const QString& what) {
        const QString text = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
        sqlite3_close(db);
        QFile::remove(temp);
        throw DbError(QStringLiteral("%1 '%2': %3").arg(what, path, text));
    };
    if (sqlite3_open_v2(temp.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK)
        failWith(QStringLiteral("Cannot create"));
    const QByteArray key = QByteArray(Connection::kSuffix).split('=').last();
    if (sqlite3_key(db, key.constData(), int(key.size())) != SQLITE_OK)
        failWith(QStringLiteral("Cannot key"));
    Connection::applyCipherSettings(db);
    const QByteArray sql = "BEGIN;" + schemaSql().toUtf8() + kConfigRow + "COMMIT;";
    if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        failWith(QStringLiteral("Cannot fill"));
    sqlite3_close(db);
    if (!QFile::rename(temp, path)) {
        QFile::remove(temp);
        if (QFileInfo::exists(path))
            return false; // made meanwhile by someone else: theirs stands
        throw DbError(QStringLiteral("Cannot create '%1'.").arg(path));
    }
    return true;
}

} // namespace brimble
