#include <gtest/gtest.h>

#include <algorithm>
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

// The file of a user who never changed a choice.
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

// The default file with the lines of `changed` ("Key=value") put in place of
// the line of that key, or added after the fixed lines.
std::string DefaultsWith(const std::vector<std::string>& changed) {
  std::vector<std::string> lines = kFixedLines;
  for (const std::string& c : changed) {
    const std::string key = c.substr(0, c.find('=') + 1);
    auto at = std::find_if(lines.begin(), lines.end(),
                           [&](const std::string& l) { return l.rfind(key, 0) == 0; });
    if (at != lines.end())
      *at = c;
    else
      lines.push_back(c);
  }
  return Crlf(lines);
}

TEST(Settings, DefaultsFromAnEmptyFile) {
  EXPECT_EQ(Written(Settings{}, RunParameters{}), Crlf(kFixedLines));
  const Loaded l = ReadFrom({"[NOVASTRA] - Do NOT change the order of these variables."});
  EXPECT_EQ(Written(l.s, l.p), Crlf(kFixedLines));
}

// Each value away from its default changes its own line, or adds one after the
// fixed lines (the maximised windows, the zone, the void-of-course lines, the
// local rows and the apparent sky: written only when chosen, so that an older
// program reads the file as before), with each word as the file spells it;
// the file reads back to the same file. Then all at once, in this order.
TEST(Settings, EachChoiceIsWrittenOnItsLineAndReadsBack) {
  const struct {
    void (*set)(Loaded&);
    const char* line;
  } cases[] = {
      {[](Loaded& l) { l.s.FontSize = 12.25; }, "FontSize= 12.25"},
      {[](Loaded& l) { l.s.FontBold = -1; }, "FontBold=-1"},
      {[](Loaded& l) { l.s.FontItalic = -1; }, "FontItalic=-1"},
      {[](Loaded& l) { l.s.MainTop = -120.5f; }, "NOVASTRATop=-120.5"},
      {[](Loaded& l) { l.s.MainLeft = 0.1f; }, "NOVASTRALeft= 0.1"},  // the shortest text
      {[](Loaded& l) { l.s.MainHeight = 700; }, "NOVASTRAHeight= 700"},
      {[](Loaded& l) { l.s.MainWidth = 7000.5f; }, "NOVASTRAWidth= 7000.5"},
      {[](Loaded& l) { l.s.DataTop = 900; }, "DataTop= 900"},
      {[](Loaded& l) { l.s.DataLeft = -300; }, "DataLeft=-300"},
      {[](Loaded& l) { l.s.DataHeight = 32767; }, "DataHeight= 32767"},
      {[](Loaded& l) { l.s.DataWidth = 8000; }, "DataWidth= 8000"},
      {[](Loaded& l) { l.p.FullMonth = false; }, "CalcFullMonth=No"},
      {[](Loaded& l) { l.p.SaveData = true; }, "SaveData=Yes"},
      {[](Loaded& l) { l.p.Instant = InstantChoice::Midnight; }, "Type=Midnight"},
      {[](Loaded& l) { l.p.DaysText = "366", l.p.NumberOfDays = 366; }, "NumberOfDays=366"},
      {[](Loaded& l) { l.p.Coords = Coordinates::Heliocentric; }, "Coordinates=Helio"},
      {[](Loaded& l) { l.p.MoonNodes = NodeMode::Mean; }, "MoonNodes=Mean"},
      {[](Loaded& l) { l.p.MoonNodes = NodeMode::Osculating; }, "MoonNodes=Osculating"},
      {[](Loaded& l) { l.p.ZodiacMode = Zodiac::Sidereal; }, "Zodiac=Sidereal"},
      {[](Loaded& l) { l.p.ZodiacMode = Zodiac::Ayanamsa; }, "Zodiac=Ayanamsa"},
      {[](Loaded& l) { l.p.MoonSign = MoonChangeSign::NoDisplay; }, "MoonChangeSign=No Display"},
      {[](Loaded& l) { l.s.MainMaximized = true; }, "NOVASTRAMaximized=Yes"},
      {[](Loaded& l) { l.s.DataMaximized = true; }, "DataMaximized=Yes"},
      {[](Loaded& l) { l.p.TimeZoneName = "Europe/Paris"; }, "TimeZone=Europe/Paris"},
      {[](Loaded& l) { l.p.VoidOfCourse = true; }, "MoonVoidOfCourse=Yes"},
      {[](Loaded& l) { l.p.LocalRows = true; }, "LocalTimeRows=Yes"},
      {[](Loaded& l) { l.p.SkyChoice = Sky::Apparent; }, "Sky=Apparent"},
      {[](Loaded& l) { l.p.Aspects = kAllAspects; }, "Aspects=all"},
      {[](Loaded& l) { l.p.SiderealAyanamsa = NamedAyanamsa::Lahiri; }, "SiderealAyanamsa=lahiri"},
      {[](Loaded& l) { l.p.SiderealAyanamsa = NamedAyanamsa::GalacticCentre; },
       "SiderealAyanamsa=galactic-centre"},
      {[](Loaded& l) { l.p.MinorBodies[1] = true; }, "MinorBodies=ceres"},
      {[](Loaded& l) { l.s.GraphMinorBodies[0] = l.s.GraphMinorBodies[6] = true; },
       "GraphMinorBodies=chiron,osc-lilith"},
      {[](Loaded& l) { l.s.CalendarMinorBodies.fill(true); },
       "CalendarMinorBodies=chiron,ceres,pallas,juno,vesta,lilith,osc-lilith"},
  };
  Loaded all;
  std::vector<std::string> allLines;
  for (const auto& c : cases) {
    Loaded one;
    c.set(one), c.set(all);
    allLines.push_back(c.line);
    const std::string file = Written(one.s, one.p);
    EXPECT_EQ(file, DefaultsWith({c.line})) << c.line;
    const Loaded back = ReadFrom({}, file);
    EXPECT_EQ(Written(back.s, back.p), file) << c.line;
  }
  const std::string file = Written(all.s, all.p);
  EXPECT_EQ(file, DefaultsWith(allLines));
  const Loaded back = ReadFrom({}, file);
  EXPECT_EQ(Written(back.s, back.p), file);
  EXPECT_EQ(back.s.MainTop, all.s.MainTop);
}

