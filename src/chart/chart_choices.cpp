#include "chart/chart_choices.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

#include "reports/minor_events.h"

namespace novastra::chart {

namespace {

std::string Trim(const std::string& s) {
  const auto b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  return s;
}

// Every item split at commas, blanks trimmed, empty pieces dropped.
std::vector<std::string> Pieces(const std::vector<std::string>& items) {
  std::vector<std::string> out;
  for (const std::string& item : items) {
    size_t start = 0;
    while (start <= item.size()) {
      const size_t comma = std::min(item.find(',', start), item.size());
      std::string piece = Trim(item.substr(start, comma - start));
      if (!piece.empty()) out.push_back(piece);
      start = comma + 1;
    }
  }
  return out;
}

}  // namespace

std::optional<int> ParseDial(const std::string& text, std::string& why) {
  const std::string t = Trim(text);
  for (int dial : {360, 90, 45, 30})
    if (t == std::to_string(dial)) return dial;
  why = "the dial must be 360, 90, 45 or 30";
  return std::nullopt;
}

std::optional<std::vector<int>> ParseBodies(const std::vector<std::string>& items,
                                            std::string& why) {
  static const char* const names[] = {"",        "sun",    "moon",   "mercury", "venus", "mars",
                                      "jupiter", "saturn", "uranus", "neptune", "pluto", "node"};
  std::vector<int> out;
  for (const std::string& piece : Pieces(items)) {
    const std::string name = Lower(piece);
    std::vector<int> found;
    if (name == "all") {
      for (int b = 1; b <= 11; ++b) found.push_back(b);
    } else if (name == "north node" || name == "northnode" || name == "north-node") {
      found.push_back(11);
    } else {
      for (int b = 1; b <= 11; ++b)
        if (name == names[b]) found.push_back(b);
      // Chiron, the asteroids and the two Liliths, as the other commands name them.
      MinorChoice minor{};
      std::string ignored;
      if (found.empty() && ParseMinorBodies(name, minor, ignored))
        for (int k = 0; k < kMinorBodyCount; ++k)
          if (minor[static_cast<size_t>(k)]) found.push_back(kFirstMinorEventBody + k);
    }
    if (found.empty()) {
      why = "unknown body \"" + piece +
            "\" (sun, moon, mercury, venus, mars, jupiter, saturn, uranus, neptune, pluto, node, "
            "all, or chiron, ceres, pallas, juno, vesta, lilith, osc-lilith)";
      return std::nullopt;
    }
    for (int b : found)
      if (std::find(out.begin(), out.end(), b) == out.end()) out.push_back(b);
  }
  if (out.empty()) {
    why = "no body named";
    return std::nullopt;
  }
  return out;
}

std::optional<std::vector<double>> ParsePoints(const std::vector<std::string>& items,
                                               std::string& why) {
  std::vector<double> out;
  for (const std::string& piece : Pieces(items)) {
    double v = 0;
    const char* end = piece.data() + piece.size();
    const auto [ptr, ec] = std::from_chars(piece.data(), end, v);
    if (ec != std::errc() || ptr != end || !std::isfinite(v)) {
      why = "\"" + piece + "\" is not a number of degrees";
      return std::nullopt;
    }
    if (v < 0 || v >= 360) {
      why = "\"" + piece + "\": degrees must be 0 or more and less than 360";
      return std::nullopt;
    }
    out.push_back(v);
  }
  return out;
}

std::vector<int> DefaultBodies() { return {1, 3, 4, 5, 6, 7, 8, 9, 10, 11}; }

}  // namespace novastra::chart
