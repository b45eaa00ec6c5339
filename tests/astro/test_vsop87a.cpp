// The complete VSOP87A series the minor-body generator moves its perturbers
// with: against the check values published with the series, and the reader
// refusing damaged files.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "astro/vsop87a.h"

namespace fs = std::filesystem;

namespace novastra {
namespace {

const fs::path kFolder = fs::path(NOVASTRA_REFERENCE_DIR) / "vsop87a";

struct CheckValue {
  std::string body;
  double jd;
  Vector3 position;
};

// The VSOP87A entries of the published check file: a header "VSOP87A NAME
// JDnnnnnnn.n ..." and a line "x X au y Y au z Z au".
std::vector<CheckValue> ReadCheckValues() {
  std::vector<CheckValue> out;
  std::ifstream in(kFolder / "vsop87a.chk");
  for (std::string line; std::getline(in, line);) {
    std::istringstream head(line);
    std::string version, name, jdText, values, label, unit;
    if (!(head >> version >> name >> jdText) || version != "VSOP87A") continue;
    if (!std::getline(in, values)) break;
    std::istringstream v(values);
    double xyz[3];
    for (double& c : xyz) v >> label >> c >> unit;
    out.push_back({name, std::stod(jdText.substr(2)), {xyz[0], xyz[1], xyz[2]}});
  }
  return out;
}

// vsop87a.chk (IMCCE's check file, the VSOP87A part): for each body ten
// dates from 2000 back to 1100, x y z to 1e-10 AU. Tolerance 1.5e-10 AU, the
// printed precision. Every body whose file is supplied, every date.
TEST(Vsop87a, AgreesWithThePublishedCheckValues) {
  const std::map<std::string, std::string> files = {
      {"MERCURY", "VSOP87A.mer"}, {"VENUS", "VSOP87A.ven"},   {"EARTH-MOON", "VSOP87A.emb"},
      {"MARS", "VSOP87A.mar"},    {"JUPITER", "VSOP87A.jup"}, {"SATURN", "VSOP87A.sat"},
      {"URANUS", "VSOP87A.ura"},  {"NEPTUNE", "VSOP87A.nep"}};
  std::map<std::string, Vsop87aBody> bodies;
  for (const auto& [name, file] : files) {
    auto bad = LoadVsop87a(kFolder / file, bodies[name]);
    ASSERT_FALSE(bad) << *bad;
  }
  int checked = 0;
  for (const CheckValue& c : ReadCheckValues()) {
    if (!bodies.contains(c.body)) continue;  // the Earth itself: its file is not supplied
    const Vector3 got = Vsop87aPosition(bodies[c.body], c.jd);
    EXPECT_LT(Length(got - c.position), 1.5e-10 * std::sqrt(3.0)) << c.body << " " << c.jd;
    ++checked;
  }
  EXPECT_EQ(checked, 80);
}

// Damaged files are refused with where and why, and none is half read as
// if whole.
TEST(Vsop87a, RefusesDamagedFiles) {
  const std::string header =
      " VSOP87 VERSION A1    JUPITER   VARIABLE 1 (XYZ)       *T**0      2 TERMS    X\n";
  const std::string term =
      " 1510    1  0  0  0  0  1  0  0  0  0  0  0  0  0.00049718200     5.19663467735     "
      "5.19663470114 0.59945082355     529.69096509460\n";
  const struct {
    std::string text, reason;
  } cases[] = {
      {header + term, "holds 1 terms, its header says 2"},
      {header + term + term + term, "holds 3 terms, its header says 2"},
      {term, "a term before any header"},
      {" VSOP87 VERSION A1 JUPITER VARIABLE 4 (XYZ) *T**0 2 TERMS\n" + term, "out of range"},
      {" VSOP87 VERSION A1 JUPITER (XYZ) 2\n", "a malformed header"},
      {header + term + " 1510 2 0 0 5.2 0.59 529.6x\n", "not a number: 529.6x"},
      {header + term + " 1510 0.59 529.6\n", "too short"},
      {"", "no series"},
  };
  const fs::path file = fs::temp_directory_path() / ("vsop87a-test-" + std::to_string(getpid()));
  for (const auto& c : cases) {
    std::ofstream(file) << c.text;
    Vsop87aBody body;
    const auto bad = LoadVsop87a(file, body);
    ASSERT_TRUE(bad) << c.reason;
    EXPECT_NE(bad->find(c.reason), std::string::npos) << *bad;
  }
  fs::remove(file);
  Vsop87aBody body;
  const auto missing = LoadVsop87a(kFolder / "VSOP87A.none", body);
  ASSERT_TRUE(missing);
  EXPECT_NE(missing->find("cannot be opened"), std::string::npos);
}

}  // namespace
}  // namespace novastra
