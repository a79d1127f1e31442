#include "controls/richedit/links.h"

#include <QGuiApplication>
#include <QPalette>
#include <QTextCharFormat>
#include <array>

namespace brimble {

namespace {

constexpr std::array<QLatin1StringView, 6> kPrefixes{
    QLatin1StringView("file:"),  QLatin1StringView("mailto:"), QLatin1StringView("http:"),
    QLatin1StringView("https:"), QLatin1StringView("ftp:"),    QLatin1StringView("www."),
};

bool endsLink(QChar c) {
    // Blanks of every kind, paragraph and line separators, and the object mark of pictures.
    return c.isSpace() || c == QChar::ObjectReplacementCharacter || c == QChar::Null;
}

bool trailingPunctuation(QChar c) {
    switch (c.unicode()) {
    case '.':
    case ',':
    case ';':
    case ':':
    case '!':
    case '?':
    case ')':
    case ']':
    case '}':
    case '>':
    case '"':
    case '\'':
        return true;
    default:
        return false;
    }
}

int prefixAt(const QString& text, int i) {
    for (QLatin1StringView p : kPrefixes)
        if (QStringView(text).mid(i, p.size()).compare(p, Qt::CaseInsensitive) == 0)
            return int(p.size());
    return 0;
}

} // namespace

std::vector<LinkSpan> findLinks(const QString& text) {
    std::vector<LinkSpan> links;
    const int n = int(text.size());
    int i = 0;
    while (i < n) {
        const QChar c = text.at(i);
        const bool wordStart = i == 0 || !text.at(i - 1).isLetterOrNumber();
        const int prefix = (wordStart && (c == u'f' || c == u'F' || c == u'm' || c == u'M' ||
                                          c == u'h' || c == u'H' || c == u'w' || c == u'W'))
                               ? prefixAt(text, i)
                               : 0;
        if (prefix == 0) {
            ++i;
            continue;
        }
        int end = i + prefix;
        while (end < n && !endsLink(text.at(end)))
            ++end;
        int last = end;
        while (last > i + prefix && trailingPunctuation(text.at(last - 1)))
            --last;
        if (last > i + prefix) // a bare prefix is no link
            links.push_back({i, last - i});
        i = end;
    }
    return links;
}

LinkHighlighter::LinkHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {}

void LinkHighlighter::highlightBlock(const QString& text) {
    const auto links = findLinks(text);
    if (links.empty())
        return;
    QTextCharFormat f;
    f.setForeground(QGuiApplication::palette().color(QPalette::Link));
    f.setFontUnderline(true);
    for (const LinkSpan& l : links)
        setFormat(l.start, l.length, f);
}

} // namespace brimble
