#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "app/input_check.h"
#include "app/options.h"
#include "app/settings.h"
#include "app/ui.h"
#include "support/support.h"

namespace novastra {
namespace {

using testing_support::Crlf;
using testing_support::ReadBytes;
using testing_support::TempFolder;

struct Loaded {
  Settings s;
  RunParameters p;
};

Loaded ReadFrom(const std::vector<std::string>& lines, const std::string& raw = "") {
  TempFolder dir;
  dir.Write("NOVASTRA.INI", raw.empty() ? Crlf(lines) : raw);
  Loaded l;
  // Defaults are set whatever the file holds.
  l.p.FullMonth = false, l.s.FontSize = 20;
  l.p.SkyChoice = Sky::Apparent, l.p.MoonNodes = NodeMode::Osculating;
  ReadSettings(dir.path(), l.s, l.p);
  return l;
}

std::string Written(const Settings& s, const RunParameters& p) {
  TempFolder dir;
  EXPECT_TRUE(WriteSettings(dir.path(), s, p));
  EXPECT_EQ(dir.Entries(), 1);  // no temporary file left beside it
  return dir.Read("NOVASTRA.INI");
}

TEST(Settings, ExitExampleAndDefaultsFromAnEmptyFile) {
  Loaded l = ReadFrom({"[NOVASTRA] - Do NOT change the order of these variables."});
  EXPECT_EQ(Written(l.s, l.p), Written(Settings{}, RunParameters{}));
  l.p.FullMonth = true, l.p.Instant = InstantChoice::Midnight, l.p.ZodiacMode = Zodiac::Sidereal;
  l.p.DaysText = "45", l.p.NumberOfDays = 45;
  EXPECT_EQ(Written(l.s, l.p),  // lines 13, 15, 16 and 19 carry the example's choices
            Crlf({"[NOVASTRA] - Do NOT change the order of these variables.",
                  "FontSize= 10",
                  "FontBold= 0",
                  "FontItalic= 0",
                  "NOVASTRATop= 0",
                  "NOVASTRALeft= 0",
                  "NOVASTRAHeight= 675",
                  "NOVASTRAWidth= 6550",
                  "DataTop= 660",
                  "DataLeft= 0",
                  "DataHeight= 6540",
                  "DataWidth= 9600",
                  "CalcFullMonth=Yes",
                  "SaveData=No",
                  "Type=Midnight",
                  "NumberOfDays=45",
                  "Coordinates=Geo",
                  "MoonNodes=True",
                  "Zodiac=Sidereal",
                  "MoonChangeSign=Display"}));
}

// The whole file with every choice away from its default, each word as the
// settings file spells it.
TEST(Settings, WholeFileWithNonDefaultValues) {
  Settings s;
  s.FontSize = 12, s.FontBold = -1, s.FontItalic = -1;
  s.MainTop = 15, s.MainLeft = 30, s.MainHeight = 700, s.MainWidth = 7000.5f;
  s.DataTop = 900, s.DataLeft = 45, s.DataHeight = 5000, s.DataWidth = 8000;
  RunParameters p;
  p.FullMonth = false, p.SaveData = true, p.Instant = InstantChoice::Midnight;
  p.DaysText = "12", p.NumberOfDays = 12;
  p.Coords = Coordinates::Heliocentric, p.MoonNodes = NodeMode::Mean,
  p.ZodiacMode = Zodiac::Ayanamsa;
  p.MoonSign = MoonChangeSign::NoDisplay;
  EXPECT_EQ(Written(s, p), Crlf({"[NOVASTRA] - Do NOT change the order of these variables.",
                                 "FontSize= 12",
                                 "FontBold=-1",
                                 "FontItalic=-1",
                                 "NOVASTRATop= 15",
                                 "NOVASTRALeft= 30",
                                 "NOVASTRAHeight= 700",
                                 "NOVASTRAWidth= 7000.5",
                                 "DataTop= 900",
                                 "DataLeft= 45",
                                 "DataHeight= 5000",
                                 "DataWidth= 8000",
                                 "CalcFullMonth=No",
                                 "SaveData=Yes",
                                 "Type=Midnight",
                                 "NumberOfDays=12",
                                 "Coordinates=Helio",
                                 "MoonNodes=Mean",
                                 "Zodiac=Ayanamsa",
                                 "MoonChangeSign=No Display"}));
  // The other words of each choice.
  p.FullMonth = true, p.SaveData = false, p.Instant = InstantChoice::Noon,
  p.Coords = Coordinates::Geocentric;
  p.MoonNodes = NodeMode::True, p.ZodiacMode = Zodiac::Tropical,
  p.MoonSign = MoonChangeSign::Display;
  const std::string other = Written(s, p);
  for (const char* word : {"\r\nCalcFullMonth=Yes\r\n", "\r\nSaveData=No\r\n", "\r\nType=Noon\r\n",
                           "\r\nCoordinates=Geo\r\n", "\r\nMoonNodes=True\r\n",
                           "\r\nZodiac=Tropical\r\n", "\r\nMoonChangeSign=Display\r\n"})
    EXPECT_NE(other.find(word), std::string::npos) << word;
}

TEST(Settings, WrittenFileReadsBackToTheSameState) {
  Loaded l;
  l.s.FontSize = 12.25, l.s.FontBold = -1, l.s.MainTop = -120.5f, l.s.MainLeft = 0.1f;
  l.s.DataTop = 1, l.s.DataLeft = -300, l.s.DataHeight = 32767;
  l.p.FullMonth = false, l.p.SaveData = true, l.p.Coords = Coordinates::Heliocentric;
  l.p.MoonNodes = NodeMode::Mean, l.p.ZodiacMode = Zodiac::Ayanamsa;
  l.p.MoonSign = MoonChangeSign::NoDisplay;
  l.p.DaysText = "366", l.p.NumberOfDays = l.s.NumberOfDays = 366;
  const std::string first = Written(l.s, l.p);
  EXPECT_NE(first.find("\r\nFontSize= 12.25\r\nFontBold=-1\r\n"), std::string::npos);
  EXPECT_NE(first.find("\r\nNOVASTRALeft= 0.1\r\n"), std::string::npos);  // shortest text
  const Loaded back = ReadFrom({}, first);
  EXPECT_EQ(back.s.MainTop, l.s.MainTop);
  EXPECT_EQ(Written(back.s, back.p), first);
}

TEST(Settings, ConditionsDecideWhichValuesApply) {
  struct {
    const char* line;
    double fontSize;
    int dataTop, dataLeft, days;
  } cases[] = {
      {"FontSize= 7.5", 10, 660, 0, 30},  {"FontSize= 7.75", 7.75, 660, 0, 30},
      {"DataTop= 0", 10, 660, 0, 30},     {"DataTop= 12.5", 10, 12, 0, 30},  // halves to even
      {"DataTop= 0.4", 10, 0, 0, 30},  // above 0, so applied, then rounded
      {"DataLeft= 0", 10, 660, 0, 30},    {"DataLeft=-40", 10, 660, -40, 30},
      {"NumberOfDays=0", 10, 660, 0, 30}, {"NumberOfDays=400", 10, 660, 0, 366},
  };
  for (const auto& c : cases) {
    const Loaded l = ReadFrom({c.line});
    EXPECT_EQ(l.s.FontSize, c.fontSize) << c.line;
    EXPECT_EQ(l.s.DataTop, c.dataTop) << c.line;
    EXPECT_EQ(l.s.DataLeft, c.dataLeft) << c.line;
    EXPECT_EQ(l.p.NumberOfDays, c.days) << c.line;
    EXPECT_EQ(l.s.NumberOfDays, c.days) << c.line;
  }
  EXPECT_EQ(ReadFrom({"DataLeft= 7", "DataLeft= 0"}).s.DataLeft, 0);  // 0 is applied
}

TEST(Settings, WordsAreExactAnyOrderAndTheLastRepeatedKeyWins) {
  EXPECT_EQ(ReadFrom({"Zodiac=sidereal"}).p.ZodiacMode, Zodiac::Tropical);
  EXPECT_EQ(ReadFrom({"zodiac=Sidereal"}).p.ZodiacMode, Zodiac::Tropical);
  EXPECT_FALSE(ReadFrom({"CalcFullMonth=yes"}).p.FullMonth);
  EXPECT_EQ(ReadFrom({"TypeOfDay=Midnight"}).p.Instant, InstantChoice::Midnight);  // key prefix
  const Loaded l = ReadFrom({},
                            "MoonNodes=Mean\r\nFontSize= 9\rjunk\nZodiac=Ayanamsa\r\n"
                            "FontSize= 14\r\nType=Midnight");  // CR, LF, no final line end
  EXPECT_EQ(l.p.MoonNodes, NodeMode::Mean);
  EXPECT_EQ(l.s.FontSize, 14);
  EXPECT_EQ(l.p.ZodiacMode, Zodiac::Ayanamsa);
  EXPECT_EQ(l.p.Instant, InstantChoice::Midnight);
}

TEST(Settings, ANumberBeyond16BitsStopsReading) {
  const Loaded l = ReadFrom({"SaveData=Yes", "NumberOfDays=99999", "Zodiac=Sidereal"});
  EXPECT_TRUE(l.p.SaveData);
  EXPECT_EQ(l.p.NumberOfDays, 30);
  EXPECT_EQ(l.p.ZodiacMode, Zodiac::Tropical);
  EXPECT_EQ(ReadFrom({"DataLeft=-40000", "Zodiac=Sidereal"}).p.ZodiacMode, Zodiac::Tropical);
  // A refused negative value is not read as a number at all, so reading goes on.
  EXPECT_EQ(ReadFrom({"DataTop=-99999", "Zodiac=Sidereal"}).p.ZodiacMode, Zodiac::Sidereal);
}

TEST(Settings, AFailedWriteLeavesNothingBehind) {
  TempFolder dir;
  std::filesystem::create_directories(dir / "NOVASTRA.INI" / "inside");  // rename must fail
  EXPECT_FALSE(WriteSettings(dir.path(), Settings{}, RunParameters{}));
  EXPECT_EQ(dir.Entries(), 1);
  EXPECT_TRUE(std::filesystem::is_directory(dir / "NOVASTRA.INI" / "inside"));
}

RunOptions ReadOptionsFrom(const std::vector<std::string>& lines) {
  TempFolder dir;
  dir.Write("OPTIONS.OPT", Crlf(lines));
  RunOptions o;
  o.value.fill(9);  // earlier values
  EXPECT_TRUE(ReadOptions(dir.path(), o));
  EXPECT_EQ(o[0], 9);  // never written
  return o;
}

TEST(Options, NumberInTheFirstSevenCharactersUpToTheFirstEmptyLine) {
  RunOptions o = ReadOptionsFrom(
      {"   60  description", "x 5", "  -1.5 and 2", "1234567890", "      12.5", "  3,25", "\t7"});
  const float expected[] = {60, 0, -1.5f, 1234567, 1, 3, 7, 9, 9, 9, 9, 9};
  for (int k = 1; k <= 12; ++k) EXPECT_EQ(o[k], expected[k - 1]) << "option " << k;

  o = ReadOptionsFrom({"1", "2", "", "3", "4"});  // empty third line
  for (int k = 1; k <= 12; ++k) EXPECT_EQ(o[k], k <= 2 ? k : 9) << "option " << k;

  std::vector<std::string> thirteen;
  for (int k = 1; k <= 13; ++k) thirteen.push_back(std::to_string(k * 10));
  EXPECT_EQ(ReadOptionsFrom(thirteen)[12], 120);
  EXPECT_FALSE(ReadOptions("/nonexistent-novastra-folder", o));
}

TEST(Options, SuppliedDefaultsAndUserAyanamsa) {
  RunOptions o;
  ASSERT_TRUE(ReadOptions(NOVASTRA_DATA_DIR, o));
  const float expected[] = {0, 0, 0, 0, 0, 0, 61, 60, 80, 96, 0, 0};
  for (int k = 1; k <= 12; ++k) EXPECT_EQ(o[k], expected[k - 1]) << "option " << k;
  EXPECT_FALSE(o.Ayanamsa().useUserValue);
  o[1] = 1, o[2] = 23, o[3] = 51, o[4] = 36;
  EXPECT_TRUE(o.Ayanamsa().useUserValue);
  EXPECT_NEAR(o.Ayanamsa().degrees, 23.86, 1e-12);
}

TEST(OptionsEditor, SaveWritesTheTextWithOneFinalLineBreak) {
  TempFolder dir;
  const std::filesystem::path data = NOVASTRA_DATA_DIR;
  const std::string original = ReadBytes(data / "OPTIONS.OPT");
  EXPECT_EQ(ReadBytes(data / "OPTIONS.MAS"), original);
  dir.Write("OPTIONS.OPT", original);
  HeadlessUi ui;
  RunOptions o;
  ASSERT_EQ(OpenOptionsEditor(dir.path(), ui), original);
  ASSERT_TRUE(SaveOptionsText(dir.path(), original, o, ui));
  EXPECT_EQ(dir.Read("OPTIONS.OPT"), original);  // unchanged text: byte for byte
  EXPECT_EQ(o[7], 61);                           // read again after the save
  const std::pair<const char*, const char*> cases[] = {
      {"5\r\n6", "5\r\n6\r\n"}, {"5\n6\n", "5\r\n6\r\n"}, {"5\r\n\r\n", "5\r\n\r\n"}, {"", "\r\n"}};
  for (const auto& [edited, file] : cases) {
    ASSERT_TRUE(SaveOptionsText(dir.path(), edited, o, ui));
    EXPECT_EQ(dir.Read("OPTIONS.OPT"), file) << edited;
  }
  dir.Write("OPTIONS.OPT", "1\r\n2");
  EXPECT_EQ(LoadOptionsText(dir.path()), "1\r\n2\r\n");
  EXPECT_TRUE(ui.Messages().empty());
}

TEST(OptionsEditor, RestoreThenQuitKeepsTheOldValuesInUse) {
  TempFolder dir;
  dir.Write("OPTIONS.OPT", "     70\r\n");
  RunOptions inUse;
  ASSERT_TRUE(ReadOptions(dir.path(), inUse));
  HeadlessUi ui;
  EXPECT_FALSE(RestoreDefaultOptions(dir.path(), ui));  // no master copy yet
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].text, "Error in operation. Cannot do what is requested.");
  EXPECT_EQ(ui.Messages()[0].title, "Warning!");
  EXPECT_EQ(ui.Messages()[0].icon, MessageIcon::Information);
  EXPECT_EQ(dir.Read("OPTIONS.OPT"), "     70\r\n");

