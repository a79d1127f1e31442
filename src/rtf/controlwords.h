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
    Nonshppict, Field, Fldinst, Fldrslt, Char
};

struct WordEntry {
    W id;
    char16_t ch = 0; // for W::Char
};

// The entry for a control word's name; W::Unknown for words the reader does not know.
WordEntry lookupWord(std::string_view name);

} // namespace brimble::rtf
