// Reading, checking and writing MINOR.DAT.
#include "astro/minor_data.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string_view>
#include <vector>

#include "astro/file_read.h"
#include "astro/minor_orbit.h"
#include "astro/series_check.h"

namespace novastra {

namespace {

// A number as the file's headers and messages write it: printf "%.10g".
// Given:  x   any; Returns: e.g. "2378368.5"
std::string Number(double x) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.10g", x);
  return buf;
}

// The intervals of one series over the common span.
// Given:  l   the series' layout; Returns: kMinorSpanDays / l.intervalDays, whole
int IntervalCount(const MinorSeriesLayout& l) {
  return static_cast<int>(kMinorSpanDays / l.intervalDays);
}

// Splits a text into lines (CR, LF or CRLF), each trimmed of blanks and tabs,
// dropping blank ones.
// Given:  text   the file's text
// Returns:       views into text
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> out;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == '\n' || text[i] == '\r') {
      std::string_view line = text.substr(start, i - start);
      while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
      while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
      if (!line.empty()) out.push_back(line);
      start = i + 1;
    }
  }
  return out;
}

// Splits a line at its commas, each field trimmed of blanks.
// Given:  line   one line
// Returns:       views into line, empty fields kept
std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> out;
  size_t start = 0;
  for (size_t i = 0; i <= line.size(); ++i)
    if (i == line.size() || line[i] == ',') {
      std::string_view f = line.substr(start, i - start);
      while (!f.empty() && f.front() == ' ') f.remove_prefix(1);
      while (!f.empty() && f.back() == ' ') f.remove_suffix(1);
      out.push_back(f);
      start = i + 1;
    }
  return out;
}

// A decimal number in the file's form: sign, digits, point, exponent. No
// "inf", "nan", hex or leading plus.
// Given:  f       one field
// Returns:        true with value set, or false
bool ParseNumber(std::string_view f, double& value) {
  if (f.empty()) return false;
  for (char c : f)
    if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
      return false;
  if (f.front() == '+') return false;
  auto [end, ec] = std::from_chars(f.data(), f.data() + f.size(), value,
                                   std::chars_format::general);
  return ec == std::errc() && end == f.data() + f.size();
}

// An error of MINOR.DAT of one kind, with its detail.
// Given:  kind, detail   what went wrong; Returns: the error naming the file
SeriesError Bad(SeriesErrorKind kind, std::string detail = {}) {
  return SeriesError{kMinorFile, kind, std::move(detail)};
}

}  // namespace

// Reads MINOR.DAT from a folder and checks it (CheckMinorTables).
// Given:  folder   the program's data folder
// Returns:         nothing with tables filled, or the error (tables unchanged)
// Source: bookkeeping; no published source.
std::optional<SeriesError> LoadMinorTables(const std::filesystem::path& folder,
                                           MinorTables& tables) {
  FileRead file = ReadRegularFile(folder / kMinorFile);
  if (file.status == FileRead::Missing) return Bad(SeriesErrorKind::FileNotFound);
  if (!file.ok()) return Bad(SeriesErrorKind::Unreadable, file.reason);
  return LoadMinorTablesFromText(file.bytes, tables);
}

