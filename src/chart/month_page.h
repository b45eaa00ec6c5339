#pragma once
// One calendar month on one landscape page: the daily longitudes and
// declinations of the Sun to Pluto and the node with the sidereal time, and
// the month's phenomena (ingresses, stations, lunations with their eclipses,
// void-of-course Moon periods and aspects) in the chosen zone; and the title
// page of a book of such months. Drawn with QPainter on any paint device.
#include <QString>
#include <string>
#include <vector>

#include "reports/aspectarian_report.h"
#include "reports/ephemeris_report.h"
#include "reports/time_zone.h"

class QPainter;
class QRectF;

namespace novastra::chart {

// What a month's page shows, computed before drawing.
struct MonthInput {
  int year = 0, month = 0;
  std::string zodiacText;   // "Tropical", "Sidereal (Lahiri)" ...
  std::string skyText;      // "design sky" or "apparent sky"
  std::string instantText;  // "0h UT" or "12h UT"
  TimeZone zone;
  EphemerisReport ephemeris;  // one day per date of the month
  // The month's events by the zone's dates, stations at their stopping minute
  // (RefineStationEvents), with the void-of-course periods and the eclipses.
  AspectarianReport aspectarian;
};

// The fonts of a page: the symbol font draws the grid and the phenomena, the
// text font the headings.
struct PageFonts {
  QString symbols = "EPHEMERI";
  QString text = "DejaVu Sans";
};

// One phenomenon as the page lists it: the zone's date and time, and the line
// in the program's symbol codes (text/glyphs.h).
struct PhenomenonLine {
  double dayJD = 0;  // noon Julian Day of the zone's date
  int hour = 0, minute = 0;
  std::string codes;
};

// The month's phenomena in time order; a void period's line stands at its
// start, an eclipse's on the line after its lunation.
std::vector<PhenomenonLine> MonthPhenomena(const MonthInput& month);

// A longitude as the page prints it: degrees, sign code, minutes (rounded to
// the whole minute, carried into the next sign at 60), e.g. "10\xCA19".
std::string PageLongitude(double degrees);
// A declination: degrees, north or south code, whole minutes.
std::string PageDeclination(double degrees);
// Sidereal time in seconds as "hh:mm:ss" (rounded to the second).
std::string PageSiderealTime(double seconds);

// Draws the month into `page` (device units of 1/72 inch). False when the
// phenomena cannot be fitted even at the smallest type.
bool PaintMonthPage(QPainter& painter, const MonthInput& month, const QRectF& page,
                    const PageFonts& fonts = {});

// The book's title page: the range, the zodiac, sky and zone.
void PaintTitlePage(QPainter& painter, const MonthInput& first, const MonthInput& last,
                    const QRectF& page, const PageFonts& fonts = {});

// Month names, "January" .. "December".
const char* MonthName(int month);

}  // namespace novastra::chart
