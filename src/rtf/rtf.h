#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class QTextDocument;

namespace brimble::rtf {

// True when the text begins with "{\rtf" after optional blanks.
bool looksLikeRtf(QByteArrayView text);
bool looksLikeRtf(const QString& text);

// Reads an RTF document into `document` (replacing its content). Returns false, leaving the
// document empty, when the text is not RTF; malformed RTF is read as far as it goes.
bool read(QByteArrayView rtf, QTextDocument& document);
// The memo column holds RTF as text: characters up to U+00FF stand for bytes.
bool read(const QString& rtf, QTextDocument& document);

// Writes the whole document as RTF (7-bit text).
QByteArray write(const QTextDocument& document);
QString writeString(const QTextDocument& document);

// Plain text of a document with lines joined by CR LF, as the editor control gives it.
QString plainText(const QTextDocument& document);

} // namespace brimble::rtf
