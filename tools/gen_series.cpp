// gen_series: writes the ten series data files from the published coefficient
// tables.
//
//   gen_series <reference_dir> <out_dir>
//
// Reads <reference_dir>/series/<BODY>.csv, series/EARTH_J2000_CHANGED.csv and
// pluto_terms.csv. Each data file holds all L series, then B, then R, one term
// "A,B,C" per line with CRLF line ends. A is the published amplitude times 1e-8,
// written by moving the decimal point in the published text so the file holds
// the exact decimal value; phase and frequency are copied as published. Term
// counts are checked against the loader's fixed table.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "../src/astro/series.h"

namespace fs = std::filesystem;
using novastra::kSeriesLayouts;

namespace {

struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Row {
  int term = 0;
  std::string a, b, c;  // texts as published
};

// series name ("L0", "B3", ...) -> rows in published order
using SeriesMap = std::map<std::string, std::vector<Row>>;

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

std::vector<std::string> SplitCommas(const std::string& line) {
  std::vector<std::string> out;
  std::string cell;
  std::istringstream in(line);
  while (std::getline(in, cell, ',')) out.push_back(Trim(cell));
  if (!line.empty() && line.back() == ',') out.push_back("");
  return out;
}

// Plain decimal text: optional sign, digits, optional point and digits.
bool IsDecimal(const std::string& s) {
  size_t i = 0;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
  bool digits = false, point = false;
  for (; i < s.size(); ++i) {
    if (std::isdigit(static_cast<unsigned char>(s[i]))) {
      digits = true;
    } else if (s[i] == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digits;
}

bool IsInteger(const std::string& s) { return IsDecimal(s) && s.find('.') == std::string::npos; }

// The decimal text of value x 1e-8, exact: the point moves eight places left.
std::string ScaleBy1e8(const std::string& text) {
  std::string sign;
  std::string s = text;
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
    if (s[0] == '-') sign = "-";
    s.erase(0, 1);
  }
  size_t point = s.find('.');
  std::string intPart = point == std::string::npos ? s : s.substr(0, point);
  std::string fracPart = point == std::string::npos ? "" : s.substr(point + 1);
  std::string digits = intPart + fracPart;
  long pos = static_cast<long>(intPart.size()) - 8;  // new position of the point
  if (pos <= 0) {
    digits.insert(0, static_cast<size_t>(-pos) + 1, '0');
    pos = 1;
  }
  std::string whole = digits.substr(0, static_cast<size_t>(pos));
  std::string frac = digits.substr(static_cast<size_t>(pos));
  whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size() - 1));
  while (!frac.empty() && frac.back() == '0') frac.pop_back();
  std::string out = whole;
  if (!frac.empty()) out += "." + frac;
  if (out != "0") out = sign + out;
  return out;
}

std::vector<std::string> ReadLines(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Failure(path.string() + ": cannot open file");
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!Trim(line).empty()) lines.push_back(line);
  }
  return lines;
}

SeriesMap ReadSeriesCsv(const fs::path& path) {
  std::vector<std::string> lines = ReadLines(path);
  if (lines.empty()) throw Failure(path.string() + ": file is empty");
  SeriesMap map;
  for (size_t n = 1; n < lines.size(); ++n) {
    std::string where = path.string() + " line " + std::to_string(n + 1) + ": ";
    std::vector<std::string> cells = SplitCommas(lines[n]);
    if (cells.size() != 5)
      throw Failure(where + "expected 5 values, found " + std::to_string(cells.size()));
    const std::string& name = cells[0];
    if (name.size() != 2 || std::string("LBR").find(name[0]) == std::string::npos ||
        name[1] < '0' || name[1] > '5')
      throw Failure(where + "unknown series \"" + name + "\"");
    if (!IsInteger(cells[1]))
      throw Failure(where + "term number \"" + cells[1] + "\" is not a whole number");
    for (int k = 2; k < 5; ++k)
      if (!IsDecimal(cells[k]))
        throw Failure(where + "\"" + cells[k] + "\" is not a decimal number");
    Row row{std::stoi(cells[1]), cells[2], cells[3], cells[4]};
    std::vector<Row>& rows = map[name];
    if (row.term != static_cast<int>(rows.size()) + 1)
      throw Failure(where + "term " + cells[1] + " of " + name + " is out of order");
    rows.push_back(row);
  }
  return map;
}

// Appends the series of one coordinate ('L', 'B' or 'R') with the fixed counts.
void AppendCoordinate(std::string& out, const std::string& file, char coord,
                      const std::array<int, novastra::kMaxSeriesPerCoordinate>& counts,
                      const SeriesMap& primary, const SeriesMap* changed, int firstChanged) {
  for (int k = 0; k < novastra::kMaxSeriesPerCoordinate; ++k) {
    std::string name = std::string(1, coord) + std::to_string(k);
    const SeriesMap& from = (changed && k >= firstChanged) ? *changed : primary;
    auto it = from.find(name);
    int have = it == from.end() ? 0 : static_cast<int>(it->second.size());
    if (counts[k] == 0) continue;  // extra series are refused by the caller
    if (have != counts[k])
      throw Failure(file + ": series " + name + " has " + std::to_string(have) +
                    " terms, expected " + std::to_string(counts[k]));
    for (const Row& r : it->second) out += ScaleBy1e8(r.a) + "," + r.b + "," + r.c + "\r\n";
  }
}

