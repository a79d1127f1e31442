#pragma once

#include <QString>

namespace brimble::rtf {

// Number styles as \levelnfc numbers them; the others are read as decimal.
enum NumberStyle : int {
    kDecimal = 0, kUpperRoman = 1, kLowerRoman = 2, kUpperLetter = 3, kLowerLetter = 4,
    kLeadingZero = 22, kBulletStyle = 23, kNoNumber = 255
};

// The number `n` written in a list style: roman numerals up to 3999, letters as a, ..., z, aa,
// ..., zz, aaa up to 780; past those, and below 1, decimal.
QString formatNumber(int n, int style);

// List labels drawn in a symbol font: their private-use characters as the marks they show.
void mapSymbolMarks(QString& label);

} // namespace brimble::rtf
