#include "output/charset.h"

#include <array>
#include <unordered_map>

namespace novastra {

namespace {

// Code points not defined by Windows-1252 go to the private-use area at
// U+F000 + code, so that every code keeps a point of its own.
constexpr char32_t kPrivate = 0xF000;

constexpr std::array<char32_t, 32> kWindows1252High = {
    0x20AC, kPrivate + 0x81, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, kPrivate + 0x8D, 0x017D, kPrivate + 0x8F,
    kPrivate + 0x90, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, kPrivate + 0x9D, 0x017E, 0x0178};

std::array<char32_t, 256> BuildTable() {
  std::array<char32_t, 256> t{};
  for (int c = 0; c < 128; ++c) t[c] = static_cast<char32_t>(c);
  for (int c = 128; c < 160; ++c) t[c] = kWindows1252High[c - 128];
  for (int c = 160; c < 256; ++c) t[c] = static_cast<char32_t>(c);

  // The symbol codes of the tables and the aspectarian.
  for (int sign = 1; sign <= 12; ++sign) t[191 + sign] = 0x2647 + sign;  // Aries U+2648 .. Pisces
  t[224] = 0x2609;  // Sun
  t[225] = 0x263F;  // Mercury
  t[226] = 0x2640;  // Venus
  t[227] = 0x2642;  // Mars
  t[228] = 0x2643;  // Jupiter
  t[229] = 0x2644;  // Saturn
  t[230] = 0x2645;  // Uranus
  t[231] = 0x2646;  // Neptune
  t[232] = 0x2647;  // Pluto
  t[233] = 0x263D;  // Moon
  t[234] = 0x260A;  // North Node
  t[236] = 0x2641;  // Earth
  t[161] = 0x260C;  // conjunction
  t[162] = 0x26B9;  // sextile
  t[163] = 0x25A1;  // square
  t[164] = 0x25B3;  // trine
  t[165] = 0x260D;  // opposition
  t[166] = 0x2225;  // parallel
  t[177] = 0x22D5;  // contraparallel
  t[156] = 0x21BA;  // turning retrograde
  t[171] = 0x21BB;  // turning direct
  t[157] = 0x211E;  // retrograde mark
  t[152] = 0x2191;  // north
  t[154] = 0x2193;  // south
  t[186] = 0x00B0;  // degree mark
  t[146] = 0x2032;  // minute mark
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
    int extra = lead < 0x80 ? 0 : (lead >> 5) == 6 ? 1 : (lead >> 4) == 14 ? 2 : (lead >> 3) == 30 ? 3 : -1;
    char32_t cp = extra == 1 ? (lead & 0x1F) : extra == 2 ? (lead & 0x0F) : extra == 3 ? (lead & 0x07) : lead;
    bool valid = extra >= 0 && i + extra < utf8.size();
    for (int k = 1; valid && k <= extra; ++k) {
      unsigned char b = static_cast<unsigned char>(utf8[i + k]);
      if ((b & 0xC0) != 0x80) valid = false;
      else cp = (cp << 6) | (b & 0x3F);
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
