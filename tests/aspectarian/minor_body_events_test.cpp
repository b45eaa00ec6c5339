// The minor bodies' events of the aspectarian against their own series and
// the position engine: over 2022 the instants are found here independently,
// by scanning every 20 minutes and bisecting each crossing to a tenth of a
// second (aspects, parallels and ingresses) or each zero of the longitude
// speed by central differences (stations), and the aspectarian must list
// each one exactly once, within a minute (within seconds, as measured, for
// all but the stations, which are given their nearest minute). Choosing the bodies changes none
// of the planets' events.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "astro/calendar.h"
#include "astro/minor_bodies.h"
#include "reports/aspectarian_report.h"
#include "reports/minor_events.h"
#include "reports/stations.h"
#include "support/sky.h"
#include "text/export_formats.h"

namespace novastra {
namespace {

using testing_support::AspectarianOver;
using testing_support::PositionsAt;

constexpr double kStart = 2459581;  // 1 January 2022
constexpr int kDays = 365;
constexpr double kMinute = 1.0 / 1440;
constexpr double kSecond = 1.0 / 86400;

// The supplied MINOR.DAT, loaded once.
constexpr auto& Minor = testing_support::SuppliedMinorTables;

double Wrap180(double x) { return x - 360 * std::round(x / 360); }

// Longitude and declination of every event body 1..18 at the UT Julian Day jd
// (tropical, design sky, the true node).
struct SkyState {
  double lon[19] = {};
  double dec[19] = {};
};

SkyState SkyAt(double jd) {
  SkyState s;
  const BodyPositions p = PositionsAt(jd);
  for (int b = 1; b <= 11; ++b) {
    s.lon[b] = p.Longitude[b];
    s.dec[b] = p.Declination[b];
  }
  const auto minor = ComputeMinorPlaces(Minor(), jd, Sky::Design);
  for (int k = 0; k < kMinorBodyCount; ++k) {
    s.lon[kFirstMinorEventBody + k] = minor[k]->longitude;
    s.dec[kFirstMinorEventBody + k] = minor[k]->declination;
  }
  return s;
}

struct Found {
  EventKind kind;
  int body, other, aspect, sign;
  double jd;
};

// The zeros of g(sky) over the year, each bisected to a tenth of a second; a
// jump of 90 or more between two scans is a wrap, not a zero.
void Zeros(const std::vector<SkyState>& scan, double t0, double step,
           const std::function<double(const SkyState&)>& g, const Found& what,
           std::vector<Found>& out) {
  for (size_t k = 1; k < scan.size(); ++k) {
    const double g0 = g(scan[k - 1]), g1 = g(scan[k]);
    if ((g0 < 0) == (g1 < 0) || std::fabs(g1 - g0) >= 90) continue;
    double a = t0 + step * static_cast<double>(k - 1), b = a + step;
    while (b - a > 0.1 / 86400) {
      const double m = (a + b) / 2;
      ((g(SkyAt(m)) < 0) == (g0 < 0) ? a : b) = m;
    }
    Found f = what;
    f.jd = (a + b) / 2;
    out.push_back(f);
  }
}

class MinorBodyEvents : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    AspectarianRequest r = AspectarianOver(kStart, kDays);
    r.choices.aspects = kAllAspects;
    r.minorTables = &Minor();
    r.minor = kAllMinorBodies;
    report_ = new AspectarianReport(BuildAspectarian(r));
    RefineStationEvents(r.sky, report_->events, &Minor());
    constexpr double kStep = 20.0 / 1440;
    const double t0 = kStart - 0.5;
    scan_ = new std::vector<SkyState>();
    for (double t = t0; t <= t0 + kDays + 1e-9; t += kStep) scan_->push_back(SkyAt(t));
  }
  static void TearDownTestSuite() {
    delete report_;
    delete scan_;
  }

  // The listed events of a kind that name a minor body.
  static std::vector<const Event*> Listed(EventKind kind) {
    std::vector<const Event*> out;
    for (const Event& e : report_->events)
      if (e.kind == kind && IsMinorEventBody(e.body)) out.push_back(&e);
    return out;
  }

