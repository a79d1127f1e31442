#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace brimble::test {

// Points the XDG variables into a fresh temporary folder for one test and restores them
// afterwards: `home` stands for $XDG_CONFIG_HOME, `system` for the first of $XDG_CONFIG_DIRS.
// Neither folder exists until a test makes it.
class XdgEnv {
public:
    XdgEnv() : savedHome_(save("XDG_CONFIG_HOME")), savedDirs_(save("XDG_CONFIG_DIRS")) {
        EXPECT_TRUE(root_.isValid());
        home = root_.filePath(QStringLiteral("config"));
        system = root_.filePath(QStringLiteral("xdg"));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(system) + ":/etc/xdg");
    }
    ~XdgEnv() {
        restore("XDG_CONFIG_HOME", savedHome_);
        restore("XDG_CONFIG_DIRS", savedDirs_);
    }
    XdgEnv(const XdgEnv&) = delete;
    XdgEnv& operator=(const XdgEnv&) = delete;

    QString userDir() const { return home + QStringLiteral("/autostart"); }
    QString systemDir() const { return system + QStringLiteral("/autostart"); }
    QString userEntry() const { return userDir() + QStringLiteral("/brimble!.desktop"); }
    QString systemEntry() const { return systemDir() + QStringLiteral("/brimble!.desktop"); }
    QString path(const QString& name) const { return root_.filePath(name); }

    static void writeFile(const QString& path, const QByteArray& bytes) {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    static QByteArray readFile(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QString home, system;

private:
    struct Saved {
        bool set;
        QByteArray value;
    };
    static Saved save(const char* name) { return {qEnvironmentVariableIsSet(name), qgetenv(name)}; }
    static void restore(const char* name, const Saved& s) {
        if (s.set)
            qputenv(name, s.value);
        else
            qunsetenv(name);
    }

    QTemporaryDir root_;
    Saved savedHome_, savedDirs_;
};

} // namespace brimble::test
