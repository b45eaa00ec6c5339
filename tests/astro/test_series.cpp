#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "astro/series.h"

namespace fs = std::filesystem;
using namespace novastra;

namespace {

std::string ReadBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteBytes(const fs::path& p, const std::string& text) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << text;
}

std::vector<std::string> AllFiles() {
  std::vector<std::string> names;
  for (const auto& l : kSeriesLayouts) names.push_back(l.file);
  names.push_back(kPlutoFile);
  return names;
}

// The values of a data file, in order, as texts.
std::vector<std::string> Values(const std::string& text) {
  std::vector<std::string> out;
  std::string cur;
  for (char c : text) {
    if (c == ',' || c == '\r' || c == '\n') {
      if (!cur.empty()) out.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) out.push_back(cur);
  return out;
}

// A temporary folder holding a copy of the supplied data files.
class SeriesFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("novastra_series_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    for (const auto& name : AllFiles()) fs::copy_file(fs::path(NOVASTRA_DATA_DIR) / name, dir_ / name);
  }
  void TearDown() override { fs::remove_all(dir_); }

  void Rewrite(const std::string& name, const std::string& text) { WriteBytes(dir_ / name, text); }
  std::string Original(const std::string& name) { return ReadBytes(fs::path(NOVASTRA_DATA_DIR) / name); }

  fs::path dir_;
};

// Every value of the tables in reading order.
std::vector<double> Flatten(const SeriesTables& t) {
  std::vector<double> v;
  for (const SeriesSet& set : t.sets)
    for (const auto* coord : {&set.L, &set.B, &set.R})
      for (const auto& series : *coord)
        for (const SeriesTerm& term : series) v.insert(v.end(), {term.A, term.B, term.C});
  for (const PlutoTerm& r : t.pluto)
    v.insert(v.end(), {r.j, r.s, r.p, r.lonSin, r.lonCos, r.latSin, r.latCos, r.radSin, r.radCos});
  return v;
}

SeriesTables LoadSupplied() {
  SeriesTables t;
  auto err = LoadSeriesTables(NOVASTRA_DATA_DIR, t);
  EXPECT_FALSE(err) << err->Message();
  return t;
}

}  // namespace

TEST(SeriesData, RegeneratingFromTheReferenceGivesTheSuppliedBytes) {
  if (!fs::exists(fs::path(NOVASTRA_REFERENCE_DIR) / "pluto_terms.csv")) GTEST_SKIP() << "no reference tables";
  fs::path out = fs::temp_directory_path() / ("novastra_gen_" + std::to_string(::getpid()));
  fs::remove_all(out);
  std::string cmd = std::string("\"") + NOVASTRA_GEN_SERIES + "\" \"" + NOVASTRA_REFERENCE_DIR + "\" \"" +
                    out.string() + "\"";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  for (const auto& name : AllFiles())
    EXPECT_EQ(ReadBytes(out / name), ReadBytes(fs::path(NOVASTRA_DATA_DIR) / name)) << name;
  fs::remove_all(out);
}

TEST(SeriesData, FilesHoldTheFixedCountsAndLineEnds) {
  size_t total = 0;
  for (const auto& name : AllFiles()) {
    std::string text = ReadBytes(fs::path(NOVASTRA_DATA_DIR) / name);
    total += Values(text).size();
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n") << name;
    EXPECT_NE(text.substr(text.size() - 4), "\r\n\r\n") << name;
    // Every line feed is preceded by a carriage return.
    size_t bareLineFeeds = 0;
    for (size_t i = 0; i < text.size(); ++i)
      if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) ++bareLineFeeds;
    EXPECT_EQ(bareLineFeeds, 0u) << name;
  }
  EXPECT_EQ(total, 8298u);
}