  // Each found instant listed once within `tolerance`, and nothing else listed.
  static void ExpectOneToOne(const std::vector<Found>& found,
                             const std::vector<const Event*>& listed, double tolerance) {
    std::vector<bool> used(listed.size());
    double worst = 0;
    for (const Found& f : found) {
      int matches = 0;
      for (size_t k = 0; k < listed.size(); ++k) {
        const Event& e = *listed[k];
        if (e.body != f.body || e.other != f.other || e.aspect != f.aspect || e.sign != f.sign)
          continue;
        if (std::fabs(e.jd - f.jd) > tolerance) continue;
        ++matches;
        used[k] = true;
        worst = std::max(worst, std::fabs(e.jd - f.jd));
      }
      EXPECT_EQ(matches, 1) << BodyName(f.body, Coordinates::Geocentric) << " "
                            << BodyName(f.other, Coordinates::Geocentric) << " aspect "
                            << f.aspect << " sign " << f.sign << " at JD " << f.jd << " ("
                            << DateTextFromJulianDay(std::floor(f.jd + 0.5)) << ")";
    }
    for (size_t k = 0; k < listed.size(); ++k)
      EXPECT_TRUE(used[k]) << "listed but not in the sky: "
                           << BodyName(listed[k]->body, Coordinates::Geocentric) << " "
                           << BodyName(listed[k]->other, Coordinates::Geocentric) << " at JD "
                           << listed[k]->jd;
    std::printf("%zu found, worst %.1f s\n", found.size(), worst * 86400);
  }

  static AspectarianReport* report_;
  static std::vector<SkyState>* scan_;
};
AspectarianReport* MinorBodyEvents::report_ = nullptr;
std::vector<SkyState>* MinorBodyEvents::scan_ = nullptr;

constexpr double kScanStep = 20.0 / 1440;

TEST_F(MinorBodyEvents, EveryAspectCrossingListedOnceWithinAMinute) {
  std::vector<Found> found;
  for (int a = kFirstMinorEventBody; a <= kLastMinorEventBody; ++a)
    for (int b = 1; b <= kLastMinorEventBody; ++b) {
      if (b == a || (IsMinorEventBody(b) && b < a)) continue;
      for (int type = kConjunction; type <= kAspectTypes; ++type) {
        const double angle = AspectAngle(type);
        const int targets = angle == 0 || angle == 180 ? 1 : 2;  // one way round, or both
        for (int k = 0; k < targets; ++k) {
          const double target = k == 0 ? angle : -angle;
          auto gap = [a, b, target](const SkyState& s) {
            return Wrap180(Wrap180(s.lon[a] - s.lon[b]) - target);
          };
          Zeros(*scan_, kStart - 0.5, kScanStep, gap, {EventKind::Aspect, a, b, type, 0, 0},
                found);
        }
      }
    }
  const auto listed = Listed(EventKind::Aspect);
  // The Moon alone makes some 250 aspects a year with each body.
  EXPECT_GT(found.size(), 2000u);
  EXPECT_EQ(listed.size(), found.size());
  ExpectOneToOne(found, listed, 5 * kSecond);  // measured: 1.0 s at most
  for (const Event* e : listed) EXPECT_NEAR(e->separation, AspectAngle(e->aspect), 1.0 / 60);
}

TEST_F(MinorBodyEvents, EveryParallelListedOnceWithinAMinute) {
  std::vector<Found> found;
  for (int a = kFirstMinorEventBody; a <= kLastMinorEventBody; ++a)
    for (int b = 1; b <= kLastMinorEventBody; ++b) {
      if (b == a || (IsMinorEventBody(b) && b < a)) continue;
      Zeros(*scan_, kStart - 0.5, kScanStep, [a, b](const SkyState& s) { return s.dec[a] - s.dec[b]; },
            {EventKind::Parallel, a, b, 0, 0, 0}, found);
      Zeros(*scan_, kStart - 0.5, kScanStep, [a, b](const SkyState& s) { return s.dec[a] + s.dec[b]; },
            {EventKind::Contraparallel, a, b, 0, 0, 0}, found);
    }
  std::vector<Found> parallels, contra;
  for (const Found& f : found) (f.kind == EventKind::Parallel ? parallels : contra).push_back(f);
  EXPECT_GT(parallels.size(), 150u);
  EXPECT_GT(contra.size(), 150u);
  // Measured: 0.5 s at most.
  ExpectOneToOne(parallels, Listed(EventKind::Parallel), 5 * kSecond);
  ExpectOneToOne(contra, Listed(EventKind::Contraparallel), 5 * kSecond);
}

