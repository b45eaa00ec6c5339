#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/settings.h"
#include "temp_folder.h"

namespace novastra {
namespace {

using testing_support::TempFolder;

std::string Crlf(const std::vector<std::string>& lines) {
  std::string t;
  for (const auto& l : lines) t += l + "\r\n";
  return t;
}

struct Loaded {
  Settings s;
  RunParameters p;
};

Loaded ReadFrom(const TempFolder& dir, const std::string& bytes) {
  dir.Write("NOVASTRA.INI", bytes);
  Loaded l;
  ReadSettings(dir.path(), l.s, l.p);
  return l;
}

// Compares a state with the defaults through the file it writes, which holds all of it.
void ExpectDefaults(const Loaded& l) {
  TempFolder a, b;
  ASSERT_TRUE(WriteSettings(a.path(), l.s, l.p));
  ASSERT_TRUE(WriteSettings(b.path(), Settings{}, RunParameters{}));
  EXPECT_EQ(a.Read("NOVASTRA.INI"), b.Read("NOVASTRA.INI"));
  EXPECT_EQ(l.p.NumberOfDays, 30);
}

TEST(Settings, MissingEmptyOrHeaderOnlyFileLeavesDefaults) {
  TempFolder dir;
  Loaded missing;
  missing.p.FullMonth = false;  // defaults are set even without a file
  missing.s.FontSize = 20;
  ReadSettings(dir.path(), missing.s, missing.p);
  ExpectDefaults(missing);
  ExpectDefaults(ReadFrom(dir, ""));
  ExpectDefaults(ReadFrom(dir, Crlf({"[NOVASTRA] - Do NOT change the order of these variables."})));
}

TEST(Settings, ExitExampleWritesTheLinesInOrder) {
  TempFolder dir;
  Settings s;
  RunParameters p;
  p.FullMonth = true;
  p.Instant = InstantChoice::Midnight;
  p.ZodiacMode = Zodiac::Sidereal;
  p.DaysText = "45";
  p.NumberOfDays = 45;
  ASSERT_TRUE(WriteSettings(dir.path(), s, p));
  const std::string expected = Crlf({
      "[NOVASTRA] - Do NOT change the order of these variables.",
      "FontSize= 10", "FontBold= 0", "FontItalic= 0", "NOVASTRATop= 0", "NOVASTRALeft= 0",
      "NOVASTRAHeight= 675", "NOVASTRAWidth= 6550", "DataTop= 660", "DataLeft= 0",
      "DataHeight= 6540", "DataWidth= 9600",
      "CalcFullMonth=Yes",   // line 13
      "SaveData=No",
      "Type=Midnight",       // line 15
      "NumberOfDays=45",     // line 16
      "Coordinates=Geo", "MoonNodes=True",
      "Zodiac=Sidereal",     // line 19
      "MoonChangeSign=Display",
  });
  EXPECT_EQ(dir.Read("NOVASTRA.INI"), expected);
  // No temporary file is left beside it.
  int files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++files;
  EXPECT_EQ(files, 1);
}

TEST(Settings, WrittenFileReadsBackToTheSameState) {
  TempFolder dir;
  Settings s;
  s.FontSize = 12.25;
  s.FontBold = -1;
  s.FontItalic = -1;
  s.MainTop = -120.5f;
  s.MainLeft = 0.1f;
  s.MainHeight = 900;
  s.MainWidth = 7000;
  s.DataTop = 1;
  s.DataLeft = -300;
  s.DataHeight = 32767;
  s.DataWidth = 8000;
  RunParameters p;
  p.FullMonth = false;
  p.SaveData = true;
  p.Instant = InstantChoice::Midnight;
  p.Coords = Coordinates::Heliocentric;
  p.MoonNodes = NodeMode::Mean;
  p.ZodiacMode = Zodiac::Ayanamsa;
  p.MoonSign = MoonChangeSign::NoDisplay;
  p.DaysText = "366";
  p.NumberOfDays = 366;
  s.NumberOfDays = 366;
  ASSERT_TRUE(WriteSettings(dir.path(), s, p));
  const std::string first = dir.Read("NOVASTRA.INI");

  EXPECT_NE(first.find("FontBold=-1\r\n"), std::string::npos);
  EXPECT_NE(first.find("FontSize= 12.25\r\n"), std::string::npos);
  EXPECT_NE(first.find("NOVASTRALeft= 0.1\r\n"), std::string::npos);  // shortest text

  // The file holds the whole state, so writing what was read gives the same bytes.
  Settings s2;
  RunParameters p2;
  ReadSettings(dir.path(), s2, p2);
  EXPECT_EQ(s2.MainTop, s.MainTop);
  EXPECT_EQ(s2.DataLeft, -300);
  EXPECT_EQ(p2.ZodiacMode, Zodiac::Ayanamsa);
  ASSERT_TRUE(WriteSettings(dir.path(), s2, p2));
  EXPECT_EQ(dir.Read("NOVASTRA.INI"), first);
}

TEST(Settings, ConditionsDecideWhichValuesApply) {
  TempFolder dir;
  struct {
    std::string line;
    double fontSize;
    int dataTop, dataLeft, dataHeight, days;
    float mainHeight;
  } cases[] = {
      {"FontSize= 7.5", 10, 660, 0, 6540, 30, 675},
      {"FontSize= 7.75", 7.75, 660, 0, 6540, 30, 675},
      {"DataTop= 0", 10, 660, 0, 6540, 30, 675},
      {"DataTop=-5", 10, 660, 0, 6540, 30, 675},
      {"DataTop= 12.5", 10, 12, 0, 6540, 30, 675},  // rounded, halves to even
      {"DataLeft= 0", 10, 660, 0, 6540, 30, 675},
      {"DataLeft=-40", 10, 660, -40, 6540, 30, 675},
      {"DataHeight= 0", 10, 660, 0, 6540, 30, 675},
      {"NOVASTRAHeight=-1", 10, 660, 0, 6540, 30, 675},
      {"NOVASTRAHeight= 800", 10, 660, 0, 6540, 30, 800},
      {"NumberOfDays=0", 10, 660, 0, 6540, 30, 675},
      {"NumberOfDays=400", 10, 660, 0, 6540, 366, 675},  // the days field caps it
      {"NumberOfDays", 10, 660, 0, 6540, 30, 675},       // no "=": the whole line, no number
  };
  for (const auto& c : cases) {
    const Loaded l = ReadFrom(dir, Crlf({c.line}));
    EXPECT_EQ(l.s.FontSize, c.fontSize) << c.line;
    EXPECT_EQ(l.s.DataTop, c.dataTop) << c.line;
    EXPECT_EQ(l.s.DataLeft, c.dataLeft) << c.line;
    EXPECT_EQ(l.s.DataHeight, c.dataHeight) << c.line;
    EXPECT_EQ(l.s.NumberOfDays, c.days) << c.line;
    EXPECT_EQ(l.p.NumberOfDays, c.days) << c.line;
    EXPECT_EQ(l.s.MainHeight, c.mainHeight) << c.line;
  }
}

TEST(Settings, WordValuesAreExactAndCaseSensitive) {
  TempFolder dir;
  EXPECT_EQ(ReadFrom(dir, Crlf({"Zodiac=sidereal"})).p.ZodiacMode, Zodiac::Tropical);
  EXPECT_EQ(ReadFrom(dir, Crlf({"Zodiac=Sidereal"})).p.ZodiacMode, Zodiac::Sidereal);
  EXPECT_EQ(ReadFrom(dir, Crlf({"Zodiac=Sidereal "})).p.ZodiacMode, Zodiac::Tropical);
  EXPECT_FALSE(ReadFrom(dir, Crlf({"CalcFullMonth=yes"})).p.FullMonth);
  EXPECT_EQ(ReadFrom(dir, Crlf({"Coordinates=helio"})).p.Coords, Coordinates::Geocentric);
  EXPECT_EQ(ReadFrom(dir, Crlf({"MoonChangeSign=Displayed"})).p.MoonSign,
            MoonChangeSign::NoDisplay);
  EXPECT_EQ(ReadFrom(dir, Crlf({"zodiac=Sidereal"})).p.ZodiacMode, Zodiac::Tropical);  // key case
  // A key matches by its first characters; the value is after the first "=".
  EXPECT_EQ(ReadFrom(dir, Crlf({"TypeOfDay=Midnight"})).p.Instant, InstantChoice::Midnight);
  EXPECT_EQ(ReadFrom(dir, Crlf({"Type=Midnight=x"})).p.Instant, InstantChoice::Noon);
}

TEST(Settings, AnyOrderAndTheLastRepeatedKeyWins) {
  TempFolder dir;
  const Loaded l = ReadFrom(dir, "MoonNodes=Mean\r\nDataWidth= 5000\nFontSize= 9\rjunk line\r\n"
                                 "Zodiac=Ayanamsa\r\nFontSize= 14\r\nNumberOfDays=45\r\n"
                                 "Type=Midnight");  // bare LF, bare CR and no final line end
  EXPECT_EQ(l.p.MoonNodes, NodeMode::Mean);
  EXPECT_EQ(l.s.DataWidth, 5000);
  EXPECT_EQ(l.s.FontSize, 14);
  EXPECT_EQ(l.p.ZodiacMode, Zodiac::Ayanamsa);
  EXPECT_EQ(l.p.DaysText, "45");
  EXPECT_EQ(l.p.NumberOfDays, 45);
  EXPECT_EQ(l.p.Instant, InstantChoice::Midnight);
}

TEST(Settings, ANumberTooLargeStopsReadingAndKeepsEarlierLines) {
  TempFolder dir;
  const Loaded l = ReadFrom(dir, Crlf({"FontSize= 12", "SaveData=Yes", "NumberOfDays=99999",
                                       "Zodiac=Sidereal", "DataWidth= 5000"}));
  EXPECT_EQ(l.s.FontSize, 12);
  EXPECT_TRUE(l.p.SaveData);
  EXPECT_EQ(l.s.NumberOfDays, 30);
  EXPECT_EQ(l.p.ZodiacMode, Zodiac::Tropical);
  EXPECT_EQ(l.s.DataWidth, 9600);

  const Loaded l2 = ReadFrom(dir, Crlf({"DataLeft=-40000", "Zodiac=Sidereal"}));
  EXPECT_EQ(l2.s.DataLeft, 0);
  EXPECT_EQ(l2.p.ZodiacMode, Zodiac::Tropical);
  // A refused negative value is not read as a number at all, so reading goes on.
  const Loaded l3 = ReadFrom(dir, Crlf({"DataTop=-99999", "Zodiac=Sidereal"}));
  EXPECT_EQ(l3.s.DataTop, 660);
  EXPECT_EQ(l3.p.ZodiacMode, Zodiac::Sidereal);
}

TEST(Settings, AFailedWriteLeavesNothingBehind) {
  TempFolder dir;
  // The target name is taken by a folder, so the final rename must fail.
  std::filesystem::create_directories(dir / "NOVASTRA.INI" / "inside");
  EXPECT_FALSE(WriteSettings(dir.path(), Settings{}, RunParameters{}));
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 1);  // no temporary file left
  EXPECT_TRUE(std::filesystem::is_directory(dir / "NOVASTRA.INI" / "inside"));
  EXPECT_FALSE(WriteSettings(dir / "missing", Settings{}, RunParameters{}));
}

}  // namespace
}  // namespace novastra
