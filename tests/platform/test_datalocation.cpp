#include "platform/datalocation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace brimble;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// An installed layout in a temporary prefix: prefix/bin holds the program, prefix/share/brimble
// the template; the user's data lies elsewhere.
struct Installed {
    QTemporaryDir root;
    QString prefix = root.filePath("usr");
    QString program = prefix + "/bin/brimble";
    QString templ = prefix + "/share/brimble/bm.mdb";
    QString userDir = root.filePath("home/.local/share/brimble");
    QString userFile = userDir + "/bm.mdb";

    Installed() {
        writeFile(program, "program");
        writeFile(templ, "template");
    }
    DatabasePlaces places() const {
        DatabasePlaces p = databasePlacesFor(program);
        p.userDir = userDir;
        return p;
    }
    static QString dir(const QString& path) { return QDir::toNativeSeparators(path + "/"); }
};

} // namespace

TEST(DatabaseLocation, InstalledProgramFindsItsDataFolderBesideItsOwn) {
    Installed in;
    EXPECT_EQ(QDir::cleanPath(databasePlacesFor(in.program).installedDir),
              QDir::cleanPath(in.prefix + "/share/brimble"));
    // A build tree or portable folder has no data folder beside it.
    QTemporaryDir portable;
    EXPECT_TRUE(databasePlacesFor(portable.filePath("brimble")).installedDir.isEmpty());
}

TEST(DatabaseLocation, FileBesideTheProgramComesFirst) {
    Installed in;
    writeFile(in.prefix + "/bin/bm.mdb", "portable");
    writeFile(in.userFile, "user");
    EXPECT_EQ(databaseDirectory(in.places()), Installed::dir(in.prefix + "/bin"));
    EXPECT_EQ(readFile(in.userFile), "user");
}

TEST(DatabaseLocation, TemplateIsCopiedOnceAndTheUsersFileIsNeverReplaced) {
    Installed in;
    EXPECT_EQ(databaseDirectory(in.places()), Installed::dir(in.userDir));
    EXPECT_EQ(readFile(in.userFile), "template");
#ifndef Q_OS_WIN
    EXPECT_EQ(QFileInfo(in.userFile).permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup),
              QFileDevice::Permissions());
#endif
    // The user's memos live on in their copy; a newer template does not overwrite them.
    writeFile(in.userFile, "memos");
    writeFile(in.templ, "template 2");
    EXPECT_EQ(databaseDirectory(in.places()), Installed::dir(in.userDir));
    EXPECT_EQ(readFile(in.userFile), "memos");
    EXPECT_FALSE(QFileInfo::exists(in.userFile + ".copying"));
    // And the user's copy serves even when the template has gone.
    QFile::remove(in.templ);
    EXPECT_EQ(databaseDirectory(in.places()), Installed::dir(in.userDir));
    EXPECT_EQ(readFile(in.userFile), "memos");
}

TEST(DatabaseLocation, NoTemplateMakesNothing) {
    Installed in;
    QFile::remove(in.templ);
    // The user's folder is named, so opening reports the file missing there; nothing is made.
    EXPECT_EQ(databaseDirectory(in.places()), Installed::dir(in.userDir));
    EXPECT_FALSE(QFileInfo::exists(in.userFile));
    // Not installed, without a file beside it: the program's folder, as always.
    QTemporaryDir portable;
    DatabasePlaces p = databasePlacesFor(portable.filePath("brimble"));
    p.userDir = in.userDir;
    EXPECT_EQ(databaseDirectory(p), Installed::dir(portable.path()));
    EXPECT_FALSE(QFileInfo::exists(in.userFile));
}

TEST(DatabaseLocation, UserFolderThatCannotBeMadeLeavesNoFile) {
    Installed in;
    // A plain file where the user's folder should go.
    writeFile(in.root.filePath("blocked"), "x");
    DatabasePlaces p = in.places();
    p.userDir = in.root.filePath("blocked/brimble");
    EXPECT_EQ(databaseDirectory(p), Installed::dir(p.userDir));
    EXPECT_FALSE(QFileInfo::exists(p.userDir + "/bm.mdb"));
}
