#pragma once

#include <QFont>
#include <QString>
#include <stdexcept>

namespace brimble {

class View;

// A value that cannot be converted to what the setting needs; the text is what the user sees.
class ConvertError : public std::runtime_error {
public:
    explicit ConvertError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

// The font style as a set of flags, stored as the decimal text of their sum.
enum FontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using FontStyles = unsigned;

QString fstyle2str(FontStyles style);
// Parses a signed decimal integer and keeps its low four bits ("17" is bold, "-1" all four).
// Throws ConvertError when the text is not an integer.
FontStyles str2fstyle(const QString& text);

// The pop-up font as the settings keep it: face, size in points, colour (0x00BBGGRR, system
// colours with the top bit), style and character set, kept exactly as stored.
struct PopupFont {
    static constexpr quint32 kWindowText = 0xFF000008;
    static constexpr int kDefaultCharset = 1;

    QString name = QStringLiteral("MS Sans Serif");
    quint32 color = kWindowText;
    int size = 8;
    FontStyles style = 0;
    int charset = kDefaultCharset;

    QFont toQFont() const;
    // Takes face, size and style from a chosen font; colour and character set stay.
    void takeFrom(const QFont& font);
};

// The program-wide settings the Customize dialog fills at start-up and changes.
struct PopupSettings {
    PopupFont font;
    int bgColor = 0;       // pbgcolor: kept and written back, not applied
    quint32 selColor = 0x00C0DCC0;
    int colorType = 0;     // popcolortype: kept, never written
};

// The scan interval for a number of seconds, in signed 32-bit arithmetic: throws
// "Integer overflow" when the product does not fit.
int secondsToMs(int seconds);

// Reading the config row's columns: a missing row or a null column cannot be converted.
QString configText(const View& config, const QString& column);
int configInt(const View& config, const QString& column);
bool configBool(const View& config, const QString& column);

// What "Save config" writes, besides the settings.
struct ConfigChoices {
    bool tile = false;
    bool autorun = false;
    int seconds = 10;
};

// Writes the row the view is on (a new one when the table has none) and posts it;
// popcolortype is left as it is. A database failure throws and nothing is posted.
void saveConfig(View& config, const PopupSettings& settings, const ConfigChoices& choices);

} // namespace brimble
