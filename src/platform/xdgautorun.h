#pragma once

#include "platform/platform.h"

#include <QMap>

namespace brimble {

// Start at log-on through XDG autostart entries: the value `name` is the file
// `<name>.desktop` in the user's autostart folder ($XDG_CONFIG_HOME/autostart) or in the
// machine-wide one (the first of $XDG_CONFIG_DIRS + /autostart); its text is the Exec key.
// The folders are looked up on every call, so a changed environment takes effect at once.
class XdgAutorunStore : public AutorunStore {
public:
    // An entry that is hidden or switched off counts as absent.
    std::optional<QString> read(AutorunRoot root, const QString& name) override;
    // Writes a whole desktop entry atomically. The user's folder is made when missing; the
    // machine-wide one never is.
    bool write(AutorunRoot root, const QString& name, const QString& text) override;
    bool remove(AutorunRoot root, const QString& name) override;

    static QString folder(AutorunRoot root);
    // The entry's file, or an empty string when `name` cannot name a file in the folder.
    static QString entryPath(AutorunRoot root, const QString& name);
};

// The string escapes of desktop entry values (\s \n \t \r \\).
QString escapeDesktopValue(const QString& value);
QString unescapeDesktopValue(const QString& value);

// The keys of the [Desktop Entry] group, values unescaped; later duplicates win.
QMap<QString, QString> parseDesktopEntry(const QByteArray& contents);

} // namespace brimble
