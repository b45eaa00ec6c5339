#pragma once
// Shared by the astro tests: the supplied series tables (loaded once), the
// vector kernels this processor has, and the signed gap a - b of two angles.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
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

// The outside reference tables in data/ (their headers name the source).
struct Row {
  double jd = 0;
  std::string name;  // body, phase, sign longitude or station direction
  double value = 0;
};

// The rows of a reference table: "jd name [value]"; '#' lines are its header.
inline std::vector<Row> ReadTable(const std::string& file) {
  std::ifstream in(std::string(NOVASTRA_TESTDATA_DIR) + "/" + file);
  std::vector<Row> rows;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream s(line);
    Row r;
    s >> r.jd >> r.name >> r.value;
    rows.push_back(r);
  }
  EXPECT_GT(rows.size(), 150u) << file;
  return rows;
}

inline const std::map<std::string, int> kBodyIndex = {
    {"Sun", kSun},         {"Moon", kMoon},       {"Mercury", kMercury}, {"Venus", kVenus},
    {"Mars", kMars},       {"Jupiter", kJupiter}, {"Saturn", kSaturn},   {"Uranus", kUranus},
    {"Neptune", kNeptune}, {"Pluto", kPluto},     {"Node", kNorthNode}};

}  // namespace novastra::testing
