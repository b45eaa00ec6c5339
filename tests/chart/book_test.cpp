// novastra-cli book: the PDF read back with poppler-utils (pdfinfo, pdffonts,
// pdftotext -layout) and compared with the program's own CSV of the same
// month (ephemeris and aspectarian), whose values are checked against
// outside references by the ephemeris and aspectarian tests.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "reports/events.h"
#include "text/charset.h"
#include "text/glyphs.h"

namespace {

namespace fs = std::filesystem;
using novastra::ToUtf8;

std::string Shell(const std::string& command, int* status = nullptr) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return out;
  std::array<char, 4096> buf{};
  size_t n = 0;
  while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0) out.append(buf.data(), n);
  const int rc = pclose(pipe);
  if (status) *status = WEXITSTATUS(rc);
  return out;
}

bool HavePoppler() { return std::system("command -v pdftotext >/dev/null 2>&1") == 0; }

const std::string kCli = NOVASTRA_CLI;
const std::string kZone = "America/New_York";

// The year's book, made once per test process. CTest runs each test in its own
// process and several at once, so the file is named after the process (a shared
// name let one test remove the book another was reading) and removed at exit.
struct BookFile {
  fs::path path = fs::temp_directory_path() /
                  ("novastra-book-test-2027-" + std::to_string(getpid()) + ".pdf");
  BookFile() {
    Shell(kCli + " book --from 2027-01 --to 2027-12 --tz " + kZone + " -o " + path.string() +
          " 2>/dev/null");
  }
  BookFile(const BookFile&) = delete;
  BookFile& operator=(const BookFile&) = delete;
  ~BookFile() {
    std::error_code ignored;
    fs::remove(path, ignored);
  }
};

const fs::path& Book() {
  static const BookFile file;
  return file.path;
}

std::vector<std::string> Split(const std::string& line, char sep) {
  std::vector<std::string> out;
  std::string cell;
  std::istringstream in(line);
  while (std::getline(in, cell, sep)) out.push_back(cell);
  return out;
}

std::vector<std::map<std::string, std::string>> Csv(const std::string& text) {
  std::vector<std::map<std::string, std::string>> rows;
  std::istringstream in(text);
  std::string line;
  std::vector<std::string> header;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto cells = Split(line, ',');
    if (header.empty()) {
      header = cells;
      continue;
    }
    std::map<std::string, std::string> row;
    for (size_t k = 0; k < header.size(); ++k) row[header[k]] = k < cells.size() ? cells[k] : "";
    rows.push_back(row);
  }
  return rows;
}

std::string Code(char c) { return ToUtf8(std::string(1, c)); }

std::string TwoDigits(long n) { return (n < 10 ? "0" : "") + std::to_string(n); }

// A longitude as the page prints it, from the CSV's decimal degrees: whole
// minutes rounded, 60 carried into the next degree and sign.
std::string Longitude(double x) {
  const long total = std::lround(x * 60.0) % (360L * 60);
  return TwoDigits(total % 1800 / 60) + Code(novastra::SignCode(static_cast<int>(total / 1800) + 1)) +
         TwoDigits(total % 60);
}

std::string Declination(double x) {
  const long total = std::lround(std::fabs(x) * 60.0);
  return TwoDigits(total / 60) +
         Code(x < 0 && total != 0 ? novastra::kSouthCode : novastra::kNorthCode) +
         TwoDigits(total % 60);
}

constexpr const char* kBodies[12] = {"",        "sun",    "moon",   "mercury", "venus",  "mars",
                                     "jupiter", "saturn", "uranus", "neptune", "pluto", "north_node"};

// The page's rows: the day's words, first the longitude table's, then the
// declination table's.
std::vector<std::vector<std::string>> GridRows(const std::string& page) {
  static const std::regex row("^(Mo|Tu|We|Th|Fr|Sa|Su) \\d\\d \\d\\d:\\d\\d:\\d\\d");
  std::vector<std::vector<std::string>> rows;
  std::istringstream in(page);
  std::string line;
  while (std::getline(in, line)) {
    if (!std::regex_search(line, row)) continue;
    std::istringstream words(line);
    std::vector<std::string> w;
    std::string word;
    while (w.size() < 14 && words >> word) w.push_back(word);
    rows.push_back(w);
  }
  return rows;
}

