// Damaged series data files: numbers that are valid text but absurd, and
// things that are not files at all, are refused at load with the load-error
// message naming the file; and the int casts of the sign split and the event
// finder stay defined whatever value reaches them.
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <regex>
#include <string>

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

std::array<std::string, kSeriesBodyCount + 1> SuppliedTexts() {
  std::array<std::string, kSeriesBodyCount + 1> t;
  for (int i = 0; i < kSeriesBodyCount; ++i)
    t[i] = ReadAll(fs::path(NOVASTRA_DATA_DIR) / kSeriesLayouts[i].file);
  t[kSeriesBodyCount] = ReadAll(fs::path(NOVASTRA_DATA_DIR) / kPlutoFile);
  return t;
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
    SeriesTables tables;
    const auto err = LoadSeriesTablesFromText(texts, tables);
    const std::string name = c.file == kPluto ? kPlutoFile : kSeriesLayouts[c.file].file;
    ASSERT_TRUE(err.has_value()) << c.what;
    EXPECT_EQ(err->kind, SeriesErrorKind::OutOfRange) << c.what;
    EXPECT_EQ(err->file, name) << c.what;
    EXPECT_EQ(err->Message().rfind(name + ": value out of range (", 0), 0u) << err->Message();
  }
}

TEST(SeriesCheck, ARefusedFileLeavesTheTablesAsTheyWere) {
  auto texts = SuppliedTexts();
  texts[0] = ReplaceValue(texts[0], 0, "1e308");
  SeriesTables tables = testing::Tables();
  ASSERT_TRUE(LoadSeriesTablesFromText(texts, tables).has_value());
  EXPECT_EQ(tables[SeriesBody::Mercury].L[0][0].A,
            testing::Tables()[SeriesBody::Mercury].L[0][0].A);
}

// Things that are not regular files are reported as unreadable at once; a
// FIFO used to hang the loader and a link to /dev/zero to exhaust memory.
TEST(SeriesCheck, NonRegularFilesAreUnreadableNotMissing) {
  const fs::path dir = fs::temp_directory_path() / ("novastra_check_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  for (const auto& l : kSeriesLayouts)
    fs::copy_file(fs::path(NOVASTRA_DATA_DIR) / l.file, dir / l.file);
  fs::copy_file(fs::path(NOVASTRA_DATA_DIR) / kPlutoFile, dir / kPlutoFile);
  struct Case {
    const char* what;
    void (*make)(const fs::path&);
  };
  const Case cases[] = {
      {"FIFO", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); }},
      {"link to /dev/zero", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); }},
      {"folder", [](const fs::path& p) { fs::create_directory(p); }},
  };
  for (const Case& c : cases) {
    fs::remove(dir / "MARS.DAT");
    c.make(dir / "MARS.DAT");
    SeriesTables tables;
    const auto err = LoadSeriesTables(dir, tables);
    ASSERT_TRUE(err.has_value()) << c.what;
    EXPECT_EQ(err->kind, SeriesErrorKind::Unreadable) << c.what;
    EXPECT_EQ(err->file, "MARS.DAT");
    fs::remove_all(dir / "MARS.DAT");
  }
  fs::remove(dir / "MARS.DAT");
  SeriesTables tables;
  const auto err = LoadSeriesTables(dir, tables);
  ASSERT_TRUE(err.has_value());
  EXPECT_EQ(err->kind, SeriesErrorKind::FileNotFound);
  fs::remove_all(dir);
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
