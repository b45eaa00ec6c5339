#include "text/glyphs.h"

#include <algorithm>
#include <array>

namespace novastra {

namespace {

constexpr std::array<Glyph, 51> kGlyphs = {{
    {146, "minute mark", 0x2032, "'"},
    {152, "north", 0x2191, "N"},
    {154, "south", 0x2193, "S"},
    {156, "turning retrograde", 0x21BA, "SR"},
    {157, "retrograde mark", 0x211E, "R"},
    {161, "conjunction", 0x260C, "Cnj"},
    {162, "sextile", 0x26B9, "Sxt"},
    {163, "square", 0x25A1, "Sqr"},
    {164, "trine", 0x25B3, "Tri"},
    {165, "opposition", 0x260D, "Opp"},
    {166, "parallel", 0x2225, "Par"},
    // The minor aspects; the quintiles are drawn as pentagons (72 degrees is a
    // fifth of the circle), which Unicode gives no aspect symbol of its own.
    {167, "semisextile", 0x26BA, "SSx"},
    {168, "semisquare", 0x2220, "SSq"},
    {169, "quintile", 0x2B20, "Qui"},
    {170, "sesquiquadrate", 0x26BC, "Ses"},
    {171, "turning direct", 0x21BB, "SD"},
    {172, "biquintile", 0x2B1F, "BQn"},
    {173, "quincunx", 0x26BB, "Qcx"},
    {177, "contraparallel", 0x22D5, "CPr"},
    {186, "degree mark", 0x00B0, "d"},
    {192, "Aries", 0x2648, "Ari"},
    {193, "Taurus", 0x2649, "Tau"},
    {194, "Gemini", 0x264A, "Gem"},
    {195, "Cancer", 0x264B, "Can"},
    {196, "Leo", 0x264C, "Leo"},
    {197, "Virgo", 0x264D, "Vir"},
    {198, "Libra", 0x264E, "Lib"},
    {199, "Scorpio", 0x264F, "Sco"},
    {200, "Sagittarius", 0x2650, "Sag"},
    {201, "Capricorn", 0x2651, "Cap"},
    {202, "Aquarius", 0x2652, "Aqu"},
    {203, "Pisces", 0x2653, "Pis"},
    {224, "Sun", 0x2609, "Su"},
    {225, "Mercury", 0x263F, "Me"},
    {226, "Venus", 0x2640, "Ve"},
    {227, "Mars", 0x2642, "Ma"},
    {228, "Jupiter", 0x2643, "Ju"},
    {229, "Saturn", 0x2644, "Sa"},
    {230, "Uranus", 0x2645, "Ur"},
    {231, "Neptune", 0x2646, "Ne"},
    {232, "Pluto", 0x2647, "Pl"},
    {233, "Moon", 0x263D, "Mo"},
    {234, "North Node", 0x260A, "NN"},
    {236, "Earth", 0x2641, "Ea"},
    // Chiron, the asteroids and the mean Black Moon have their own Unicode
    // symbols; the osculating Lilith has none, and is drawn as the Black
    // Moon's bare crescent.
    {237, "Chiron", 0x26B7, "Ch"},
    {238, "Ceres", 0x26B3, "Ce"},
    {239, "Pallas", 0x26B4, "Pa"},
    {240, "Juno", 0x26B5, "Jn"},
    {241, "Vesta", 0x26B6, "Vs"},
    {242, "Lilith", 0x26B8, "Li"},
    {243, "Osc. Lilith", 0x263E, "OL"},
}};

}  // namespace

std::span<const Glyph> GlyphTable() { return kGlyphs; }

const Glyph* FindGlyph(unsigned char code) {
  const auto it = std::lower_bound(kGlyphs.begin(), kGlyphs.end(), code,
                                   [](const Glyph& g, unsigned char c) { return g.code < c; });
  return it != kGlyphs.end() && it->code == code ? &*it : nullptr;
}

char AspectCode(int type) {
  // Conjunction .. opposition at 161..165; the minor aspects around the
  // parallel (166) and the direct station (171).
  static constexpr unsigned char kMinorCodes[] = {167, 168, 169, 170, 172, 173};
  if (type >= kSemisextile && type <= kQuincunx)
    return static_cast<char>(kMinorCodes[type - kSemisextile]);
  return static_cast<char>(160 + type);
}

char BodyCode(int body, Coordinates coords) {
  constexpr int kSun = 1, kMoon = 2, kNode = 11;
  if (body == kSun) return static_cast<char>(coords == Coordinates::Heliocentric ? 236 : 224);
  if (body == kMoon) return static_cast<char>(233);
  if (body == kNode) return static_cast<char>(234);
  if (IsMinorEventBody(body))  // Chiron 237 .. Osc. Lilith 243
    return static_cast<char>(237 + body - kFirstMinorEventBody);
  return static_cast<char>(222 + body);  // Mercury 225 .. Pluto 232
}

}  // namespace novastra