TEST(SeriesData, AmplitudesAreScaledAndPlutoKeepsPublishedUnits) {
  SeriesTables t = LoadSupplied();
  // Published amplitudes N (1e-8 units) are held as N x 1e-8, phase and
  // frequency unchanged (Meeus, Appendix III and the J2000.0 Earth terms).
  struct Case {
    SeriesBody body;
    char coord;
    int series, term;
    double a, b, c;
  } cases[] = {
      {SeriesBody::Earth, 'L', 0, 1, 0.03341656, 4.6692568, 6283.07585},
      {SeriesBody::Earth, 'L', 1, 0, 6283.31966747, 0, 0},
      {SeriesBody::EarthJ2000, 'L', 1, 0, 6283.07584999, 0, 0},
      {SeriesBody::EarthJ2000, 'L', 0, 0, 1.75347046, 0, 0},
      {SeriesBody::Earth, 'R', 0, 0, 1.00013989, 0, 0},
      {SeriesBody::Mars, 'L', 0, 1, 0.18656368, 5.050371, 3340.6124267},
  };
  for (const Case& c : cases) {
    const SeriesSet& set = t[c.body];
    const SeriesTerm& term = (c.coord == 'L' ? set.L : c.coord == 'B' ? set.B : set.R)[c.series][c.term];
    SCOPED_TRACE(std::to_string(static_cast<int>(c.body)) + c.coord + std::to_string(c.series));
    EXPECT_EQ(term.A, c.a);  // the file holds the exact decimal value
    EXPECT_EQ(term.B, c.b);
    EXPECT_EQ(term.C, c.c);
  }
  // Pluto keeps the published integer units; the first row's multipliers are 0, 0, 1.
  const PlutoTerm& p = t.pluto[0];
  EXPECT_EQ((std::vector<double>{p.j, p.s, p.p, p.lonSin, p.radCos}),
            (std::vector<double>{0, 0, 1, -19799805, 68951812}));
}

TEST_F(SeriesFolder, LineLayoutCarriesNoMeaning) {
  SeriesTables reference = LoadSupplied();
  struct Layout {
    const char* what;
    std::string (*reshape)(const std::vector<std::string>&);
  } layouts[] = {
      {"one value per line, with signs, exponents and bare points",
       [](const std::vector<std::string>& v) {
         std::string s;
         for (const auto& x : v)
           s += (x[0] == '-' ? "" : "+") + x + (x.find('.') == std::string::npos ? ".e+0" : "E0") + "\r\n";
         return s;
       }},
      {"all on one line, blanks around values, LF only",
       [](const std::vector<std::string>& v) {
         std::string s;
         for (size_t i = 0; i < v.size(); ++i) s += (i ? " ,  " : "  ") + v[i];
         return s + "\n";
       }},
      {"commas at line ends, no final line break",
       [](const std::vector<std::string>& v) {
         std::string s;
         for (size_t i = 0; i < v.size(); ++i) s += v[i] + (i % 5 == 4 ? ",\r\n" : ",");
         return s.substr(0, s.size() - 1);
       }},
  };
  for (const Layout& layout : layouts) {
    for (const auto& name : AllFiles()) Rewrite(name, layout.reshape(Values(Original(name))));
    SeriesTables t;
    auto err = LoadSeriesTables(dir_, t);
    ASSERT_FALSE(err) << layout.what << ": " << err->Message();
    EXPECT_EQ(Flatten(t), Flatten(reference)) << layout.what;
  }
}

