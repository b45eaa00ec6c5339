// Whole tables compared byte for byte with frozen copies (checked by hand
// against the layout rules and published positions). Set NOVASTRA_UPDATE_GOLDEN
// to rewrite the copies after a deliberate change.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "run_fixture.h"

namespace novastra {
namespace {

using testing::ReadBytes;

class Golden : public testing::RunFixture {
 protected:
  void Compare(ColumnSet set, const std::string& name) {
    const std::filesystem::path file = std::filesystem::path(NOVASTRA_TESTDATA_DIR) / name;
    const std::string text = TableText(set);
    if (std::getenv("NOVASTRA_UPDATE_GOLDEN")) {
      std::ofstream(file, std::ios::binary) << text;
      return;
    }
    const std::string expected = ReadBytes(file);
    ASSERT_FALSE(expected.empty()) << file;
    if (text == expected) return;
    // Report the first differing line rather than two huge strings.
    size_t at = 0;
    while (at < text.size() && at < expected.size() && text[at] == expected[at]) ++at;
    size_t lineStart = expected.rfind('\n', at == 0 ? 0 : at - 1);
    lineStart = lineStart == std::string::npos ? 0 : lineStart + 1;
    ADD_FAILURE() << name << " differs at byte " << at << ", line starting:\n"
                  << expected.substr(lineStart, expected.find('\r', lineStart) - lineStart)
                  << "\nbut got:\n"
                  << text.substr(lineStart, text.find('\r', lineStart) - lineStart);
  }
};

TEST_F(Golden, January2009MidnightTropicalAllTables) {
  Choose("1", "1", "2009", 31, true, InstantChoice::Midnight);
  ASSERT_TRUE(app_->CalculateEphemeris());
  Compare(ColumnSet::Longitude, "jan2009_longitude.txt");
  Compare(ColumnSet::Latitude, "jan2009_latitude.txt");
  Compare(ColumnSet::RightAscension, "jan2009_ra.txt");
  Compare(ColumnSet::Declination, "jan2009_declination.txt");
  Compare(ColumnSet::HelioLongitude, "jan2009_helio_longitude.txt");
  Compare(ColumnSet::HelioLatitude, "jan2009_helio_latitude.txt");
}

TEST_F(Golden, SiderealNoonWithMeanNode) {
  Choose("3", "1", "2000", 10, false, InstantChoice::Noon);
  app_->params.ZodiacMode = Zodiac::Sidereal;
  app_->params.MoonNodes = NodeMode::Mean;
  ASSERT_TRUE(app_->CalculateEphemeris());
  Compare(ColumnSet::Longitude, "mar2000_sidereal_noon_longitude.txt");
}

TEST_F(Golden, RightAscensionInHours) {
  app_->options[11] = 1;
  Choose("1", "1", "2009", 10, false, InstantChoice::Midnight);
  ASSERT_TRUE(app_->CalculateEphemeris());
  Compare(ColumnSet::RightAscension, "jan2009_ra_hours.txt");
}

}  // namespace
}  // namespace novastra