TEST_F(MinorBodyEvents, EveryIngressListedOnceWithinAMinute) {
  std::vector<Found> found;
  for (int a = kFirstMinorEventBody; a <= kLastMinorEventBody; ++a)
    for (int sign = 1; sign <= 12; ++sign) {
      const double cusp = 30.0 * (sign - 1);
      std::vector<Found> crossings;
      Zeros(*scan_, kStart - 0.5, kScanStep, [a, cusp](const SkyState& s) {
        return Wrap180(s.lon[a] - cusp);
      }, {EventKind::Ingress, a, 0, 0, 0, 0}, crossings);
      for (Found f : crossings) {
        // The sign entered: the one the body is in a minute later.
        const double later = SkyAt(f.jd + kMinute).lon[a];
        f.sign = Wrap180(later - cusp) > 0 ? sign : (sign + 10) % 12 + 1;
        found.push_back(f);
      }
    }
  EXPECT_GE(found.size(), 20u);  // the two Liliths and the asteroids
  ExpectOneToOne(found, Listed(EventKind::Ingress), 15 * kSecond);  // measured: 5.9 s
}

// Stations: the zeros of the longitude speed by central differences over
// +-0.01 day (exact for a parabola), bisected to a tenth of a second; each
// listed once, at its minute (the nearest, so within half a minute and the
// bisection), in its direction, with its longitude there. The mean Lilith
// never turns.
TEST_F(MinorBodyEvents, EveryStationWithinAMinuteOfTheZeroOfTheSpeed) {
  std::vector<Found> found;
  for (int a = kFirstMinorEventBody; a <= kLastMinorEventBody; ++a) {
    const MinorBody body = MinorBodyOfEvent(a);
    auto longitude = [body](double jd) {
      return ComputeMinorPlace(Minor(), body, jd, Sky::Design)->longitude;
    };
    auto speed = [&](double jd) { return Wrap180(longitude(jd + 0.01) - longitude(jd - 0.01)); };
    const double t0 = kStart - 0.5;
    double previous = speed(t0);
    for (double t = t0 + 1.0 / 24; t <= t0 + kDays + 1e-9; t += 1.0 / 24) {
      const double now = speed(t);
      if ((previous < 0) != (now < 0)) {
        double lo = t - 1.0 / 24, hi = t;
        while (hi - lo > 0.1 / 86400) {
          const double m = (lo + hi) / 2;
          ((speed(m) < 0) == (previous < 0) ? lo : hi) = m;
        }
        found.push_back({EventKind::Station, a, 0, now < 0 ? 1 : 0, 0, (lo + hi) / 2});
      }
      previous = now;
    }
  }
  std::vector<const Event*> listed = Listed(EventKind::Station);
  for (const Event* e : listed) {
    EXPECT_TRUE(e->refined);
    EXPECT_NE(e->body, EventBodyOf(MinorBody::Lilith));
    const double lon =
        ComputeMinorPlace(Minor(), MinorBodyOfEvent(e->body), e->jd, Sky::Design)
            ->longitude;
    EXPECT_NEAR(e->bodyLongitude, lon, 1e-9);
  }
  // Chiron, Ceres, Pallas, Juno and Vesta turn twice or so; the osculating
  // Lilith many times.
  EXPECT_GE(found.size(), 12u);
  // The direction rides in `aspect` here: 1 retrograde, 0 direct.
  std::vector<Found> retro, direct;
  for (const Found& f : found) (f.aspect == 1 ? retro : direct).push_back({f.kind, f.body, 0, 0, 0, f.jd});
  std::vector<const Event*> listedRetro, listedDirect;
  for (const Event* e : listed)
    (e->direction == Direction::Retrograde ? listedRetro : listedDirect).push_back(e);
  ExpectOneToOne(retro, listedRetro, 0.5 * kMinute + 0.2 * kSecond);
  ExpectOneToOne(direct, listedDirect, 0.5 * kMinute + 0.2 * kSecond);
}

bool SameEvent(const Event& a, const Event& b) {
  return a.kind == b.kind && a.body == b.body && a.other == b.other && a.aspect == b.aspect &&
         a.jd == b.jd && a.sign == b.sign && a.direction == b.direction;
}

// The run with the minor bodies is the run without them, event for event,
// once their events are taken out; they come after the planets' events of
// their hour and shown minute.
TEST_F(MinorBodyEvents, ChoosingThemChangesNoOtherEvent) {
  AspectarianRequest r = AspectarianOver(kStart, kDays);
  r.choices.aspects = kAllAspects;
  AspectarianReport planets = BuildAspectarian(r);
  RefineStationEvents(r.sky, planets.events);
  std::vector<Event> without;
  for (const Event& e : report_->events)
    if (!IsMinorEventBody(e.body) && !IsMinorEventBody(e.other)) without.push_back(e);
  ASSERT_EQ(without.size(), planets.events.size());
  for (size_t k = 0; k < without.size(); ++k)
    EXPECT_TRUE(SameEvent(without[k], planets.events[k])) << k;
  ASSERT_EQ(report_->voids.size(), planets.voids.size());
  for (size_t k = 0; k < planets.voids.size(); ++k)
    EXPECT_EQ(report_->voids[k].startJD, planets.voids[k].startJD);
}

