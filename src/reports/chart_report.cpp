#include "reports/chart_report.h"

#include <algorithm>
#include <cmath>

#include "astro/angles.h"
#include "astro/zodiac.h"

namespace novastra {

namespace {

constexpr const char* kPointWords[kChartPoints] = {
    "sun",    "moon",    "mercury", "venus",      "mars",      "jupiter", "saturn",
    "uranus", "neptune", "pluto",   "north_node", "ascendant", "mc",      "vertex"};

// The engine's positions at a UT instant of any hour.
BodyPositions PositionsAtUT(const ChartRequest& r, double jdUT) {
  const double rowJD = std::floor(jdUT + 0.5);
  const InstantSetup s = PrepareInstantAt((jdUT - 2451545.0) / 36525.0, rowJD, r.ayanamsa);
  return ComputePositions(s, *r.tables, r.choices);
}

double Wrap180(double x) { return x - 360 * std::round(x / 360); }

}  // namespace

const char* ChartPointWord(int k) { return k >= 0 && k < kChartPoints ? kPointWords[k] : ""; }

double NatalChart::PointLongitude(int k) const {
  if (k >= 0 && k <= 10) return bodies[k + 1].longitude;
  if (k == 11) return houses.ascendant;
  if (k == 12) return houses.mc;
  return houses.vertex;
}

std::optional<NatalChart> BuildChart(const ChartRequest& r, std::string* why) {
  if (!r.tables || !std::isfinite(r.jdUT) || !std::isfinite(r.longitude)) {
    if (why) *why = "no instant or place";
    return std::nullopt;
  }
  NatalChart chart;
  chart.request = r;
  const HouseSky sky = HouseSkyAt(r.jdUT, GeoPlace{r.latitude, r.longitude}, r.choices.sky);
  chart.ramc = sky.ramc;
  chart.obliquity = sky.obliquity;
  const auto houses = ComputeHouses(r.houses, sky, why);
  if (!houses) return std::nullopt;
  // Houses are tropical; the chart's zodiac moves them as it moves the bodies.
  const InstantSetup s =
      PrepareInstantAt((r.jdUT - 2451545.0) / 36525.0, std::floor(r.jdUT + 0.5), r.ayanamsa);
  auto shift = [&](double lon) {
    return ShiftLongitude(lon, r.choices.zodiac, s.Svp, s.Ayanamsa);
  };
  chart.houses = *houses;
  chart.houses.ascendant = shift(houses->ascendant);
  chart.houses.mc = shift(houses->mc);
  chart.houses.vertex = shift(houses->vertex);
  for (double& c : chart.houses.cusps) c = shift(c);
  // Speeds from the positions an hour either side.
  const BodyPositions now = PositionsAtUT(r, r.jdUT);
  const BodyPositions before = PositionsAtUT(r, r.jdUT - 1.0 / 24);
  const BodyPositions after = PositionsAtUT(r, r.jdUT + 1.0 / 24);
  for (int b = 1; b <= 11; ++b) {
    chart.bodies[b].longitude = now.Longitude[b];
    chart.bodies[b].latitude = now.Latitude[b];
    chart.bodies[b].speed = Wrap180(after.Longitude[b] - before.Longitude[b]) * 12;
  }
  return chart;
}

namespace {

using Targets = std::vector<std::pair<int, double>>;  // aspect type, signed angle

// One transiting body's transits of one day's hourly samples.
void BodyTransits(const TransitRequest& request, const HourSamples& samples, double dayJD, int b,
                  const std::array<double, kChartPoints>& natal, const Targets& targets,
                  std::vector<Transit>& day) {
  const auto& lon = samples.first;
  for (int h = 0; h < 24; ++h) {
    const double x0 = lon[b][h], x1 = lon[b][h + 1];
    for (int k = 0; k < kChartPoints; ++k) {
      if (!request.natal[k]) continue;
      const double s0 = Wrap180(x0 - natal[k]), s1 = Wrap180(x1 - natal[k]);
      for (const auto& [type, angle] : targets) {
        // The same rule as the aspectarian's: a crossing counts in the hour
        // whose end reaches it, so one exact at a sample is found once.
        const double f0 = Wrap180(s0 - angle), f1 = Wrap180(s1 - angle);
        if ((f0 < 0) == (f1 < 0) || std::fabs(f1 - f0) >= 90) continue;
        const double m = f0 / (f0 - f1);  // fraction of the hour
        Transit t;
        t.jd = dayJD - 0.5 + std::round((h + m) * 3600) / 86400.0;
        t.body = b;
        t.natal = k;
        t.aspect = type;
        t.transitLongitude = NormalizeDegrees(x0 + Wrap180(x1 - x0) * m);
        t.retrograde = Wrap180(x1 - x0) < 0;
        day.push_back(t);
      }
    }
  }
}

}  // namespace

TransitReport BuildTransits(const TransitRequest& request, const ReportControl& control) {
  TransitReport report;
  if (!request.chart || !request.sky.tables) return report;
  std::array<double, kChartPoints> natal{};
  for (int k = 0; k < kChartPoints; ++k) natal[k] = request.chart->PointLongitude(k);
  Targets targets;
  for (int t = 1; t <= kAspectTypes; ++t) {
    if ((request.aspects & (1u << t)) == 0) continue;
    const double a = AspectAngle(t);
    targets.emplace_back(t, a);
    if (a != 0 && a != 180) targets.emplace_back(t, -a);
  }
  report.cancelled = !ForEachSampledDay(
      request.sky, request.startJD, request.dayCount, control,
      [&](int d, const HourSamples& samples) {
        const double dayJD = request.startJD + d;
        std::vector<Transit> day;
        for (int b = 1; b <= 11; ++b)
          if (request.transiting[b]) BodyTransits(request, samples, dayJD, b, natal, targets, day);
        std::stable_sort(day.begin(), day.end(),
                         [](const Transit& x, const Transit& y) { return x.jd < y.jd; });
        report.transits.insert(report.transits.end(), day.begin(), day.end());
        report.dayCount = d + 1;
      });
  return report;
}

}  // namespace novastra
