#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "astro/fast_trig.h"
#include "astro/planets.h"
#include "astro/pluto.h"

namespace novastra {
namespace {

const SeriesTables& Tables() {
  static const SeriesTables tables = [] {
    SeriesTables t;
    const auto err = LoadSeriesTables(NOVASTRA_DATA_DIR, t);
    if (err) ADD_FAILURE() << err->Message();
    return t;
  }();
  return tables;
}

// Venus, 1992 December 20 at 0h (the published worked example).
TEST(Planets, VenusHeliocentric1992) {
  const double tau = (2448976.5 - 2451545.0) / 365250.0;
  const HelioPosition v = ComputeHelio(Tables()[SeriesBody::Venus], tau, nullptr);
  EXPECT_NEAR(v.L, 26.11428, 6e-6);
  EXPECT_NEAR(v.B, -2.62070, 6e-6);
  EXPECT_NEAR(v.R, 0.724603, 6e-7);
}

// The Earth, 1992 October 13 at 0h (the Sun's worked example).
TEST(Planets, EarthHeliocentric1992) {
  const double tau = (2448908.5 - 2451545.0) / 365250.0;
  const HelioPosition e = ComputeHelio(Tables()[SeriesBody::Earth], tau, nullptr);
  EXPECT_NEAR(e.L, 19.907372, 6e-7);
  EXPECT_NEAR(e.B, -0.000179, 6e-7);
  EXPECT_NEAR(e.R, 0.99760775, 6e-9);
}

// Pluto, 1992 October 13 at 0h (the published worked example, J2000.0 frame:
// l = 232.74, b = 14.58782, r = 29.711111). The program's own constant terms
// differ from the published ones (b -3.908202 for -3.908239, r 40.7247248 for
// 40.7241346, l 238.956785 for 238.958116); the periodic sums are the same.
TEST(Planets, PlutoHeliocentric1992) {
  const double T = (2448908.5 - 2451545.0) / 36525.0;
  const SunJ2000 sun = ComputeSunJ2000(Tables()[SeriesBody::EarthJ2000], T / 10, nullptr);
  const PlutoPosition p = ComputePluto(T, 2448908.0, sun, Tables().pluto, nullptr);
  EXPECT_NEAR(p.l, 232.74, 0.002);
  EXPECT_NEAR(p.b - (-3.908202 + 3.908239), 14.58782, 6e-6);
  EXPECT_NEAR(p.r - (40.7247248 - 40.7241346), 29.711111, 6e-7);
  // Of the date (precessed back about 0.1 deg, light-time ignored), close to the
  // published J2000.0 place 15h31m43.7s, -4 deg 27' 29".
  EXPECT_NEAR(p.rightAscension, 232.93, 0.2);
  EXPECT_NEAR(p.declination, -4.458, 0.1);
}

TEST(Planets, PlutoCorrectionToTheDate) {
  struct Case { double lon, jd, want; };
  const Case cases[] = {
      {100, 2488070, 101.3975},
      {100, 2451545, 100 - 0.001685820476666512},
      {359.5, 2488070, 0.8975},        // crosses 360
      {0.0005, 2451545, 360 + 0.0005 - 0.001685820476666512},  // crosses 0
  };
  for (const Case& c : cases) EXPECT_NEAR(PlutoLongitudeOfDate(c.lon, c.jd), c.want, 1e-9) << c.lon;
}

TEST(Planets, GeocentricStepKeepsQuadrant) {
  // The Earth at heliocentric 180 deg puts the Sun at 0 deg.
  const HelioPosition earth{180, 0, 1};
  struct Case { HelioPosition planet; double lon, lat; };
  const Case cases[] = {
      {{90, 0, 1}, 45, 0},      {{270, 0, 1}, 315, 0},  {{0, 0, 0.7}, 0, 0},
      {{180, 0, 0.7}, 0, 0},  {{0, 10, 2}, 0, 6.68},
  };
  for (const Case& c : cases) {
    const EclipticDeg g = GeocentricFromHelio(c.planet, earth);
    double d = g.longitude - c.lon;
    if (d > 180) d -= 360;
    EXPECT_NEAR(d, 0, 1e-7) << c.planet.L;
    EXPECT_NEAR(g.latitude, c.lat, 0.01) << c.planet.L;
  }
}

TEST(FastKernels, SeriesSumsMatchTermByTerm) {
  const TrigKernels* kernels[] = {&Sse2Kernels(), Avx2Kernels()};
  for (const TrigKernels* k : kernels) {
    if (k == nullptr) continue;
    for (const SeriesSet& set : Tables().sets) {
      for (const auto* coord : {&set.L, &set.B, &set.R}) {
        for (const auto& series : *coord) {
          for (double tau : {-0.2, -0.0731, 0.0, 0.05, 0.1}) {
            const double plain = PlainSeriesSum(series.data(), series.size(), tau);
            const double fast = k->powerSeries(MakeSeriesLanes({series}), tau);
            double scale = 1;
            for (const SeriesTerm& t : series) scale += std::abs(t.A);
            EXPECT_NEAR(fast, plain, 2e-15 * scale) << k->name << " tau " << tau << " n " << series.size();
          }
        }
      }
    }
  }
}

TEST(FastKernels, WholeBodiesMatchTermByTerm) {
  const TrigKernels* kernels[] = {&Sse2Kernels(), Avx2Kernels()};
  for (const TrigKernels* k : kernels) {
    if (k == nullptr) continue;
    for (const SeriesSet& set : Tables().sets) {
      for (double tau : {-0.2, -0.0731, 0.0, 0.05, 0.1}) {  // the years 1800 to 2100
        const HelioPosition plain = ComputeHelio(set, tau, nullptr);
        const HelioPosition fast = ComputeHelio(set, tau, k);
        double dL = fast.L - plain.L;
        if (dL > 180) dL -= 360;
        if (dL < -180) dL += 360;
        EXPECT_NEAR(dL, 0, 1e-9) << k->name << " tau " << tau;
        EXPECT_NEAR(fast.B, plain.B, 1e-9) << k->name << " tau " << tau;
        EXPECT_NEAR(fast.R, plain.R, 1e-12) << k->name << " tau " << tau;
      }
    }
  }
}

TEST(FastKernels, SinCosMatchLibraryOverAllQuadrants) {
  std::vector<double> x;
  for (int k = -80; k <= 80; ++k) x.push_back(k * 0.7853981633974483);  // multiples of pi/4
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> small(-10, 10), wide(-9e5, 9e5);
  for (int i = 0; i < 2000; ++i) x.push_back(small(rng));
  for (int i = 0; i < 2000; ++i) x.push_back(wide(rng));
  x.push_back(3.5e7);  // beyond the reduction's range: library fallback
  x.push_back(-1e9);
  x.push_back(0.0);
  const TrigKernels* kernels[] = {&Sse2Kernels(), Avx2Kernels()};
  for (const TrigKernels* k : kernels) {
    if (k == nullptr) continue;
    std::vector<double> s(x.size()), c(x.size());
    k->sinBatch(x.data(), s.data(), x.size());
    k->cosBatch(x.data(), c.data(), x.size());
    for (std::size_t i = 0; i < x.size(); ++i) {
      // Absolute error of the reduced argument grows with |x| like the library's ulp.
      const double tol = 4e-16 + 2e-16 * std::abs(x[i]) * 1e-3;
      EXPECT_NEAR(s[i], std::sin(x[i]), tol) << k->name << " sin " << x[i];
      EXPECT_NEAR(c[i], std::cos(x[i]), tol) << k->name << " cos " << x[i];
    }
  }
  // Odd lengths exercise the tails.
  for (std::size_t n : {1u, 2u, 3u, 5u, 7u}) {
    std::vector<double> out(n);
    FastKernels().cosBatch(x.data() + 100, out.data(), n);
    for (std::size_t i = 0; i < n; ++i) EXPECT_NEAR(out[i], std::cos(x[100 + i]), 1e-15);
  }
}

}  // namespace
}  // namespace novastra
