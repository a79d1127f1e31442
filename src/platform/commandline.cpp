#include "platform/commandline.h"

namespace brimble {

QString windowsCommandLine(const QString& programPath) {
    QString path = programPath;
    path.replace(u'/', u'\\');
    if (path.contains(u' ') || path.contains(u'\t'))
        return u'"' + path + u'"';
    return path;
}

QString execCommandLine(const QString& programPath) {
    // Characters that make an Exec argument need quotes.
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool quote = false;
    for (QChar c : programPath) {
        if (reserved.contains(c)) {
            quote = true;
            break;
        }
    }
    QString out;
    out.reserve(programPath.size() + 8);
    if (quote)
        out += u'"';
    for (QChar c : programPath) {
        if (c == u'%') {
            out += QStringLiteral("%%");
            continue;
        }
        if (quote && (c == u'"' || c == u'`' || c == u'$' || c == u'\\'))
            out += u'\\';
        out += c;
    }
    if (quote)
        out += u'"';
    return out;
}

QString autorunCommandLine(const QString& programPath) {
#ifdef Q_OS_WIN
    return windowsCommandLine(programPath);
#else
    return execCommandLine(programPath);
#endif
}

} // namespace brimble