  dir.Write("OPTIONS.MAS", "     61\r\n");
  ASSERT_TRUE(RestoreDefaultOptions(dir.path(), ui));
  EXPECT_EQ(LoadOptionsText(dir.path()), "     61\r\n");  // what the editor shows now
  EXPECT_EQ(inUse[1], 70);

  TempFolder empty;
  EXPECT_FALSE(OpenOptionsEditor(empty.path(), ui));
  EXPECT_EQ(ui.Messages().back().text, "File Not Found");
  EXPECT_EQ(ui.Messages().size(), 2u);
}

// Damaged or hand-edited files: random bytes, known keys with odd values, long numbers.
TEST(FileFuzz, SettingsAndOptionsStayWithinTheirRulesAndRoundTrip) {
  std::mt19937 rng(20090101);
  const char* pieces[] = {"FontSize=",   "NOVASTRAHeight=",
                          "DataTop=",    "DataLeft=",
                          "DataHeight=", "NumberOfDays=",
                          "Zodiac=",     "0",
                          "-0",          " 7.74",
                          "7.75",        "-1",
                          "1e308",       "99999",
                          "-32768.5",    ".",
                          "\t5",         "367",
                          "Sidereal",    "\r\n",
                          "\r\n",        "\n"};
  std::vector<std::string> inputs = {"", std::string(1, '\0'), "\r", std::string(300000, '9'),
                                     std::string(70000, 'x') + "\r\nDataTop= 5"};
  for (int n = 0; n < 150; ++n) {
    std::string s;
    for (int i = static_cast<int>(rng() % 80); i > 0; --i)
      s += rng() % 4 ? std::string(pieces[rng() % std::size(pieces)]) : std::string(1, char(rng()));
    inputs.push_back(s);
  }
  for (const std::string& bytes : inputs) {
    SCOPED_TRACE(bytes.substr(0, 60));
    TempFolder dir, out;
    dir.Write("NOVASTRA.INI", bytes);
    dir.Write("OPTIONS.OPT", bytes);
    Loaded l;
    l.p.StartMonth = "7";  // never held by the settings file
    ReadSettings(dir.path(), l.s, l.p);
    EXPECT_TRUE(l.s.FontSize >= 7.75 && std::isfinite(l.s.FontSize));
    EXPECT_TRUE(l.s.MainHeight > 0 && l.s.MainWidth > 0 && std::isfinite(l.s.MainWidth));
    EXPECT_TRUE(l.s.DataTop >= 0 && l.s.DataHeight >= 0 && l.s.DataWidth >= 0);
    EXPECT_TRUE(l.p.NumberOfDays >= 1 && l.p.NumberOfDays <= 366);
    EXPECT_EQ(LeadingNumber(l.p.DaysText), l.p.NumberOfDays);
    EXPECT_EQ(l.p.StartMonth, "7");
    const std::string written = Written(l.s, l.p);  // writing what was read reads back the same
    const Loaded back = ReadFrom({}, written);
    EXPECT_EQ(Written(back.s, back.p), written);

    RunOptions o, o2;
    ASSERT_TRUE(ReadOptions(dir.path(), o));
    for (int k = 1; k <= 12; ++k) EXPECT_TRUE(std::isfinite(o[k]) && std::fabs(o[k]) <= 9999999);
    HeadlessUi ui;  // the editor's text saves back to a file that reads the same
    ASSERT_TRUE(SaveOptionsText(out.path(), *LoadOptionsText(dir.path()), o2, ui));
    EXPECT_EQ(o2.value, o.value);
  }
}

