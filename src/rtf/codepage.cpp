#include "rtf/codepage.h"

#include <array>
#include <cerrno>
#include <iconv.h>
#include <unordered_map>
#include <vector>

namespace brimble::rtf {

namespace {

// 0x80..0x9F of Windows-1252; the rest of the upper half is Latin-1. Undefined bytes map to
// the C1 controls, as Windows itself does.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t cp1252Char(unsigned char b) {
    return b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char16_t(b);
}

void append1252(QString& out, std::string_view bytes) {
    const qsizetype at = out.size();
    out.resize(at + qsizetype(bytes.size()));
    QChar* d = out.data() + at;
    for (unsigned char b : bytes)
        *d++ = QChar(cp1252Char(b));
}

// The symbol set: the bullet of bulleted lists, other bytes as in 1252.
void appendSymbol(QString& out, std::string_view bytes) {
    for (unsigned char b : bytes)
        out.append(QChar(b == 0xB7 ? char16_t(0x2022) : cp1252Char(b)));
}

// The names iconv knows each Windows code page by, in order of preference.
std::vector<const char*> iconvNames(int cp) {
    switch (cp) {
    case 932: return {"CP932", "WINDOWS-31J", "SHIFT_JIS"};
    case 936: return {"CP936", "GBK"};
    case 949: return {"CP949", "UHC"};
    case 950: return {"CP950", "BIG5"};
    case 1361: return {"JOHAB"};
    case 10000: return {"MACINTOSH"};
    case 874: return {"CP874", "TIS-620"};
    default: return {};
    }
}

// One descriptor per code page and thread, opened on first use.
class IconvCache {
public:
    ~IconvCache() {
        for (auto& [cp, cd] : open_)
            if (cd != invalid())
                iconv_close(cd);
    }
    iconv_t get(int cp) {
        auto it = open_.find(cp);
        if (it != open_.end())
            return it->second;
        iconv_t cd = invalid();
        std::vector<const char*> names = iconvNames(cp);
        const std::string generic = "CP" + std::to_string(cp);
        names.push_back(generic.c_str());
        for (const char* name : names) {
            cd = iconv_open("UTF-16LE", name);
            if (cd != invalid())
                break;
        }
        open_.emplace(cp, cd);
        return cd;
    }
    static iconv_t invalid() { return reinterpret_cast<iconv_t>(-1); }

private:
    std::unordered_map<int, iconv_t> open_;
};

// Decoding behind one function, so that another platform can use its own converter.
bool appendIconv(QString& out, std::string_view bytes, int cp) {
    thread_local IconvCache cache;
    iconv_t cd = cache.get(cp);
    if (cd == IconvCache::invalid())
        return false;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    const qsizetype at = out.size();
    // Room for two UTF-16 units a byte, more than any code page here gives.
    const size_t room = bytes.size() * 2 + 4;
    out.resize(at + qsizetype(room));
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char* dst = reinterpret_cast<char*>(out.data() + at);
    size_t outLeft = room * 2;
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &dst, &outLeft) != size_t(-1))
            break;
        if (errno == E2BIG || outLeft < 2)
            break;
        // An invalid or incomplete sequence: one replacement character, then go on.
        *reinterpret_cast<char16_t*>(dst) = 0xFFFD;
        dst += 2;
        outLeft -= 2;
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    const auto written = qsizetype((reinterpret_cast<QChar*>(dst) - (out.data() + at)));
    out.resize(at + written);
    return true;
}

} // namespace

int codePageOfCharset(int charset) {
    switch (charset) {
    case 0: return 1252;
    case 2: return kSymbolCodePage;
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    case 255: return 850;
    default: return 0; // DEFAULT_CHARSET and unknown sets: the document's code page
    }
}

void appendDecoded(QString& out, std::string_view bytes, int codePage) {
    if (bytes.empty())
        return;
    if (codePage == kSymbolCodePage) {
        appendSymbol(out, bytes);
        return;
    }
    bool ascii = true;
    for (unsigned char b : bytes)
        if (b >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii || codePage == 1252 || codePage <= 0 || !appendIconv(out, bytes, codePage))
        append1252(out, bytes);
}

bool isDoubleByte(int cp) { return cp == 932 || cp == 936 || cp == 949 || cp == 950 || cp == 1361; }

bool isLeadByte(int cp, unsigned char b) {
    switch (cp) {
    case 932: return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    case 936:
    case 949:
    case 950: return b >= 0x81 && b <= 0xFE;
    case 1361: return (b >= 0x84 && b <= 0xD3) || (b >= 0xD8 && b <= 0xF9);
    default: return false;
    }
}

int cp1252Byte(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] == c && c >= 0x100)
            return 0x80 + i;
    return -1;
}

} // namespace brimble::rtf