// Reads the series of MINOR.DAT from its text: for each body its header,
// which must match the fixed layout, then three lines (x, y, z) of
// coefficients per interval; then checks them.
// Given:  text     the file's text
// Returns:         nothing with tables filled, or the first error with its
//                  line (tables unchanged)
std::optional<SeriesError> LoadMinorTablesFromText(const std::string& text, MinorTables& tables) {
  const std::vector<std::string_view> lines = Lines(text);
  MinorTables loaded;
  size_t at = 0;
  for (int b = 0; b < kMinorSeriesCount; ++b) {
    const MinorSeriesLayout& l = kMinorLayouts[b];
    const int intervals = IntervalCount(l);
    if (at >= lines.size()) return Bad(SeriesErrorKind::InputPastEndOfFile);
    // The header must name this body and its layout exactly.
    const std::string header = std::string(l.name) + "," + Number(kMinorFirstJD) + "," +
                               Number(l.intervalDays) + "," + std::to_string(intervals) + "," +
                               std::to_string(l.coefficients);
    if (lines[at] != header)
      return Bad(SeriesErrorKind::TypeMismatch, "line " + std::to_string(at + 1) + " should read \"" +
                                                    header + "\"");
    ++at;
    ChebyshevTable& t = loaded.series[b];
    t.firstJD = kMinorFirstJD;
    t.intervalDays = l.intervalDays;
    t.intervals = intervals;
    t.coefficients = l.coefficients;
    t.c.resize(static_cast<size_t>(intervals) * 3 * l.coefficients);
    for (int row = 0; row < 3 * intervals; ++row, ++at) {
      if (at >= lines.size()) return Bad(SeriesErrorKind::InputPastEndOfFile);
      const std::vector<std::string_view> f = Fields(lines[at]);
      if (static_cast<int>(f.size()) != l.coefficients)
        return Bad(SeriesErrorKind::TypeMismatch, "line " + std::to_string(at + 1) + " has " +
                                                      std::to_string(f.size()) + " values, not " +
                                                      std::to_string(l.coefficients));
      for (int k = 0; k < l.coefficients; ++k)
        if (!ParseNumber(f[k], t.c[static_cast<size_t>(row) * l.coefficients + k]))
          return Bad(SeriesErrorKind::TypeMismatch, "line " + std::to_string(at + 1));
    }
  }
  if (at != lines.size())
    return Bad(SeriesErrorKind::TypeMismatch,
               "line " + std::to_string(at + 1) + " follows the last series");
  if (auto bad = CheckMinorTables(loaded)) return Bad(SeriesErrorKind::OutOfRange, *bad);
  tables = std::move(loaded);
  return std::nullopt;
}

