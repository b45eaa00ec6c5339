#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "input/input_check.h"
#include "shell/options.h"
#include "shell/settings.h"
#include "shell/ui.h"
#include "temp_folder.h"

namespace novastra {
namespace {

using testing_support::TempFolder;

// Byte soups of the kinds a damaged or hand-edited file holds.
std::vector<std::string> Inputs() {
  std::mt19937 rng(20090101);
  auto byte = [&rng] { return static_cast<char>(rng() & 0xFF); };
  const char* keys[] = {"FontSize=", "FontBold=", "FontItalic=", "NOVASTRATop=",
                        "NOVASTRALeft=", "NOVASTRAHeight=", "NOVASTRAWidth=", "DataTop=",
                        "DataLeft=", "DataHeight=", "DataWidth=", "CalcFullMonth=",
                        "SaveData=", "Type=", "NumberOfDays=", "Coordinates=", "MoonNodes=",
                        "Zodiac=", "MoonChangeSign=", ""};
  const char* values[] = {"0", "-0", " 7.74", "7.75", "-1", "1e308", "99999", "-99999",
                          "32767.5", "-32768.5", "Yes", "Helio", "Mean", ".", "-", "\t5",
                          "366", "367", "0.4", "Sidereal", "Ayanamsa", "No Display"};
  std::vector<std::string> out = {"", std::string(1, '\0'), "\r\n\r\n\r\n", "\r", "=",
                                  std::string(300000, '9'),
                                  "FontSize= " + std::string(500, '9') + "\r\nDataTop= 5",
                                  std::string(70000, 'x') + "\r\nDataTop= 5"};
  for (int n = 0; n < 150; ++n) {
    std::string s;
    const int lines = static_cast<int>(rng() % 30);
    for (int i = 0; i < lines; ++i) {
      switch (rng() % 4) {
        case 0:
          for (int j = static_cast<int>(rng() % 40); j > 0; --j) s += byte();
          break;
        case 1:
          s += std::string(keys[rng() % std::size(keys)]) + values[rng() % std::size(values)];
          break;
        case 2:
          s += std::string(keys[rng() % std::size(keys)]);
          for (int j = static_cast<int>(rng() % 12); j > 0; --j) s += "0123456789.-+ "[rng() % 14];
          break;
        default:
          s += std::string(7, ' ').substr(rng() % 7) + std::to_string(static_cast<int>(rng()));
      }
      s += (rng() % 3 == 0) ? "\n" : "\r\n";
    }
    out.push_back(s);
  }
  return out;
}

TEST(FileFuzz, SettingsStayWithinTheirRulesAndRoundTrip) {
  TempFolder dir;
  for (const std::string& bytes : Inputs()) {
    dir.Write("NOVASTRA.INI", bytes);
    Settings s;
    RunParameters p;
    p.StartMonth = "7";
    p.MoonChangeOnly = true;
    p.Output = DataOutput::Declination;
    ReadSettings(dir.path(), s, p);
    const std::string where = bytes.substr(0, 60);

    EXPECT_TRUE(s.FontSize >= 7.75 && std::isfinite(s.FontSize)) << where;
    EXPECT_TRUE(std::isfinite(s.FontBold) && std::isfinite(s.FontItalic)) << where;
    EXPECT_TRUE(std::isfinite(s.MainTop) && std::isfinite(s.MainLeft)) << where;
    EXPECT_TRUE(s.MainHeight > 0 && s.MainWidth > 0 && std::isfinite(s.MainWidth)) << where;
    EXPECT_TRUE(s.DataTop > 0 && s.DataHeight > 0 && s.DataWidth > 0) << where;
    EXPECT_TRUE(p.NumberOfDays >= 1 && p.NumberOfDays <= 366) << where;
    EXPECT_EQ(s.NumberOfDays, p.NumberOfDays) << where;
    EXPECT_EQ(LeadingNumber(p.DaysText), p.NumberOfDays) << where;
    // Fields the settings file never holds are left alone.
    EXPECT_EQ(p.StartMonth, "7");
    EXPECT_TRUE(p.MoonChangeOnly);
    EXPECT_EQ(p.Output, DataOutput::Declination);

    // Whatever was read, writing it and reading it back gives the same state.
    TempFolder out;
    ASSERT_TRUE(WriteSettings(out.path(), s, p));
    const std::string written = out.Read("NOVASTRA.INI");
    Settings s2;
    RunParameters p2;
    ReadSettings(out.path(), s2, p2);
    ASSERT_TRUE(WriteSettings(out.path(), s2, p2));
    EXPECT_EQ(out.Read("NOVASTRA.INI"), written) << where;
  }
}

TEST(FileFuzz, OptionsAreNumbersFromSevenCharacters) {
  TempFolder dir;
  for (const std::string& bytes : Inputs()) {
    dir.Write("OPTIONS.OPT", bytes);
    RunOptions o;
    o[0] = 42;
    ASSERT_TRUE(ReadOptions(dir.path(), o));
    EXPECT_EQ(o[0], 42);
    for (int k = 1; k <= 12; ++k)
      EXPECT_TRUE(std::isfinite(o[k]) && std::fabs(o[k]) <= 9999999) << k;
    // The editor's text saves back to a file that reads the same.
    const auto text = LoadOptionsText(dir.path());
    ASSERT_TRUE(text);
    TempFolder out;
    HeadlessUi ui;
    RunOptions o2;
    o2[0] = 42;
    ASSERT_TRUE(SaveOptionsText(out.path(), *text, o2, ui));
    for (int k = 0; k <= 12; ++k) EXPECT_EQ(o2[k], o[k]) << k;
  }
}

}  // namespace
}  // namespace novastra
