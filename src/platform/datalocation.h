#pragma once

#include <QString>

namespace brimble {

// Where the memo database lies. A copy of the program that carries its own bm.mdb (the build
// tree, a portable folder) uses it. An installed program cannot: its folder is not the user's
// to write and would be shared by every user, so each user gets a copy of the installed
// template in a data folder of their own, made once at first start.
struct DatabasePlaces {
    QString programDir;   // folder of the program file
    QString installedDir; // the installed program's data folder; empty when not installed
    QString userDir;      // the user's own data folder for the program
};

inline constexpr const char* kDatabaseFileName = "bm.mdb";

// The folder of the database, with a trailing separator, in the platform's separators.
// The template (installedDir/bm.mdb) is copied to userDir only when the user has no database
// there yet; a missing template copies nothing, and nothing is ever made from nothing.
QString databaseDirectory(const DatabasePlaces& places);

// The places of the running program: the installed data folder lies where the install
// rules put it relative to the program file, the user's folder is $XDG_DATA_HOME/brimble
// (on Windows the local application data).
DatabasePlaces databasePlacesFor(const QString& programFilePath);

} // namespace brimble