// The plausibility check of loaded series: layout, finite coefficients no
// larger than 25 AU, positions inside each orbit, intervals joining within
// 1e-8 AU and 2e-8 AU per day, the asteroids at the elements' epoch within
// 1e-9 AU of the elements, the Earth within 0.002 degree and 1e-4 of R of the
// reference positions.
// Given:  tables   the series
// Returns:         nothing, or what failed
// Source: the elements of JPL's Small-Body Database (SuppliedElements); the
//         Earth's references of the series check.
std::optional<std::string> CheckMinorTables(const MinorTables& tables) {
  // Largest coefficient any of the orbits can need (Chiron's aphelion is
  // under 19 AU), and the largest jump allowed where two intervals meet: the
  // fits join to about 1e-11 AU as written, their rates to some 1e-9 AU a day.
  constexpr double kMaxCoefficient = 25;
  constexpr double kMaxJoinGap = 1e-8;        // AU
  constexpr double kMaxJoinSpeedGap = 2e-8;  // AU per day
  for (int b = 0; b < kMinorSeriesCount; ++b) {
    const MinorSeriesLayout& l = kMinorLayouts[b];
    const ChebyshevTable& t = tables.series[b];
    const std::string name = l.name;
    if (t.intervals != IntervalCount(l) || t.coefficients != l.coefficients ||
        t.c.size() != static_cast<size_t>(t.intervals) * 3 * t.coefficients)
      return name + ": layout differs from the fixed one";
    for (size_t k = 0; k < t.c.size(); ++k)
      if (!std::isfinite(t.c[k]) || std::fabs(t.c[k]) > kMaxCoefficient)
        return name + ": coefficient " + std::to_string(k % t.coefficients) + " of interval " +
               std::to_string(k / (3 * static_cast<size_t>(t.coefficients)) + 1) +
               " out of range (" + Number(t.c[k]) + ")";
    for (int i = 0; i < t.intervals; ++i) {
      const double start = t.firstJD + i * t.intervalDays;
      for (double f : {0.0, 0.5, 1.0}) {
        const double jd = start + f * t.intervalDays;
        const double r = Length(t.Position(jd));
        if (!(r >= l.rMin && r <= l.rMax))
          return name + ": radius " + Number(r) + " AU on JD " + Number(jd) +
                 " outside the orbit";
      }
      if (i + 1 < t.intervals) {
        // The end of interval i against the start of interval i + 1.
        const double jd = start + t.intervalDays;
        const PositionVelocity a = t.StateIn(i, 1.0);
        const PositionVelocity c = t.StateIn(i + 1, -1.0);
        if (Length(a.position - c.position) > kMaxJoinGap ||
            Length(a.velocity - c.velocity) > kMaxJoinSpeedGap)
          return name + ": intervals " + std::to_string(i + 1) + " and " + std::to_string(i + 2) +
                 " do not join on JD " + Number(jd);
      }
    }
  }
  // The asteroids at the elements' epoch: the integration's starting state.
  constexpr double kEpochTolerance = 1e-9;  // AU
  const auto& elements = SuppliedElements();
  for (int k = 0; k < 5; ++k) {
    const OrbitalElements& el = elements[k];
    const ChebyshevTable& t = tables.series[k + 1];
    const double gap = Length(t.Position(el.epochJD) - StateFromElements(el).position);
    if (!(gap <= kEpochTolerance))
      return el.name + ": position at the elements' epoch JD " + Number(el.epochJD) + " off by " +
             Number(gap) + " AU";
  }
  // The Earth against the reference positions of the series check.
  const ChebyshevTable& earth = tables[MinorSeries::Earth];
  constexpr double kRad = std::numbers::pi / 180.0;
  for (int i = 0; i < kEarthReferenceCount; ++i) {
    const EarthReference ref = EarthJ2000Reference(i);
    const Vector3 p = earth.Position(ref.jd);
    const double L = std::atan2(p.y, p.x) / kRad, B = std::atan2(p.z, std::hypot(p.x, p.y)) / kRad;
    const double dL = std::remainder(L - ref.L, 360.0);
    if (!(std::fabs(dL) <= 0.002 && std::fabs(B - ref.B) <= 0.002 &&
          std::fabs(Length(p) - ref.R) <= 1e-4 * ref.R))
      return "Earth: position on JD " + Number(ref.jd) + " differs from the reference";
  }
  return std::nullopt;
}

// The text of MINOR.DAT for a set of series (the generator's output), CRLF
// line ends, each coefficient to the significant digits that hold 1e-11 AU.
// Given:  tables   the series
// Returns:         the file's text
std::string WriteMinorTables(const MinorTables& tables) {
  std::string out;
  char buf[64];
  for (int b = 0; b < kMinorSeriesCount; ++b) {
    const MinorSeriesLayout& l = kMinorLayouts[b];
    const ChebyshevTable& t = tables.series[b];
    out += std::string(l.name) + "," + Number(kMinorFirstJD) + "," + Number(l.intervalDays) + "," +
           std::to_string(t.intervals) + "," + std::to_string(t.coefficients) + "\r\n";
    for (int row = 0; row < 3 * t.intervals; ++row) {
      for (int k = 0; k < t.coefficients; ++k) {
        const double c = t.c[static_cast<size_t>(row) * t.coefficients + k];
        // Significant digits enough for 1e-11 AU.
        const double mag = std::fabs(c);
        int digits = mag < 1e-11 ? 0 : static_cast<int>(std::floor(std::log10(mag))) + 11;
        if (digits <= 0) {
          std::snprintf(buf, sizeof buf, "0");
        } else {
          std::snprintf(buf, sizeof buf, "%.*e", std::min(digits, 17) - 1, c);
        }
        if (k) out += ',';
        out += buf;
      }
      out += "\r\n";
    }
  }
  return out;
}

}  // namespace novastra
