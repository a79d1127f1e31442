#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QTextFormat>
#include <functional>

class QTextBlock;
class QTextBlockFormat;
class QTextCharFormat;
class QTextCursor;
class QTextDocument;

namespace brimble::rtf {

// Character-format properties beyond Qt's own that the codec reads and writes, shared with
// the editor control: the font's character set (\fcharsetN; int 0..255, absent = 0), and on
// a picture's QTextImageFormat the original bytes of a metafile (QByteArray; an enhanced
// metafile, else a Windows metafile), written back unchanged as \emfblip or \wmetafile8.
inline constexpr int kCharsetProperty = QTextFormat::UserProperty + 0x0C5;
inline constexpr int kMetafileBytesProperty = QTextFormat::UserProperty + 0x0E3;
// On a picture read from PNG or JPEG data: the original bytes (QByteArray) and the cache key
// (qint64) of the image made from them. While the document's resource is still that image,
// the writer emits the bytes unchanged instead of encoding the image again.
inline constexpr int kPictureBytesProperty = QTextFormat::UserProperty + 0x0E4;
inline constexpr int kPictureKeyProperty = QTextFormat::UserProperty + 0x0E5;
// On a metafile picture: its native extent (\picw, \pich; QSize), kept for writing it back.
inline constexpr int kMetafileExtentProperty = QTextFormat::UserProperty + 0x0E6;

// Very long paragraphs are held in pieces, blocks of at most kPieceLength characters, so that
// no line layout ever takes on megabytes of one paragraph (its cost grows with the square of
// an unbroken word). A piece after the first carries kContinuesProperty (bool) on its block
// format; the writer and plainText() join the pieces into one paragraph again.
inline constexpr int kContinuesProperty = QTextFormat::UserProperty + 0x0F0;
inline constexpr qsizetype kPieceLength = 4096;

bool continuesParagraph(const QTextBlock& block);
// How much of `text` still goes into a piece that holds `used` characters: up to the last
// blank that keeps the piece at least half full, else all that fits (never half a surrogate
// pair); 0 when the piece is best ended before the text.
qsizetype pieceBreak(QStringView text, qsizetype used);
// Inserts text with no paragraph marks at the cursor in `format`, its block already holding
// `used` characters; where a piece is full, `nextPiece` starts the next block (and `used`
// counts again from 0).
void insertInPieces(QTextCursor& cursor, QStringView text, const QTextCharFormat& format,
                    qsizetype& used, const std::function<void()>& nextPiece);
// Gives the pieces from `first` to `last` the paragraph's format: the space before and the
// first-line indent go to the first piece, the space after to the last.
void setPieceFormats(const QTextBlock& first, const QTextBlock& last, const QTextBlockFormat& paragraph);
// As QTextCursor::insertText and QTextDocument::setPlainText, with long paragraphs held in
// pieces; a paragraph mark in the text never carries on a piece it is typed into.
void insertPlainText(QTextCursor& cursor, QStringView text);
void setPlainText(QTextDocument& document, const QString& text);

// True when the text begins with "{\rtf" after optional blanks.
bool looksLikeRtf(QByteArrayView text);
bool looksLikeRtf(const QString& text);

// Reads an RTF document into `document` (replacing its content). Returns false, leaving the
// document empty, when the text is not RTF; malformed RTF is read as far as it goes.
bool read(QByteArrayView rtf, QTextDocument& document);
// The memo column holds RTF as text: characters up to U+00FF stand for bytes.
bool read(const QString& rtf, QTextDocument& document);
bool read(const QByteArray& rtf, QTextDocument& document); // as the bytes it holds

// Writes the whole document as RTF (7-bit text).
QByteArray write(const QTextDocument& document);
QString writeString(const QTextDocument& document);

// Plain text of a document with lines joined by CR LF, as the editor control gives it.
QString plainText(const QTextDocument& document);

} // namespace brimble::rtf
