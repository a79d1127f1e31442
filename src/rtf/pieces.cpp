#include "rtf/rtf.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace brimble::rtf {

namespace {

// A later piece's format: the paragraph's, without what belongs to its first line.
QTextBlockFormat continuationOf(QTextBlockFormat f) {
    f.clearProperty(QTextFormat::BlockTopMargin);
    f.clearProperty(QTextFormat::TextIndent);
    f.setProperty(kContinuesProperty, true);
    return f;
}

} // namespace

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

void insertInPieces(QTextCursor& cursor, QStringView text, const QTextCharFormat& format,
                    qsizetype& used, const std::function<void()>& nextPiece) {
    while (!text.isEmpty()) {
        const qsizetype n = pieceBreak(text, used);
        if (n > 0)
            cursor.insertText(text.first(n).toString(), format);
        used += n;
        text = text.sliced(n);
        if (!text.isEmpty()) {
            nextPiece();
            used = 0;
        }
    }
}

void setPieceFormats(const QTextBlock& first, const QTextBlock& last,
                     const QTextBlockFormat& paragraph) {
    QTextCursor c(first);
    for (QTextBlock b = first; b.isValid(); b = b.next()) {
        QTextBlockFormat f = b == first ? paragraph : continuationOf(paragraph);
        if (b != last)
            f.clearProperty(QTextFormat::BlockBottomMargin);
        c.setPosition(b.position());
        c.setBlockFormat(f);
        if (b == last)
            break;
    }
}

void insertPlainText(QTextCursor& cursor, QStringView text) {
    cursor.beginEditBlock();
    const QTextCharFormat format = cursor.charFormat(); // a replaced selection's own
    cursor.removeSelectedText();
    // A paragraph mark takes the paragraph's format, as QTextCursor::insertText does, but
    // never the mark of a piece: what follows it is a paragraph of its own.
    QTextBlockFormat plain = cursor.blockFormat();
    plain.clearProperty(kContinuesProperty);
    const QTextBlockFormat continued = continuationOf(plain);
    // The paragraph marks QTextCursor::insertText knows, a CR LF pair counting once.
    const auto isMark = [](QChar ch) {
        return ch == u'\n' || ch == u'\r' || ch == QChar::ParagraphSeparator ||
               ch == QChar(0xFDD0) || ch == QChar(0xFDD1);
    };
    qsizetype used = cursor.positionInBlock();
    qsizetype start = 0;
    for (;;) {
        qsizetype end = start;
        while (end < text.size() && !isMark(text[end]))
            ++end;
        insertInPieces(cursor, text.sliced(start, end - start), format, used,
                       [&] { cursor.insertBlock(continued); });
        if (end >= text.size())
            break;
        start = end + (text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n' ? 2 : 1);
        cursor.insertBlock(plain);
        used = 0;
    }
    cursor.endEditBlock();
}

void setPlainText(QTextDocument& document, const QString& text) {
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    QTextCursor c(&document);
    c.beginEditBlock();
    document.clear(); // inside the edit: one change of the whole, laid out lazily
    insertPlainText(c, text);
    c.endEditBlock();
    document.setUndoRedoEnabled(undo);
}

} // namespace brimble::rtf
