#pragma once

#include <QString>
#include <QSyntaxHighlighter>
#include <vector>

namespace brimble {

struct LinkSpan {
    int start = 0; // within the text searched
    int length = 0;
};

// Link texts: "file:", "mailto:", "http:", "https:", "ftp:" or "www." (any case) at a word
// start, running to the next blank; closing punctuation at the end is not part of the link.
std::vector<LinkSpan> findLinks(const QString& text);

// Shows detected links underlined in the link colour. It only sets display formats of the
// layout, so the document and what is written from it stay as they are.
class LinkHighlighter : public QSyntaxHighlighter {
public:
    explicit LinkHighlighter(QTextDocument* document);

protected:
    void highlightBlock(const QString& text) override;
};

} // namespace brimble
