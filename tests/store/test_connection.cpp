#include "store/connection.h"
#include "store/dberror.h"
#include "store/maker.h"
#include "store/view.h"
#include "support/tempdb.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlcipher/sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace brimble;

namespace {

QString errorOf(Connection& c) {
    try {
        c.open();
    } catch (const DbError& e) {
        return e.text();
    }
    return {};
}

} // namespace

TEST(Connection, MissingFileIsAnErrorAndIsNotCreated) {
    QTemporaryDir dir;
    Connection c;
    c.setConnectionString(Connection::connectionStringFor(dir.path() + "/"));
    const QString text = errorOf(c);
    EXPECT_TRUE(text.contains("unable to open database file")) << text.toStdString();
    EXPECT_TRUE(text.contains("bm.mdb"));
    EXPECT_FALSE(c.isOpen());
    EXPECT_FALSE(QFile::exists(dir.path() + "/bm.mdb"));
}

TEST(Connection, WrongPasswordGivesTheEngineText) {
    test::TempDb db;
    Connection c;
    c.setConnectionString(db.connectionString().replace("wvqz47", "wrong1"));
    EXPECT_TRUE(errorOf(c).contains("not a database"));
    EXPECT_FALSE(c.isOpen());
    // The views of a connection that failed report their own errors.
    View v(c, "bm", "BM");
    EXPECT_THROW(v.open(), DbError);
}

TEST(Connection, FileHoldsNoPlainText) {
    test::TempDb db;
    {
        Connection c;
        c.setConnectionString(db.connectionString());
        c.open();
        View v(c, "bm", "BM");
        v.open();
        v.append();
        v.setValue("memo", "a secret memo text");
        v.post();
        c.exec("PRAGMA wal_checkpoint(TRUNCATE);");
    }
    for (const QString& name : {db.filePath(), db.filePath() + "-wal"}) {
        QFile f(name);
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QByteArray bytes = f.readAll();
        EXPECT_FALSE(bytes.contains("secret memo")) << name.toStdString();
        EXPECT_FALSE(bytes.contains("MS Sans Serif")) << name.toStdString();
    }
}

TEST(Maker, LeavesAnExistingFileAlone) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/bm.mdb";
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a database");
    }
    EXPECT_FALSE(makeDeliveredDatabase(path));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("not a database"));
}

TEST(Maker, DeliveredConfigRow) {
    test::TempDb db;
    Connection c;
    c.setConnectionString(db.connectionString());
    c.open();
    View config(c, "config", "config");
    config.open();
    ASSERT_EQ(config.recordCount(), 1);
    EXPECT_EQ(config.textValue("pfontname"), "MS Sans Serif");
    EXPECT_EQ(config.intValue("pfontcolor"), 0);
    EXPECT_EQ(config.intValue("pfontsize"), 8);
    EXPECT_EQ(config.textValue("pfontstyle"), "0");
    EXPECT_EQ(config.intValue("pfontcharset"), 1);
    EXPECT_EQ(config.intValue("pbgcolor"), 8454143);
    EXPECT_EQ(config.intValue("selcolor"), 12639424);
    EXPECT_EQ(config.intValue("popcolortype"), 0);
    EXPECT_FALSE(config.boolValue("autorun"));
    EXPECT_TRUE(config.boolValue("formtile"));
    EXPECT_EQ(config.intValue("repeatsecond"), 10);
}

TEST(Durability, APostedMemoSurvivesACrashRightAfterThePost) {
    test::TempDb db;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        Connection c;
        c.setConnectionString(db.connectionString());
        c.open();
        View v(c, "bm", "BM");
        v.open();
        v.append();
        v.setValue("memo", "saved just before the crash");
        v.post();
        std::abort(); // no close, no checkpoint
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    Connection c;
    c.setConnectionString(db.connectionString());
    c.open();
    View v(c, "bm", "BM");
    v.open();
    ASSERT_EQ(v.recordCount(), 1);
    EXPECT_EQ(v.textValue("memo"), "saved just before the crash");
}

TEST(Connection, EveryLegalFolderNameWorksInTheConnectionString) {
    QTemporaryDir root;
    for (const QString& name : {QStringLiteral("memos;Password=nope"), QStringLiteral("say \"hi\"; 'x'"),
                                QStringLiteral(" padded ")}) {
        const QString dir = root.path() + "/" + name + "/";
        ASSERT_TRUE(QDir().mkpath(dir));
        ASSERT_TRUE(makeDeliveredDatabase(dir + "bm.mdb"));
        Connection c;
        c.setConnectionString(Connection::connectionStringFor(dir));
        EXPECT_EQ(c.fileName(), dir + "bm.mdb");
        EXPECT_EQ(errorOf(c), QString()) << name.toStdString();
        EXPECT_TRUE(c.isOpen());
    }
}

TEST(Connection, FileThatIsNotTheProgramsDatabaseIsNeverWritten) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/bm.mdb";
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    Connection c;
    c.setConnectionString(Connection::connectionStringFor(dir.path() + "/"));
    const QString text = errorOf(c);
    EXPECT_TRUE(text.contains(path)) << text.toStdString();
    EXPECT_FALSE(c.isOpen());
    EXPECT_EQ(QFileInfo(path).size(), 0);
    EXPECT_FALSE(QFile::exists(path + "-wal"));

    // An encrypted file with the right key but none of the program's tables.
    QFile::remove(path);
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &raw), SQLITE_OK);
    sqlite3_key(raw, "wvqz47", 6);
    Connection::applyCipherSettings(raw);
    ASSERT_EQ(sqlite3_exec(raw, "CREATE TABLE other (x);", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(raw);
    const qint64 size = QFileInfo(path).size();
    EXPECT_TRUE(errorOf(c).contains(path));
    EXPECT_EQ(QFileInfo(path).size(), size);
    EXPECT_FALSE(QFile::exists(path + "-wal")) << "not even switched to WAL";
}
