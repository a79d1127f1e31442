#include "rtf/numbering.h"

namespace brimble::rtf {

QString formatNumber(int n, int style) {
    switch (style) {
    case kUpperRoman:
    case kLowerRoman:
        if (n >= 1 && n <= 3999) {
            static constexpr struct {
                int value;
                const char* text;
            } kRoman[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
                          {40, "xl"}, {10, "x"}, {9, "ix"}, {5, "v"}, {4, "iv"}, {1, "i"}};
            QString out;
            for (const auto& r : kRoman)
                for (; n >= r.value; n -= r.value)
                    out += QLatin1String(r.text);
            return style == kUpperRoman ? out.toUpper() : out;
        }
        break;
    case kUpperLetter:
    case kLowerLetter:
        if (n >= 1 && n <= 26 * 30)
            return QString((n - 1) / 26 + 1, QChar(char16_t((style == kUpperLetter ? 'A' : 'a') + (n - 1) % 26)));
        break;
    case kLeadingZero:
        if (n >= 0 && n < 10)
            return u'0' + QString::number(n);
        break;
    case kBulletStyle:
    case kNoNumber: return {};
    default: break;
    }
    return QString::number(n);
}

void mapSymbolMarks(QString& label) {
    for (QChar& c : label) {
        switch (c.unicode()) {
        case 0xF0B7: c = QChar(0x2022); break; // Symbol: bullet
        case 0xF0A7: c = QChar(0x25AA); break; // Wingdings: small square
        case 0xF076: c = QChar(0x2756); break; // Wingdings: diamond of diamonds
        case 0xF0D8: c = QChar(0x27A2); break; // Wingdings: arrowhead
        case 0xF0FC: c = QChar(0x2714); break; // Wingdings: check mark
        default: break;
        }
    }
}

} // namespace brimble::rtf