// The page's phenomena: each text of the form "dd hh:mm ..." standing apart
// (two spaces or more from its neighbours) on a line, with how often it occurs.
std::map<std::string, int> Phenomena(const std::string& page) {
  static const std::regex item("\\d\\d \\d\\d:\\d\\d [^ ](?:[^ ]| [^ ])*");
  std::map<std::string, int> found;
  std::istringstream in(page);
  std::string line;
  while (std::getline(in, line)) {
    for (std::sregex_iterator it(line.begin(), line.end(), item), end; it != end; ++it)
      if (!std::regex_match(it->str(), std::regex("\\d\\d \\d\\d:\\d\\d:\\d\\d.*")))
        ++found[it->str()];
  }
  return found;
}

std::string PageText(int page) {
  return Shell("pdftotext -layout -f " + std::to_string(page) + " -l " + std::to_string(page) + " " +
             Book().string() + " -");
}

// "dd hh:mm" of an ISO 8601 local instant, rounded to the minute as the page rounds.
std::string ClockOf(const std::string& iso) {
  // 2027-01-01T02:42:10-05:00
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  std::sscanf(iso.c_str(), "%d-%d-%dT%d:%d:%d", &y, &mo, &d, &h, &mi, &s);
  if (s >= 30) ++mi;  // the zone's clock rounds half up; a carry past the hour is rare and checked
  if (mi == 60) {
    mi = 0;
    ++h;
  }
  return TwoDigits(d) + " " + TwoDigits(h) + ":" + TwoDigits(mi);
}

int BodyIndex(const std::string& name) {
  static const char* names[12] = {"",        "Sun",    "Moon",   "Mercury", "Venus",  "Mars",
                                  "Jupiter", "Saturn", "Uranus", "Neptune", "Pluto", "North Node"};
  for (int k = 1; k <= 11; ++k)
    if (name == names[k]) return k;
  return 0;
}

int AspectIndex(const std::string& name) {
  static const char* names[6] = {"", "conjunction", "sextile", "square", "trine", "opposition"};
  for (int k = 1; k <= 5; ++k)
    if (name == names[k]) return k;
  return 0;
}

int SignIndex(const std::string& name) {
  static const char* names[13] = {"",      "Aries",   "Taurus",  "Gemini",      "Cancer",
                                  "Leo",   "Virgo",   "Libra",   "Scorpio",     "Sagittarius",
                                  "Capricorn", "Aquarius", "Pisces"};
  for (int k = 1; k <= 12; ++k)
    if (name == names[k]) return k;
  return 0;
}

std::string BodyGlyph(const std::string& name) {
  return Code(novastra::BodyCode(BodyIndex(name), novastra::Coordinates::Geocentric));
}

// What the page must list for one aspectarian CSV row; "" for a row the test
// does not know.
std::string ExpectedLine(const std::map<std::string, std::string>& r) {
  const std::string& kind = r.at("kind");
  std::string text = ClockOf(r.at("local_instant")) + " ";
  const std::string body = BodyGlyph(r.at("body"));
  if (kind == "aspect")
    return text + body + Code(novastra::AspectCode(AspectIndex(r.at("aspect")))) +
           BodyGlyph(r.at("other"));
  if (kind == "parallel" || kind == "contraparallel")
    return text + body +
           Code(static_cast<char>(kind == "parallel" ? novastra::kGlyphParallel
                                                     : novastra::kGlyphContraparallel)) +
           BodyGlyph(r.at("other"));
  if (kind == "ingress") return text + body + " enters " + Code(novastra::SignCode(SignIndex(r.at("sign"))));
  if (kind == "station")
    return text + body + " " +
           Code(novastra::StationCode(r.at("direction") == "retrograde"
                                          ? novastra::Direction::Retrograde
                                          : novastra::Direction::Direct)) +
           " " + Longitude(std::stod(r.at("longitude")));
  if (kind == "void_of_course") return text + body + " v/c to " + ClockOf(r.at("local_end"));
  if (kind == "lunation") {
    const std::map<std::string, std::string> phases = {{"new_moon", "New Moon"},
                                                       {"first_quarter", "First Qtr"},
                                                       {"full_moon", "Full Moon"},
                                                       {"last_quarter", "Last Qtr"}};
    return text + phases.at(r.at("phase")) + " " + Longitude(std::stod(r.at("longitude")));
  }
  return "";
}

