// The files written: SVG that parses as XML, PNG and PDF that open; failures
// that leave no file; and the command line's statuses.
#include <QFile>
#include <QImage>
#include <QXmlStreamReader>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>

#include "chart/chart_choices.h"
#include "chart/chart_file.h"
#include "chart_support.h"
#include "support/support.h"

namespace novastra::chart::test {
namespace {

namespace fs = std::filesystem;

class ChartFiles : public ::testing::Test {
 protected:
  static ChartOptions Options(int dial) {
    ChartOptions o;
    o.dial = dial;
    o.fixedPoints = {15.5, 120};
    return o;
  }
  // novastra-cli graph: exit status and all it wrote.
  static std::pair<int, std::string> Cli(const std::string& args) {
    std::vector<std::string> words = {"graph", "--home", NOVASTRA_DATA_DIR};
    std::istringstream in(args);
    for (std::string w; in >> w;) words.push_back(w);
    const auto r = testing_support::RunCli(words);
    return {r.status, r.out + r.err};
  }

  testing_support::TempFolder tmp;
  const fs::path dir = tmp.path();
};

TEST_F(ChartFiles, SvgParsesAsXmlWithTheLinesDrawn) {
  const fs::path file = dir / "year.svg";
  ASSERT_EQ(WriteChart(Year2009(), Options(45), file, ChartFormat::Svg), "");
  QFile f(QString::fromStdString(file.string()));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&f);
  int elements = 0, lines = 0;
  QString root;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (elements++ == 0) root = xml.name().toString();
    lines += xml.name() == QLatin1String("polyline") || xml.name() == QLatin1String("path");
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_EQ(root, "svg");
  EXPECT_GT(lines, 100);
}

TEST_F(ChartFiles, PngAndPdfOpen) {
  const fs::path png = dir / "year.PNG", pdf = dir / "year.pdf";
  ASSERT_EQ(FormatOf(png), ChartFormat::Png);
  ASSERT_EQ(WriteChart(Year2009(), Options(360), png, ChartFormat::Png), "");
  const QImage image(QString::fromStdString(png.string()));
  EXPECT_EQ(image.size(), QSize(1600, 1000));
  // Some pixel of the Sun's colour: the lines are there, not only the frame.
  bool orange = false;
  for (int y = 0; y < image.height() && !orange; y += 2)
    for (int x = 0; x < image.width() && !orange; ++x) orange = image.pixel(x, y) == 0xFFEE7733;
  EXPECT_TRUE(orange);

  ASSERT_EQ(WriteChart(Year2009(), Options(90), pdf, ChartFormat::Pdf), "");
  const std::string pdfinfo = "pdfinfo '" + pdf.string() + "' > '" + (dir / "info").string() + "'";
  ASSERT_EQ(std::system(pdfinfo.c_str()), 0);
  const std::string info = tmp.Read("info");
  EXPECT_TRUE(std::regex_search(info, std::regex("Pages:\\s+1\n"))) << info;
  EXPECT_NE(info.find("842 x 595"), std::string::npos) << info;  // A4 landscape, in points
}

TEST_F(ChartFiles, AFailedWriteLeavesNoFileAndKeepsTheOldOne) {
  EXPECT_NE(WriteChart(Year2009(), Options(360), dir / "missing" / "x.svg", ChartFormat::Svg), "");
  EXPECT_FALSE(fs::exists(dir / "missing"));
  EXPECT_NE(WriteChart(EphemerisSeries{}, Options(360), dir / "empty.svg", ChartFormat::Svg), "");
  EXPECT_FALSE(fs::exists(dir / "empty.svg"));
  // A directory in the target's place: refused, nothing inside it changes.
  fs::create_directories(dir / "taken.png");
  EXPECT_NE(WriteChart(Year2009(), Options(360), dir / "taken.png", ChartFormat::Png), "");
  EXPECT_TRUE(fs::is_directory(dir / "taken.png"));
  EXPECT_EQ(tmp.Entries(), 1);
}

TEST_F(ChartFiles, CommandLineWritesAChartOrRefusesWithStatus2) {
  const fs::path svg = dir / "g.svg";
  auto ok =
      Cli("--from 1/1/2009 --to 2009-12-31 --dial 45 --bodies sun,mars --bodies saturn --points "
          "15.5,120 -o " +
          svg.string());
  EXPECT_EQ(ok.first, 0) << ok.second;
  EXPECT_TRUE(fs::file_size(svg) > 1000);
  // Chiron and the Black Moon: their lines, glyphs and names in the legend.
  const fs::path minor = dir / "minor.svg";
  const auto withMinor =
      Cli("--from 1/1/2022 --to 2022-12-31 --bodies sun,chiron,lilith -o " + minor.string());
  ASSERT_EQ(withMinor.first, 0) << withMinor.second;
  std::ifstream in(minor);
  const std::string picture{std::istreambuf_iterator<char>(in), {}};
  EXPECT_NE(picture.find("Chiron"), std::string::npos);
  EXPECT_NE(picture.find("Lilith"), std::string::npos);

  const std::pair<const char*, const char*> refused[] = {
      {"--to 12/31/2009", "--from"},  // no first date
      {"--from 1/1/2009", "--to"},    // no last date
      {"--from 2/30/2009 --to 12/31/2009", "no such day"},
      {"--from 1/1/1799 --to 12/31/2009", "1800 to 2100"},
      {"--from 1/1/2009 --to 1/1/2101", "1800 to 2100"},
      {"--from 1/1/2009 --to 1/1/2009", "after the first"},
      {"--from 1/1/2009 --to 12/31/2009 --dial 60", "360, 90, 45 or 30"},
      {"--from 1/1/2009 --to 12/31/2009 --bodies eris", "unknown body"},
      {"--from 1/1/2009 --to 12/31/2009 --points 15,abc", "not a number"},
      {"--from 1/1/2009 --to 12/31/2009 --points 360", "less than 360"},
      {"--from 1/1/2009 --to 12/31/2009 --width 12x", "400 to 8000"},
      {"--from 1/1/2009 --to 12/31/2009 --zodiac galactic", "tropical, sidereal"},
      {"--from 1/1/2009 --to 12/31/2009 --dail 45", "not an option"},
  };
  for (const auto& [args, why] : refused) {
    const fs::path out = dir / "r.png";
    const auto [status, text] = Cli(std::string(args) + " -o " + out.string());
    EXPECT_EQ(status, 2) << args << ": " << text;
    EXPECT_NE(text.find(why), std::string::npos) << args << ": " << text;
    EXPECT_FALSE(fs::exists(out)) << args;
  }
  EXPECT_EQ(Cli("--from 1/1/2009 --to 12/31/2009 -o " + (dir / "x.gif").string()).first, 2);
  EXPECT_EQ(Cli("--from 1/1/2009 --to 12/31/2009").first, 2);
  // A folder that does not exist: a write failure, status 1, nothing made.
  const auto [status, text] =
      Cli("--from 1/1/2009 --to 12/31/2009 -o " + (dir / "no" / "g.pdf").string());
  EXPECT_EQ(status, 1) << text;
  EXPECT_NE(text.find("cannot write"), std::string::npos) << text;
  EXPECT_FALSE(fs::exists(dir / "no"));
}

// The readers of the chart's choices, table-driven.
TEST(ChartChoices, DialsBodiesAndPoints) {
  std::string why;
  for (int d : {360, 90, 45, 30}) EXPECT_EQ(ParseDial(std::to_string(d), why), d);
  for (const char* bad : {"", "0", "180", "45.0", "x"}) EXPECT_FALSE(ParseDial(bad, why)) << bad;

  EXPECT_EQ(ParseBodies({"Sun, MOON", "node", "sun"}, why), (std::vector<int>{1, 2, 11}));
  EXPECT_EQ(ParseBodies({"all"}, why)->size(), 11u);
  EXPECT_EQ(ParseBodies({"north node,pluto"}, why), (std::vector<int>{11, 10}));
  EXPECT_FALSE(ParseBodies({"sun,vulcan"}, why));
  EXPECT_NE(why.find("vulcan"), std::string::npos);
  EXPECT_FALSE(ParseBodies({","}, why));

  EXPECT_EQ(ParsePoints({"15.5,120", " 0 "}, why), (std::vector<double>{15.5, 120, 0}));
  EXPECT_EQ(ParsePoints({""}, why), std::vector<double>{});
  for (const char* bad : {"-1", "360", "nan", "inf", "1e400", "12deg", "1,,x"})
    EXPECT_FALSE(ParsePoints({bad}, why)) << bad;
}

}  // namespace
}  // namespace novastra::chart::test
