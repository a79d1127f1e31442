#include "platform/autorunstore.h"
#include "platform/xdgautorun.h"
#include "support/printers.h"
#include "xdgenv.h"

#include <QFileInfo>

using namespace brimble;
using brimble::test::XdgEnv;

namespace {
const QString kName = QStringLiteral("brimble!");
}

TEST(XdgAutorunFolders, FollowTheEnvironmentAndItsDefaults) {
    XdgEnv env;
    EXPECT_EQ(XdgAutorunStore::folder(AutorunRoot::CurrentUser), env.userDir());
    EXPECT_EQ(XdgAutorunStore::folder(AutorunRoot::LocalMachine), env.systemDir());
    EXPECT_EQ(XdgAutorunStore::entryPath(AutorunRoot::CurrentUser, kName), env.userEntry());

    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(env.path(QStringLiteral("ann"))));
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_CONFIG_DIRS");
    EXPECT_EQ(XdgAutorunStore::folder(AutorunRoot::CurrentUser),
              env.path(QStringLiteral("ann/.config/autostart")));
    EXPECT_EQ(XdgAutorunStore::folder(AutorunRoot::LocalMachine),
              QStringLiteral("/etc/xdg/autostart"));

    // Relative entries are not valid places and are passed over.
    qputenv("XDG_CONFIG_HOME", "relative/config");
    qputenv("XDG_CONFIG_DIRS", "relative:/opt/xdg:/etc/xdg");
    EXPECT_EQ(XdgAutorunStore::folder(AutorunRoot::CurrentUser),
              env.path(QStringLiteral("ann/.config/autostart")));
    EXPECT_EQ(XdgAutorunStore::folder(AutorunRoot::LocalMachine),
              QStringLiteral("/opt/xdg/autostart"));
    qputenv("HOME", home);
}

TEST(XdgAutorunFolders, NamesThatLeaveTheFolderAreRefused) {
    XdgEnv env;
    XdgAutorunStore store;
    for (const QString& bad : {QString(), QStringLiteral("../evil"), QStringLiteral("a/b")}) {
        EXPECT_TRUE(XdgAutorunStore::entryPath(AutorunRoot::CurrentUser, bad).isEmpty());
        EXPECT_FALSE(store.write(AutorunRoot::CurrentUser, bad, QStringLiteral("/bin/x")));
        EXPECT_FALSE(store.read(AutorunRoot::CurrentUser, bad).has_value());
    }
    EXPECT_FALSE(QFileInfo::exists(env.home + QStringLiteral("/evil.desktop")));
}

TEST(XdgAutorunStore, WriteMakesAValidEntryInAFreshUserFolder) {
    XdgEnv env;
    auto store = makeAutorunStore();
    ASSERT_FALSE(QFileInfo::exists(env.home));
    ASSERT_TRUE(store->write(AutorunRoot::CurrentUser, kName, QStringLiteral("/opt/b/brimble")));

    const QByteArray bytes = XdgEnv::readFile(env.userEntry());
    EXPECT_TRUE(bytes.startsWith("[Desktop Entry]\n"));
    const auto keys = parseDesktopEntry(bytes);
    EXPECT_EQ(keys.value("Type"), "Application");
    EXPECT_EQ(keys.value("Name"), "Brimble!");
    EXPECT_EQ(keys.value("Exec"), "/opt/b/brimble");
    EXPECT_EQ(keys.value("X-GNOME-Autostart-enabled"), "true");
    EXPECT_FALSE(keys.value("Icon").isEmpty());
    EXPECT_FALSE(keys.value("Comment").isEmpty());
    // Every line is a group header or key=value with a key of the allowed characters.
    for (const QByteArray& line : bytes.split('\n')) {
        if (line.isEmpty() || line.startsWith('['))
            continue;
        const qsizetype eq = line.indexOf('=');
        ASSERT_GT(eq, 0) << line.constData();
        for (char c : line.left(eq))
            EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c)) || c == '-') << line.constData();
    }
    // The session reads the entry; every user must be able to read a machine-wide one.
    const auto perms = QFileInfo(env.userEntry()).permissions();
    EXPECT_TRUE(perms & QFileDevice::ReadOther);
    EXPECT_TRUE(perms & QFileDevice::ReadOwner);
    EXPECT_FALSE(perms & QFileDevice::WriteOther);
}

TEST(XdgAutorunStore, ExecTextRoundTripsThroughTheFileEscapes) {
    XdgEnv env;
    XdgAutorunStore store;
    // A backslash of the command line is doubled once more by the file's string escaping.
    const QString command = QStringLiteral("\"/opt/a\\\\b/my brimble\"");
    ASSERT_TRUE(store.write(AutorunRoot::CurrentUser, kName, command));
    EXPECT_TRUE(XdgEnv::readFile(env.userEntry())
                    .contains("\nExec=\"/opt/a\\\\\\\\b/my brimble\"\n"));
    EXPECT_EQ(store.read(AutorunRoot::CurrentUser, kName), command);

    const QString odd = QStringLiteral(" lead\ttab\nnewline\\");
    ASSERT_TRUE(store.write(AutorunRoot::CurrentUser, kName, odd));
    EXPECT_EQ(store.read(AutorunRoot::CurrentUser, kName), odd);
}