// The sky and the osculating node: written only when chosen, read back
// exactly, anything else read as the defaults.
const std::vector<std::string> kFixedLines = {
    "[NOVASTRA] - Do NOT change the order of these variables.",
    "FontSize= 10",
    "FontBold= 0",
    "FontItalic= 0",
    "NOVASTRATop= 0",
    "NOVASTRALeft= 0",
    "NOVASTRAHeight= 675",
    "NOVASTRAWidth= 6550",
    "DataTop= 660",
    "DataLeft= 0",
    "DataHeight= 6540",
    "DataWidth= 9600",
    "CalcFullMonth=Yes",
    "SaveData=No",
    "Type=Noon",
    "NumberOfDays=30",
    "Coordinates=Geo",
    "MoonNodes=True",
    "Zodiac=Tropical",
    "MoonChangeSign=Display"};

TEST(SkySettings, DefaultsWriteTheFileOfAUserWhoNeverChoseThem) {
  EXPECT_EQ(Written(Settings{}, RunParameters{}), Crlf(kFixedLines));
}

TEST(SkySettings, WholeFileRoundTripWithTheApparentSkyAndTheOsculatingNode) {
  Settings s;
  s.FontSize = 11.5, s.DataLeft = 120;
  s.MainMaximized = true;
  RunParameters p;
  p.SkyChoice = Sky::Apparent, p.MoonNodes = NodeMode::Osculating;
  p.TimeZoneName = "Europe/Paris", p.VoidOfCourse = true;
  std::vector<std::string> want = kFixedLines;
  want[1] = "FontSize= 11.5", want[9] = "DataLeft= 120";
  want[17] = "MoonNodes=Osculating";  // in its own place: the line count and order stay
  for (const char* extra :
       {"NOVASTRAMaximized=Yes", "TimeZone=Europe/Paris", "MoonVoidOfCourse=Yes", "Sky=Apparent"})
    want.push_back(extra);
  const std::string file = Written(s, p);
  EXPECT_EQ(file, Crlf(want));

  const Loaded back = ReadFrom({}, file);
  EXPECT_EQ(back.p.SkyChoice, Sky::Apparent);
  EXPECT_EQ(back.p.MoonNodes, NodeMode::Osculating);
  EXPECT_EQ(back.p.TimeZoneName, "Europe/Paris");
  EXPECT_EQ(Written(back.s, back.p), file);

  // Each choice alone, the other at its default.
  RunParameters onlySky, onlyNode;
  onlySky.SkyChoice = Sky::Apparent, onlyNode.MoonNodes = NodeMode::Osculating;
  EXPECT_EQ(ReadFrom({}, Written(Settings{}, onlySky)).p.MoonNodes, NodeMode::True);
  EXPECT_EQ(ReadFrom({}, Written(Settings{}, onlySky)).p.SkyChoice, Sky::Apparent);
  EXPECT_EQ(ReadFrom({}, Written(Settings{}, onlyNode)).p.SkyChoice, Sky::Design);
  EXPECT_EQ(ReadFrom({}, Written(Settings{}, onlyNode)).p.MoonNodes, NodeMode::Osculating);
}