std::string BuildPluto(const fs::path& path) {
  std::vector<std::string> lines = ReadLines(path);
  int rows = lines.empty() ? 0 : static_cast<int>(lines.size()) - 1;
  if (rows != novastra::kPlutoRows)
    throw Failure(path.string() + ": has " + std::to_string(rows) + " rows, expected " +
                  std::to_string(novastra::kPlutoRows));
  std::string out;
  for (int n = 1; n <= rows; ++n) {
    std::string where = path.string() + " line " + std::to_string(n + 1) + ": ";
    std::vector<std::string> cells = SplitCommas(lines[n]);
    if (cells.size() != 1 + novastra::kPlutoColumns)
      throw Failure(where + "expected " + std::to_string(1 + novastra::kPlutoColumns) +
                    " values, found " + std::to_string(cells.size()));
    if (cells[0] != std::to_string(n))
      throw Failure(where + "row number \"" + cells[0] + "\" out of order");
    for (int k = 1; k <= novastra::kPlutoColumns; ++k) {
      if (!IsInteger(cells[k])) throw Failure(where + "\"" + cells[k] + "\" is not a whole number");
      out += cells[k];
      out += k == novastra::kPlutoColumns ? "\r\n" : ",";
    }
  }
  return out;
}

// Writes beside the target and renames, so a failed run leaves no half file.
void WriteFile(const fs::path& target, const std::string& text) {
  fs::path tmp = target;
  tmp += ".tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    if (!out) throw Failure(tmp.string() + ": cannot create file");
    out << text;
    out.flush();
    if (!out) {
      std::error_code ec;
      fs::remove(tmp, ec);
      throw Failure(tmp.string() + ": write failed");
    }
  }
  std::error_code ec;
  fs::rename(tmp, target, ec);
  if (ec) {
    fs::remove(tmp, ec);
    throw Failure(target.string() + ": cannot replace file");
  }
}

int Run(const fs::path& refDir, const fs::path& outDir) {
  const char* csvNames[] = {"MERCURY", "VENUS",  "EARTH",  nullptr,  "MARS",
                            "JUPITER", "SATURN", "URANUS", "NEPTUNE"};
  std::map<std::string, SeriesMap> csv;
  for (const char* name : csvNames)
    if (name) csv[name] = ReadSeriesCsv(refDir / "series" / (std::string(name) + ".csv"));
  SeriesMap earthJ2000 = ReadSeriesCsv(refDir / "series" / "EARTH_J2000_CHANGED.csv");

  // Build everything first, then write: a bad table writes nothing.
  std::vector<std::pair<std::string, std::string>> files;
  for (size_t i = 0; i < kSeriesLayouts.size(); ++i) {
    const auto& layout = kSeriesLayouts[i];
    std::string out;
    if (csvNames[i]) {
      const SeriesMap& m = csv[csvNames[i]];
      for (const auto& [name, rows] : m) {
        int k = name[1] - '0';
        const auto& counts = name[0] == 'L' ? layout.L : name[0] == 'B' ? layout.B : layout.R;
        if (counts[k] == 0)
          throw Failure(std::string(layout.file) + ": series " + name +
                        " is not in the fixed table");
      }
      AppendCoordinate(out, layout.file, 'L', layout.L, m, nullptr, 0);
      AppendCoordinate(out, layout.file, 'B', layout.B, m, nullptr, 0);
      AppendCoordinate(out, layout.file, 'R', layout.R, m, nullptr, 0);
    } else {
      // J2000.0 Earth: L0 and B0 and all R from EARTH.csv, L1.. and B1.. changed.
      const SeriesMap& earth = csv["EARTH"];
      AppendCoordinate(out, layout.file, 'L', layout.L, earth, &earthJ2000, 1);
      AppendCoordinate(out, layout.file, 'B', layout.B, earth, &earthJ2000, 1);
      AppendCoordinate(out, layout.file, 'R', layout.R, earth, nullptr, 0);
      for (const auto& [name, rows] : earthJ2000)
        if (name[0] == 'R' || name[1] == '0')
          throw Failure(std::string(layout.file) +
                        ": EARTH_J2000_CHANGED.csv holds unexpected series " + name);
    }
    files.emplace_back(layout.file, out);
  }
  files.emplace_back(novastra::kPlutoFile, BuildPluto(refDir / "pluto_terms.csv"));

  std::error_code ec;
  fs::create_directories(outDir, ec);
  if (!fs::is_directory(outDir)) throw Failure(outDir.string() + ": cannot create folder");
  for (const auto& [name, text] : files) WriteFile(outDir / name, text);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: gen_series <reference_dir> <out_dir>\n";
    return 2;
  }
  try {
    return Run(argv[1], argv[2]);
  } catch (const Failure& e) {
    std::cerr << "gen_series: " << e.what() << "\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "gen_series: " << e.what() << "\n";
    return 1;
  }
}