// The eclipse's line: greatest eclipse on the zone's clock (the lunation's
// offset from UT), its type and kind.
std::string EclipseLine(const std::map<std::string, std::string>& r) {
  const std::string& local = r.at("local_instant");  // ...-05:00
  const int sign = local[local.size() - 6] == '-' ? -1 : 1;
  const int offset = sign * (std::stoi(local.substr(local.size() - 5, 2)) * 60 +
                             std::stoi(local.substr(local.size() - 2, 2)));
  std::tm t{};
  int s = 0;
  std::sscanf(r.at("eclipse_instant").c_str(), "%d-%d-%dT%d:%d:%d", &t.tm_year, &t.tm_mon,
              &t.tm_mday, &t.tm_hour, &t.tm_min, &s);
  t.tm_year -= 1900;
  t.tm_mon -= 1;
  const std::time_t at = timegm(&t) + (s >= 30 ? 60 : 0) + offset * 60L;
  std::tm l{};
  gmtime_r(&at, &l);
  std::string type = r.at("eclipse_type");
  type[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(type[0])));
  return TwoDigits(l.tm_mday) + " " + TwoDigits(l.tm_hour) + ":" + TwoDigits(l.tm_min) + " " +
         type + (r.at("phase") == "new_moon" ? " solar" : " lunar");
}

// One day of the ephemeris CSV against its rows of the two tables.
void CheckDay(const std::map<std::string, std::string>& c, const std::vector<std::string>& lon,
              const std::vector<std::string>& dec) {
  ASSERT_EQ(lon.size(), 14u);
  ASSERT_EQ(dec.size(), 14u);
  EXPECT_EQ(lon[1], c.at("date").substr(8, 2));
  const long st = std::lround(std::stod(c.at("sidereal_time_s"))) % 86400L;
  EXPECT_EQ(lon[2], TwoDigits(st / 3600) + ":" + TwoDigits(st / 60 % 60) + ":" + TwoDigits(st % 60));
  for (int b = 1; b <= 11; ++b) {
    const std::string name = kBodies[b];
    std::string expected = Longitude(std::stod(c.at(name + "_longitude")));
    if (c.at(name + "_retrograde") == "1") expected += Code(novastra::kRetrogradeCode);
    EXPECT_EQ(lon[2 + b], expected) << c.at("date") << " " << name;
    EXPECT_EQ(dec[2 + b], Declination(std::stod(c.at(name + "_declination"))))
        << c.at("date") << " " << name;
  }
}

TEST(Book, AYearIsATitlePageAndTwelveMonthsWithTheSymbolFontEmbedded) {
  if (!HavePoppler()) GTEST_SKIP() << "poppler-utils (pdfinfo, pdffonts, pdftotext) not installed";
  ASSERT_TRUE(fs::exists(Book()));
  EXPECT_NE(Shell("pdfinfo " + Book().string()).find("Pages:           13"), std::string::npos);
  // Landscape A4 (841.89 x 595.28 points), and Letter (792 x 612).
  EXPECT_NE(Shell("pdfinfo " + Book().string()).find("842 x 595 pts (A4)"), std::string::npos);
  const fs::path letter = fs::temp_directory_path() / "novastra-book-test-letter.pdf";
  Shell(kCli + " book --from 2100-12 --to 2100-12 --paper letter -o " + letter.string() +
        " 2>/dev/null");
  const std::string info = Shell("pdfinfo " + letter.string());
  EXPECT_NE(info.find("792 x 612 pts (letter)"), std::string::npos) << info;
  EXPECT_NE(info.find("Pages:           2"), std::string::npos) << info;
  fs::remove(letter);
  const std::string fonts = Shell("pdffonts " + Book().string());
  const std::regex embedded("\\nEPHEMERI +\\S+ +\\S+ +\\S+ +yes ");
  EXPECT_TRUE(std::regex_search(fonts, embedded)) << fonts;
}

// Every value of the grid: the longitudes and declinations of each day at 0h
// UT and the sidereal time, against `ephemeris --format csv` of the month.
TEST(Book, EveryPositionOfAMonthIsTheEphemerisCsvRoundedToTheMinute) {
  if (!HavePoppler()) GTEST_SKIP() << "poppler-utils not installed";
  for (const int month : {1, 8}) {
    SCOPED_TRACE("month " + std::to_string(month));
    char from[16];
    std::snprintf(from, sizeof from, "2027-%02d-01", month);
    const auto csv = Csv(Shell(kCli + " ephemeris --from " + from +
                             " --full-month --midnight --format csv"));
    const auto rows = GridRows(PageText(month + 1));
    ASSERT_EQ(rows.size(), 2 * csv.size());
    for (size_t d = 0; d < csv.size(); ++d) CheckDay(csv[d], rows[d], rows[csv.size() + d]);
  }
}

