// CSV and JSON Lines read back equal the typed results; the one date reader;
// UTF-8 text whose columns hold in a terminal.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <cwchar>
#include <nlohmann/json.hpp>
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

using testing_support::ReadCsv;
using testing_support::Tables;

EphemerisReport Ephemeris(double startJD, int days, double dayFraction) {
  EphemerisRequest r;
  r.tables = &Tables();
  r.startJD = startJD;
  r.dayCount = days;
  r.dayFraction = dayFraction;
  return BuildEphemeris(r);
}

AspectarianReport Aspectarian(double startJD, int days,
                              Coordinates coords = Coordinates::Geocentric) {
  AspectarianRequest r;
  r.sky.tables = &Tables();
  r.sky.coords = coords;
  r.choices.coords = coords;
  r.startJD = startJD;
  r.dayCount = days;
  return BuildAspectarian(r);
}

// Parses "YYYY-MM-DDTHH:MM:SSZ" back into a Julian Day.
double JulianDayOfIso(const std::string& iso) {
  const int y = std::stoi(iso.substr(0, 4)), mo = std::stoi(iso.substr(5, 2)),
            d = std::stoi(iso.substr(8, 2));
  const int h = std::stoi(iso.substr(11, 2)), mi = std::stoi(iso.substr(14, 2)),
            s = std::stoi(iso.substr(17, 2));
  return JulianDayNumber(y, mo, d) - 0.5 + (h * 3600 + mi * 60 + s) / 86400.0;
}

TEST(Export, EphemerisCsvReadsBackAsTheReport) {
  const double start = JulianDayNumber(2009, 1, 1);
  const EphemerisReport report = Ephemeris(start, 40, 0);
  std::string csv = DayCsvHeader();
  AppendEphemerisCsv(csv, report);
  const auto rows = ReadCsv(csv);
  ASSERT_EQ(rows.size(), 41u);
  const auto& head = rows[0];
  ASSERT_EQ(head.size(), 4u + 11 * 7);
  EXPECT_EQ(head[4], "sun_longitude");
  EXPECT_EQ(head[8], "earth_helio_longitude");
  EXPECT_EQ(head.back(), "north_node_retrograde");
  int retrogradeFlags = 0;
  for (size_t r = 1; r < rows.size(); ++r) {
    const EphemerisDay& day = report.days[r - 1];
    const auto& row = rows[r];
    ASSERT_EQ(row.size(), head.size());
    EXPECT_EQ(row[0], IsoDate(day.rowJD));
    EXPECT_NEAR(JulianDayOfIso(row[1]), day.jd, 1e-9);
    EXPECT_EQ(std::strtod(row[2].c_str(), nullptr), day.jd);
    EXPECT_EQ(std::strtod(row[3].c_str(), nullptr), day.siderealSeconds);
    for (int b = 1; b <= 11; ++b) {
      const size_t c = 4 + (b - 1) * 7;
      const BodyPositions& p = day.positions;
      // Shortest round-trip text: the very same doubles.
      EXPECT_EQ(std::strtod(row[c].c_str(), nullptr), p.Longitude[b]);
      EXPECT_EQ(std::strtod(row[c + 1].c_str(), nullptr), p.Latitude[b]);
      EXPECT_EQ(std::strtod(row[c + 2].c_str(), nullptr), p.RightAscension[b]);
      EXPECT_EQ(std::strtod(row[c + 3].c_str(), nullptr), p.Declination[b]);
      if (b == 2 || b == 11) {
        EXPECT_EQ(row[c + 4], "");
        EXPECT_EQ(row[c + 5], "");
      } else {
        EXPECT_EQ(std::strtod(row[c + 4].c_str(), nullptr), p.HelioLongitude[b]);
        EXPECT_EQ(std::strtod(row[c + 5].c_str(), nullptr), p.HelioLatitude[b]);
      }
      EXPECT_EQ(row[c + 6], day.retrograde[b] ? "1" : "0");
      retrogradeFlags += day.retrograde[b];
    }
  }
  EXPECT_GT(retrogradeFlags, 0);  // Mercury turns retrograde on 11 January 2009
}