TEST_F(SeriesFolder, BadFilesAreNamedWithTheirFailureAndLeaveTablesUntouched) {
  struct Case {
    const char* what;
    std::string file;
    std::string (*spoil)(const std::string&);  // nullptr: remove the file
    SeriesErrorKind kind;
    const char* message;
  } cases[] = {
      {"one value short", "MARS.DAT",
       [](const std::string& s) {
         std::string t = s.substr(0, s.size() - 2);  // drop CRLF
         return t.substr(0, t.rfind(',')) + "\r\n";
       },
       SeriesErrorKind::InputPastEndOfFile, "MARS.DAT: input past end of file"},
      {"empty file", "VENUS.DAT", [](const std::string&) { return std::string(); },
       SeriesErrorKind::InputPastEndOfFile, "VENUS.DAT: input past end of file"},
      {"a letter", "PLUTO.DAT", [](const std::string& s) { return "x" + s; },
       SeriesErrorKind::TypeMismatch, "PLUTO.DAT: type mismatch"},
      {"stray character in a number", "SATURN.DAT",
       [](const std::string& s) {
         std::string t = s;
         t[t.find('.')] = ';';
         return t;
       },
       SeriesErrorKind::TypeMismatch, "SATURN.DAT: type mismatch"},
      {"empty field", "NEPTUNE.DAT", [](const std::string& s) { return ",," + s; },
       SeriesErrorKind::TypeMismatch, "NEPTUNE.DAT: type mismatch"},
      {"not a decimal", "URANUS.DAT", [](const std::string& s) { return "inf," + s; },
       SeriesErrorKind::TypeMismatch, "URANUS.DAT: type mismatch"},
      {"missing", "EARTH_X.DAT", nullptr, SeriesErrorKind::FileNotFound, "EARTH_X.DAT: file not found"},
  };
  for (const Case& c : cases) {
    for (const auto& name : AllFiles()) Rewrite(name, Original(name));
    if (c.spoil)
      Rewrite(c.file, c.spoil(Original(c.file)));
    else
      fs::remove(dir_ / c.file);
    SeriesTables t;
    t.pluto[0].p = 42;
    auto err = LoadSeriesTables(dir_, t);
    ASSERT_TRUE(err) << c.what;
    EXPECT_EQ(err->file, c.file) << c.what;
    EXPECT_EQ(err->kind, c.kind) << c.what;
    EXPECT_EQ(err->Message(), c.message) << c.what;
    EXPECT_EQ(t.pluto[0].p, 42) << c.what;
    EXPECT_TRUE(t.sets[0].L.empty()) << c.what;
  }
}

TEST_F(SeriesFolder, SecondCompleteBlockReplacesTheFirst) {
  std::string first = Original("VENUS.DAT");
  std::vector<std::string> v = Values(first);
  v[0] = "0.5";
  v[v.size() - 1] = "123.25";
  std::string second;
  for (size_t i = 0; i < v.size(); ++i) second += v[i] + (i % 3 == 2 ? "\r\n" : ",");
  Rewrite("VENUS.DAT", first + second + "\r\n\r\n  \r\n");  // trailing blank lines start no block
  SeriesTables t;
  auto err = LoadSeriesTables(dir_, t);
  ASSERT_FALSE(err) << err->Message();
  EXPECT_EQ(t[SeriesBody::Venus].L[0][0].A, 0.5);
  EXPECT_EQ(t[SeriesBody::Venus].R.back().back().C, 123.25);

  // A second block cut short is still a file that ends inside a block.
  Rewrite("VENUS.DAT", first + "1,2,3\r\n");
  err = LoadSeriesTables(dir_, t);
  ASSERT_TRUE(err);
  EXPECT_EQ(err->Message(), "VENUS.DAT: input past end of file");
}

// Sums the loaded series straight from their definition, to check the file
// contents against Meeus' worked examples (25.b: Earth, 1992 Oct 13.0;
// 32.a: Venus, 1992 Dec 20.0).
TEST(SeriesData, SuppliedFilesReproducePublishedWorkedExamples) {
  SeriesTables t = LoadSupplied();
  auto sum = [](const std::vector<std::vector<SeriesTerm>>& coord, double tau) {
    double total = 0, power = 1;
    for (const auto& series : coord) {
      double s = 0;
      for (const SeriesTerm& term : series) s += term.A * std::cos(term.B + term.C * tau);
      total += s * power;
      power *= tau;
    }
    return total;
  };
  const double kPi = 3.14159265358979;
  auto degrees = [&](double rad) { return std::fmod(std::fmod(rad * 180 / kPi, 360) + 360, 360); };

  const double tauEarth = -0.0072183436;
  EXPECT_NEAR(sum(t[SeriesBody::Earth].L, tauEarth), -43.63484796, 1e-8);
  EXPECT_NEAR(sum(t[SeriesBody::Earth].B, tauEarth), -0.00000312, 1e-8);
  EXPECT_NEAR(sum(t[SeriesBody::Earth].R, tauEarth), 0.99760775, 1e-8);

  const double tauVenus = (2448976.5 - 2451545.0) / 365250.0;
  EXPECT_NEAR(degrees(sum(t[SeriesBody::Venus].L, tauVenus)), 26.11428, 1e-5);
  EXPECT_NEAR(degrees(sum(t[SeriesBody::Venus].B, tauVenus)) - 360, -2.62070, 1e-5);
  EXPECT_NEAR(sum(t[SeriesBody::Venus].R, tauVenus), 0.724603, 1e-6);
}
