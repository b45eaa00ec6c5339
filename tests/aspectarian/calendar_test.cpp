// The calendar choices: local times by IANA zone, the void-of-course Moon and
// the direction of each station.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

#include "astro/angles.h"
#include "astro/calendar.h"
#include "reports/aspectarian_report.h"
#include "reports/stations.h"
#include "reports/time_zone.h"
#include "reports/void_of_course.h"
#include "text/aspectarian_text.h"
#include "text/calendar_text.h"
#include "text/stations_text.h"

namespace novastra {
namespace {

double Jd(int y, int mo, int d, int h, int mi) {
  return JulianDayNumber(y, mo, d) - 0.5 + (h * 60 + mi) / 1440.0;
}

TimeZone Zone(const std::string& name) {
  std::string error;
  const auto z = TimeZone::Find(name, &error);
  EXPECT_TRUE(z) << error;
  return z ? *z : TimeZone{};
}

// Local clocks from the system tz database, checked against Python's zoneinfo
// (datetime.astimezone) on the same instants; exact to the minute.
TEST(TimeZone, LocalClockAcrossChangesOfOffset) {
  struct Case {
    const char* zone;
    int y, mo, d, h, mi;       // UT
    int ly, lmo, ld, lh, lmi;  // local
    int offset;                // minutes
    bool repeated;
  } cases[] = {
      // Spring forward, New York, 8 Mar 2009: 01:59 EST, then 03:00 EDT.
      {"America/New_York", 2009, 3, 8, 6, 59, 2009, 3, 8, 1, 59, -300, false},
      {"America/New_York", 2009, 3, 8, 7, 0, 2009, 3, 8, 3, 0, -240, false},
      // Fall back, 1 Nov 2009: 01:30 happens twice, first EDT then EST.
      {"America/New_York", 2009, 11, 1, 5, 30, 2009, 11, 1, 1, 30, -240, true},
      {"America/New_York", 2009, 11, 1, 6, 30, 2009, 11, 1, 1, 30, -300, true},
      {"America/New_York", 2009, 11, 1, 7, 30, 2009, 11, 1, 2, 30, -300, false},
      // A half-hour zone.
      {"Asia/Kolkata", 2009, 1, 1, 0, 0, 2009, 1, 1, 5, 30, 330, false},
      // Moscow kept +4 all year from 2011 to 2014, then +3.
      {"Europe/Moscow", 2012, 1, 1, 0, 0, 2012, 1, 1, 4, 0, 240, false},
      {"Europe/Moscow", 2015, 1, 1, 0, 0, 2015, 1, 1, 3, 0, 180, false},
      // Local mean time before standard time: New York -4:56:02 (to 1883),
      // Calcutta +5:53:28 (to 1854); the clock shows whole minutes.
      {"America/New_York", 1850, 1, 1, 0, 0, 1849, 12, 31, 19, 3, -296, false},
      {"Asia/Kolkata", 1850, 1, 1, 0, 0, 1850, 1, 1, 5, 53, 353, false},
      // Universal Time itself.
      {"UT", 1850, 1, 1, 0, 0, 1850, 1, 1, 0, 0, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.zone) + " " + std::to_string(c.y) + "/" + std::to_string(c.mo) +
                 "/" + std::to_string(c.d) + " " + std::to_string(c.h) + "h");
    const LocalClock k =
        Zone(c.zone).At(Jd(c.y, c.mo, c.d, c.h, c.mi) + 10.0 / 86400);  // 10 s rounds down
    EXPECT_EQ(
        std::tie(k.dayJD, k.hour, k.minute, k.offsetMinutes, k.repeated),
        std::make_tuple(JulianDayNumber(c.ly, c.lmo, c.ld), c.lh, c.lmi, c.offset, c.repeated));
  }
  // The repeated hour carries its offset; other times do not.
  EXPECT_EQ(ClockText(Zone("America/New_York").At(Jd(2009, 11, 1, 5, 30))), "01:30-04:00");
  EXPECT_EQ(ClockText(Zone("America/New_York").At(Jd(2009, 11, 1, 6, 30))), "01:30-05:00");
  EXPECT_EQ(ClockText(Zone("Asia/Kolkata").At(Jd(2009, 1, 1, 0, 0))), "05:30");
  EXPECT_EQ(OffsetText(330), "+05:30");
}

TEST(TimeZone, LocalMidnightAndNoonInUniversalTime) {
  const TimeZone ny = Zone("America/New_York");
  EXPECT_NEAR(ny.UniversalOf(JulianDayNumber(2009, 11, 1), 0), Jd(2009, 11, 1, 4, 0), 1e-9);  // EDT
  EXPECT_NEAR(ny.UniversalOf(JulianDayNumber(2009, 11, 1), 12), Jd(2009, 11, 1, 17, 0),
              1e-9);  // EST
  EXPECT_NEAR(ny.UniversalOf(JulianDayNumber(2009, 3, 8), 12), Jd(2009, 3, 8, 16, 0), 1e-9);
  EXPECT_NEAR(Zone("Asia/Kolkata").UniversalOf(JulianDayNumber(2009, 1, 1), 0),
              Jd(2008, 12, 31, 18, 30), 1e-9);
  EXPECT_NEAR(TimeZone{}.UniversalOf(JulianDayNumber(2009, 1, 1), 12), JulianDayNumber(2009, 1, 1),
              1e-9);
}

TEST(TimeZone, UnknownNamesAreRefusedWithTheirName) {
  for (const char* bad :
       {"Mars/Olympus_Mons", "America/New York", "../../etc/passwd", "EST5EDT,M3", "\x01"}) {
    std::string error;
    EXPECT_FALSE(TimeZone::Find(bad, &error)) << bad;
    EXPECT_NE(error.find(bad), std::string::npos) << error;
  }
  for (const char* ut : {"", "UT", "UTC"}) EXPECT_TRUE(TimeZone::Find(ut)->IsUniversal());
  const std::vector<std::string> names = ZoneNames();
  EXPECT_TRUE(std::binary_search(names.begin(), names.end(), "America/New_York"));
  EXPECT_TRUE(std::binary_search(names.begin(), names.end(), "Asia/Kolkata"));
}

// One station event at a UT instant.
Event StationAt(double jd) {
  Event e;
  e.kind = EventKind::Station;
  e.body = 3;
  e.direction = Direction::Retrograde;
  e.dayJD = std::floor(jd + 0.5);
  const double minutes = std::round((jd - (e.dayJD - 0.5)) * 1440);
  e.hour = static_cast<int>(minutes / 60);
  e.minutes = std::fmod(minutes, 60.0);
  e.jd = jd;
  return e;
}

TEST(CalendarText, LocalDatesGroupTheEvents) {
  AspectarianReport report;
  report.startJD = JulianDayNumber(2009, 3, 1);
  report.dayCount = 3;
  report.events = {StationAt(Jd(2009, 3, 2, 2, 30)), StationAt(Jd(2009, 3, 2, 12, 0))};
  const HeaderInfo info{"Tropical ", "3/1/2009", "noon", JulianDayNumber(2009, 3, 1)};
  CalendarChoices c;
  c.zone = Zone("America/New_York");
  c.stationDirection = true;
  const auto lines =
      CalendarAspectarianLines(report, info, Coordinates::Geocentric, c, report.startJD, 2);
  ASSERT_EQ(lines.size(), 6u + 2 + 2);
  EXPECT_EQ(lines[3], "  Times in America/New_York");
  // 02:30 UT on 2 Mar is 21:30 EST on 1 Mar.
  EXPECT_TRUE(lines[6].starts_with("  01 Mar  21:30  ")) << lines[6];
  EXPECT_TRUE(lines[6].ends_with(" +/- up to 1 hour - retrograde")) << lines[6];
  EXPECT_EQ(lines[7], "");
  EXPECT_TRUE(lines[8].starts_with("  02 Mar  07:00  ")) << lines[8];
  // In UT the same events stay on 2 Mar.
  c.zone = TimeZone{};
  const auto ut =
      CalendarAspectarianLines(report, info, Coordinates::Geocentric, c, report.startJD, 2);
  EXPECT_EQ(ut[6], "");
  EXPECT_TRUE(ut[7].starts_with("  02 Mar  02:30  ")) << ut[7];
  EXPECT_TRUE(ut[8].starts_with("          12:00  ")) << ut[8];
}

TEST(CalendarText, StationsTitleNamesTheZone) {
  Station s;
  s.body = 3;
  s.direction = Direction::Direct;
  s.dayJD = JulianDayNumber(2009, 11, 1);
  s.hour = 5;
  s.minutes = 30;
  s.jd = Jd(2009, 11, 1, 5, 30);
  s.longitude = 15.5;
  CalendarChoices c;
  EXPECT_EQ(CalendarStationsText({s}, c), StationsListText({s}));  // nothing chosen: as before
  c.zone = Zone("America/New_York");
  c.stationDirection = true;
  const std::string text = CalendarStationsText({s}, c);
  EXPECT_TRUE(
      text.starts_with("  Changes in direction (in America/New_York):\r\n\r\n  Mercury - 01 Nov "
                       "2009 at 01:30-04:00, 15"))
      << text;
  EXPECT_TRUE(text.ends_with(" direct\r\n")) << text;
}

}  // namespace
}  // namespace novastra
