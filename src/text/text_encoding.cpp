#include "text/text_encoding.h"

#include <cstring>

#include "text/charset.h"
#include "text/glyphs.h"

namespace novastra {

bool IsTwoCellSymbol(unsigned char code) {
  return FindGlyph(code) != nullptr && code != 146 && code != 157 && code != 186;
}

std::string EncodeText(std::string_view bytes, const TextStyle& style) {
  const bool plain = style.encoding == Encoding::Cp1252 && style.symbols == Symbols::Unicode;
  if (plain) return std::string(bytes);
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 4);
  for (char ch : bytes) {
    const auto code = static_cast<unsigned char>(ch);
    if (code < 0x80) {
      out += ch;
      continue;
    }
    const Glyph* glyph = FindGlyph(code);
    if (glyph && style.symbols == Symbols::Ascii) {
      out += glyph->ascii;
      if (IsTwoCellSymbol(code) && std::strlen(glyph->ascii) < 2) out += ' ';
      continue;
    }
    if (style.encoding == Encoding::Cp1252) {
      out += ch;
      continue;
    }
    const std::string utf8 = ToUtf8(std::string_view(&ch, 1));
    out += utf8;
    if (glyph && IsTwoCellSymbol(code)) {
      const int width = style.cells ? style.cells(glyph->unicode) : 1;
      if (width < 2) out += ' ';
    }
  }
  return out;
}

}  // namespace novastra
