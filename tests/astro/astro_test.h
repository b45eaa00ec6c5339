#pragma once
// Shared by the astro tests: the supplied series tables (loaded once), the
// vector kernels this processor has, and the signed gap a - b of two angles.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "astro/fast_trig.h"
#include "astro/series.h"
#include "support/sky.h"

namespace novastra::testing {

inline const SeriesTables& Tables() { return testing_support::SuppliedTables(); }

inline std::vector<const TrigKernels*> Kernels() {
  if (Avx2Kernels() == nullptr) return {&Sse2Kernels()};
  return {&Sse2Kernels(), Avx2Kernels()};
}

inline double AngleGap(double a, double b) {  // in -180..180
  const double d = std::fmod(a - b, 360.0);
  return d > 180 ? d - 360 : d < -180 ? d + 360 : d;
}

}  // namespace novastra::testing
