#include "astro/vsop87a.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "astro/planets.h"

namespace novastra {

// Reads a VSOP87A file: header lines ("VSOP87 VERSION A1 ... VARIABLE n
// (XYZ) *T**a  N TERMS ...") each followed by its N term lines, whose last
// three numbers are A (AU), B (radians) and C (radians per Julian millennium).
// Given:  file   path of the file
// Returns:       nothing when read, else the reason
// Source: the file layout of the VSOP87 distribution (IMCCE, vsop87.doc).
std::optional<std::string> LoadVsop87a(const std::filesystem::path& file, Vsop87aBody& body) {
  std::ifstream in(file);
  if (!in) return file.string() + ": cannot be opened";
  body = {};
  for (auto& coordinate : body.terms) coordinate.resize(6);
  std::string line;
  int variable = -1, power = -1;
  size_t expected = 0, lineNo = 0;
  auto where = [&] { return file.string() + ":" + std::to_string(lineNo) + ": "; };
  auto complete = [&]() -> std::optional<std::string> {
    if (variable >= 0 && body.terms[variable][power].size() != expected)
      return where() + "the series before holds " +
             std::to_string(body.terms[variable][power].size()) + " terms, its header says " +
             std::to_string(expected);
    return std::nullopt;
  };
  while (std::getline(in, line)) {
    ++lineNo;
    if (line.find_first_not_of(" \r") == std::string::npos) continue;
    if (line.find("VSOP87 VERSION A") != std::string::npos) {
      if (auto bad = complete()) return bad;
      const size_t v = line.find("VARIABLE"), t = line.find("*T**"), n = line.find("TERMS");
      if (v == std::string::npos || t == std::string::npos || n == std::string::npos)
        return where() + "a malformed header";
      variable = std::atoi(line.c_str() + v + 8) - 1;
      power = std::atoi(line.c_str() + t + 4);
      expected = static_cast<size_t>(std::atol(line.c_str() + t + 5));
      if (variable < 0 || variable > 2 || power < 0 || power > 5 || expected == 0)
        return where() + "a header out of range";
      continue;
    }
    if (variable < 0) return where() + "a term before any header";
    // The index fields before them may run together ("5-10"): only the
    // last three words are read, and those must be numbers.
    std::istringstream words(line);
    std::vector<std::string> w;
    for (std::string word; words >> word;) w.push_back(word);
    if (w.size() < 5) return where() + "a term line too short";
    double abc[3];
    for (int k = 0; k < 3; ++k) {
      const std::string& word = w[w.size() - 3 + k];
      char* end = nullptr;
      abc[k] = std::strtod(word.c_str(), &end);
      if (end == word.c_str() || *end != '\0') return where() + "not a number: " + word;
    }
    body.terms[variable][power].push_back({abc[0], abc[1], abc[2]});
  }
  if (variable < 0) return file.string() + ": no series";
  return complete();
}

// Sums the series: each coordinate is sum over a of T^a sum A cos(B + C T),
// T in Julian millennia of TDB from J2000.0.
// Given:  body   the loaded terms
//         jd     Julian Day, TDB
// Returns:       heliocentric x, y, z, AU, ecliptic and equinox J2000.0
// Source: Bretagnon and Francou (1988), VSOP87 version A.
Vector3 Vsop87aPosition(const Vsop87aBody& body, double jd) {
  const double T = (jd - 2451545.0) / 365250.0;
  return {PlainPowerSeriesSum(body.terms[0], T), PlainPowerSeriesSum(body.terms[1], T),
          PlainPowerSeriesSum(body.terms[2], T)};
}

// Reads the perturbing planets' files, stopping at the first that fails.
// Given:  folder   where the files are (data/reference/vsop87a)
// Returns:         nothing when all are read, else the first reason
std::optional<std::string> LoadVsop87aPerturbers(const std::filesystem::path& folder,
                                                 std::array<Vsop87aBody, 8>& bodies) {
  for (size_t p = 0; p < bodies.size(); ++p)
    if (auto bad = LoadVsop87a(folder / kVsop87aPerturberFiles[p], bodies[p])) return bad;
  return std::nullopt;
}

}  // namespace novastra
