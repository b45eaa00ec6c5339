#pragma once
// A chart as text (the program's byte codes, as every page), CSV and JSON,
// its JSON file read back, and its transits as text, CSV, JSON Lines and
// calendar events.
#include <optional>
#include <string>
#include <string_view>

#include "reports/chart_report.h"
#include "reports/time_zone.h"
#include "text/ical_export.h"

namespace novastra {

// What a chart file holds beside the computed chart.
struct ChartMeta {
  std::string name = "Chart";
  std::string zone = "UT";  // the zone its time was given in
  std::string version;      // the program's
};

// A latitude or longitude as typed: decimal degrees ("40.7128", "-74.006";
// east and north positive) or degrees, the hemisphere's letter and minutes
// with optional seconds ("40N43", "74W00", "33S52:30"). nullopt with the
// reason for anything else or a value out of range (90, 180).
std::optional<double> ParseCoordinate(std::string_view text, bool latitude, std::string* why);
// "40N43" / "74W00" from signed degrees.
std::string LatitudeText(double degrees);
std::string LongitudeText(double degrees);

std::string ChartText(const NatalChart& chart, const ChartMeta& meta);
// point, longitude, latitude, speed, retrograde: the bodies, the angles, then cusp_1 .. cusp_12.
std::string ChartCsv(const NatalChart& chart);
// One JSON object (the chart file): the instant, the place, the choices, the
// angles, "cusps" (house 1 first) and "bodies".
std::string ChartJson(const NatalChart& chart, const ChartMeta& meta);
// The chart of a file ChartJson wrote: its points as stored (the transits
// need nothing else) and its choices. False with the reason for anything
// else: bad JSON, a missing or non-finite value, a longitude outside 0..360.
bool ChartFromJson(const std::string& text, NatalChart& chart, ChartMeta& meta, std::string& why);

// ---- transits ----

// "Mars square natal Sun"; "Moon trine natal Ascendant".
std::string TransitWords(const Transit& t);
// The text list: a title, then one line per transit grouped by the zone's days.
std::string TransitText(const TransitReport& report, const ChartMeta& meta, const TimeZone& zone,
                        double startJD, int dayCount);
// instant, local_instant, body, aspect, natal, natal_longitude, transit_longitude, retrograde.
std::string TransitCsvHeader();
void AppendTransitCsv(std::string& out, const Transit& t, const NatalChart& chart,
                      const TimeZone& zone);
void AppendTransitJson(std::string& out, const Transit& t, const NatalChart& chart,
                       const TimeZone& zone);
void AppendIcalTransit(std::string& out, const Transit& t, const NatalChart& chart,
                       const IcalOptions& options);

}  // namespace novastra
