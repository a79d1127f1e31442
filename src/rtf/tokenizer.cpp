#include "rtf/tokenizer.h"

#include <array>
#include <climits>

namespace brimble::rtf {

namespace {

// Bytes that end a text run: braces, backslash, and the line ends that RTF ignores.
constexpr std::array<bool, 256> makeStops() {
    std::array<bool, 256> t{};
    t['{'] = t['}'] = t['\\'] = t['\r'] = t['\n'] = true;
    return t;
}
constexpr auto kStops = makeStops();

constexpr int hexValue(unsigned char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

constexpr bool isLetter(unsigned char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }
constexpr bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }

Tokenizer::Token make(Tokenizer::Kind kind) {
    Tokenizer::Token t;
    t.kind = kind;
    return t;
}

} // namespace

Tokenizer::Token Tokenizer::next() {
    const size_t n = in_.size();
    for (;;) {
        if (pos_ >= n)
            return {};
        const auto c = static_cast<unsigned char>(in_[pos_]);
        if (c == '{') {
            ++pos_;
            return make(Kind::Open);
        }
        if (c == '}') {
            ++pos_;
            return make(Kind::Close);
        }
        if (c == '\r' || c == '\n') {
            ++pos_;
            continue;
        }
        if (c != '\\') {
            const size_t start = pos_;
            while (pos_ < n && !kStops[static_cast<unsigned char>(in_[pos_])])
                ++pos_;
            Token t = make(Kind::Text);
            t.text = in_.substr(start, pos_ - start);
            return t;
        }
        // A backslash.
        if (pos_ + 1 >= n) {
            pos_ = n;
            return {};
        }
        const auto d = static_cast<unsigned char>(in_[pos_ + 1]);
        if (isLetter(d))
            return word();
        pos_ += 2;
        if (d == '\'') {
            const int hi = pos_ < n ? hexValue(static_cast<unsigned char>(in_[pos_])) : -1;
            if (hi < 0)
                continue; // truncated escape: nothing
            ++pos_;
            const int lo = pos_ < n ? hexValue(static_cast<unsigned char>(in_[pos_])) : -1;
            if (lo < 0)
                continue;
            ++pos_;
            Token t = make(Kind::Hex);
            t.hex = static_cast<uint8_t>(hi << 4 | lo);
            return t;
        }
        if (d == '\r' || d == '\n') {
            // A backslash before a line end is a paragraph mark.
            Token t = make(Kind::Word);
            t.text = "par";
            return t;
        }
        Token t = make(Kind::Symbol);
        t.symbol = static_cast<char>(d);
        return t;
    }
}

Tokenizer::Token Tokenizer::word() {
    const size_t n = in_.size();
    ++pos_; // the backslash
    const size_t start = pos_;
    while (pos_ < n && isLetter(static_cast<unsigned char>(in_[pos_])))
        ++pos_;
    Token t = make(Kind::Word);
    // Overlong words are cut at the limit, so that they match no known word.
    t.text = in_.substr(start, std::min(pos_ - start, kMaxWordLength + 1));
    bool negative = false;
    if (pos_ < n && in_[pos_] == '-' && pos_ + 1 < n && isDigit(static_cast<unsigned char>(in_[pos_ + 1]))) {
        negative = true;
        ++pos_;
    }
    if (pos_ < n && isDigit(static_cast<unsigned char>(in_[pos_]))) {
        long long v = 0;
        int digits = 0;
        while (pos_ < n && isDigit(static_cast<unsigned char>(in_[pos_]))) {
            if (digits++ < kMaxParamDigits + 1)
                v = v * 10 + (in_[pos_] - '0');
            ++pos_;
        }
        if (negative)
            v = -v;
        t.hasParam = true;
        t.param = static_cast<int>(v < INT_MIN ? INT_MIN : v > INT_MAX ? INT_MAX : v);
    }
    if (pos_ < n && in_[pos_] == ' ')
        ++pos_; // the delimiting space belongs to the word
    if (t.text == "bin") {
        // Binary data: never beyond the input, never negative.
        const size_t want = t.hasParam && t.param > 0 ? static_cast<size_t>(t.param) : 0;
        const size_t len = std::min(want, n - pos_);
        Token b = make(Kind::Binary);
        b.text = in_.substr(pos_, len);
        pos_ += len;
        return b;
    }
    return t;
}

} // namespace brimble::rtf
