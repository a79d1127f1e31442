#pragma once

#include <QString>
#include <QObject>
#include <QTextBlock>
#include <vector>

class QTextDocument;

namespace brimble {

struct LinkSpan {
    int start = 0; // within the text searched
    int length = 0;
};

// Link texts: "file:", "mailto:", "http:", "https:", "ftp:" or "www." (any case) at a word
// start, running to the next blank; closing punctuation at the end is not part of the link.
std::vector<LinkSpan> findLinks(const QString& text);

// Shows detected links underlined in the link colour. It only sets display formats of the
// layout, so the document and what is written from it stay as they are. Unlike a syntax
// highlighter it leaves blocks without links untouched, so that loading a memo of many
// paragraphs does not give each its layout at once.
class LinkHighlighter : public QObject {
public:
    explicit LinkHighlighter(QTextDocument* document);

private:
    void contentsChange(int from, int removed, int added);
    void mark(QTextBlock block);

    QTextDocument* document_;
    bool marking_ = false;
};

} // namespace brimble
