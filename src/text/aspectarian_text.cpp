#include "text/aspectarian_text.h"

#include <cmath>

#include "astro/angles.h"
#include "astro/calendar.h"
#include "text/carry.h"
#include "text/glyphs.h"
#include "text/text_format.h"
#include "text/zodiac_text.h"

namespace novastra {

namespace {

// " dd<sign>mm.m" position text of a lunation.
std::string PositionText(double lon, bool carry) {
  Zodiacal z = SplitZodiacal(NormalizeDegrees(lon));
  if (carry) z = CarryZodiacalMinutes(z, 1);
  return Fmt00(z.degrees) + SignCode(z.sign) + Fmt00_0(z.minutes);
}

const char* LunationName(int type) {
  return type == kConjunction ? " - (New Moon, "
         : type == kSquare    ? " - (Quarter Moon, "
                              : " - (Full Moon, ";
}

// The listed time: as found, or carried (hour 24 is hour 0 of the next day).
struct ListedTime {
  double dayJD;
  int hour;
  double minutes;
};

ListedTime TimeOf(const Event& e, bool carry) {
  if (!carry) return {e.dayJD, e.hour, e.minutes};
  const Sexagesimal hm = CarrySixty(e.hour, e.minutes, 0);
  if (hm.whole >= 24) return {e.dayJD + 1, hm.whole - 24, hm.part};
  return {e.dayJD, hm.whole, hm.part};
}

}  // namespace

double ListedDay(const Event& event, bool carry) { return TimeOf(event, carry).dayJD; }

std::string EventLine(const Event& e, Coordinates coords, bool carry) {
  const ListedTime t = TimeOf(e, carry);
  return "  " + FormatDdMmm(DateTextFromJulianDay(t.dayJD)) + "  " + Fmt00(t.hour) + ":" +
         Fmt00(t.minutes) + "  " + EventText(e, coords, carry);
}

std::string EventText(const Event& e, Coordinates coords, bool carry) {
  std::string line;
  const char body = BodyCode(e.body, coords);
  switch (e.kind) {
    case EventKind::Ingress:
      line += std::string{body, ' ', ' ', SignCode(e.sign)};
      line += e.body == kMoon ? " - Moon ingress" : " - planet ingress";
      break;
    case EventKind::Station:
      line += std::string{body, ' ', ' ', StationCode(e.direction)};
      line += " +/- up to 1 hour";
      break;
    case EventKind::Aspect:
    case EventKind::Lunation:
      line += std::string{body, AspectCode(e.aspect), BodyCode(e.other, coords)};
      if (e.kind == EventKind::Lunation) {
        line += LunationName(e.aspect) + PositionText(e.moonLongitude, carry) + ")";
        if (e.eclipse == Eclipse::Solar) line += " - solar eclipse";
        if (e.eclipse == Eclipse::Lunar) line += " - lunar eclipse";
      }
      break;
    case EventKind::Parallel:
    case EventKind::Contraparallel:
      line += std::string{
          body,
          static_cast<char>(e.kind == EventKind::Parallel ? kGlyphParallel : kGlyphContraparallel),
          BodyCode(e.other, coords)};
      break;
  }
  return line;
}

std::vector<std::string> AspectarianLines(const AspectarianReport& report, const HeaderInfo& info,
                                          Coordinates coords, bool carry) {
  const bool helio = coords == Coordinates::Heliocentric;
  std::vector<std::string> lines;
  lines.emplace_back();
  lines.push_back("  " + info.zodiacLabel + "Aspectarian - " +
                  FormatWeekdayName(info.startDateText) + ", " +
                  FormatDdMmmYyyy(info.startDateText) + " at " + info.instantLabel + ", Greenwich" +
                  BuildZodiacText(report.svp, report.ayanamsa, report.named, carry));
  lines.push_back(std::string(11, ' ') +
                  (helio ? "heliocentric  Julian Day = " : "geocentric    Julian Day = ") +
                  FmtJulianDay(info.displayJD));
  lines.emplace_back();
  lines.push_back("  Day      h  m");
  lines.push_back("  -------------");
  size_t next = 0;
  std::vector<std::string> day, carried;
  for (int d = 0; d < report.dayCount; ++d) {
    const double dayJD = report.startJD + d;
    // Events of the day before that rounded to 24:00 come first, at 00:00.
    day = std::move(carried);
    carried.clear();
    for (; next < report.events.size() && report.events[next].dayJD == dayJD; ++next) {
      const Event& e = report.events[next];
      (ListedDay(e, carry) == dayJD ? day : carried).push_back(EventLine(e, coords, carry));
    }
    AppendDay(lines, day);
  }
  if (!carried.empty()) AppendDay(lines, carried);
  return lines;
}

void AppendDay(std::vector<std::string>& out, const std::vector<std::string>& day) {
  for (size_t k = 0; k < day.size(); ++k) {
    std::string line = day[k];
    if (k > 0 && line.size() >= 4) line.replace(2, 6, 6, ' ');
    out.push_back(std::move(line));
  }
  out.emplace_back();
}

std::vector<std::string> TwoColumnLines(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  auto padTo = [](std::string s, size_t width) {
    if (s.size() < width) s.append(width - s.size(), ' ');
    return s;
  };
  for (size_t k = 0; k < 4 && k < lines.size(); ++k) out.push_back(lines[k]);
  for (size_t k = 4; k < 6 && k < lines.size(); ++k) out.push_back(padTo(lines[k], 64) + lines[k]);
  if (lines.size() <= 6) return out;
  const size_t n = lines.size() - 6;
  const size_t s = n / 2;
  for (size_t r = 6; r < 6 + s; ++r) {
    const std::string& left = lines[r];
    size_t width = 61;
    if (left.empty())
      width = 64;
    else if (left.find("ingress") != std::string::npos ||
             left.find("up to 1 hour") != std::string::npos)
      width = 62;
    else if (left.find("Moon") != std::string::npos)
      width = 60;
    out.push_back(padTo(left, width) + lines[r + s]);
  }
  return out;
}

}  // namespace novastra
