#include "app/autorun.h"
#include "support/fakeplatform.h"
#include "support/printers.h"
#include "platform/xdgautorun.h"
#include "../platform/xdgenv.h"

#include <QFileInfo>

using namespace brimble;
using brimble::test::FakeAutorunStore;
using brimble::test::FakePlatform;
using brimble::test::XdgEnv;

namespace {

const QString kName = QStringLiteral("brimble!");

// The fake platform with the real XDG autostart files behind it.
class XdgPlatform : public FakePlatform {
public:
    XdgAutorunStore xdg;
    AutorunStore& autorunStore() override { return xdg; }
};

} // namespace

// --- the component's rules, over the in-memory store ---

TEST(TAutoRunLoad, PrefersTheCurrentUserAndWritesNothing) {
    struct Case {
        std::optional<QString> user, machine;
        bool on;
        AutorunRoot location;
    };
    const Case cases[] = {
        {QStringLiteral("/u"), QStringLiteral("/m"), true, AutorunRoot::CurrentUser},
        {std::nullopt, QStringLiteral("/m"), true, AutorunRoot::LocalMachine},
        {QString(), QStringLiteral("/m"), true, AutorunRoot::LocalMachine}, // empty is absent
        {QString(), QString(), false, AutorunRoot::CurrentUser},
        {std::nullopt, std::nullopt, false, AutorunRoot::CurrentUser},
    };
    for (const Case& c : cases) {
        FakePlatform platform;
        if (c.user)
            platform.autorun.currentUser[kName] = *c.user;
        if (c.machine)
            platform.autorun.localMachine[kName] = *c.machine;
        const auto user = platform.autorun.currentUser;
        const auto machine = platform.autorun.localMachine;
        TAutoRun ar(platform);
        ar.load();
        EXPECT_EQ(ar.autoRun(), c.on);
        EXPECT_EQ(ar.location(), c.location);
        EXPECT_EQ(platform.autorun.currentUser, user);
        EXPECT_EQ(platform.autorun.localMachine, machine);
    }
}

TEST(TAutoRunSet, SwitchingOnClearsBothPlacesAndWritesTheProgramPath) {
    FakePlatform platform;
    platform.autorun.localMachine[kName] = QStringLiteral("/stale");
    platform.autorun.currentUser[QStringLiteral("other")] = QStringLiteral("/keep");
    TAutoRun ar(platform);
    ar.setAutoRun(true);
    EXPECT_TRUE(ar.autoRun());
    EXPECT_EQ(platform.autorun.currentUser.value(kName), "/opt/brimble/brimble");
    EXPECT_FALSE(platform.autorun.localMachine.contains(kName));
    EXPECT_EQ(platform.autorun.currentUser.value(QStringLiteral("other")), "/keep");

    ar.setAutoRun(false);
    EXPECT_FALSE(ar.autoRun());
    EXPECT_FALSE(platform.autorun.currentUser.contains(kName));
}

TEST(TAutoRunSet, ActsOnlyWhenTheFlagChanges) {
    FakePlatform platform;
    platform.autorun.currentUser[kName] = QStringLiteral("/somewhere/else");
    TAutoRun ar(platform); // not loaded: the flag is off
    ar.setAutoRun(false);
    EXPECT_EQ(platform.autorun.currentUser.value(kName), "/somewhere/else");

    ar.load();
    ar.setAutoRun(true);
    EXPECT_EQ(platform.autorun.currentUser.value(kName), "/somewhere/else");
}

TEST(TAutoRunSet, WritesUnderTheLoadedLocation) {
    FakePlatform platform;
    platform.autorun.localMachine[kName] = QStringLiteral("/m");
    TAutoRun ar(platform);
    ar.load();
    ar.setAutoRun(false);
    EXPECT_TRUE(platform.autorun.localMachine.isEmpty());
    ar.setAutoRun(true);
    EXPECT_EQ(platform.autorun.localMachine.value(kName), "/opt/brimble/brimble");
    EXPECT_FALSE(platform.autorun.currentUser.contains(kName));
}

TEST(TAutoRunSet, StoreFailuresAreIgnoredAndTheFlagIsKept) {
    FakePlatform platform;
    platform.autorun.failWrites = true;
    TAutoRun ar(platform);
    ar.setAutoRun(true);
    EXPECT_TRUE(ar.autoRun());
    EXPECT_TRUE(platform.autorun.currentUser.isEmpty());
    EXPECT_TRUE(platform.errors.isEmpty());
}

