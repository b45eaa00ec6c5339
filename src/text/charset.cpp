#include "text/charset.h"

#include <array>
#include <unordered_map>

#include "text/glyphs.h"

namespace novastra {

namespace {

// Code points not defined by Windows-1252 go to the private-use area at
// U+F000 + code, so that every code keeps a point of its own.
constexpr char32_t kPrivate = 0xF000;

constexpr std::array<char32_t, 32> kWindows1252High = {
    0x20AC, kPrivate + 0x81, 0x201A,          0x0192, 0x201E, 0x2026, 0x2020,
    0x2021, 0x02C6,          0x2030,          0x0160, 0x2039, 0x0152, kPrivate + 0x8D,
    0x017D, kPrivate + 0x8F, kPrivate + 0x90, 0x2018, 0x2019, 0x201C, 0x201D,
    0x2022, 0x2013,          0x2014,          0x02DC, 0x2122, 0x0161, 0x203A,
    0x0153, kPrivate + 0x9D, 0x017E,          0x0178};

std::array<char32_t, 256> BuildTable() {
  std::array<char32_t, 256> t{};
  for (int c = 0; c < 128; ++c) t[c] = static_cast<char32_t>(c);
  for (int c = 128; c < 160; ++c) t[c] = kWindows1252High[c - 128];
  for (int c = 160; c < 256; ++c) t[c] = static_cast<char32_t>(c);

  // The symbol codes of the tables and the aspectarian.
  for (const Glyph& g : GlyphTable()) t[g.code] = g.unicode;
  // 176 is the degree sign in Windows-1252; the degree mark above owns U+00B0.
  t[176] = kPrivate + 176;
  return t;
}

const std::array<char32_t, 256>& Table() {
  static const std::array<char32_t, 256> table = BuildTable();
  return table;
}

const std::unordered_map<char32_t, unsigned char>& Reverse() {
  static const std::unordered_map<char32_t, unsigned char> reverse = [] {
    std::unordered_map<char32_t, unsigned char> r;
    for (int c = 0; c < 256; ++c) r.emplace(Table()[c], static_cast<unsigned char>(c));
    return r;
  }();
  return reverse;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

char32_t CodeToUnicode(unsigned char code) { return Table()[code]; }

std::string ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 4);
  for (char c : bytes) AppendUtf8(out, Table()[static_cast<unsigned char>(c)]);
  return out;
}

std::string FromUtf8(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    unsigned char lead = static_cast<unsigned char>(utf8[i]);
    int extra = lead < 0x80         ? 0
                : (lead >> 5) == 6  ? 1
                : (lead >> 4) == 14 ? 2
                : (lead >> 3) == 30 ? 3
                                    : -1;
    char32_t cp = extra == 1   ? (lead & 0x1F)
                  : extra == 2 ? (lead & 0x0F)
                  : extra == 3 ? (lead & 0x07)
                               : lead;
    bool valid = extra >= 0 && i + extra < utf8.size();
    for (int k = 1; valid && k <= extra; ++k) {
      unsigned char b = static_cast<unsigned char>(utf8[i + k]);
      if ((b & 0xC0) != 0x80)
        valid = false;
      else
        cp = (cp << 6) | (b & 0x3F);
    }
    if (!valid) {  // a stray byte: skip it alone
      out += '?';
      ++i;
      continue;
    }
    auto it = Reverse().find(cp);
    out += it == Reverse().end() ? '?' : static_cast<char>(it->second);
    i += 1 + extra;
  }
  return out;
}

}  // namespace novastra
