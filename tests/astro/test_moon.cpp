#include <gtest/gtest.h>

#include "astro/fast_trig.h"
#include "astro/moon.h"

namespace novastra {
namespace {

TEST(Moon, AtJ2000) {
  const MoonPosition m = ComputeMoon(0.0, NodeMode::True, nullptr);
  EXPECT_NEAR(m.Lp, 218.3164591, 1e-9);
  EXPECT_NEAR(m.meanNode, 125.044555, 1e-9);
  EXPECT_EQ(m.E, 1.0);
  EXPECT_NEAR(m.longitude, 223.31872, 6e-6);
  EXPECT_NEAR(m.latitude, 5.17128, 6e-6);
  EXPECT_NEAR(m.node, 123.92571, 6e-6);
}

// The published worked example of the lunar theory, 1992 April 12 at 0h.
TEST(Moon, At1992April12) {
  const double T = (2448724.5 - 2451545.0) / 36525.0;
  EXPECT_NEAR(T, -0.077221081451, 1e-12);
  const MoonPosition m = ComputeMoon(T, NodeMode::True, nullptr);
  struct Value { const char* name; double got, want, tol; };
  const Value values[] = {
      {"L'", m.Lp, 134.290186, 6e-7},        {"D", m.D, 113.842309, 6e-7},
      {"M", m.M, 97.643514, 6e-7},           {"M'", m.Mp, 5.150839, 6e-7},
      {"F", m.F, 219.889726, 6e-7},          {"E", m.E, 1.000194, 6e-7},
      {"sum l", m.sumL, -1127526.4, 0.06},   {"sum b", m.sumB, -3229126.8, 0.06},
      {"longitude", m.longitude, 133.16266, 6e-6}, {"latitude", m.latitude, -3.22913, 6e-6},
      {"mean node", m.meanNode, 274.40066, 6e-6},  {"true node", m.trueNode, 273.73804, 6e-6},
  };
  for (const Value& v : values) EXPECT_NEAR(v.got, v.want, v.tol) << v.name;
  EXPECT_EQ(m.node, m.trueNode);
}

TEST(Moon, NodeModeChangesOnlyTheNode) {
  for (double T : {-2.0, -0.5, 0.0, 0.3, 1.0}) {
    const MoonPosition tr = ComputeMoon(T, NodeMode::True, nullptr);
    const MoonPosition mn = ComputeMoon(T, NodeMode::Mean, nullptr);
    EXPECT_EQ(tr.longitude, mn.longitude) << T;
    EXPECT_EQ(tr.latitude, mn.latitude) << T;
    EXPECT_EQ(mn.node, mn.meanNode) << T;
    EXPECT_EQ(tr.node, tr.trueNode) << T;
    // The true node oscillates about the mean one by at most about 1.7 degrees.
    double gap = tr.node - mn.node;
    if (gap > 180) gap -= 360;
    if (gap < -180) gap += 360;
    EXPECT_LT(std::abs(gap), 1.8) << T;
  }
}

TEST(Moon, ArgumentsReducedAndLatitudeSignedForAnyT) {
  for (double T = -2.0; T <= 1.0; T += 0.0137) {
    const MoonPosition m = ComputeMoon(T, NodeMode::True, nullptr);
    for (double a : {m.Lp, m.D, m.M, m.Mp, m.F, m.meanNode, m.longitude, m.node}) {
      EXPECT_GE(a, 0.0) << T;
      EXPECT_LT(a, 360.0) << T;
    }
    EXPECT_LT(std::abs(m.latitude), 5.35) << T;
  }
}

TEST(Moon, VectorSinesAgreeWithLibrary) {
  const TrigKernels* kernels[] = {&Sse2Kernels(), Avx2Kernels()};
  for (const TrigKernels* k : kernels) {
    if (k == nullptr) continue;
    for (double T = -2.0; T <= 1.0; T += 0.00731) {
      const MoonPosition a = ComputeMoon(T, NodeMode::True, nullptr);
      const MoonPosition b = ComputeMoon(T, NodeMode::True, k);
      EXPECT_NEAR(a.longitude, b.longitude, 1e-9) << k->name << " " << T;
      EXPECT_NEAR(a.latitude, b.latitude, 1e-9) << k->name << " " << T;
      EXPECT_NEAR(a.trueNode, b.trueNode, 1e-9) << k->name << " " << T;
    }
  }
}

}  // namespace
}  // namespace novastra