TEST(XdgAutorunStore, WriteReplacesAnEntryWhole) {
    XdgEnv env;
    XdgAutorunStore store;
    XdgEnv::writeFile(env.userEntry(), "[Desktop Entry]\nExec=/old\nHidden=true\n");
    ASSERT_TRUE(store.write(AutorunRoot::CurrentUser, kName, QStringLiteral("/new")));
    EXPECT_EQ(store.read(AutorunRoot::CurrentUser, kName), QStringLiteral("/new"));
    EXPECT_FALSE(XdgEnv::readFile(env.userEntry()).contains("Hidden"));
}

TEST(XdgAutorunStore, SystemFolderIsNeverCreated) {
    XdgEnv env;
    XdgAutorunStore store;
    EXPECT_FALSE(store.write(AutorunRoot::LocalMachine, kName, QStringLiteral("/opt/b/brimble")));
    EXPECT_FALSE(QFileInfo::exists(env.system));

    ASSERT_TRUE(QDir().mkpath(env.systemDir()));
    EXPECT_TRUE(store.write(AutorunRoot::LocalMachine, kName, QStringLiteral("/opt/b/brimble")));
    EXPECT_EQ(store.read(AutorunRoot::LocalMachine, kName), QStringLiteral("/opt/b/brimble"));
    EXPECT_FALSE(store.read(AutorunRoot::CurrentUser, kName).has_value());
}

TEST(XdgAutorunStore, WritesIntoPlacesThatAreNoFoldersFail) {
    XdgEnv env;
    XdgAutorunStore store;
    // Works under any user, root included: a file stands where a folder must be.
    XdgEnv::writeFile(env.home, "not a folder");
    XdgEnv::writeFile(env.systemDir(), "not a folder");
    EXPECT_FALSE(store.write(AutorunRoot::CurrentUser, kName, QStringLiteral("/x")));
    EXPECT_FALSE(store.write(AutorunRoot::LocalMachine, kName, QStringLiteral("/x")));
    EXPECT_FALSE(store.read(AutorunRoot::CurrentUser, kName).has_value());
    EXPECT_FALSE(store.remove(AutorunRoot::LocalMachine, kName));
    EXPECT_EQ(XdgEnv::readFile(env.home), "not a folder");
}

TEST(XdgAutorunStore, ReadCountsHiddenOrDisabledOrExeclessEntriesAsAbsent) {
    XdgEnv env;
    XdgAutorunStore store;
    struct Case {
        const char* contents;
        std::optional<QString> expected;
    };
    const Case cases[] = {
        {"[Desktop Entry]\nType=Application\nExec=/bin/b\n", QStringLiteral("/bin/b")},
        {"# note\n\n[Desktop Entry]\r\nExec = /bin/b\r\n", QStringLiteral("/bin/b")},
        {"[Desktop Entry]\nExec=/bin/b\nHidden=true\n", std::nullopt},
        {"[Desktop Entry]\nHidden=false\nExec=/bin/b\n", QStringLiteral("/bin/b")},
        {"[Desktop Entry]\nExec=/bin/b\nX-GNOME-Autostart-enabled=false\n", std::nullopt},
        {"[Desktop Entry]\nType=Application\n", std::nullopt},
        {"[Desktop Entry]\nExec=\n", QString()},
        // Keys of other groups do not belong to the entry.
        {"[Desktop Action x]\nExec=/bin/other\n[Desktop Entry]\nName=b\n", std::nullopt},
        {"[Desktop Entry]\nExec=/bin/b\n[Desktop Action x]\nHidden=true\n", QStringLiteral("/bin/b")},
    };
    for (const Case& c : cases) {
        XdgEnv::writeFile(env.userEntry(), c.contents);
        EXPECT_EQ(store.read(AutorunRoot::CurrentUser, kName), c.expected) << c.contents;
    }
}

TEST(XdgAutorunStore, RemoveDeletesTheEntryFile) {
    XdgEnv env;
    XdgAutorunStore store;
    EXPECT_FALSE(store.remove(AutorunRoot::CurrentUser, kName));
    ASSERT_TRUE(store.write(AutorunRoot::CurrentUser, kName, QStringLiteral("/x")));
    XdgEnv::writeFile(env.userDir() + QStringLiteral("/other.desktop"), "[Desktop Entry]\n");
    EXPECT_TRUE(store.remove(AutorunRoot::CurrentUser, kName));
    EXPECT_FALSE(QFileInfo::exists(env.userEntry()));
    EXPECT_TRUE(QFileInfo::exists(env.userDir() + QStringLiteral("/other.desktop")));
    EXPECT_FALSE(store.read(AutorunRoot::CurrentUser, kName).has_value());
}
