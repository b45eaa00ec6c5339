#pragma once
// The choices that change what the position engine computes: the zodiac, the
// lunar node, the coordinates and the instant of the day.
namespace novastra {

enum class InstantChoice { Midnight, Noon };
enum class Coordinates { Geocentric, Heliocentric };
enum class NodeMode { Mean, True };
enum class Zodiac { Tropical, Sidereal, Ayanamsa };

}  // namespace novastra
