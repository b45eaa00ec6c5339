#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include <unistd.h>

#include "astro_test.h"

namespace fs = std::filesystem;

namespace novastra {
namespace {

std::string ReadBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void WriteBytes(const fs::path& p, const std::string& text) {
  std::ofstream(p, std::ios::binary) << text;
}

std::vector<std::string> AllFiles() {
  std::vector<std::string> names{kPlutoFile};
  for (const auto& l : kSeriesLayouts) names.push_back(l.file);
  return names;
}

std::string Supplied(const std::string& name) {
  return ReadBytes(fs::path(NOVASTRA_DATA_DIR) / name);
}

// The values of a data file, in order, as texts.
std::vector<std::string> Values(const std::string& text) {
  static const std::regex value("[^,\r\n]+");
  return {std::sregex_token_iterator(text.begin(), text.end(), value), {}};
}

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

// A temporary folder holding a copy of the supplied data files.
struct SeriesFolder : ::testing::Test {
  fs::path dir =
      fs::temp_directory_path() / ("novastra_series_" + std::to_string(::getpid()) + "_" +
                                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
  void SetUp() override {
    fs::create_directories(dir);
    for (const auto& name : AllFiles()) WriteBytes(dir / name, Supplied(name));
  }
  void TearDown() override { fs::remove_all(dir); }
};

TEST(SeriesData, RegeneratingFromTheReferenceGivesTheSuppliedBytes) {
  if (!fs::exists(fs::path(NOVASTRA_REFERENCE_DIR) / "pluto_terms.csv"))
    GTEST_SKIP() << "no reference tables";
  const fs::path out = fs::temp_directory_path() / ("novastra_gen_" + std::to_string(::getpid()));
  fs::remove_all(out);
  const std::string cmd = std::string("\"") + NOVASTRA_GEN_SERIES + "\" \"" +
                          NOVASTRA_REFERENCE_DIR + "\" \"" + out.string() + "\"";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  for (const auto& name : AllFiles()) EXPECT_EQ(ReadBytes(out / name), Supplied(name)) << name;
  fs::remove_all(out);
}

TEST(SeriesData, SuppliedFilesHold8298ValuesInPublishedUnits) {
  std::size_t total = 0;
  for (const auto& name : AllFiles()) total += Values(Supplied(name)).size();
  EXPECT_EQ(total, 8298u);
  // Amplitudes published as N x 1e-8 are held as such, phase and frequency
  // unchanged (Meeus, Appendix III, and the J2000.0 Earth terms).
  const SeriesTables& t = testing::Tables();
  const SeriesTerm& e = t[SeriesBody::Earth].L[0][1];
  EXPECT_EQ((std::vector<double>{e.A, e.B, e.C}),
            (std::vector<double>{0.03341656, 4.6692568, 6283.07585}));
  EXPECT_EQ(t[SeriesBody::Earth].L[1][0].A, 6283.31966747);
  EXPECT_EQ(t[SeriesBody::EarthJ2000].L[1][0].A, 6283.07584999);
  // Pluto keeps the published integer units; the first row's multipliers are 0, 0, 1.
  const PlutoTerm& p = t.pluto[0];
  EXPECT_EQ((std::vector<double>{p.j, p.s, p.p, p.lonSin, p.radCos}),
            (std::vector<double>{0, 0, 1, -19799805, 68951812}));
}

TEST_F(SeriesFolder, LineLayoutCarriesNoMeaning) {
  // 0: one value per line, with signs, exponents and bare points; 1: all on one
  // line, blanks around values, LF only; 2: five per line, commas at line ends,
  // no final line break.
  for (int layout = 0; layout < 3; ++layout) {
    for (const auto& name : AllFiles()) {
      const std::vector<std::string> v = Values(Supplied(name));
      std::string s;
      for (std::size_t i = 0; i < v.size(); ++i) {
        const bool last = i + 1 == v.size();
        const bool point = v[i].find('.') != v[i].npos;
        if (layout == 0) s += (v[i][0] == '-' ? "" : "+") + v[i] + (point ? "E0\r\n" : ".e+0\r\n");
        if (layout == 1) s += (i ? " ,  " : "  ") + v[i] + (last ? "\n" : "");
        if (layout == 2) s += v[i] + (last ? "" : i % 5 == 4 ? ",\r\n" : ",");
      }
      WriteBytes(dir / name, s);
    }
    SeriesTables t;
    const auto err = LoadSeriesTables(dir, t);
    ASSERT_FALSE(err) << "layout " << layout << ": " << err->Message();
    EXPECT_EQ(Flatten(t), Flatten(testing::Tables())) << "layout " << layout;
  }
}

TEST_F(SeriesFolder, BadFilesAreNamedWithTheirFailure) {
  using K = SeriesErrorKind;
  struct Case {
    std::string file;
    std::string (*spoil)(const std::string&);  // nullptr: remove the file
    K kind;
    const char* failure;
  } cases[] = {
      {"MARS.DAT",
       [](const std::string& s) { return s.substr(0, s.rfind(',')) + "\r\n"; },  // one value short
       K::InputPastEndOfFile, "input past end of file"},
      {"VENUS.DAT", [](const std::string&) { return std::string(); }, K::InputPastEndOfFile,
       "input past end of file"},
      {"PLUTO.DAT", [](const std::string& s) { return "x" + s; }, K::TypeMismatch, "type mismatch"},
      {"NEPTUNE.DAT", [](const std::string& s) { return ",," + s; }, K::TypeMismatch,
       "type mismatch"},
      {"URANUS.DAT", [](const std::string& s) { return "inf," + s; }, K::TypeMismatch,
       "type mismatch"},
      {"EARTH_X.DAT", nullptr, K::FileNotFound, "file not found"},
  };
  for (const Case& c : cases) {
    if (c.spoil)
      WriteBytes(dir / c.file, c.spoil(Supplied(c.file)));
    else
      fs::remove(dir / c.file);
    SeriesTables t;
    const auto err = LoadSeriesTables(dir, t);
    ASSERT_TRUE(err) << c.file;
    EXPECT_EQ(err->file, c.file);
    EXPECT_EQ(err->kind, c.kind) << c.file;
    EXPECT_EQ(err->Message(), c.file + ": " + c.failure);
    WriteBytes(dir / c.file, Supplied(c.file));
  }
}

TEST_F(SeriesFolder, SecondCompleteBlockReplacesTheFirst) {
  const std::string first = Supplied("VENUS.DAT");
  std::vector<std::string> v = Values(first);
  // Values the plausibility check still accepts (Venus's L0 constant moved by
  // 1e-8 radian, the frequency of a 1e-8 AU term), yet told apart.
  v.front() = "3.17614668", v.back() = "123.25";
  std::string second;
  for (std::size_t i = 0; i < v.size(); ++i) second += v[i] + (i % 3 == 2 ? "\r\n" : ",");
  WriteBytes(dir / "VENUS.DAT",
             first + second + "\r\n\r\n  \r\n");  // trailing blank lines start no block
  SeriesTables t;
  auto err = LoadSeriesTables(dir, t);
  ASSERT_FALSE(err) << err->Message();
  EXPECT_EQ(t[SeriesBody::Venus].L[0][0].A, 3.17614668);
  EXPECT_EQ(t[SeriesBody::Venus].R.back().back().C, 123.25);
  // A second block cut short is a file that ends inside a block.
  WriteBytes(dir / "VENUS.DAT", first + "1,2,3\r\n");
  err = LoadSeriesTables(dir, t);
  ASSERT_TRUE(err);
  EXPECT_EQ(err->Message(), "VENUS.DAT: input past end of file");
}

}  // namespace
}  // namespace novastra
