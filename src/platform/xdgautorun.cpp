#include "platform/xdgautorun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace brimble {

namespace {

const QString kGroup = QStringLiteral("[Desktop Entry]");

QString absoluteEnvDir(const char* variable) {
    const QString value = qEnvironmentVariable(variable);
    // Relative paths in these variables are invalid and must be ignored.
    return QDir::isAbsolutePath(value) ? value : QString();
}

} // namespace

QString escapeDesktopValue(const QString& value) {
    QString out;
    out.reserve(value.size() + 4);
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == u'\\')
            out += QStringLiteral("\\\\");
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c == u'\t')
            out += QStringLiteral("\\t");
        else if (c == u'\r')
            out += QStringLiteral("\\r");
        else if (c == u' ' && i == 0)
            out += QStringLiteral("\\s"); // a leading blank would be trimmed away
        else
            out += c;
    }
    return out;
}

QString unescapeDesktopValue(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != u'\\' || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar e = value.at(++i);
        if (e == u's')
            out += u' ';
        else if (e == u'n')
            out += u'\n';
        else if (e == u't')
            out += u'\t';
        else if (e == u'r')
            out += u'\r';
        else if (e == u'\\')
            out += u'\\';
        else
            out += QString(c) + e; // not a string escape: left for the Exec parser
    }
    return out;
}

QMap<QString, QString> parseDesktopEntry(const QByteArray& contents) {
    QMap<QString, QString> keys;
    bool inGroup = false;
    const QStringList lines = QString::fromUtf8(contents).split(u'\n');
    for (QString line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        if (trimmed.startsWith(u'[')) {
            inGroup = trimmed == kGroup;
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (!inGroup || eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        // Only leading blanks of the value are insignificant; \s keeps a wanted one.
        QString value = line.mid(eq + 1);
        qsizetype start = 0;
        while (start < value.size() && (value.at(start) == u' ' || value.at(start) == u'\t'))
            ++start;
        keys.insert(key, unescapeDesktopValue(value.mid(start)));
    }
    return keys;
}

QString XdgAutorunStore::folder(AutorunRoot root) {
    if (root == AutorunRoot::CurrentUser) {
        QString base = absoluteEnvDir("XDG_CONFIG_HOME");
        if (base.isEmpty())
            base = QDir::homePath() + QStringLiteral("/.config");
        return base + QStringLiteral("/autostart");
    }
    QString first;
    for (const QString& dir : qEnvironmentVariable("XDG_CONFIG_DIRS").split(u':')) {
        if (QDir::isAbsolutePath(dir)) {
            first = dir;
            break;
        }
    }
    if (first.isEmpty())
        first = QStringLiteral("/etc/xdg");
    return first + QStringLiteral("/autostart");
}

QString XdgAutorunStore::entryPath(AutorunRoot root, const QString& name) {
    // The name must stay a single file name inside the folder.
    if (name.isEmpty() || name.contains(u'/') || name.contains(QChar(0)) || name == u"." ||
        name == u"..")
        return QString();
    return folder(root) + u'/' + name + QStringLiteral(".desktop");
}

std::optional<QString> XdgAutorunStore::read(AutorunRoot root, const QString& name) {
    const QString path = entryPath(root, name);
    if (path.isEmpty())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const auto keys = parseDesktopEntry(file.readAll());
    if (keys.value(QStringLiteral("Hidden")) == u"true" ||
        keys.value(QStringLiteral("X-GNOME-Autostart-enabled")) == u"false" ||
        !keys.contains(QStringLiteral("Exec")))
        return std::nullopt;
    return keys.value(QStringLiteral("Exec"));
}

bool XdgAutorunStore::write(AutorunRoot root, const QString& name, const QString& text) {
    const QString path = entryPath(root, name);
    if (path.isEmpty())
        return false;
    const QString dir = folder(root);
    if (root == AutorunRoot::CurrentUser) {
        if (!QDir().mkpath(dir))
            return false;
    } else if (!QFileInfo(dir).isDir()) {
        return false;
    }
    QString entry;
    entry += kGroup + u'\n';
    entry += QStringLiteral("Type=Application\n");
    entry += QStringLiteral("Name=Brimble!\n");
    entry += QStringLiteral("Comment=Desktop reminders\n");
    entry += QStringLiteral("Exec=") + escapeDesktopValue(text) + u'\n';
    entry += QStringLiteral("Icon=brimble\n");
    entry += QStringLiteral("Terminal=false\n");
    entry += QStringLiteral("X-GNOME-Autostart-enabled=true\n");

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // Autostart entries are read by the session, and a machine-wide one by every user.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                        QFileDevice::ReadGroup | QFileDevice::ReadOther);
    const QByteArray bytes = entry.toUtf8();
    if (file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}

bool XdgAutorunStore::remove(AutorunRoot root, const QString& name) {
    const QString path = entryPath(root, name);
    return !path.isEmpty() && QFile::remove(path);
}

} // namespace brimble