TEST(Export, EventCsvAndJsonReadBackAsTheEvents) {
  const AspectarianReport report = Aspectarian(JulianDayNumber(2009, 1, 1), 60);
  std::string csv = EventCsvHeader(), json;
  for (const Event& e : report.events) {
    AppendEventCsv(csv, e, Coordinates::Geocentric);
    AppendEventJson(json, e, Coordinates::Geocentric);
  }
  const auto rows = ReadCsv(csv);
  ASSERT_EQ(rows.size(), report.events.size() + 1);
  EXPECT_EQ(rows[0], (testing_support::CsvRecord{"instant", "kind", "body", "other", "aspect",
                                                 "sign", "direction", "eclipse", "longitude", "end",
                                                 "local_instant", "local_end"}));
  std::istringstream lines(json);
  std::string line;
  std::set<std::string> kinds;
  for (size_t k = 0; k < report.events.size(); ++k) {
    const Event& e = report.events[k];
    const auto& row = rows[k + 1];
    ASSERT_TRUE(std::getline(lines, line));
    const auto j = nlohmann::json::parse(line);
    EXPECT_NEAR(JulianDayOfIso(row[0]), e.jd, 0.6 / 86400);
    EXPECT_EQ(j["instant"], row[0]);
    EXPECT_EQ(j["jd"].get<double>(), e.jd);
    EXPECT_EQ(row[1], EventKindName(e.kind));
    EXPECT_EQ(j["kind"], row[1]);
    EXPECT_EQ(row[2], BodyName(e.body, Coordinates::Geocentric));
    EXPECT_EQ(j["body"], row[2]);
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
        EXPECT_EQ(std::strtod(row[8].c_str(), nullptr), e.moonLongitude);
        EXPECT_EQ(j["moon_longitude"].get<double>(), e.moonLongitude);
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

TEST(Export, EphemerisJsonReadsBackAsTheReport) {
  const EphemerisReport report = Ephemeris(JulianDayNumber(2009, 1, 1), 10, 0.5);
  std::string json = JsonRunLine("1.0", "ephemeris", {{"from", "2009-01-01"}});
  for (const EphemerisDay& day : report.days) AppendDayJson(json, day);
  json += JsonEndLine(10);
  std::istringstream lines(json);
  std::string line;
  std::getline(lines, line);
  const auto run = nlohmann::json::parse(line);
  EXPECT_EQ(run["type"], "run");
  EXPECT_EQ(run["version"], "1.0");
  EXPECT_EQ(run["parameters"]["from"], "2009-01-01");
  for (const EphemerisDay& day : report.days) {
    ASSERT_TRUE(std::getline(lines, line));
    const auto j = nlohmann::json::parse(line);
    EXPECT_EQ(j["date"], IsoDate(day.rowJD));
    EXPECT_EQ(j["instant"], IsoDate(day.rowJD) + "T12:00:00Z");
    for (int b = 1; b <= 11; ++b) {
      const auto& body = j["bodies"][BodyKey(b)];
      EXPECT_EQ(body["longitude"].get<double>(), day.positions.Longitude[b]);
      EXPECT_EQ(body["declination"].get<double>(), day.positions.Declination[b]);
      EXPECT_EQ(body["retrograde"].get<bool>(), day.retrograde[b]);
      EXPECT_EQ(body.contains("helio_longitude"), b != 2 && b != 11);
    }
  }
  ASSERT_TRUE(std::getline(lines, line));
  EXPECT_EQ(nlohmann::json::parse(line)["count"], 10);
}

TEST(DateInput, ReadsBothFormsAndRefusesTheRest) {
  struct Case {
    const char* text;
    int y, m, d;  // 0: refused
  };
  const Case cases[] = {
      {"1/5/2009", 2009, 1, 5},
      {"01/05/2009", 2009, 1, 5},
      {"2009-01-05", 2009, 1, 5},
      {" 12/31/2100 ", 2100, 12, 31},
      {"1800-01-01", 1800, 1, 1},
      {"2/29/2000", 2000, 2, 29},
      {"2/29/1900", 0, 0, 0},
      {"4/31/2000", 0, 0, 0},
      {"13/1/2009", 0, 0, 0},
      {"1/1/1799", 0, 0, 0},
      {"2101-01-01", 0, 0, 0},
      {"2009-1-5", 0, 0, 0},
      {"1/5", 0, 0, 0},
      {"", 0, 0, 0},
      {"-1/5/2009", 0, 0, 0},
      {"1/5/2009x", 0, 0, 0},
      {"99999999999/1/2000", 0, 0, 0},
      {"0/1/2000", 0, 0, 0},
  };
  for (const Case& c : cases) {
    std::string why;
    const auto d = ParseDateInput(c.text, &why);
    if (c.y == 0) {
      EXPECT_FALSE(d) << c.text;
      EXPECT_FALSE(why.empty()) << c.text;
    } else {
      ASSERT_TRUE(d) << c.text << ": " << why;
      EXPECT_EQ(d->year * 10000 + d->month * 100 + d->day, c.y * 10000 + c.m * 100 + c.d) << c.text;
    }
  }
  struct TimeCase {
    const char* text;
    int seconds;  // -1: refused
  };
  for (const TimeCase& t : {TimeCase{"06:30", 23400},
                            {"23:59:59", 86399},
                            {"0:00", 0},
                            {"24:00", -1},
                            {"12:60", -1},
                            {"12", -1},
                            {"1:2:3:4", -1},
                            // A sign is not a digit: "-1:00" once gave 23:00 of the day before
                            // under the date asked for.
                            {"-1:00", -1},
                            {"1:-0", -1},
                            {"+1:00", -1},
                            {"12:-5:00", -1},
                            {"", -1}}) {
    const auto s = ParseTimeInput(t.text);
    EXPECT_EQ(s ? *s : -1, t.seconds) << t.text;
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
    if (!std::setlocale(LC_CTYPE, "C.UTF-8")) GTEST_SKIP() << "no C.UTF-8 locale";
  }
  void TearDown() override { std::setlocale(LC_CTYPE, "C"); }
  TextStyle style{Encoding::Utf8, Symbols::Unicode, &TerminalCells};
};

TEST_F(Utf8Columns, EveryTableValueSitsUnderItsRule) {
  const EphemerisReport report = Ephemeris(JulianDayNumber(2009, 1, 1), 31, 0);
  const HeaderInfo info{"Tropical ", "1/1/2009", "midnight", 2454832.5};
  for (ColumnSet set :
       {ColumnSet::Longitude, ColumnSet::Latitude, ColumnSet::RightAscension,
        ColumnSet::Declination, ColumnSet::HelioLongitude, ColumnSet::HelioLatitude}) {
    const auto lines = EphemerisTableLines(set, report, info, false, true);
    // The rule's dash runs: one per column.
    const std::string rule = lines[5];
    std::vector<std::pair<int, int>> runs;
    for (size_t k = 0; k < rule.size();) {
      if (rule[k] != '-') {
        ++k;
        continue;
      }
      size_t e = k;
      while (e < rule.size() && rule[e] == '-') ++e;
      runs.push_back({static_cast<int>(k), static_cast<int>(e) - 1});
      k = e;
    }
    ASSERT_EQ(runs.size(), 13u);
    // Units line: each degree mark sits on the degrees' last cell.
    const std::string units = EncodeText(lines[6], style);
    for (size_t row = 7; row < lines.size(); ++row) {
      if (lines[row].empty()) continue;
      const std::string text = EncodeText(lines[row], style);
      // Cell span of each blank-separated value.
      std::vector<std::pair<int, int>> values;
      int cell = 0, begin = -1;
      std::mbstate_t st{};
      for (size_t i = 0; i < text.size();) {
        wchar_t w;
        const size_t n = std::mbrtowc(&w, text.data() + i, text.size() - i, &st);
        ASSERT_GT(n, 0u);
        const int width = std::max(::wcwidth(w), 0);
        const bool blank =
            w == L' ' && !(begin >= 0 && i > 0 && static_cast<unsigned char>(text[i - 1]) >= 0x80);
        if (!blank && begin < 0) begin = cell;
        if (blank && begin >= 0) {
          values.push_back({begin, cell - 1});
          begin = -1;
        }
        cell += width;
        i += n;
      }
      if (begin >= 0) values.push_back({begin, cell - 1});
      // Date (2 values), sidereal time (3), then the eleven bodies; each body's
      // value fills its rule's dash run exactly.
      const bool helio = IsHeliocentric(set);
      ASSERT_EQ(values.size(), 16u) << text;
      for (int b = 0; b < 11; ++b) {
        const auto v = values[5 + b];
        if (helio && (b == 1 || b == 10)) {  // "Helio" inside the column
          EXPECT_TRUE(v.first >= runs[2 + b].first && v.second <= runs[2 + b].second) << text;
          continue;
        }
        EXPECT_EQ(v, runs[2 + b]) << "set " << static_cast<int>(set) << " body " << b + 1 << ": "
                                  << text;
      }
    }
    (void)units;
  }
}

TEST_F(Utf8Columns, TwoColumnAspectarianRightColumnStartsAtOneCell) {
  const AspectarianReport report = Aspectarian(JulianDayNumber(2009, 1, 1), 60);
  const HeaderInfo info{"Tropical ", "1/1/2009", "midnight", 2454832.5};
  const auto source = AspectarianLines(report, info, Coordinates::Geocentric);
  const auto lines = TwoColumnLines(source);
  const size_t half = (source.size() - 6) / 2;
  ASSERT_EQ(lines.size(), 6 + half);
  int checked = 0;
  for (size_t k = 4; k < lines.size(); ++k) {
    // The right column is the source line `half` further on (the heading itself for lines 4 and 5).
    const std::string& right = k < 6 ? source[k] : source[k + half];
    const std::string left = EncodeText(lines[k].substr(0, lines[k].size() - right.size()), style);
    EXPECT_EQ(Cells(left), 64) << lines[k];
    ++checked;
  }
  EXPECT_GT(checked, 100);
  // The cp1252 text keeps the program's own bytes; ASCII abbreviations pad
  // one-letter marks to two cells.
  EXPECT_EQ(EncodeText(lines[10], {}), lines[10]);
  const std::string north(1, static_cast<char>(152));
  EXPECT_EQ(EncodeText("01" + north + "02", {Encoding::Utf8, Symbols::Ascii, nullptr}), "01N 02");
  EXPECT_EQ(EncodeText(std::string(1, static_cast<char>(192)),
                       {Encoding::Cp1252, Symbols::Ascii, nullptr}),
            "Ari");
  EXPECT_EQ(
      EncodeText(std::string(1, static_cast<char>(157)), {Encoding::Utf8, Symbols::Ascii, nullptr}),
      "R");
}

}  // namespace
}  // namespace novastra