TEST(SkySettings, AFileWithoutTheKeysReadsAsTheDesignSkyAndTheTrueNode) {
  const Loaded l = ReadFrom(kFixedLines);
  EXPECT_EQ(l.p.SkyChoice, Sky::Design);
  EXPECT_EQ(l.p.MoonNodes, NodeMode::True);
  const Loaded none = ReadFrom({}, "");
  EXPECT_EQ(none.p.SkyChoice, Sky::Design);
  EXPECT_EQ(none.p.MoonNodes, NodeMode::True);
}

TEST(SkySettings, UnknownWordsReadAsTheDefaults) {
  struct {
    const char* line;
    Sky sky;
    NodeMode node;
  } cases[] = {
      {"Sky=Apparent", Sky::Apparent, NodeMode::True},
      {"Sky=Design", Sky::Design, NodeMode::True},
      {"Sky=apparent", Sky::Design, NodeMode::True},  // words are exact
      {"Sky= Apparent", Sky::Design, NodeMode::True},
      {"Sky=Apparent sky", Sky::Design, NodeMode::True},
      {"Sky=", Sky::Design, NodeMode::True},
      {"Sky=\x01\xff", Sky::Design, NodeMode::True},
      {"SkyChoice=Apparent", Sky::Design, NodeMode::True},  // not the key
      {"sky=Apparent", Sky::Design, NodeMode::True},
      {"MoonNodes=Osculating", Sky::Design, NodeMode::Osculating},
      {"MoonNodes=Mean", Sky::Design, NodeMode::Mean},
      {"MoonNodes=osculating", Sky::Design, NodeMode::True},
      {"MoonNodes=Osc", Sky::Design, NodeMode::True},
      {"MoonNodes=", Sky::Design, NodeMode::True},
      {"MoonNodes=12", Sky::Design, NodeMode::True},
  };
  for (const auto& c : cases) {
    const Loaded l = ReadFrom({c.line});
    EXPECT_EQ(l.p.SkyChoice, c.sky) << c.line;
    EXPECT_EQ(l.p.MoonNodes, c.node) << c.line;
  }
  // The last of repeated keys wins, as for every other key.
  EXPECT_EQ(ReadFrom({"Sky=Apparent", "Sky=Design"}).p.SkyChoice, Sky::Design);
  EXPECT_EQ(ReadFrom({"MoonNodes=Osculating", "MoonNodes=True"}).p.MoonNodes, NodeMode::True);
}

}  // namespace
}  // namespace novastra
