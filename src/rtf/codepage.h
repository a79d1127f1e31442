#pragma once

#include <QString>
#include <string_view>

namespace brimble::rtf {

// Code page of an RTF character set (\fcharsetN); 0 when the set says "the document's".
int codePageOfCharset(int charset);

// The code page used for the symbol character set.
inline constexpr int kSymbolCodePage = 42;

// Appends `bytes` decoded from Windows code page `codePage` to `out`. Bytes that the code page
// does not map become U+FFFD. An unknown code page is read as 1252.
void appendDecoded(QString& out, std::string_view bytes, int codePage);

// True for the code pages whose characters take one or two bytes.
bool isDoubleByte(int codePage);
bool isLeadByte(int codePage, unsigned char byte);

// Windows-1252 byte for a character, or -1 when it has none.
int cp1252Byte(char16_t c);

} // namespace brimble::rtf
