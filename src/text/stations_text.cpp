#include "text/stations_text.h"

#include "astro/calendar.h"
#include "reports/minor_events.h"
#include "text/text_format.h"
#include "text/zodiac_text.h"

namespace novastra {

namespace {

std::string PlanetName(int body) {
  static const char* const kNames[] = {"Mercury", "Venus  ", "Mars   ", "Jupiter",
                                       "Saturn ", "Uranus ", "Neptune", "Pluto  "};
  if (IsMinorEventBody(body)) {  // padded as the planets' names; "Osc. Lilith" runs over
    std::string name = MinorBodyName(MinorBodyOfEvent(body));
    if (name.size() < 7) name.resize(7, ' ');
    return name;
  }
  return body >= 3 && body <= 10 ? kNames[body - 3] : "       ";
}

}  // namespace

std::string StationLine(const Station& s, bool carry) {
  Zodiacal z = SplitZodiacal(s.longitude);
  if (carry) z = CarryZodiacalMinutes(z, 1);
  return std::string("  ") + PlanetName(s.body) + " - " +
         FormatDdMmmYyyy(DateTextFromJulianDay(s.dayJD)) + " at " + Fmt00(s.hour) + ":" +
         Fmt00(s.minutes) + ", " + Fmt00(z.degrees) + SignCode(z.sign) + Fmt00_0(z.minutes) +
         "\r\n";
}

std::string StationsListText(const std::vector<Station>& stations, bool carry) {
  std::string text = "  Changes in direction (in UT):\r\n\r\n";
  for (const Station& s : stations) text += StationLine(s, carry);
  return text;
}

}  // namespace novastra
