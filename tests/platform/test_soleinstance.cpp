#include "platform/soleinstance.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QLocalServer>
#include <QSignalSpy>
#include <QUuid>
#include <gtest/gtest.h>

using namespace brimble;

namespace {

QString freshKey() { return QStringLiteral("/tmp/brimble-test-") + QUuid::createUuid().toString(); }

} // namespace

TEST(SoleInstance, SecondStartOnTheSameDatabaseAsksTheFirstToShowAndEnds) {
    const QString key = freshKey();
    SoleInstance first(key);
    ASSERT_TRUE(first.claim());
    QSignalSpy shown(&first, &SoleInstance::activationRequested);

    SoleInstance second(key);
    EXPECT_FALSE(second.claim());
    EXPECT_TRUE(shown.wait(2000));
    EXPECT_EQ(shown.count(), 1);

    // Another database is another program.
    SoleInstance elsewhere(freshKey());
    EXPECT_TRUE(elsewhere.claim());
    EXPECT_NE(elsewhere.serverName(), first.serverName());
}

TEST(SoleInstance, NameIsFreeAgainOnceTheCopyHasEnded) {
    const QString key = freshKey();
    {
        SoleInstance first(key);
        ASSERT_TRUE(first.claim());
    }
    SoleInstance again(key);
    EXPECT_TRUE(again.claim());
    SoleInstance third(key);
    EXPECT_FALSE(third.claim()) << "the new copy answers in turn";
}

#ifndef Q_OS_WIN
TEST(SoleInstance, SocketLeftByACrashedCopyDoesNotKeepTheProgramFromStarting) {
    const QString key = freshKey();
    SoleInstance probe(key);
    // Where the socket of that name lives: a dead file there, as a crash leaves it.
    QLocalServer where;
    ASSERT_TRUE(where.listen(probe.serverName()));
    const QString path = where.fullServerName();
    where.close();
    QFile dead(path);
    ASSERT_TRUE(dead.open(QIODevice::WriteOnly));
    dead.close();

    SoleInstance next(key);
    EXPECT_TRUE(next.claim());
    SoleInstance after(key);
    EXPECT_FALSE(after.claim()) << "and it takes requests from then on";
}
#endif

#ifndef Q_OS_WIN
TEST(SoleInstance, OneDatabaseReachedThroughALinkIsOneCopy) {
    QTemporaryDir dir;
    const QString real = dir.path() + "/real/bm.mdb";
    ASSERT_TRUE(QDir().mkpath(dir.path() + "/real"));
    ASSERT_TRUE(QDir().mkpath(dir.path() + "/other"));
    {
        QFile f(real);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QFile::link(real, dir.path() + "/other/bm.mdb"));
    ASSERT_TRUE(QFile::link(dir.path() + "/real", dir.path() + "/linkdir"));
    SoleInstance first(real);
    ASSERT_TRUE(first.claim());
    SoleInstance byFileLink(dir.path() + "/other/bm.mdb");
    EXPECT_FALSE(byFileLink.claim());
    SoleInstance byFolderLink(dir.path() + "/linkdir/../real/bm.mdb");
    EXPECT_FALSE(byFolderLink.claim());
    SoleInstance sameFolderOtherFile(dir.path() + "/real/other.mdb");
    EXPECT_TRUE(sameFolderOtherFile.claim());
}
#endif
