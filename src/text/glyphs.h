#pragma once
// The program's symbol codes: every single-byte code drawn as an astrological
// glyph, what it means, its Unicode character and a plain ASCII fallback.
#include <span>

#include "astro/choices.h"
#include "reports/events.h"

namespace novastra {

struct Glyph {
  unsigned char code;
  const char* meaning;
  char32_t unicode;
  const char* ascii;
};

// Every symbol code, in code order.
std::span<const Glyph> GlyphTable();
// The entry of a code; nullptr for a plain character.
const Glyph* FindGlyph(unsigned char code);

inline constexpr char kNorthCode = static_cast<char>(152);
inline constexpr char kSouthCode = static_cast<char>(154);
inline constexpr char kRetrogradeCode = static_cast<char>(157);  // the tables' retrograde mark
inline constexpr char kDegreeCode = static_cast<char>(186);
inline constexpr char kMinuteCode = static_cast<char>(146);
inline constexpr int kGlyphRetrograde = 156;  // a station: turning retrograde
inline constexpr int kGlyphDirect = 171;      // a station: turning direct
inline constexpr int kGlyphParallel = 166;
inline constexpr int kGlyphContraparallel = 177;

// The sign glyph code, 191 + sign (1 Aries .. 12 Pisces).
inline char SignCode(int sign) { return static_cast<char>(191 + sign); }
// The body glyph code: the Sun's place shows the Earth in heliocentric lists.
char BodyCode(int body, Coordinates coords);
// The aspect glyph code: 160 + type for 1 conjunction .. 5 opposition, then
// the minor aspects' codes.
char AspectCode(int type);
inline char StationCode(Direction d) {
  return static_cast<char>(d == Direction::Retrograde ? kGlyphRetrograde : kGlyphDirect);
}

}  // namespace novastra
