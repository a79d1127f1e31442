#include "controls/richedit/charattrs.h"

#include <QApplication>
#include <QFont>
#include <QPalette>
#include <QTextDocument>
#include <algorithm>
#include <cmath>

namespace brimble::charattr {

quint32 colorRef(const QColor& c) {
    return quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16);
}

QColor fromColorRef(quint32 value) {
    // The two system colours resolve to what the palette draws them with.
    if (value == kWindowText)
        return QApplication::palette().color(QPalette::Text);
    if (value == kWindow)
        return QApplication::palette().color(QPalette::Base);
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

QString faceName(const QTextCharFormat& f, const QTextDocument& doc) {
    const QStringList families = f.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        return families.first();
    const QString single = f.stringProperty(QTextFormat::FontFamily);
    if (!single.isEmpty())
        return single;
    return doc.defaultFont().family();
}

void setFaceName(QTextCharFormat& f, const QString& name) {
    f.clearProperty(QTextFormat::FontFamily);
    f.setFontFamilies(QStringList{name});
}

int sizeTwips(const QTextCharFormat& f, const QTextDocument& doc) {
    qreal points = f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize() : 0;
    if (points <= 0)
        points = doc.defaultFont().pointSizeF();
    return int(std::lround(points * 20));
}

void setSizeTwips(QTextCharFormat& f, int twips) {
    // The widget cannot draw a size of 0 or less; such sizes become its smallest one.
    f.setFontPointSize(std::clamp(twips, kMinTwips, kMaxTwips) / 20.0);
}

int style(const QTextCharFormat& f) {
    int bits = 0;
    if (f.fontWeight() >= QFont::DemiBold)
        bits |= kBold;
    if (f.fontItalic())
        bits |= kItalic;
    if (f.fontUnderline())
        bits |= kUnderline;
    if (f.fontStrikeOut())
        bits |= kStrikeOut;
    return bits;
}

void setStyle(QTextCharFormat& f, int bits) {
    f.setFontWeight((bits & kBold) ? QFont::Bold : QFont::Normal);
    f.setFontItalic(bits & kItalic);
    f.setFontUnderline(bits & kUnderline);
    f.setFontStrikeOut(bits & kStrikeOut);
}

quint32 textColor(const QTextCharFormat& f) {
    if (!f.hasProperty(QTextFormat::ForegroundBrush) || f.foreground().style() == Qt::NoBrush)
        return kWindowText;
    return colorRef(f.foreground().color());
}

void setTextColor(QTextCharFormat& f, quint32 value) {
    if (value == kWindowText || value == kDefault)
        f.clearForeground();
    else
        f.setForeground(fromColorRef(value));
}

quint32 backColor(const QTextCharFormat& f) {
    if (!f.hasProperty(QTextFormat::BackgroundBrush) || f.background().style() == Qt::NoBrush)
        return kWindow;
    return colorRef(f.background().color());
}

void setBackColor(QTextCharFormat& f, quint32 value) {
    if (value == kWindow || value == kDefault)
        f.clearBackground();
    else
        f.setBackground(fromColorRef(value));
}

int charset(const QTextCharFormat& f) {
    return f.intProperty(kCharsetProperty);
}

void setCharset(QTextCharFormat& f, int charset) {
    if (charset == 0)
        f.clearProperty(kCharsetProperty);
    else
        f.setProperty(kCharsetProperty, std::clamp(charset, 0, 255));
}

} // namespace brimble::charattr
