#pragma once
// The choices that change what the position engine computes: the zodiac, the
// lunar node, the coordinates, the instant of the day and the named ayanamsa.
namespace novastra {

enum class InstantChoice { Midnight, Noon };
enum class Coordinates { Geocentric, Heliocentric };
enum class NodeMode { Mean, True, Osculating };
enum class Zodiac { Tropical, Sidereal, Ayanamsa };
// A standard ayanamsa chosen by name for the sidereal zodiac (astro/ayanamsas.h);
// None keeps the sidereal zodiac of the SVP.
enum class NamedAyanamsa {
  None,
  FaganBradley,
  Lahiri,
  Raman,
  Krishnamurti,
  Yukteshwar,
  J2000,
  DjwhalKhul,
  GalacticCentre
};

}  // namespace novastra
