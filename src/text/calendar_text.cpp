#include "text/calendar_text.h"

#include <algorithm>

#include "astro/calendar.h"
#include "text/aspectarian_text.h"
#include "text/glyphs.h"
#include "text/stations_text.h"
#include "text/text_format.h"

namespace novastra {

namespace {

constexpr int kMoonBody = 2;

const char* DirectionWord(Direction d) {
  return d == Direction::Retrograde ? "retrograde" : "direct";
}

struct Row {
  double jd = 0;
  std::string line;
};

}  // namespace

std::string ClockText(const LocalClock& c) {
  std::string t = Fmt00(c.hour) + ":" + Fmt00(c.minute);
  if (c.repeated) t += OffsetText(c.offsetMinutes);
  return t;
}

std::string VoidText(const VoidOfCourse& v, Coordinates coords, const TimeZone& zone) {
  const LocalClock end = zone.At(v.endJD);
  return std::string{BodyCode(kMoonBody, coords), ' ', ' ', ' '} + " - Moon void of course until " +
         FormatDdMmm(DateTextFromJulianDay(end.dayJD)) + " " + ClockText(end);
}

std::vector<std::string> CalendarAspectarianLines(const AspectarianReport& report,
                                                  const HeaderInfo& info, Coordinates coords,
                                                  const CalendarChoices& choices, double firstDayJD,
                                                  int dayCount) {
  // The header as the plain aspectarian writes it.
  AspectarianReport head;
  head.svp = report.svp;
  head.ayanamsa = report.ayanamsa;
  std::vector<std::string> lines = AspectarianLines(head, info, coords);
  if (!choices.zone.IsUniversal() && lines.size() > 3) {
    // The header's instant stays the UT one its SVP and Julian Day belong to;
    // the listed times are the zone's, and the header says so.
    const size_t at = lines[1].find(", Greenwich");
    if (at != std::string::npos)
      lines[1].replace(at, 11, " UT, times in " + choices.zone.Name());
    lines[3] = "  Times in " + choices.zone.Name();
  }

  const bool local = !choices.zone.IsUniversal();
  std::vector<std::vector<Row>> days(static_cast<size_t>(std::max(dayCount, 0)));
  auto dayIndex = [&](double dayJD) {
    const double k = dayJD - firstDayJD;
    return k >= 0 && k < dayCount ? static_cast<long>(k) : -1L;
  };
  for (const Event& e : report.events) {
    std::string text = EventText(e, coords, false);
    if (e.kind == EventKind::Station && choices.stationDirection)
      text += std::string(" - ") + DirectionWord(e.direction);
    double dayJD = e.dayJD;
    std::string time = Fmt00(e.hour) + ":" + Fmt00(e.minutes);
    if (local) {
      const LocalClock c = choices.zone.At(e.jd);
      dayJD = c.dayJD;
      time = ClockText(c);
    }
    const long k = dayIndex(dayJD);
    if (k < 0) continue;
    std::string line = "  ";
    line += FormatDdMmm(DateTextFromJulianDay(dayJD));
    line += "  ";
    line += time;
    line += "  ";
    line += text;
    days[k].push_back({e.jd, std::move(line)});
  }
  if (choices.voidOfCourse) {
    for (const VoidOfCourse& v : report.voids) {
      const LocalClock c = choices.zone.At(v.startJD);
      const long k = dayIndex(c.dayJD);
      if (k < 0) continue;
      // Right after the aspect that starts it.
      std::vector<Row>& day = days[k];
      auto at = day.begin();
      while (at != day.end() && at->jd <= v.startJD) ++at;
      day.insert(at, {v.startJD, "  " + FormatDdMmm(DateTextFromJulianDay(c.dayJD)) + "  " +
                                     ClockText(c) + "  " + VoidText(v, coords, choices.zone)});
    }
  }
  std::vector<std::string> day;
  for (const std::vector<Row>& rows : days) {
    day.clear();
    for (const Row& r : rows) day.push_back(r.line);
    AppendDay(lines, day);
  }
  return lines;
}

std::string CalendarStationsText(const std::vector<Station>& stations,
                                 const CalendarChoices& choices) {
  std::string text = "  Changes in direction (in " + choices.zone.Name() + "):\r\n\r\n";
  for (const Station& s : stations) {
    std::string line = StationLine(s);
    line.resize(line.size() - 2);  // CRLF
    if (!choices.zone.IsUniversal()) {
      // "  Mercury - 11 Jan 2009 at 10:44, ..." with the date and time in the zone.
      const size_t from = line.find(" - ") + 3;
      const size_t to = line.find(", ", from);
      const LocalClock c = choices.zone.At(s.jd);
      line.replace(from, to - from,
                   FormatDdMmmYyyy(DateTextFromJulianDay(c.dayJD)) + " at " + ClockText(c));
    }
    if (choices.stationDirection) line += std::string(" ") + DirectionWord(s.direction);
    text += line + "\r\n";
  }
  return text;
}

}  // namespace novastra
