#include "dialogs/config.h"

#include "store/view.h"

#include <limits>

namespace brimble {

namespace {

QVariant present(const View& config, const QString& column, const char* type) {
    const QVariant v = config.value(column);
    if (!v.isValid())
        throw ConvertError(
            QStringLiteral("Could not convert variant of type (Null) into type (%1)")
                .arg(QLatin1String(type)));
    return v;
}

} // namespace

QString fstyle2str(FontStyles style) { return QString::number(style & 15u); }

FontStyles str2fstyle(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok)
        throw ConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return FontStyles(value) & 15u;
}

QFont PopupFont::toQFont() const {
    QFont f(name);
    // Sizes are kept as stored; a font needs a positive one.
    f.setPointSize(size > 0 ? size : 1);
    f.setBold(style & fsBold);
    f.setItalic(style & fsItalic);
    f.setUnderline(style & fsUnderline);
    f.setStrikeOut(style & fsStrikeOut);
    return f;
}

void PopupFont::takeFrom(const QFont& font) {
    name = font.family();
    if (font.pointSize() > 0)
        size = font.pointSize();
    style = (font.bold() ? fsBold : 0u) | (font.italic() ? fsItalic : 0u) |
            (font.underline() ? fsUnderline : 0u) | (font.strikeOut() ? fsStrikeOut : 0u);
}

int secondsToMs(int seconds) {
    int ms = 0;
    if (__builtin_mul_overflow(seconds, 1000, &ms))
        throw ConvertError(QStringLiteral("Integer overflow"));
    return ms;
}

QString configText(const View& config, const QString& column) {
    return present(config, column, "String").toString();
}

int configInt(const View& config, const QString& column) {
    return present(config, column, "Integer").toInt();
}

bool configBool(const View& config, const QString& column) {
    return present(config, column, "Boolean").toBool();
}

void saveConfig(View& config, const PopupSettings& s, const ConfigChoices& c) {
    if (config.isEmpty())
        config.append();
    else
        config.edit();
    try {
        config.setValue(QStringLiteral("pfontname"), s.font.name);
        config.setValue(QStringLiteral("pfontcolor"), int(s.font.color));
        config.setValue(QStringLiteral("pfontsize"), s.font.size);
        config.setValue(QStringLiteral("pfontstyle"), fstyle2str(s.font.style));
        config.setValue(QStringLiteral("pfontcharset"), s.font.charset & 0xFF);
        config.setValue(QStringLiteral("pbgcolor"), s.bgColor);
        config.setValue(QStringLiteral("selcolor"), int(s.selColor));
        config.setValue(QStringLiteral("formtile"), !c.tile);
        config.setValue(QStringLiteral("autorun"), c.autorun);
        config.setValue(QStringLiteral("repeatsecond"), c.seconds);
        config.post();
    } catch (...) {
        // A refused row must not stay half-edited: closing the view at exit would post it.
        config.cancel();
        throw;
    }
}

} // namespace brimble
