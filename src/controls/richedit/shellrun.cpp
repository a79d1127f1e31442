#include "controls/richedit/shellrun.h"

#include "platform/platform.h"

#include <QRegularExpression>

namespace brimble {

namespace {

bool isDriveAt(const QString& s, int i) {
    return i + 1 < s.size() && s.at(i).isLetter() && s.at(i).unicode() < 128 &&
           s.at(i + 1) == u':' &&
           (i + 2 == s.size() || s.at(i + 2) == u'\\' || s.at(i + 2) == u'/');
}

QString fileLink(const QString& text, int restStart) {
    const QString rest = text.mid(restStart);
    int lead = 0;
    bool backslash = false;
    while (lead < rest.size() && (rest.at(lead) == u'\\' || rest.at(lead) == u'/')) {
        backslash = backslash || rest.at(lead) == u'\\';
        ++lead;
    }
    const QString scheme = text.left(restStart); // "file:" as the user spelled it
    QString path = rest.mid(lead);
    if (isDriveAt(path, 0)) {
        // A Windows path: its separators are backslashes.
        path.replace(u'\\', u'/');
        return scheme + QStringLiteral("///") + path;
    }
    if (!backslash)
        return text; // "file:/x", "file:///x", "file://host/x" are URLs already
    if (lead >= 4 && rest.left(lead).count(u'\\') >= 4) {
        // "\\\\server\share\..." after "file:" is a network path.
        path.replace(u'\\', u'/');
        return scheme + QStringLiteral("//") + path;
    }
    if (path.startsWith(u'/'))
        return scheme + QStringLiteral("//") + path; // a POSIX path after "file:\\"
    path.replace(u'\\', u'/');
    return scheme + QStringLiteral("///") + path;
}

} // namespace

QString openableLink(const QString& text) {
    static const QRegularExpression scheme(QStringLiteral("^(https?|ftp|file):"),
                                           QRegularExpression::CaseInsensitiveOption);
    const auto m = scheme.match(text);
    if (!m.hasMatch())
        return text;
    const int restStart = int(m.capturedLength(0));
    if (m.captured(1).compare(QLatin1String("file"), Qt::CaseInsensitive) == 0)
        return fileLink(text, restStart);
    if (restStart >= text.size() || text.at(restStart) != u'\\')
        return text;
    // "http:\\host\path" and mixed forms such as "http:\/host": the leading separators become
    // "//", and the backslashes of the path slashes.
    int lead = restStart;
    while (lead < text.size() && (text.at(lead) == u'\\' || text.at(lead) == u'/'))
        ++lead;
    QString path = text.mid(lead);
    path.replace(u'\\', u'/');
    return text.left(restStart) + QStringLiteral("//") + path;
}

void shellrun(Platform& platform, const QString& file, const QString& parameters,
              const QString& directory, int showMode) {
    (void)parameters;
    (void)directory;
    (void)showMode;
    if (file.compare(QLatin1String("charmap.exe"), Qt::CaseInsensitive) == 0) {
        platform.startCharacterMap();
        return;
    }
    platform.shellOpen(openableLink(file));
}

void URLClickAction::operator()(const QString& text, Qt::MouseButton button) const {
    (void)button; // either button opens the link
    shellrun(platform_, text, QString(), QString(), kShowNormalActivate);
}

} // namespace brimble
