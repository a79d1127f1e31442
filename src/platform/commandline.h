#pragma once

#include <QString>

namespace brimble {

// The command line that starts the program at `programPath`, in the syntax of the place
// that stores it. An unquoted path with a blank would be read as a shorter program followed
// by arguments, so such paths are quoted; a plain path is written as it stands.

// A Windows Run value: backslash separators, in double quotes when the path holds a blank.
QString windowsCommandLine(const QString& programPath);

// The command of a desktop entry's Exec key, before the file's own string escaping: in
// double quotes (with `"`, `` ` ``, `$` and `\` escaped) when the path holds a reserved
// character, and `%` doubled since it starts a field code.
QString execCommandLine(const QString& programPath);

// The one of the two that this system's autorun store expects.
QString autorunCommandLine(const QString& programPath);

} // namespace brimble
