// The Moon's void-of-course periods of 2009-2010 against PyEphem's.
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "reports/void_of_course.h"
#include "support/sky.h"

namespace novastra {
namespace {

// Reference: tests/astro/data/sky_voids.txt (PyEphem 4.1.4, apparent sky; its
// header gives the rule: the last major aspect to the Sun .. Pluto, never the
// node). Tolerance 3 minutes on both ends: the Moon's apparent longitude agrees
// with PyEphem to 15", half a minute of its motion, and the lists interpolate
// the hourly samples to the minute.
TEST(VoidOfCourseReference, PeriodsOf2009And2010AsPyEphemFindsThem) {
  const char* names[] = {"", "Sun", "Moon", "Mercury", "Venus", "Mars", "Jupiter",
                         "Saturn", "Uranus", "Neptune", "Pluto", "Node"};
  SampleContext sky;
  sky.tables = &testing_support::SuppliedTables();
  sky.choices.sky = Sky::Apparent;
  const std::vector<VoidOfCourse> found = FindVoidsOfCourse(sky, 2454833.0, 730);
  std::ifstream in(std::string(NOVASTRA_SKY_REFERENCE_DIR) + "/sky_voids.txt");
  size_t next = 0;
  int compared = 0;
  constexpr double kMinute = 1.0 / 1440;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream s(line);
    double start = 0, ingress = 0;
    std::string partner;
    int sign = 0;
    s >> start >> partner >> ingress >> sign;
    while (next < found.size() && found[next].endJD < ingress - 3 * kMinute) ++next;
    ASSERT_LT(next, found.size()) << "no period ending at JD " << ingress;
    const VoidOfCourse& v = found[next];
    EXPECT_NEAR(v.endJD, ingress, 3 * kMinute);
    EXPECT_EQ(v.signEntered, sign) << "at JD " << ingress;
    EXPECT_NEAR(v.startJD, start, 3 * kMinute) << "ending at JD " << ingress;
    const int other = v.lastAspect.body == 2 ? v.lastAspect.other : v.lastAspect.body;
    EXPECT_EQ(names[other], partner) << "ending at JD " << ingress;
    ++compared;
  }
  EXPECT_EQ(compared, 321);
  EXPECT_EQ(found.size(), 321u);
}

}  // namespace
}  // namespace novastra
