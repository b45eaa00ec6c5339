#pragma once
// The program's text is single-byte codes (what saved files hold); the symbol
// codes are drawn as astrological glyphs. One table maps every code to Unicode
// for the screen, the clipboard and UTF-8 output.
#include <string>
#include <string_view>

namespace novastra {

// Unicode code point of a single-byte code.
char32_t CodeToUnicode(unsigned char code);

// The whole text through the table, as UTF-8.
std::string ToUtf8(std::string_view bytes);

// Back from UTF-8 to the single-byte codes (text edited on screen); characters
// with no code become '?'.
std::string FromUtf8(std::string_view utf8);

}  // namespace novastra
