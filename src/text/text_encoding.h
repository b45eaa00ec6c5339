#pragma once
// The program's single-byte text made ready for a terminal, a pipe or a file:
// kept as it is (Windows-1252 with the symbol codes), or UTF-8 through the
// glyph table, with the symbols as Unicode characters or ASCII abbreviations.
#include <string>
#include <string_view>

namespace novastra {

enum class Encoding { Cp1252, Utf8 };
enum class Symbols { Unicode, Ascii };

struct TextStyle {
  Encoding encoding = Encoding::Cp1252;
  Symbols symbols = Symbols::Unicode;
  // The number of terminal cells a character takes (wcwidth); null: one each.
  int (*cells)(char32_t) = nullptr;
};

// The layouts give each sign, body, aspect, parallel, station and north/south
// symbol two cells; the retrograde, degree and minute marks take one.
bool IsTwoCellSymbol(unsigned char code);

// The text in the chosen style. A two-cell symbol that comes out one cell
// wide (a narrow Unicode character, a one-letter abbreviation) is followed by
// a blank so that the columns after it keep their place.
std::string EncodeText(std::string_view bytes, const TextStyle& style);

}  // namespace novastra
