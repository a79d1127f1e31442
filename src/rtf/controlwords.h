#pragma once

#include <cstdint>
#include <string_view>

namespace brimble::rtf {

// The control words the reader acts on; every other word is passed over.
enum class W : uint8_t {
    Unknown, Rtf, Ansi, Mac, Pc, Pca, Ansicpg, Deff, Fonttbl, Colortbl, SkipDest, F, Fcharset, Cpg,
    Red, Green, Blue, Plain, B, I, Ul, UlNone, Strike, Fs, Cf, Cb, Highlight, V, Super, Sub,
    NoSuperSub, Pard, Ql, Qr, Qc, Qj, Li, Ri, Fi, Sb, Sa, Sl, Slmult, Par, Line, Tab, Cell, Row,
    Uc, U, Pict, PngBlip, JpegBlip, EmfBlip, Wmetafile, Dibitmap, Wbitmap, Picw, Pich, Picwgoal,
    Pichgoal, Picscalex, Picscaley, WbmBitsPixel, WbmWidthBytes, UnsupportedPict, Shppict,
    Nonshppict, Field, Fldinst, Fldrslt, Char,
    // Lists, footnote and page marks, alternative Unicode text.
    Ls, Ilvl, ListText, Pn, PnLevel, PnKind, PnStyle, PnStart, PnF, PnTxtA, PnTxtB, ListTable,
    ListOverrideTable, List, ListId, ListLevel, LevelText, LevelNfc, LevelStartAt, LevelFollow,
    LevelNoRestart, LevelLegal, ListOverride, LfoLevel, ListOverrideStartAt, Chftn, FtnStart,
    FtnStyle, Chpgn, Upr, Ud
};

// The levels of \pn numbering beyond the outline levels 1 to 9.
inline constexpr char16_t kPnBody = 10, kPnBullet = 11, kPnContinue = 12;

struct WordEntry {
    W id;
    char16_t ch = 0; // W::Char: the character; W::PnStyle, W::FtnStyle: the number style;
                     // W::PnKind: the \pn level it stands for
};

// The entry for a control word's name; W::Unknown for words the reader does not know.
WordEntry lookupWord(std::string_view name);

} // namespace brimble::rtf
