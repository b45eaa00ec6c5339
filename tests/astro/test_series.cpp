// The series data files: the supplied bytes, their reading whatever the line
// layout, and damaged files (bad text, absurd but valid numbers, things that
// are not files) refused at load with the message naming the file; and the
// int casts of the sign split stay defined whatever value reaches them.
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <regex>
#include <string>
#include <vector>

#include "astro/series_check.h"
#include "astro_test.h"
#include "reports/events.h"
#include "text/zodiac_text.h"

namespace fs = std::filesystem;

namespace novastra {
namespace {

std::string ReadAll(const fs::path& p) {
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
  return ReadAll(fs::path(NOVASTRA_DATA_DIR) / name);
}

// The supplied files' texts, Pluto's last.
std::array<std::string, kSeriesBodyCount + 1> SuppliedTexts() {
  std::array<std::string, kSeriesBodyCount + 1> t;
  for (int i = 0; i < kSeriesBodyCount; ++i) t[i] = Supplied(kSeriesLayouts[i].file);
  t[kSeriesBodyCount] = Supplied(kPlutoFile);
  return t;
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

// Replaces the value number `index` (0-based, in file order) of a data file.
std::string ReplaceValue(const std::string& text, size_t index, const std::string& value) {
  static const std::regex field("[^,\r\n]+");
  auto it = std::sregex_iterator(text.begin(), text.end(), field);
  std::advance(it, static_cast<long>(index));
  return text.substr(0, it->position()) + value + text.substr(it->position() + it->length());
}

// Index of the first value (A of term 1) of series k of a coordinate.
size_t FirstValueOf(int body, char coord, int k) {
  const SeriesFileLayout& l = kSeriesLayouts[body];
  size_t n = 0;
  for (auto [counts, letter] : {std::pair{&l.L, 'L'}, std::pair{&l.B, 'B'}, std::pair{&l.R, 'R'}}) {
    for (int s = 0; s < kMaxSeriesPerCoordinate; ++s) {
      if (letter == coord && s == k) return n;
      n += 3 * static_cast<size_t>((*counts)[s]);
    }
  }
  return n;
}

constexpr int kPluto = kSeriesBodyCount;

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
  for (const auto& name : AllFiles()) EXPECT_EQ(ReadAll(out / name), Supplied(name)) << name;
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
    void (*make)(const fs::path&) = nullptr;  // makes what stands in place of the file
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
      // Reported as unreadable at once: a FIFO used to hang the loader and a
      // link to /dev/zero to exhaust memory.
      {"MARS.DAT", nullptr, K::Unreadable, "cannot read the file (it is not a regular file)",
       [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); }},
      {"MARS.DAT", nullptr, K::Unreadable, "cannot read the file (it is not a regular file)",
       [](const fs::path& p) { fs::create_symlink("/dev/zero", p); }},
      {"MARS.DAT", nullptr, K::Unreadable, "cannot read the file (it is a folder)",
       [](const fs::path& p) { fs::create_directory(p); }},
  };
  for (const Case& c : cases) {
    if (c.spoil)
      WriteBytes(dir / c.file, c.spoil(Supplied(c.file)));
    else
      fs::remove(dir / c.file);
    if (c.make) c.make(dir / c.file);
    SeriesTables t;
    const auto err = LoadSeriesTables(dir, t);
    ASSERT_TRUE(err) << c.file;
    EXPECT_EQ(err->file, c.file);
    EXPECT_EQ(err->kind, c.kind) << c.file;
    EXPECT_EQ(err->Message(), c.file + ": " + c.failure);
    fs::remove_all(dir / c.file);
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

TEST(SeriesCheck, SuppliedTablesPass) {
  EXPECT_FALSE(CheckSeriesTables(testing::Tables()).has_value());
}

// Each case: the file, the value changed, its new text. Every one of these
// was accepted before the check and printed -2147483648, "na.n" or "-nan".
struct Damage {
  int file;
  size_t index;
  const char* value;
  const char* what;
};

TEST(SeriesCheck, AbsurdValuesAreRefusedNamingTheFile) {
  const int mars = static_cast<int>(SeriesBody::Mars);
  const int earth = static_cast<int>(SeriesBody::Earth);
  const int saturn = static_cast<int>(SeriesBody::Saturn);
  const int jupiter = static_cast<int>(SeriesBody::Jupiter);
  const int neptune = static_cast<int>(SeriesBody::Neptune);
  const Damage cases[] = {
      {mars, 0, "1e308", "huge amplitude (overflows the sums to inf/NaN)"},
      {0, 0, "1e308", "Mercury's huge amplitude: the first file read"},
      {neptune, 5, "-1e300", "huge frequency"},
      {jupiter, FirstValueOf(jupiter, 'L', 0) + 3 * 5 + 2, "9869351812",
       "frequency with extra digits"},
      {earth, FirstValueOf(earth, 'R', 0), "10.0013988", "R0 constant x10: radius 10 AU"},
      {saturn, FirstValueOf(saturn, 'B', 0), "0.4330678", "B0 amplitude x100: latitude 25 degrees"},
      {kPluto, 8, "9869351812", "Pluto radius coefficient with extra digits"},
      {kPluto, 2, "1.5", "Pluto argument multiplier not whole"},
      {kPluto, 4 * 9 + 3, "1e30", "Pluto longitude coefficient huge"},
      // Absurd but inside every bound on a single value: a longitude term
      // still gives some longitude between 0 and 360 degrees, so these were
      // accepted and printed wrong places until positions were compared with
      // an independent ephemeris (PyEphem) at the reference instants.
      {mars, FirstValueOf(mars, 'L', 0), "9869.351812", "Mars L0 constant with a slipped point"},
      {earth, FirstValueOf(earth, 'L', 0) + 3, "99999", "Earth L0 term 2 amplitude"},
      {jupiter, FirstValueOf(jupiter, 'L', 1) + 3 * 2, "0.027655", "Jupiter L1 term 3 x100"},
      {saturn, FirstValueOf(saturn, 'B', 0) + 1, "1.2", "Saturn B0 phase changed"},
      {kPluto, 3, "-98693518", "Pluto longitude coefficient with extra digits"},
      // Line 92 of SATURN.DAT, a 0.013 rad term's frequency: passed when only
      // 1800, 1900, 2000 and 2100 were compared.
      {saturn, 91 * 3 + 2, "-99.9", "Saturn term frequency changed"},
  };
  const auto supplied = SuppliedTexts();
  for (const Damage& c : cases) {
    auto texts = supplied;
    texts[c.file] = ReplaceValue(texts[c.file], c.index, c.value);
    SeriesTables tables = testing::Tables();
    const auto err = LoadSeriesTablesFromText(texts, tables);
    // A refused file leaves the tables as they were.
    EXPECT_EQ(Flatten(tables), Flatten(testing::Tables())) << c.what;
    const std::string name = c.file == kPluto ? kPlutoFile : kSeriesLayouts[c.file].file;
    ASSERT_TRUE(err.has_value()) << c.what;
    EXPECT_EQ(err->kind, SeriesErrorKind::OutOfRange) << c.what;
    EXPECT_EQ(err->file, name) << c.what;
    EXPECT_EQ(err->Message().rfind(name + ": value out of range (", 0), 0u) << err->Message();
  }
}

// With -fsanitize=float-cast-overflow an unguarded cast fails here.
TEST(SeriesCheck, SignSplitsOfNonFiniteValuesStayDefined) {
  const double inf = std::numeric_limits<double>::infinity();
  for (double x : {std::nan(""), inf, -inf, 1e300, -1e300}) {
    const Zodiacal z = SplitZodiacal(x);
    EXPECT_GE(z.sign, 1) << x;
    EXPECT_LE(z.sign, 12) << x;
    const int sign = SignOf(x);
    EXPECT_GE(sign, 0) << x;
    EXPECT_LE(sign, 12) << x;
  }
  // Ordinary values keep their meaning: 45.5 is 15 degrees 30 minutes of Taurus.
  const Zodiacal z = SplitZodiacal(45.5);
  EXPECT_EQ(z.sign, 2);
  EXPECT_EQ(z.degrees, 15);
  EXPECT_NEAR(z.minutes, 30, 1e-9);
  EXPECT_EQ(SignOf(359.9), 12);
}

}  // namespace
}  // namespace novastra
