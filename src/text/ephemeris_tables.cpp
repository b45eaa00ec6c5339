#include "text/zodiac_text.h"

#include <cmath>
#include <cstdlib>

#include "astro/angles.h"
#include "astro/ayanamsas.h"
#include "astro/calendar.h"
#include "text/carry.h"
#include "text/ephemeris_tables.h"
#include "text/text_format.h"

namespace novastra {

namespace {

constexpr const char* kGeocentricTitle =
    "   Sidereal Time    Sun      Moon     Mercury    Venus     Mars     Jupiter   Saturn    "
    "Uranus    Neptune   Pluto    N.  Node";
constexpr const char* kHeliocentricTitle =
    "   Sidereal Time   Earth     Moon     Mercury    Venus     Mars     Jupiter   Saturn    "
    "Uranus    Neptune   Pluto    N. Node";
constexpr const char* kHoursUnits =
    "            h  m  s      h  m  s   h  m  s   h  m  s   h  m  s   h  m  s   h  m  s   h  m  "
    "s   h  m  s   h  m  s   h  m  s   h  m  s";

const char* TableLabel(ColumnSet set) {
  switch (set) {
    case ColumnSet::Longitude:
    case ColumnSet::HelioLongitude: return "Long.";
    case ColumnSet::Latitude:
    case ColumnSet::HelioLatitude: return "Lat. ";
    case ColumnSet::RightAscension: return "R.A. ";
    case ColumnSet::Declination: return "Decl.";
  }
  return "     ";
}

}  // namespace

// ---- shared helpers ----

Zodiacal SplitZodiacal(double x) {
  // The tables are checked when loaded, so a position is always finite and
  // small; should one not be, it shows as 0 degrees Aries rather than being
  // cast to int, which is undefined for NaN and huge values.
  if (!std::isfinite(x) || std::fabs(x) > 1e6) x = 0;
  double w = std::trunc(x);
  double q = std::trunc(w / 30.0);
  // 30 * q rounded to two decimals (half up), so an exact multiple of 30
  // never leaves 29.999... degrees in the sign.
  double start = std::floor(30.0 * q * 100.0 + 0.5) / 100.0;
  Zodiacal z;
  z.sign = static_cast<int>(q) + 1;
  z.degrees = static_cast<int>(std::trunc(w - start));
  z.minutes = (x - w) * 60.0;
  return z;
}

Zodiacal CarryZodiacalMinutes(Zodiacal z, int decimals) {
  const Sexagesimal dm = CarrySixty(z.degrees, z.minutes, decimals);
  z.degrees = dm.whole;
  z.minutes = dm.part;
  if (z.degrees >= 30) {  // 29 deg 59.97' of a sign is 0 deg 00.0' of the next
    z.degrees -= 30;
    z.sign = z.sign % 12 + 1;
  }
  return z;
}

std::string PadNumber(const std::string& text) {
  double v = std::strtod(text.c_str(), nullptr);
  if (v < 10) return "  " + text;
  if (v < 100) return " " + text;
  return text;
}

std::string FormatSiderealTime(double seconds, bool carry) {
  double h = std::trunc(seconds / 3600.0);
  double r = seconds - 3600.0 * h;
  double m = std::trunc(r / 60.0);
  double s = r - 60.0 * m;
  if (carry) {  // seconds that round to 60.0 carry into the minute, the hour and the day
    const Sexagesimal ms = CarrySixty(static_cast<int>(m), s, 1);
    const Sexagesimal hm = CarrySixty(static_cast<int>(h), ms.whole, 0);
    s = ms.part;
    m = hm.part;
    h = hm.whole % 24;
  }
  return "  " + PadNumber(FmtHash0(h)) + PadNumber(FmtHash0(m)) + PadNumber(FmtHash0_0(s));
}

std::string FormatRightAscensionHours(double degrees, bool carry) {
  double h = degrees / 15.0;
  double wholeHours = std::trunc(h);
  double minutes = (h - wholeHours) * 60.0;
  double wholeMinutes = std::trunc(minutes);
  double seconds = (minutes - wholeMinutes) * 60.0;
  if (carry) {
    const Sexagesimal ms = CarrySixty(static_cast<int>(wholeMinutes), seconds, 0);
    const Sexagesimal hm = CarrySixty(static_cast<int>(wholeHours), ms.whole, 0);
    seconds = ms.part;
    wholeMinutes = hm.part;
    wholeHours = hm.whole % 24;
  }
  return Fmt00(wholeHours) + " " + Fmt00(wholeMinutes) + " " + Fmt00(seconds) + " ";
}

namespace {

// "23d 51m 11s " of an ayanamsa in degrees, seconds rounded (halves to even).
std::string AyanamsaDms(double ayanamsa, bool carry) {
  double a = NormalizeDegrees(ayanamsa);
  double degrees = std::trunc(a);
  double minutes = (a - degrees) * 60.0;
  double wholeMinutes = std::trunc(minutes);
  double seconds = std::nearbyint((minutes - wholeMinutes) * 60.0);  // halves to even
  if (carry) {
    const Sexagesimal ms = CarrySixty(static_cast<int>(wholeMinutes), seconds, 0);
    const Sexagesimal dm = CarrySixty(static_cast<int>(degrees), ms.whole, 0);
    seconds = ms.part;
    wholeMinutes = dm.part;
    degrees = dm.whole;  // 359d 59m 59.9s carries to 360d 00m 00s
  }
  return Fmt00(degrees) + "d " + Fmt00(wholeMinutes) + "m " + Fmt00(seconds) + "s ";
}

}  // namespace

std::string BuildSvpText(double svp, double ayanamsa, bool carry) {
  Zodiacal z = SplitZodiacal(NormalizeDegrees(svp));
  if (carry) z = CarryZodiacalMinutes(z, 2);
  std::string text = "   SVP = " + Fmt00(z.degrees) + SignCode(z.sign) + Fmt00_00(z.minutes);
  text += "  True Ayanamsa = " + AyanamsaDms(ayanamsa, carry);
  return text;
}

std::string BuildZodiacText(double svp, double ayanamsa, NamedAyanamsa named, bool carry) {
  if (named == NamedAyanamsa::None) return BuildSvpText(svp, ayanamsa, carry);
  return std::string("   ") + NamedAyanamsaName(named) +
         " True Ayanamsa = " + AyanamsaDms(ayanamsa, carry);
}

// ---- headers ----

std::string HeaderLine1(const HeaderInfo& info) {
  return "  " + info.zodiacLabel + "Ephemeris - " + FormatWeekdayName(info.startDateText) + ", " +
         FormatDdMmmYyyy(info.startDateText) + " at " + info.instantLabel + ", " + info.place;
}

std::string HeaderLine2(double displayJD) {
  return std::string(23, ' ') + "Julian Day = " + FmtJulianDay(displayJD);
}

std::string HeaderLine4(ColumnSet set) {
  return std::string("  ") + TableLabel(set) +
         (IsHeliocentric(set) ? kHeliocentricTitle : kGeocentricTitle);
}

std::string RuleLine(bool heliocentric) {
  std::string line = "  ------  -------------";
  for (int k = 1; k <= 11; ++k) {
    line += k == 1 ? " " : "  ";
    line += std::string(heliocentric && k == 11 ? 7 : 8, '-');
  }
  return line;
}

std::string UnitsLine(bool hoursForm) {
  if (hoursForm) return kHoursUnits;
  std::string line(131, ' ');
  line.replace(12, 7, "h  m  s");
  for (int col = 25; col <= 125; col += 10) line[col] = kDegreeCode;
  for (int col = 29; col <= 129; col += 10) line[col] = kMinuteCode;
  return line;
}

std::array<std::string, 7> BuildHeaderLines(ColumnSet set, const HeaderInfo& info, bool raHours) {
  bool hoursForm = raHours && set == ColumnSet::RightAscension;
  return {"",
          HeaderLine1(info),
          HeaderLine2(info.displayJD),
          "",
          HeaderLine4(set),
          RuleLine(IsHeliocentric(set)),
          UnitsLine(hoursForm)};
}

// ---- rows ----

namespace {

void AppendLongitudeGroup(std::string& out, double degrees, bool carry) {
  Zodiacal z = SplitZodiacal(degrees);
  if (carry) z = CarryZodiacalMinutes(z, 1);
  out += ' ';
  AppendFixed(out, z.degrees, 2, 0);
  out += SignCode(z.sign);
  AppendFixed(out, z.minutes, 2, 1);
  out += ' ';
}

void AppendNorthSouthGroup(std::string& out, double degrees, bool carry) {
  Zodiacal z = SplitZodiacal(std::fabs(degrees));
  if (carry) {  // into the degree only: there is no sign to move into
    const Sexagesimal dm = CarrySixty(z.degrees, z.minutes, 1);
    z.degrees = dm.whole;
    z.minutes = dm.part;
  }
  out += ' ';
  AppendFixed(out, z.degrees, 2, 0);
  out += degrees >= 0 ? kNorthCode : kSouthCode;
  AppendFixed(out, z.minutes, 2, 1);
  out += ' ';
}

}  // namespace

std::string LongitudeGroup(double degrees, bool carry) {
  std::string group;
  AppendLongitudeGroup(group, degrees, carry);
  return group;
}

std::string NorthSouthGroup(double degrees, bool carry) {
  std::string group;
  AppendNorthSouthGroup(group, degrees, carry);
  return group;
}

std::string HoursGroup(double raDegrees, bool carry) {
  return FormatRightAscensionHours(raDegrees, carry) + " ";
}

bool NeedsBlankLineBefore(const std::string& rowDateText, bool firstRow) {
  return !firstRow && WeekdayNumber(rowDateText) == 1;
}

std::string BuildRow(ColumnSet set, const RowInfo& row, bool raHours) {
  const BodyPositions& p = *row.positions;
  const bool hoursForm = raHours && set == ColumnSet::RightAscension;
  std::string line;
  line.reserve(24 + 11 * 10);
  line += "  ";
  line += FormatDdMmm(row.rowDateText);
  line += FormatSiderealTime(row.siderealSeconds, row.carry);
  line += hoursForm ? "   " : "  ";
  for (int k = 1; k <= 11; ++k) {
    const size_t groupStart = line.size();
    bool markable = false;
    switch (set) {
      case ColumnSet::Longitude:
        AppendLongitudeGroup(line, p.Longitude[k], row.carry);
        markable = true;
        break;
      case ColumnSet::RightAscension:
        if (hoursForm)
          line += HoursGroup(p.RightAscension[k], row.carry);
        else
          AppendLongitudeGroup(line, p.RightAscension[k], row.carry);
        markable = true;
        break;
      case ColumnSet::Latitude: AppendNorthSouthGroup(line, p.Latitude[k], row.carry); break;
      case ColumnSet::Declination: AppendNorthSouthGroup(line, p.Declination[k], row.carry); break;
      case ColumnSet::HelioLongitude:
        if (k == kMoon || k == kNorthNode)
          line += kHelioPlaceholder;
        else
          AppendLongitudeGroup(line, p.HelioLongitude[k], row.carry);
        break;
      case ColumnSet::HelioLatitude:
        if (k == kMoon || k == kNorthNode)
          line += kHelioPlaceholder;
        else
          AppendNorthSouthGroup(line, p.HelioLatitude[k], row.carry);
        break;
    }
    // Both marked tables judge motion by the geocentric longitude. The mark
    // replaces the minutes' decimal point of a degree group, or the blank
    // between minutes and seconds of an hours group.
    if (markable && row.retrograde && (*row.retrograde)[k])
      line[groupStart + (hoursForm ? 5 : 6)] = kRetrogradeCode;
  }
  return line;
}

std::vector<std::string> EphemerisTableLines(ColumnSet set, const EphemerisReport& report,
                                             const HeaderInfo& info, bool raHours, bool withSvp,
                                             bool carry) {
  const auto header = BuildHeaderLines(set, info, raHours);
  std::vector<std::string> lines(header.begin(), header.end());
  if (withSvp && !report.days.empty())
    lines[1] += BuildZodiacText(report.svp, report.ayanamsa, report.named, carry);
  bool firstRow = true;
  for (const EphemerisDay& day : report.days) {
    const RowInfo row{DateTextFromJulianDay(day.rowJD), day.siderealSeconds, &day.positions,
                      &day.retrograde, carry};
    if (NeedsBlankLineBefore(row.rowDateText, firstRow)) lines.emplace_back();
    lines.push_back(BuildRow(set, row, raHours));
    firstRow = false;
  }
  return lines;
}

std::vector<std::string> MinorTableLines(const EphemerisReport& report, const HeaderInfo& info,
                                         bool carry) {
  if (report.days.empty() || report.days.front().minor.empty()) return {};
  const std::vector<MinorRow>& first = report.days.front().minor;
  const int columns = static_cast<int>(first.size());
  // The planets' layout: date and sidereal time, then a ten-column group per body.
  std::string names = "  Minor   Sidereal Time ";
  std::string rule = "  ------  -------------";
  for (int k = 0; k < columns; ++k) {
    std::string name = MinorBodyName(first[k].body);
    const size_t left = (10 - std::min<size_t>(name.size(), 10)) / 2;
    names += std::string(left, ' ') + name + std::string(10 - left - std::min<size_t>(name.size(), 10), ' ');
    rule += (k == 0 ? " " : "  ") + std::string(8, '-');
  }
  std::string units(24 + 10 * columns, ' ');
  units.replace(12, 7, "h  m  s");
  for (int k = 0; k < columns; ++k) {
    units[25 + 10 * k] = kDegreeCode;
    units[29 + 10 * k] = kMinuteCode;
  }
  std::vector<std::string> lines = {"", HeaderLine1(info), HeaderLine2(info.displayJD), "",
                                    names, rule, units};
  bool firstRow = true;
  for (const EphemerisDay& day : report.days) {
    const std::string date = DateTextFromJulianDay(day.rowJD);
    if (NeedsBlankLineBefore(date, firstRow)) lines.emplace_back();
    std::string line = "  " + FormatDdMmm(date) + FormatSiderealTime(day.siderealSeconds, carry) + "  ";
    for (const MinorRow& r : day.minor) {
      const size_t groupStart = line.size();
      AppendLongitudeGroup(line, r.geo.longitude, carry);
      // Marked as the planets are: the longitude went backward since the day before.
      if (r.retrograde) line[groupStart + 6] = kRetrogradeCode;
    }
    lines.push_back(line);
    firstRow = false;
  }
  return lines;
}

std::string SavedFileExtension(Zodiac zodiac, bool heliocentric) {
  char letter = 'T';
  if (zodiac == Zodiac::Sidereal) letter = 'S';
  if (zodiac == Zodiac::Ayanamsa) letter = 'A';
  return {letter, 'E', heliocentric ? 'H' : 'G'};
}

}  // namespace novastra
