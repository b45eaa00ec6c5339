#pragma once
// A chart: the eleven bodies, the angles and the house cusps for one instant
// and place, as typed results; and the transits of a range of days to it.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "astro/engine.h"
#include "astro/houses.h"
#include "reports/events.h"
#include "reports/report.h"
#include "reports/sampling.h"

namespace novastra {

struct ChartRequest {
  const SeriesTables* tables = nullptr;
  EngineChoices choices;  // zodiac, node and sky (charts: the apparent sky by default)
  AyanamsaOption ayanamsa;
  double jdUT = 0;      // the instant, Universal Time
  double latitude = 0;  // degrees, north positive
  double longitude = 0;  // degrees, east positive
  HouseSystem houses = HouseSystem::Placidus;
};

// A point of the chart: a body (1..11, as the engine numbers them) or an angle.
enum class ChartAngle { Ascendant, Midheaven, Vertex };
inline constexpr int kChartPoints = 14;  // bodies 1..11, then the three angles

struct ChartBody {
  double longitude = 0, latitude = 0;  // degrees, in the chart's zodiac
  double speed = 0;                    // degrees of longitude a day
  bool retrograde() const { return speed < 0; }
};

struct NatalChart {
  ChartRequest request;
  std::array<ChartBody, 12> bodies{};  // 1..11
  HouseCusps houses;                   // in the chart's zodiac
  double ramc = 0;                     // local sidereal time, degrees
  double obliquity = 0;                // degrees (true in the apparent sky)
  // The longitude of point k (0..10: bodies 1..11; 11, 12, 13: Ascendant, MC, Vertex).
  double PointLongitude(int k) const;
};

// The chart, or nullopt with the reason (a latitude or system without houses).
std::optional<NatalChart> BuildChart(const ChartRequest& request, std::string* why = nullptr);

// "sun" .. "north_node", "ascendant", "mc", "vertex".
const char* ChartPointWord(int k);

// ---- transits ----

struct TransitRequest {
  SampleContext sky;    // the transiting sky: the chart's choices by default
  const NatalChart* chart = nullptr;
  double startJD = 0;   // noon Julian Day of the first day
  int dayCount = 0;
  std::uint16_t aspects = kMajorAspects;
  // The natal points aspected: 0..13 as PointLongitude numbers them (all by default).
  std::array<bool, kChartPoints> natal{};
  std::array<bool, 12> transiting{};  // bodies 1..11 (all by default)
  TransitRequest() {
    natal.fill(true);
    transiting.fill(true);
    transiting[0] = false;
  }
};

// One exact transit: the transiting body reaching the aspect's angle from a
// natal point.
struct Transit {
  double jd = 0;      // UT, to the second
  int body = 0;       // transiting, 1..11
  int natal = 0;      // natal point 0..13
  int aspect = 0;     // AspectType
  double transitLongitude = 0;
  bool retrograde = false;  // the transiting body moves backward at the instant
};

struct TransitReport {
  std::vector<Transit> transits;  // by instant
  int dayCount = 0;
  bool cancelled = false;
};

// Every aspect of the chosen set of a transiting body to a natal point over
// the days, from the hourly samples: the difference of longitudes crossing
// the aspect's angle between two samples, interpolated linearly within the
// hour (within a second of the engine's own crossing for every body: the
// motions are smooth over an hour). A retrograde loop gives its three passes.
TransitReport BuildTransits(const TransitRequest& request, const ReportControl& control = {});

}  // namespace novastra
