#include "controls/richedit/links.h"

#include <QGuiApplication>
#include <QPalette>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextLayout>
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

namespace {
constexpr int kHasLinks = 0x4C4E4B; // the block state of a block whose links are shown
}

LinkHighlighter::LinkHighlighter(QTextDocument* document) : QObject(document), document_(document) {
    connect(document, &QTextDocument::contentsChange, this, &LinkHighlighter::contentsChange);
}

void LinkHighlighter::contentsChange(int from, int removed, int added) {
    (void)removed;
    if (marking_)
        return; // the relayout asked for below reports itself as a change
    marking_ = true;
    const int end = from + added;
    for (QTextBlock b = document_->findBlock(from); b.isValid() && b.position() <= end; b = b.next())
        mark(b);
    marking_ = false;
}

void LinkHighlighter::mark(QTextBlock block) {
    const auto links = findLinks(block.text());
    if (links.empty() && block.userState() != kHasLinks)
        return;
    QList<QTextLayout::FormatRange> ranges;
    QTextCharFormat f;
    f.setForeground(QGuiApplication::palette().color(QPalette::Link));
    f.setFontUnderline(true);
    for (const LinkSpan& l : links)
        ranges.append({l.start, l.length, f});
    QTextLayout* layout = block.layout();
    block.setUserState(links.empty() ? -1 : kHasLinks);
    if (layout->formats() == ranges)
        return;
    layout->setFormats(ranges);
    document_->markContentsDirty(block.position(), block.length());
}

} // namespace brimble
