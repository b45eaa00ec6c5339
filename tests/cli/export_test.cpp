// CSV and JSON Lines read back equal the typed results; the one date reader;
// UTF-8 text whose columns hold in a terminal.
#include <gtest/gtest.h>

#include <fmt/format.h>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <limits>
#include <nlohmann/json.hpp>
#include <random>
#include <set>
#include <sstream>

#include "cli_support.h"
#include "reports/aspectarian_report.h"
#include "reports/ephemeris_report.h"
#include "support/csv_reader.h"
#include "text/aspectarian_text.h"
#include "text/charset.h"
#include "text/date_input.h"
#include "text/ephemeris_tables.h"
#include "text/export_formats.h"
#include "text/text_encoding.h"

namespace novastra {
namespace {

using nlohmann::json;
using testing_support::ReadCsv;
using testing_support::Tables;

EphemerisReport Ephemeris(double startJD, int days, double dayFraction) {
  EphemerisRequest r;
  r.tables = &Tables();
  r.startJD = startJD, r.dayCount = days, r.dayFraction = dayFraction;
  return BuildEphemeris(r);
}

AspectarianReport Aspectarian2009() {
  return BuildAspectarian(testing_support::AspectarianOver(JulianDayNumber(2009, 1, 1), 60));
}

// Parses "YYYY-MM-DDTHH:MM:SSZ" back into a Julian Day.
double JulianDayOfIso(const std::string& iso) {
  auto n = [&](int at, int len) { return std::stoi(iso.substr(at, len)); };
  return JulianDayNumber(n(0, 4), n(5, 2), n(8, 2)) - 0.5 +
         (n(11, 2) * 3600 + n(14, 2) * 60 + n(17, 2)) / 86400.0;
}

// Shortest round-trip numbers: the very same doubles come back.
double Number(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

// The CSV's number writer against {fmt}'s "{}" (the layout the files have
// always had) and against reading back: the edges of the fixed notation
// (exponents -4 and 15), integers, negative zero, subnormals, the extremes,
// and a million random bit patterns and values of the columns' ranges.
TEST(Export, ShortestNumbersAreFmtsAndReadBack) {
  std::vector<double> values = {0.0,
                                -0.0,
                                1.0,
                                -1.0,
                                0.5,
                                360.0,
                                359.99999999999994,
                                1e-4,
                                9.99e-5,
                                1e-5,
                                0.00012345,
                                1e15,
                                9.999999999999998e15,
                                1e16,
                                1.5e16,
                                123456789012345.6,
                                2451545.0,
                                1e100,
                                -2.5e-300,
                                std::numeric_limits<double>::min(),
                                std::numeric_limits<double>::denorm_min(),
                                std::numeric_limits<double>::max(),
                                std::numeric_limits<double>::lowest()};
  std::mt19937_64 random(20261207);
  std::uniform_real_distribution<double> degrees(-400.0, 400.0), small(-1e-3, 1e-3);
  for (int i = 0; i < 1000000; ++i) {
    std::uint64_t bits = random();
    double any = 0;
    std::memcpy(&any, &bits, sizeof any);
    if (std::isfinite(any)) values.push_back(any);
    values.push_back(degrees(random));
    values.push_back(small(random));
    values.push_back(std::round(degrees(random) * 1e6));
  }
  int wrong = 0;
  for (const double v : values) {
    std::string text;
    AppendShortest(text, v);
    const std::string expected = fmt::format("{}", v);
    if (text != expected || (std::strtod(text.c_str(), nullptr) != v) ||
        (std::signbit(v) != (text[0] == '-'))) {
      if (++wrong <= 5) ADD_FAILURE() << text << " for " << expected;
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST(Export, EphemerisCsvAndJsonReadBackAsTheReport) {
  const EphemerisReport report = Ephemeris(JulianDayNumber(2009, 1, 1), 40, 0.5);
  std::string csv = DayCsvHeader(),
              text = JsonRunLine("1.0", "ephemeris", {{"from", "2009-01-01"}});
  AppendEphemerisCsv(csv, report);
  for (const EphemerisDay& day : report.days) AppendDayJson(text, day);
  text += JsonEndLine(40);
  const auto rows = ReadCsv(csv);
  ASSERT_EQ(rows.size(), 41u);
  ASSERT_EQ(rows[0].size(), 4u + 11 * 7);
  EXPECT_EQ(rows[0][4] + " " + rows[0][8] + " " + rows[0].back(),
            "sun_longitude earth_helio_longitude north_node_retrograde");
  std::istringstream lines(text);
  std::string line;
  std::getline(lines, line);
  const auto run = json::parse(line);
  EXPECT_EQ(run["type"].get<std::string>() + run["version"].get<std::string>() +
                run["parameters"]["from"].get<std::string>(),
            "run1.02009-01-01");
  int retrogradeFlags = 0;
  for (size_t r = 1; r < rows.size(); ++r) {
    const EphemerisDay& day = report.days[r - 1];
    const BodyPositions& p = day.positions;
    const auto& row = rows[r];
    ASSERT_EQ(row.size(), rows[0].size());
    ASSERT_TRUE(std::getline(lines, line));
    const auto j = json::parse(line);
    EXPECT_EQ(row[0] + " " + row[1], IsoDate(day.rowJD) + " " + IsoDate(day.rowJD) + "T12:00:00Z");
    EXPECT_EQ(j["date"].get<std::string>() + " " + j["instant"].get<std::string>(),
              row[0] + " " + row[1]);
    EXPECT_EQ(Number(row[2]), day.jd);
    EXPECT_EQ(Number(row[3]), day.siderealSeconds);
    for (int b = 1; b <= 11; ++b) {
      const size_t c = 4 + (b - 1) * 7;
      const auto& body = j["bodies"][BodyKey(b)];
      const bool helio = b != 2 && b != 11;  // neither the Moon nor the node
      const double want[] = {p.Longitude[b],   p.Latitude[b],       p.RightAscension[b],
                             p.Declination[b], p.HelioLongitude[b], p.HelioLatitude[b]};
      for (int k = 0; k < (helio ? 6 : 4); ++k) EXPECT_EQ(Number(row[c + k]), want[k]) << b << k;
      if (!helio) {
        EXPECT_EQ(row[c + 4] + row[c + 5], "");
      }
      EXPECT_EQ(body["longitude"].get<double>(), p.Longitude[b]);
      EXPECT_EQ(body["declination"].get<double>(), p.Declination[b]);
      EXPECT_EQ(body.contains("helio_longitude"), helio);
      EXPECT_EQ(row[c + 6], day.retrograde[b] ? "1" : "0");
      EXPECT_EQ(body["retrograde"].get<bool>(), day.retrograde[b]);
      retrogradeFlags += day.retrograde[b];
    }
  }
  EXPECT_GT(retrogradeFlags, 0);  // Mercury turns retrograde on 11 January 2009
  ASSERT_TRUE(std::getline(lines, line));
  EXPECT_EQ(json::parse(line)["count"], 40);
}

TEST(Export, EventCsvAndJsonReadBackAsTheEvents) {
  const AspectarianReport report = Aspectarian2009();
  std::string csv = EventCsvHeader(), text;
  for (const Event& e : report.events) {
    AppendEventCsv(csv, e, Coordinates::Geocentric);
    AppendEventJson(text, e, Coordinates::Geocentric);
  }
  const auto rows = ReadCsv(csv);
  ASSERT_EQ(rows.size(), report.events.size() + 1);
  std::istringstream lines(text);
  std::string line;
  std::set<std::string> kinds;
  for (size_t k = 0; k < report.events.size(); ++k) {
    const Event& e = report.events[k];
    const auto& row = rows[k + 1];
    ASSERT_TRUE(std::getline(lines, line));
    const auto j = json::parse(line);
    EXPECT_NEAR(JulianDayOfIso(row[0]), e.jd, 0.6 / 86400);  // whole seconds
    EXPECT_EQ(j["jd"].get<double>(), e.jd);
    EXPECT_EQ(row[1], EventKindName(e.kind));
    EXPECT_EQ(row[2], BodyName(e.body, Coordinates::Geocentric));
    // Each kind's own column, the same in both forms.
    const std::pair<const char*, int> shared[] = {{"instant", 0}, {"kind", 1}, {"body", 2}};
    for (const auto& [key, col] : shared) EXPECT_EQ(j[key], row[col]) << key;
    kinds.insert(row[1]);
    switch (e.kind) {
      case EventKind::Ingress:
        EXPECT_EQ(row[5], SignName(e.sign));
        EXPECT_EQ(j["sign"], row[5]);
        break;
      case EventKind::Station:
        EXPECT_EQ(row[6], e.direction == Direction::Retrograde ? "retrograde" : "direct");
        EXPECT_EQ(j["direction"], row[6]);
        break;
      case EventKind::Lunation:
        EXPECT_EQ(Number(row[8]), e.moonLongitude);
        EXPECT_EQ(j["moon_longitude"].get<double>(), e.moonLongitude);
        EXPECT_EQ(j["phase"], row[17]);
        [[fallthrough]];
      case EventKind::Aspect:
        EXPECT_EQ(row[3], BodyName(e.other, Coordinates::Geocentric));
        EXPECT_EQ(row[4], AspectName(e.aspect));
        EXPECT_EQ(j["aspect"], row[4]);
        break;
      case EventKind::Parallel:
      case EventKind::Contraparallel: EXPECT_EQ(j["other"], row[3]); break;
    }
  }
  // January and February 2009: a solar eclipse (26 Jan) and a lunar one (9 Feb).
  EXPECT_NE(csv.find(",solar,"), std::string::npos);
  EXPECT_NE(csv.find(",lunar,"), std::string::npos);
  EXPECT_EQ(kinds.size(), 6u);
}

TEST(DateInput, ReadsBothFormsAndRefusesTheRest) {
  // Accepted texts and the date they give (yyyymmdd).
  for (auto [text, ymd] : {std::pair{"1/5/2009", 20090105},
                           {"01/05/2009", 20090105},
                           {"2009-01-05", 20090105},
                           {" 12/31/2100 ", 21001231},
                           {"1800-01-01", 18000101},
                           {"2/29/2000", 20000229}}) {
    std::string why;
    const auto d = ParseDateInput(text, &why);
    ASSERT_TRUE(d) << text << ": " << why;
    EXPECT_EQ(d->year * 10000 + d->month * 100 + d->day, ymd) << text;
  }
  for (const char* text :
       {"2/29/1900", "4/31/2000", "13/1/2009", "1/1/1799", "2101-01-01", "2009-1-5", "1/5", "",
        "-1/5/2009", "1/5/2009x", "99999999999/1/2000", "0/1/2000"}) {
    std::string why;
    EXPECT_FALSE(ParseDateInput(text, &why)) << text;
    EXPECT_FALSE(why.empty()) << text;
  }
  // Seconds of the day, -1 refused. A sign is not a digit: "-1:00" once gave
  // 23:00 of the day before under the date asked for.
  for (auto [text, seconds] : {std::pair{"06:30", 23400},
                               {"23:59:59", 86399},
                               {"0:00", 0},
                               {"24:00", -1},
                               {"12:60", -1},
                               {"12", -1},
                               {"1:2:3:4", -1},
                               {"-1:00", -1},
                               {"1:-0", -1},
                               {"+1:00", -1},
                               {"12:-5:00", -1},
                               {"", -1}}) {
    const auto s = ParseTimeInput(text);
    EXPECT_EQ(s ? *s : -1, seconds) << text;
  }
}

TEST(DateInput, IsoInstantsOfPublishedJulianDays) {
  // Meeus, Astronomical Algorithms, ch. 7: JD 2451545.0 is 2000 January 1.5;
  // example 7.a: 1957 October 4.81 is JD 2436116.31 (19:26:24 UT).
  EXPECT_EQ(IsoInstant(2451545.0), "2000-01-01T12:00:00Z");
  EXPECT_EQ(IsoInstant(2436116.31), "1957-10-04T19:26:24Z");
  EXPECT_EQ(IsoInstant(2451544.5), "2000-01-01T00:00:00Z");
  EXPECT_EQ(IsoInstant(2451545.4999999), "2000-01-02T00:00:00Z");  // rounds into the next day
  EXPECT_EQ(IsoDate(JulianDayNumber(1800, 1, 1)), "1800-01-01");
}

// ---- encodings ----

// Terminal cells of UTF-8 text (wcwidth in C.UTF-8).
int Cells(const std::string& utf8) {
  std::mbstate_t state{};
  const char* p = utf8.c_str();
  std::wstring wide(utf8.size() + 1, L'\0');
  const size_t n = std::mbsrtowcs(wide.data(), &p, wide.size(), &state);
  EXPECT_NE(n, static_cast<size_t>(-1));
  int cells = 0;
  for (size_t k = 0; k < n; ++k) cells += std::max(::wcwidth(wide[k]), 0);
  return cells;
}

int TerminalCells(char32_t c) { return ::wcwidth(static_cast<wchar_t>(c)); }

class Utf8Columns : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(std::setlocale(LC_CTYPE, "C.UTF-8")) << "Debian's libc always has C.UTF-8";
  }
  void TearDown() override { std::setlocale(LC_CTYPE, "C"); }
  TextStyle style{Encoding::Utf8, Symbols::Unicode, &TerminalCells};
};

// The terminal cells of UTF-8 text: 'x' under a character, ' ' under a blank
// (a blank right after a symbol pads it to two cells and belongs to it).
std::string CellMap(const std::string& text) {
  std::string map;
  std::mbstate_t st{};
  for (size_t i = 0, n; i < text.size(); i += n) {
    wchar_t w;
    n = std::mbrtowc(&w, text.data() + i, text.size() - i, &st);
    if (n == 0 || n > text.size()) return "not UTF-8: " + text;
    const bool pad = w == L' ' && i > 0 && static_cast<unsigned char>(text[i - 1]) >= 0x80;
    map.append(std::max(::wcwidth(w), 0), w == L' ' && !pad ? ' ' : 'x');
  }
  return map;
}

// Each body's value fills its column's dash run on the rule, cell for cell
// (heliocentric tables: "Helio" within the Moon's and the node's runs).
TEST_F(Utf8Columns, EveryTableValueSitsUnderItsRule) {
  const EphemerisReport report = Ephemeris(JulianDayNumber(2009, 1, 1), 31, 0);
  const HeaderInfo info{"Tropical ", "1/1/2009", "midnight", 2454832.5};
  for (ColumnSet set :
       {ColumnSet::Longitude, ColumnSet::Latitude, ColumnSet::RightAscension,
        ColumnSet::Declination, ColumnSet::HelioLongitude, ColumnSet::HelioLatitude}) {
    const auto lines = EphemerisTableLines(set, report, info, false, true);
    std::string want;
    std::vector<size_t> runs;  // where each dash run starts
    for (size_t k = 0; k < lines[5].size(); ++k) {
      if (lines[5][k] == '-' && (k == 0 || lines[5][k - 1] != '-')) runs.push_back(k);
      want += lines[5][k] == '-' ? 'x' : ' ';
    }
    ASSERT_EQ(runs.size(), 13u);  // date, sidereal time, eleven bodies
    for (size_t row = 7; row < lines.size(); ++row) {
      if (lines[row].empty()) continue;
      std::string got = CellMap(EncodeText(lines[row], style)), rule = want;
      got.resize(std::max(got.size(), rule.size()), ' '), rule.resize(got.size(), ' ');
      for (int b : {2, 11})  // the Moon, the node
        if (IsHeliocentric(set))
          for (size_t c = runs[b + 1]; c < rule.size() && rule[c] == 'x'; ++c)
            got[c] = rule[c] = '.';
      EXPECT_EQ(got.substr(runs[2]), rule.substr(runs[2]))
          << "set " << static_cast<int>(set) << ": " << EncodeText(lines[row], style);
    }
  }
}

TEST_F(Utf8Columns, TwoColumnAspectarianRightColumnStartsAtOneCell) {
  const AspectarianReport report = Aspectarian2009();
  const HeaderInfo info{"Tropical ", "1/1/2009", "midnight", 2454832.5};
  const auto source = AspectarianLines(report, info, Coordinates::Geocentric);
  const auto lines = TwoColumnLines(source);
  const size_t half = (source.size() - 6) / 2;
  ASSERT_EQ(lines.size(), 6 + half);
  ASSERT_GT(lines.size(), 100u);
  for (size_t k = 4; k < lines.size(); ++k) {
    // The right column is the source line `half` further on (the heading itself for lines 4 and 5).
    const std::string& right = k < 6 ? source[k] : source[k + half];
    EXPECT_EQ(Cells(EncodeText(lines[k].substr(0, lines[k].size() - right.size()), style)), 64)
        << lines[k];
  }
  // The cp1252 text keeps the program's own bytes; ASCII abbreviations pad
  // one-letter marks to two cells.
  EXPECT_EQ(EncodeText(lines[10], {}), lines[10]);
  auto ascii = [](int code, Encoding e) {
    return EncodeText(std::string(1, static_cast<char>(code)), {e, Symbols::Ascii, nullptr});
  };
  EXPECT_EQ(ascii(152, Encoding::Utf8), "N ");
  EXPECT_EQ(ascii(192, Encoding::Cp1252), "Ari");
  EXPECT_EQ(ascii(157, Encoding::Utf8), "R");
}

}  // namespace
}  // namespace novastra
