#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace brimble::rtf {

// Splits RTF bytes into tokens without copying: text runs and binary data are views into the
// input. Words and parameters have hard length limits, \binN never reaches past the end, and
// a truncated \'h escape yields nothing; no input makes it fail.
class Tokenizer {
public:
    enum class Kind : uint8_t { End, Open, Close, Word, Symbol, Hex, Text, Binary };

    struct Token {
        Kind kind = Kind::End;
        bool hasParam = false;
        char symbol = 0;       // Symbol: the character after the backslash
        uint8_t hex = 0;       // Hex: the byte of \'hh
        int param = 0;         // Word: clamped to the int range
        std::string_view text; // Word: its name; Text/Binary: the bytes
    };

    static constexpr size_t kMaxWordLength = 32;
    static constexpr int kMaxParamDigits = 10;

    explicit Tokenizer(std::string_view input) : in_(input) {}

    Token next();
    size_t offset() const { return pos_; }

private:
    Token word();

    std::string_view in_;
    size_t pos_ = 0;
};

} // namespace brimble::rtf