void ExpectNothingElse(const std::map<std::string, int>& listed) {
  for (const auto& [text, count] : listed)
    if (count > 0) ADD_FAILURE() << "listed but not in the CSV: " << text;
}

// Every event of the month's aspectarian CSV (in the zone) is listed once,
// and nothing else is.
TEST(Book, EveryEventOfAMonthIsListedOnce) {
  if (!HavePoppler()) GTEST_SKIP() << "poppler-utils not installed";
  for (const int month : {2, 8}) {  // February holds a solar eclipse, August a lunar one
    SCOPED_TRACE("month " + std::to_string(month));
    char from[16];
    std::snprintf(from, sizeof from, "2027-%02d-01", month);
    std::string command = kCli;
    command += std::string(" aspectarian --from ") + from + " --full-month --format csv --tz ";
    command += kZone;
    const auto csv = Csv(Shell(command));
    std::map<std::string, int> listed = Phenomena(PageText(month + 1));
    std::vector<std::string> eclipses;
    for (const auto& r : csv) {
      const std::string line = ExpectedLine(r);
      ASSERT_FALSE(line.empty()) << r.at("kind");
      EXPECT_EQ(listed[line], 1) << line;
      listed.erase(line);
      if (!r.at("eclipse_type").empty()) eclipses.push_back(EclipseLine(r));
    }
    // What is left: each eclipse at its greatest eclipse (its line goes on below).
    EXPECT_EQ(eclipses.size(), 2u);
    for (const std::string& e : eclipses) {
      EXPECT_EQ(listed[e], 1) << e;
      listed.erase(e);
    }
    ExpectNothingElse(listed);
  }
}

TEST(Book, BadInputIsRefusedWithStatusTwoAndWritesNothing) {
  const fs::path out = fs::temp_directory_path() / "novastra-book-refused.pdf";
  struct Case {
    std::string args, message;
  } cases[] = {
      {"--from 2027-13 --to 2027-12", "01 to 12"},
      {"--from 1799-12 --to 1800-02", "1800-01 to 2100-12"},
      {"--from 2100-12 --to 2101-01", "1800-01 to 2100-12"},
      {"--from 2027-05 --to 2027-04", "comes before"},
      {"--from 2027 --to 2027-04", "YYYY-MM"},
      {"--to 2027-04", "first month is required"},
      {"--from 2027-01 --to 2027-02 --tz Nowhere/Land", "Nowhere/Land"},
      {"--from 2027-01 --to 2027-02 --paper a3", "a4 or letter"},
      {"--from 2027-01 --to 2027-02 --sky bright", "design or apparent"},
      {"--from 2027-01 --to 2027-02 --zodiac lunar", "tropical, sidereal"},
      {"--from 2027-01 --to 2027-02 --frobnicate", "not an option"},
  };
  for (const Case& c : cases) {
    fs::remove(out);
    int status = 0;
    const std::string err =
        Shell(kCli + " book " + c.args + " -o " + out.string() + " 2>&1 >/dev/null", &status);
    EXPECT_EQ(status, 2) << c.args;
    EXPECT_NE(err.find(c.message), std::string::npos) << c.args << ": " << err;
    EXPECT_FALSE(fs::exists(out)) << c.args;
  }
  int status = 0;
  Shell(kCli + " book --from 2027-01 --to 2027-01 -o " + out.string() + ".svg 2>/dev/null", &status);
  EXPECT_EQ(status, 2);
}

TEST(Book, AnUnwritableTargetKeepsItsOldTextAndLeavesNoTemporaryFile) {
  const fs::path dir = fs::temp_directory_path() / "novastra-book-dir";
  fs::remove_all(dir);
  fs::create_directories(dir / "target.pdf");  // a folder where the file should go
  int status = 0;
  Shell(kCli + " book --from 2027-01 --to 2027-01 -o " + (dir / "target.pdf").string() +
          " 2>/dev/null",
      &status);
  EXPECT_EQ(status, 1);
  EXPECT_TRUE(fs::is_directory(dir / "target.pdf"));
  int files = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir)) ++files;
  EXPECT_EQ(files, 1);
  fs::remove_all(dir);
}

}  // namespace