TEST(TAutoRunSet, QuotesAPathThatWouldSplit) {
    FakePlatform platform;
    platform.programPath = QStringLiteral("/home/ann/My Programs/brimble");
    TAutoRun ar(platform);
    ar.setAutoRun(true);
    EXPECT_EQ(platform.autorun.currentUser.value(kName), "\"/home/ann/My Programs/brimble\"");

    platform.programPath = QString();
    ar.setAutoRun(false);
    ar.setAutoRun(true); // nothing to start: no empty value is left behind
    EXPECT_FALSE(platform.autorun.currentUser.contains(kName));
}

// --- the component over real autostart folders ---

TEST(TAutoRunXdg, SwitchingOnMakesTheUserEntryAndLoadingFindsIt) {
    XdgEnv env;
    XdgPlatform platform;
    platform.programPath = QStringLiteral("/opt/my apps/a$b \"q\"/brimble");
    TAutoRun ar(platform);
    ar.load();
    EXPECT_FALSE(ar.autoRun());
    ar.setAutoRun(true);

    const QByteArray bytes = XdgEnv::readFile(env.userEntry());
    EXPECT_TRUE(bytes.contains("\nExec=\"/opt/my apps/a\\\\$b \\\\\"q\\\\\"/brimble\"\n"))
        << bytes.constData();
    EXPECT_FALSE(QFileInfo::exists(env.system));

    TAutoRun next(platform);
    next.load();
    EXPECT_TRUE(next.autoRun());
    EXPECT_EQ(next.location(), AutorunRoot::CurrentUser);
}

TEST(TAutoRunXdg, PlainPathIsWrittenAsItStands) {
    XdgEnv env;
    XdgPlatform platform;
    TAutoRun ar(platform);
    ar.setAutoRun(true);
    EXPECT_TRUE(XdgEnv::readFile(env.userEntry()).contains("\nExec=/opt/brimble/brimble\n"));
}

TEST(TAutoRunXdg, LoadingPrefersTheUserEntryOverTheSystemOne) {
    XdgEnv env;
    XdgPlatform platform;
    XdgEnv::writeFile(env.systemEntry(), "[Desktop Entry]\nType=Application\nExec=/m\n");
    TAutoRun ar(platform);
    ar.load();
    EXPECT_TRUE(ar.autoRun());
    EXPECT_EQ(ar.location(), AutorunRoot::LocalMachine);

    XdgEnv::writeFile(env.userEntry(), "[Desktop Entry]\nType=Application\nExec=/u\n");
    TAutoRun second(platform);
    second.load();
    EXPECT_EQ(second.location(), AutorunRoot::CurrentUser);

    // A hidden user entry does not count; the system one is found instead.
    XdgEnv::writeFile(env.userEntry(), "[Desktop Entry]\nExec=/u\nHidden=true\n");
    TAutoRun third(platform);
    third.load();
    EXPECT_TRUE(third.autoRun());
    EXPECT_EQ(third.location(), AutorunRoot::LocalMachine);
}

TEST(TAutoRunXdg, ClearingRemovesBothEntries) {
    XdgEnv env;
    XdgPlatform platform;
    XdgEnv::writeFile(env.systemEntry(), "[Desktop Entry]\nExec=/m\n");
    XdgEnv::writeFile(env.userEntry(), "[Desktop Entry]\nExec=/u\n");
    TAutoRun ar(platform);
    ar.load();
    ar.setAutoRun(false);
    EXPECT_FALSE(QFileInfo::exists(env.userEntry()));
    EXPECT_FALSE(QFileInfo::exists(env.systemEntry()));
    TAutoRun after(platform);
    after.load();
    EXPECT_FALSE(after.autoRun());
}

TEST(TAutoRunXdg, SystemFolderIsNeverCreatedAndFailuresStaySilent) {
    XdgEnv env;
    XdgPlatform platform;
    // Loaded from a system entry whose folder is then gone: switching back on must not
    // make the folder, and nothing is reported.
    XdgEnv::writeFile(env.systemEntry(), "[Desktop Entry]\nExec=/m\n");
    TAutoRun ar(platform);
    ar.load();
    ASSERT_EQ(ar.location(), AutorunRoot::LocalMachine);
    ASSERT_TRUE(QDir(env.system).removeRecursively());
    ar.setAutoRun(false);
    ar.setAutoRun(true);
    EXPECT_TRUE(ar.autoRun());
    EXPECT_FALSE(QFileInfo::exists(env.system));
    EXPECT_FALSE(QFileInfo::exists(env.userEntry()));

    // The user's folder cannot be made when a file stands in its way.
    XdgEnv::writeFile(env.home, "in the way");
    TAutoRun user(platform);
    user.setAutoRun(true);
    EXPECT_TRUE(user.autoRun());
    EXPECT_EQ(XdgEnv::readFile(env.home), "in the way");
    EXPECT_TRUE(platform.errors.isEmpty());
}
