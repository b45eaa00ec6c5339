// "Changes in direction": each station of the last aspectarian run, found to
// the hour, refined to the minute by recomputing the planet minute by minute.
#include <cstdlib>

#include "aspectarian/aspectarian.h"
#include "aspectarian/sampling.h"
#include "aspectarian/stations.h"
#include "astro/calendar.h"
#include "ephemeris/pages.h"
#include "output/text_format.h"
#include "shell/application.h"

namespace novastra {

namespace {

const char* PlanetName(int body) {
  static const char* const kNames[] = {"Mercury", "Venus  ", "Mars   ", "Jupiter",
                                       "Saturn ", "Uranus ", "Neptune", "Pluto  "};
  return body >= 3 && body <= 10 ? kNames[body - 3] : "       ";
}

// The station hour written in characters 13 to 15 of the row text.
int StationHour(const StationRow& row) {
  if (row.text.size() < 14) return row.hour;
  return std::atoi(row.text.substr(12, 3).c_str());
}

}  // namespace

std::optional<RefinedStation> RefineStation(const StationRow& row,
                                            const std::function<double(double T)>& longitudeAt) {
  const int hh = StationHour(row);
  const double t0 = row.timeT - ((24.0 - hh) / 24) / 36525;
  double previous = 0;
  for (int m = -60; m <= 60; ++m) {
    const double lambda = longitudeAt(t0 + (m / 1440.0) / 36525);
    if (m > -60) {
      const double step = lambda - previous;
      const bool stop = row.glyph == kGlyphRetrograde ? (lambda < previous || step > 350)
                                                      : (lambda > previous || step < -350);
      if (stop) {
        RefinedStation r;
        r.longitude = lambda;
        r.dayJD = row.rowJD;
        if (m < 0) {
          r.minutes = 60 + m;
          r.hour = hh - 1;
          if (r.hour < 0) {
            r.hour += 24;
            r.dayJD -= 1;
          }
        } else {
          r.minutes = m;
          r.hour = hh;
        }
        return r;
      }
    }
    previous = lambda;
  }
  return std::nullopt;
}

std::string StationLine(int body, const RefinedStation& r, bool carry) {
  Zodiacal z = SplitZodiacal(r.longitude);
  if (carry) z = CarryZodiacalMinutes(z, 1);
  return std::string("  ") + PlanetName(body) + " - " + FormatDdMmmYyyy(DateTextFromJulianDay(r.dayJD)) +
         " at " + Fmt00(r.hour) + ":" + Fmt00(r.minutes) + ", " + Fmt00(z.degrees) + SignCode(z.sign) +
         Fmt00_0(z.minutes) + "\r\n";
}

std::string StationsText(Application& app) {
  const std::vector<StationRow>& rows = app.aspectarian.stations;
  if (rows.empty()) return "";
  const SampleContext ctx = SampleContextOf(app);
  std::string text = "  Changes in direction (in UT):\r\n\r\n";
  for (const StationRow& row : rows) {
    auto longitudeAt = [&](double T) {
      const InstantSetup inst = PrepareInstantAt(T, row.rowJD, ctx.ayanamsa);
      return ComputePositions(inst, *ctx.tables, ctx.choices).Longitude[row.body];
    };
    if (auto refined = RefineStation(row, longitudeAt)) text += StationLine(row.body, *refined, app.CarrySixty);
  }
  return text;
}

void ShowRetrogradeTimes(Application& app) {
  if (app.aspectarian.stations.empty()) return;
  app.ui.SetBusy(true);
  const std::string text = StationsText(app);
  app.buffer.AppendLine(text);
  app.buffer.ShowDataBuffer();
  app.ui.SetBusy(false);
}

}  // namespace novastra