// Each minor body's event comes after the planets' events of its day, hour
// and shown minute.
TEST_F(MinorBodyEvents, OrderAfterThePlanetsOfTheMinute) {
  AspectarianRequest r = AspectarianOver(kStart, kDays);
  r.choices.aspects = kAllAspects;
  r.minorTables = &Minor();
  r.minor = kAllMinorBodies;
  const AspectarianReport report = BuildAspectarian(r);  // the stations at their hour
  auto key = [](const Event& e) {
    return std::make_tuple(e.dayJD, e.hour, ShownMinuteKey(e.minutes));
  };
  int minorEvents = 0;
  for (size_t k = 1; k < report.events.size(); ++k) {
    const Event& a = report.events[k - 1];
    const Event& b = report.events[k];
    EXPECT_LE(key(a), key(b)) << k;
    const bool aMinor = IsMinorEventBody(a.body);
    const bool bMinor = IsMinorEventBody(b.body);
    minorEvents += bMinor;
    if (key(a) == key(b) && aMinor) {
      EXPECT_TRUE(bMinor) << "a planet's event after a minor body's";
    }
  }
  EXPECT_GT(minorEvents, 3000);
}

// Chiron's and Ceres's stations of 2022 and 2023 in the apparent sky against
// PyEphem's (tests/astro/data/minor_stations.txt, made by
// tools/make_minor_station_reference.py): the zeros of the apparent
// longitude speed of the two-body orbits of the same JPL elements
// (JD 2459800.5) that MINOR.DAT's integration starts from. Within a year and
// a half of the epoch the two orbits part by arcseconds; a station moves by
// the speed difference over the longitude's acceleration there (for Chiron
// some 7e-4 degree a day per day, for Ceres 5e-3): an hour would be a fair
// bound; measured 7.1 minutes at most (Chiron's December 2023 and Ceres's
// January 2022 stations, farthest from the epoch), held here to 15.
TEST(MinorStations, ChironAndCeresAgainstPyEphem) {
  struct Reference {
    std::string body;
    double jd;
    Direction direction;
  };
  std::vector<Reference> refs;
  std::ifstream in(std::string(NOVASTRA_SKY_REFERENCE_DIR) + "/minor_stations.txt");
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream row(line);
    std::string name, jd, dir;
    std::getline(row, name, ',');
    std::getline(row, jd, ',');
    std::getline(row, dir, ',');
    refs.push_back({name, std::stod(jd), dir == "R" ? Direction::Retrograde : Direction::Direct});
  }
  ASSERT_EQ(refs.size(), 7u);

  AspectarianRequest r = AspectarianOver(kStart, 730);  // 2022 and 2023
  r.sky.choices.sky = Sky::Apparent;
  r.minorTables = &Minor();
  r.minor[static_cast<size_t>(MinorBody::Chiron)] = true;
  r.minor[static_cast<size_t>(MinorBody::Ceres)] = true;
  const AspectarianReport report = BuildAspectarian(r);
  std::vector<Station> minor;
  for (const Station& s : BuildStations(r.sky, report.events, &Minor()))
    if (IsMinorEventBody(s.body)) minor.push_back(s);
  ASSERT_EQ(minor.size(), refs.size());
  for (const Reference& ref : refs) {
    const auto it = std::find_if(minor.begin(), minor.end(), [&](const Station& s) {
      return MinorBodyName(MinorBodyOfEvent(s.body)) == ref.body &&
             std::fabs(s.jd - ref.jd) < 0.5;
    });
    ASSERT_NE(it, minor.end()) << ref.body << " at JD " << ref.jd;
    EXPECT_EQ(it->direction, ref.direction) << ref.body << " at JD " << ref.jd;
    EXPECT_NEAR(it->jd, ref.jd, 15 * kMinute) << ref.body;
    std::printf("%s %s: %+.1f min\n", ref.body.c_str(),
                DateTextFromJulianDay(std::floor(ref.jd + 0.5)).c_str(), (it->jd - ref.jd) * 1440);
  }
}

}  // namespace
}  // namespace novastra
