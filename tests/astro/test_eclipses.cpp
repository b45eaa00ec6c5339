// Eclipses against Espenak's NASA catalogues, 1801-2100 (the files in data/ name
// the pages): every eclipse found and none invented, the type, greatest eclipse
// within a minute, magnitudes within 0.01, the Saros series and the first
// members of the series that begin in these three centuries.
#include <cmath>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

#include "astro/calendar.h"
#include "astro/eclipses.h"
#include "astro/saros_starts.h"
#include "astro_test.h"
#include "reports/eclipses_report.h"

namespace novastra {
namespace {

using testing::Tables;

constexpr double kSecond = 1.0 / 86400.0;
const double kFrom1801 = JulianDayNumber(1801, 1, 1) - 0.5;
const double kTo2101 = JulianDayNumber(2101, 1, 1) - 0.5;

// "1801 Mar 14" and "15:45:35" (or "05:24") as a Julian Day.
double CatalogueJD(const std::string& y, const std::string& mon, const std::string& d,
                   const std::string& hms) {
  static const std::string kMonths = "JanFebMarAprMayJunJulAugSepOctNovDec";
  const int month = static_cast<int>(kMonths.find(mon)) / 3 + 1;
  int h = 0, m = 0, s = 0;
  char colon;
  std::istringstream t(hms);
  t >> h >> colon >> m;
  if (t >> colon) t >> s;
  return JulianDayNumber(std::stoi(y), month, std::stoi(d)) - 0.5 + (h + m / 60.0 + s / 3600.0) / 24;
}

std::vector<std::vector<std::string>> Rows(const std::string& file) {
  std::ifstream in(std::string(NOVASTRA_TESTDATA_DIR) + "/" + file);
  std::vector<std::vector<std::string>> rows;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    rows.emplace_back();
    for (std::string w; words >> w;) rows.back().push_back(w);
  }
  return rows;
}

struct SolarRow {
  double tt;
  int lunation, saros;
  std::string type;
  double gamma, magnitude;
};
std::vector<SolarRow> SolarRows() {
  std::vector<SolarRow> out;
  for (const auto& r : Rows("solar_eclipses_1801_2100.txt"))
    out.push_back({CatalogueJD(r[0], r[1], r[2], r[3]), std::stoi(r[5]), std::stoi(r[6]), r[7],
                   std::stod(r[8]), std::stod(r[9])});
  return out;
}

struct LunarRow {
  double ut;
  std::string type;
  int saros;
  double gamma, penumbral, umbral;
  std::optional<int> partialHalf, totalHalf;  // minutes
};
std::vector<LunarRow> LunarRows() {
  auto minutes = [](const std::string& s) -> std::optional<int> {
    if (s == "-") return std::nullopt;
    return std::stoi(s);
  };
  std::vector<LunarRow> out;
  for (const auto& r : Rows("lunar_eclipses_1801_2100.txt"))
    out.push_back({CatalogueJD(r[0], r[1], r[2], r[3]), r[4], std::stoi(r[5]), std::stod(r[6]),
                   std::stod(r[7]), std::stod(r[8]), minutes(r[9]), minutes(r[10])});
  return out;
}

const std::vector<SolarEclipse>& Solar() {
  static const auto list = FindSolarEclipses(kFrom1801, kTo2101, Tables());
  return list;
}
const std::vector<LunarEclipse>& Lunar() {
  static const auto list = FindLunarEclipses(kFrom1801, kTo2101, Tables());
  return list;
}

template <class List>
const typename List::value_type* Nearest(const List& list, double jd, bool tt) {
  for (const auto& e : list)
    if (std::fabs((tt ? e.greatestTT : e.greatestUT) - jd) < 0.5) return &e;
  return nullptr;
}

char SolarLetter(SolarEclipseType t) {
  return "PATH"[static_cast<int>(t)];
}
char LunarLetter(LunarEclipseType t) { return "NPT"[static_cast<int>(t)]; }

TEST(Eclipses, SolarCatalogue1801To2100) {
  const auto rows = SolarRows();
  ASSERT_EQ(rows.size(), 694u);
  EXPECT_EQ(Solar().size(), rows.size()) << "none invented";
  double worstTime = 0, worstMagnitude = 0, worstGamma = 0;
  for (const SolarRow& row : rows) {
    const SolarEclipse* e = Nearest(Solar(), row.tt, true);
    ASSERT_NE(e, nullptr) << "missed: lunation " << row.lunation;
    SCOPED_TRACE("lunation " + std::to_string(row.lunation));
    EXPECT_EQ(SolarLetter(e->type), row.type[0]);
    EXPECT_EQ(e->lunation, row.lunation);
    EXPECT_EQ(e->saros.series, row.saros);
    // "b": the first eclipse of its series.
    if (row.type.find('b') != std::string::npos) {
      EXPECT_EQ(e->saros.member, 1);
    }
    // Greatest eclipse (TD) within a minute, magnitude within 0.01, gamma 0.005.
    EXPECT_NEAR(e->greatestTT, row.tt, 60 * kSecond);
    EXPECT_NEAR(e->magnitude, row.magnitude, 0.01);
    EXPECT_NEAR(e->gamma, row.gamma, 0.005);
    const bool nonCentral = row.type.size() > 1 && (row.type[1] == '+' || row.type[1] == '-');
    EXPECT_EQ(e->central, row.type[0] != 'P' && !nonCentral);
    worstTime = std::max(worstTime, std::fabs(e->greatestTT - row.tt) / kSecond);
    worstMagnitude = std::max(worstMagnitude, std::fabs(e->magnitude - row.magnitude));
    worstGamma = std::max(worstGamma, std::fabs(e->gamma - row.gamma));
  }
  std::cout << "solar: " << Solar().size() << " found, worst greatest eclipse " << worstTime
            << " s, magnitude " << worstMagnitude << ", gamma " << worstGamma << "\n";
}

TEST(Eclipses, LunarCatalogue1801To2100) {
  const auto rows = LunarRows();
  ASSERT_EQ(rows.size(), 712u);
  EXPECT_EQ(Lunar().size(), rows.size()) << "none invented";
  double worstTime = 0, worstUmbral = 0, worstPenumbral = 0, worstGamma = 0, worstContact = 0;
  for (const LunarRow& row : rows) {
    const LunarEclipse* e = Nearest(Lunar(), row.ut, false);
    ASSERT_NE(e, nullptr) << "missed: " << DateTextFromJulianDay(row.ut + 0.5);
    SCOPED_TRACE(DateTextFromJulianDay(row.ut + 0.5));
    EXPECT_EQ(LunarLetter(e->type), row.type[0]);
    EXPECT_EQ(e->saros.series, row.saros);
    if (row.type.find('b') != std::string::npos) {
      EXPECT_EQ(e->saros.member, 1);
    }
    // The catalogue gives UT to the minute: within a minute of it, and 0.01.
    EXPECT_NEAR(e->greatestUT, row.ut, 60 * kSecond);
    EXPECT_NEAR(e->umbralMagnitude, row.umbral, 0.01);
    EXPECT_NEAR(e->penumbralMagnitude, row.penumbral, 0.01);
    EXPECT_NEAR(e->gamma, row.gamma, 0.005);
    // Umbral contacts from the semi-durations (whole minutes; the phases are
    // not quite symmetric about greatest eclipse): within two minutes, three for
    // a phase of under a quarter of an hour, whose ends move fast with any change
    // of the magnitude.
    const LunarContacts& c = e->contacts;
    EXPECT_TRUE(c.P1 && c.P4);
    ASSERT_EQ(c.U1.has_value(), row.partialHalf.has_value());
    ASSERT_EQ(c.U4.has_value(), row.partialHalf.has_value());
    ASSERT_EQ(c.U2.has_value(), row.totalHalf.has_value());
    ASSERT_EQ(c.U3.has_value(), row.totalHalf.has_value());
    auto check = [&](const std::optional<double>& start, const std::optional<double>& end,
                     std::optional<int> half) {
      if (!half) return;
      for (double gap : {row.ut - *start, *end - row.ut}) {
        EXPECT_NEAR(gap / kSecond / 60, *half, *half < 15 ? 3.0 : 2.0);
        worstContact = std::max(worstContact, std::fabs(gap / kSecond / 60 - *half));
      }
    };
    check(c.U1, c.U4, row.partialHalf);
    check(c.U2, c.U3, row.totalHalf);
    if (c.P1 && c.U1) {
      EXPECT_LT(*c.P1, *c.U1);
    }
    if (c.U2) {
      EXPECT_TRUE(*c.U1 < *c.U2 && *c.U2 < e->greatestUT && e->greatestUT < *c.U3 &&
                  *c.U3 < *c.U4 && *c.U4 < *c.P4);
    }
    worstTime = std::max(worstTime, std::fabs(e->greatestUT - row.ut) / kSecond);
    worstUmbral = std::max(worstUmbral, std::fabs(e->umbralMagnitude - row.umbral));
    worstPenumbral = std::max(worstPenumbral, std::fabs(e->penumbralMagnitude - row.penumbral));
    worstGamma = std::max(worstGamma, std::fabs(e->gamma - row.gamma));
  }
  std::cout << "lunar: " << Lunar().size() << " found, worst greatest eclipse " << worstTime
            << " s (catalogue to the minute), umbral " << worstUmbral << ", penumbral "
            << worstPenumbral << ", gamma " << worstGamma << ", contacts " << worstContact
            << " min\n";
}

// The series' starts tabled for the supplied series files: the files are the
// ones they were found with, every series with an eclipse the program can
// list (its dates 1800-2100, a lunation beyond each end) is there, and
// stepping back from the series' eclipse one saros at a time finds each start
// again. On a mismatch the test prints the rows the table should hold.
TEST(Eclipses, TabledSarosStartsAreThoseOfTheSearch) {
  EXPECT_EQ(SeriesFingerprint(Tables()), kSuppliedSeriesFingerprint)
      << "fingerprint of the supplied files: 0x" << std::hex << SeriesFingerprint(Tables())
      << "ull";
  const double from = JulianDayNumber(1799, 11, 1), to = JulianDayNumber(2101, 3, 1);
  auto check = [](const auto& eclipses, const auto& table, auto exists, const char* name) {
    std::map<int, int> walked, tabled;  // series -> first lunation
    for (const auto& e : eclipses) {
      if (walked.count(e.saros.series) != 0) continue;
      int n = e.lunation;
      while (exists(n - 223)) n -= 223;
      walked[e.saros.series] = n;
      EXPECT_EQ(e.saros.member, (e.lunation - n) / 223 + 1) << name << " " << e.saros.series;
    }
    for (const SarosStart& s : table) tabled[s.series] = s.firstLunation;
    std::ostringstream rows;
    for (const auto& [series, first] : walked) rows << "{" << series << ", " << first << "}, ";
    EXPECT_EQ(tabled, walked) << name << " starts: " << rows.str();
  };
  check(FindSolarEclipses(from, to, Tables()), kSolarSarosStarts,
        [](int n) { return SolarEclipseOfLunation(n, Tables()).has_value(); }, "solar");
  check(FindLunarEclipses(from, to, Tables(), ShadowEnlargement::Chauvenet), kLunarSarosStarts,
        [](int n) {
          return LunarEclipseOfLunation(n, Tables(), ShadowEnlargement::Chauvenet).has_value();
        },
        "lunar");
}

}  // namespace
}  // namespace novastra
