#pragma once

#include "rtf/rtf.h"

#include <QColor>
#include <QString>
#include <QTextCharFormat>
#include <QtGlobal>

class QTextDocument;

namespace brimble {

// Character attributes as the editor's users see them: colours as 0x00BBGGRR values with
// three stand-ins for the automatic colours, sizes in twentieths of a point, the style as
// bits. These helpers convert between those values and QTextCharFormat properties.
namespace charattr {

constexpr quint32 kWindowText = 0xFF000008; // automatic text colour
constexpr quint32 kWindow = 0xFF000005;     // no background of its own
constexpr quint32 kDefault = 0x20000000;    // "default" when writing either colour

constexpr int kBold = 1, kItalic = 2, kUnderline = 4, kStrikeOut = 8;

// Property that carries the font's character-set number (0..255); absent means 0 (ANSI).
constexpr int kCharsetProperty = rtf::kCharsetProperty;

// Smallest and largest size the editor holds, in twentieths of a point (1 pt .. 1638 pt).
constexpr int kMinTwips = 20;
constexpr int kMaxTwips = 32760;

quint32 colorRef(const QColor& c);
QColor fromColorRef(quint32 value);

QString faceName(const QTextCharFormat& f, const QTextDocument& doc);
void setFaceName(QTextCharFormat& f, const QString& name);

int sizeTwips(const QTextCharFormat& f, const QTextDocument& doc);
void setSizeTwips(QTextCharFormat& f, int twips);

int style(const QTextCharFormat& f);
void setStyle(QTextCharFormat& f, int bits);

quint32 textColor(const QTextCharFormat& f);
void setTextColor(QTextCharFormat& f, quint32 value);

quint32 backColor(const QTextCharFormat& f);
void setBackColor(QTextCharFormat& f, quint32 value);

int charset(const QTextCharFormat& f);
void setCharset(QTextCharFormat& f, int charset);

} // namespace charattr
} // namespace brimble
