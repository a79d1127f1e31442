#include "platform/datalocation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifndef BRIMBLE_DATA_FROM_BIN
#define BRIMBLE_DATA_FROM_BIN "../share/brimble"
#endif

namespace brimble {

namespace {

QString withSeparator(const QString& dir) {
    return QDir::toNativeSeparators(QDir::cleanPath(dir) + QLatin1Char('/'));
}

QString fileIn(const QString& dir) {
    return QDir(dir).filePath(QLatin1String(kDatabaseFileName));
}

// Copies under a temporary name and renames, so an interrupted copy never stands as the
// user's database, and a copy made meanwhile by another start is not overwritten.
bool copyTemplate(const QString& from, const QString& to) {
    if (!QDir().mkpath(QFileInfo(to).absolutePath()))
        return false;
    const QString temp = to + QStringLiteral(".copying");
    QFile::remove(temp);
    if (!QFile::copy(from, temp))
        return false;
    // The template is the system's (read-only, world-readable); the copy is the user's alone.
    QFile::setPermissions(temp, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (!QFile::rename(temp, to)) {
        QFile::remove(temp);
        return QFileInfo::exists(to);
    }
    return true;
}

} // namespace

QString databaseDirectory(const DatabasePlaces& places) {
    if (QFileInfo::exists(fileIn(places.programDir)) || places.installedDir.isEmpty() ||
        places.userDir.isEmpty())
        return withSeparator(places.programDir);
    const QString user = fileIn(places.userDir);
    const QString templ = fileIn(places.installedDir);
    if (!QFileInfo::exists(user) && QFileInfo(templ).isFile())
        copyTemplate(templ, user);
    // When the copy failed or there is no template, opening reports the missing file.
    return withSeparator(places.userDir);
}

DatabasePlaces databasePlacesFor(const QString& programFilePath) {
    DatabasePlaces places;
    places.programDir = QFileInfo(programFilePath).absolutePath();
    const QString installed =
        QDir::cleanPath(QDir(places.programDir).filePath(QStringLiteral(BRIMBLE_DATA_FROM_BIN)));
    if (QFileInfo(installed).isDir())
        places.installedDir = installed;
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!data.isEmpty())
        places.userDir = QDir(data).filePath(QStringLiteral("brimble"));
    return places;
}

} // namespace brimble
