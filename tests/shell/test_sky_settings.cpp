// The sky and the osculating node in the settings file: written only when
// chosen, read back exactly, and anything else read as the defaults.
#include <gtest/gtest.h>

#include "app/settings.h"
#include "support/support.h"

namespace novastra {
namespace {

using testing_support::Crlf;
using testing_support::TempFolder;

struct Loaded {
  Settings s;
  RunParameters p;
};

Loaded ReadBack(const std::string& bytes) {
  TempFolder dir;
  dir.Write("NOVASTRA.INI", bytes);
  Loaded l;
  // Earlier state that a file without the keys must put back to the defaults.
  l.p.SkyChoice = Sky::Apparent, l.p.MoonNodes = NodeMode::Osculating;
  ReadSettings(dir.path(), l.s, l.p);
  return l;
}

std::string Written(const Settings& s, const RunParameters& p) {
  TempFolder dir;
  EXPECT_TRUE(WriteSettings(dir.path(), s, p));
  return dir.Read("NOVASTRA.INI");
}

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

  const Loaded back = ReadBack(file);
  EXPECT_EQ(back.p.SkyChoice, Sky::Apparent);
  EXPECT_EQ(back.p.MoonNodes, NodeMode::Osculating);
  EXPECT_EQ(back.p.TimeZoneName, "Europe/Paris");
  EXPECT_EQ(Written(back.s, back.p), file);

  // Each choice alone, the other at its default.
  RunParameters onlySky, onlyNode;
  onlySky.SkyChoice = Sky::Apparent, onlyNode.MoonNodes = NodeMode::Osculating;
  EXPECT_EQ(ReadBack(Written(Settings{}, onlySky)).p.MoonNodes, NodeMode::True);
  EXPECT_EQ(ReadBack(Written(Settings{}, onlySky)).p.SkyChoice, Sky::Apparent);
  EXPECT_EQ(ReadBack(Written(Settings{}, onlyNode)).p.SkyChoice, Sky::Design);
  EXPECT_EQ(ReadBack(Written(Settings{}, onlyNode)).p.MoonNodes, NodeMode::Osculating);
}

TEST(SkySettings, AFileWithoutTheKeysReadsAsTheDesignSkyAndTheTrueNode) {
  const Loaded l = ReadBack(Crlf(kFixedLines));
  EXPECT_EQ(l.p.SkyChoice, Sky::Design);
  EXPECT_EQ(l.p.MoonNodes, NodeMode::True);
  const Loaded none = ReadBack("");
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
    const Loaded l = ReadBack(Crlf({c.line}));
    EXPECT_EQ(l.p.SkyChoice, c.sky) << c.line;
    EXPECT_EQ(l.p.MoonNodes, c.node) << c.line;
  }
  // The last of repeated keys wins, as for every other key.
  EXPECT_EQ(ReadBack(Crlf({"Sky=Apparent", "Sky=Design"})).p.SkyChoice, Sky::Design);
  EXPECT_EQ(ReadBack(Crlf({"MoonNodes=Osculating", "MoonNodes=True"})).p.MoonNodes, NodeMode::True);
}

}  // namespace
}  // namespace novastra