// What a file's lines read as, seen through the written file (the test above
// checks the writer): the values each key takes, exact words, key prefixes,
// any line ends, the last repeated key winning, and the 16-bit limits.
TEST(Settings, LinesReadAsTheRulesSay) {
  const struct {
    std::vector<std::string> lines;  // CRLF-joined; one element is taken as the raw file
    std::vector<std::string> read;   // the lines that differ from the default file
  } cases[] = {
      {{"FontSize= 7.5"}, {}},
      {{"FontSize= 7.75"}, {"FontSize= 7.75"}},
      {{"DataTop= 0"}, {}},
      {{"DataTop= 12.5"}, {"DataTop= 12"}},  // halves to even
      {{"DataTop= 0.4"}, {"DataTop= 0"}},    // above 0, so applied, then rounded
      {{"DataLeft=-40"}, {"DataLeft=-40"}},
      {{"DataLeft= 7", "DataLeft= 0"}, {}},  // 0 is applied
      {{"NumberOfDays=0"}, {}},
      {{"NumberOfDays=400"}, {"NumberOfDays=366"}},
      {{"Zodiac=sidereal"}, {}},
      {{"zodiac=Sidereal"}, {}},
      {{"CalcFullMonth=yes"}, {"CalcFullMonth=No"}},
      {{"TypeOfDay=Midnight"}, {"Type=Midnight"}},  // key prefix
      {{"MoonNodes=Mean\r\nFontSize= 9\rjunk\nZodiac=Ayanamsa\r\nFontSize= 14\r\nType=Midnight"},
       {"MoonNodes=Mean", "FontSize= 14", "Zodiac=Ayanamsa", "Type=Midnight"}},  // CR, LF, no end
      // A number beyond 16 bits stops reading; a refused negative value is no number at all.
      {{"SaveData=Yes", "NumberOfDays=99999", "Zodiac=Sidereal"}, {"SaveData=Yes"}},
      {{"DataLeft=-40000", "Zodiac=Sidereal"}, {}},
      {{"DataTop=-99999", "Zodiac=Sidereal"}, {"Zodiac=Sidereal"}},
      // The sky and the node: exact words of the exact keys, anything else the defaults.
      {{"Sky=Design"}, {}},
      {{"Sky=apparent"}, {}},
      {{"Sky= Apparent"}, {}},
      {{"Sky=Apparent sky"}, {}},
      {{"Sky="}, {}},
      {{"Sky=\x01\xff"}, {}},
      {{"SkyChoice=Apparent"}, {}},
      {{"sky=Apparent"}, {}},
      {{"MoonNodes=osculating"}, {}},
      {{"MoonNodes=Osc"}, {}},
      {{"MoonNodes="}, {}},
      {{"MoonNodes=12"}, {}},
      {{"Sky=Apparent", "Sky=Design"}, {}},
      {{"MoonNodes=Osculating", "MoonNodes=True"}, {}},
      // The aspects: a list of names as the command line takes it; a bad list leaves the five.
      {{"Aspects=quincunx,major"}, {"Aspects=conjunction,sextile,square,trine,opposition,quincunx"}},
      {{"Aspects=major"}, {}},
      {{"Aspects=minor,square"}, {"Aspects=square,semisextile,semisquare,quintile,sesquiquadrate,biquintile,quincunx"}},
      {{"Aspects=inconjunct"}, {}},
      {{"Aspects="}, {}},
      // The named ayanamsa: a known name in any case or spelling, else the SVP's zodiac.
      {{"SiderealAyanamsa=Lahiri"}, {"SiderealAyanamsa=lahiri"}},
      {{"SiderealAyanamsa=KP"}, {"SiderealAyanamsa=krishnamurti"}},
      {{"SiderealAyanamsa=lahiri2"}, {}},
      {{"SiderealAyanamsa="}, {}},
      {{"SiderealAyanamsa=raman", "SiderealAyanamsa=nonsense"}, {}},
      // The minor bodies of the Input window, the graph and the calendar: their
      // own keys, lists as the command line takes them, a bad list none.
      {{"GraphMinorBodies=vesta,ceres"}, {"GraphMinorBodies=ceres,vesta"}},
      {{"GraphMinorBodies=eris"}, {}},
      {{"CalendarMinorBodies="}, {}},
      {{"CalendarMinorBodies=all"},
       {"CalendarMinorBodies=chiron,ceres,pallas,juno,vesta,lilith,osc-lilith"}},
      {{"CalendarMinorBodies=lilith", "MinorBodies=juno", "GraphMinorBodies=osc-lilith"},
       {"MinorBodies=juno", "GraphMinorBodies=osc-lilith", "CalendarMinorBodies=lilith"}},
      {{""}, {}},  // an empty file
  };
  for (const auto& c : cases) {
    const Loaded l = c.lines.size() == 1 ? ReadFrom({}, c.lines[0]) : ReadFrom(c.lines);
    EXPECT_EQ(Written(l.s, l.p), DefaultsWith(c.read)) << c.lines[0];
    EXPECT_EQ(l.s.NumberOfDays, l.p.NumberOfDays) << c.lines[0];
  }
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

}  // namespace
}  // namespace novastra
