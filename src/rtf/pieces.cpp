#include "rtf/rtf.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace brimble::rtf {

bool continuesParagraph(const QTextBlock& block) {
    return block.blockFormat().boolProperty(kContinuesProperty);
}

qsizetype pieceBreak(QStringView text, qsizetype used) {
    const qsizetype room = std::max<qsizetype>(kPieceLength - used, 0);
    if (text.size() <= room)
        return text.size();
    const qsizetype least = kPieceLength / 2 - used; // what keeps the piece half full
    for (qsizetype i = room; i > 0 && i > least; --i)
        if (text[i - 1].isSpace())
            return i;
    if (least <= 0)
        return 0; // the piece is full enough: the text starts the next one
    qsizetype n = room;
    if (text[n - 1].isHighSurrogate())
        --n;
    return n;
}

void setPieceFormats(const QTextBlock& first, const QTextBlock& last,
                     const QTextBlockFormat& paragraph) {
    QTextCursor c(first);
    for (QTextBlock b = first; b.isValid(); b = b.next()) {
        QTextBlockFormat f = paragraph;
        if (b != first) {
            f.clearProperty(QTextFormat::BlockTopMargin);
            f.clearProperty(QTextFormat::TextIndent);
            f.setProperty(kContinuesProperty, true);
        }
        if (b != last)
            f.clearProperty(QTextFormat::BlockBottomMargin);
        c.setPosition(b.position());
        c.setBlockFormat(f);
        if (b == last)
            break;
    }
}

void setPlainText(QTextDocument& document, const QString& text) {
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    QTextCursor c(&document);
    c.beginEditBlock();
    document.clear(); // inside the edit: one change of the whole, laid out lazily

    const QTextBlockFormat plain = c.blockFormat();
    QTextBlockFormat continued = plain;
    continued.setProperty(kContinuesProperty, true);
    // The paragraph marks QTextCursor::insertText knows, a CR LF pair counting once.
    const auto isMark = [](QChar ch) {
        return ch == u'\n' || ch == u'\r' || ch == QChar::ParagraphSeparator ||
               ch == QChar(0xFDD0) || ch == QChar(0xFDD1);
    };
    const QStringView all(text);
    qsizetype start = 0;
    while (start <= all.size()) {
        qsizetype end = start;
        while (end < all.size() && !isMark(all[end]))
            ++end;
        QStringView paragraph = all.sliced(start, end - start);
        for (bool firstPiece = true; firstPiece || !paragraph.isEmpty(); firstPiece = false) {
            if (!firstPiece)
                c.insertBlock(continued);
            const qsizetype n = std::max<qsizetype>(pieceBreak(paragraph, 0), 1);
            if (!paragraph.isEmpty())
                c.insertText(paragraph.first(std::min(n, paragraph.size())).toString());
            paragraph = paragraph.sliced(std::min(n, paragraph.size()));
        }
        if (end >= all.size())
            break;
        start = end + (all[end] == u'\r' && end + 1 < all.size() && all[end + 1] == u'\n' ? 2 : 1);
        c.insertBlock(plain);
    }
    c.endEditBlock();
    document.setUndoRedoEnabled(undo);
}

} // namespace brimble::rtf
