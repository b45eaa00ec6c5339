#pragma once
// Reading the chart's choices from text: dates, dial, bodies and fixed points.
// Each reader returns the value, or nullopt with the reason in `why`.
#include <optional>
#include <string>
#include <vector>

namespace novastra::chart {

inline constexpr int kFirstYear = 1800;
inline constexpr int kLastYear = 2100;

struct ChartDate {
  int year = 0, month = 0, day = 0;
};

// "M/D/YYYY" or "YYYY-MM-DD", a real calendar date with the year in 1800..2100.
std::optional<ChartDate> ParseChartDate(const std::string& text, std::string& why);

// "360", "90", "45" or "30".
std::optional<int> ParseDial(const std::string& text, std::string& why);

// Body names, any case, separated by commas or given one by one: sun, moon,
// mercury .. pluto, node (or "north node"), or "all". Order kept, repeats dropped.
std::optional<std::vector<int>> ParseBodies(const std::vector<std::string>& items, std::string& why);

// Degrees 0 <= x < 360 separated by commas or given one by one, e.g. "15.5,120".
std::optional<std::vector<double>> ParsePoints(const std::vector<std::string>& items, std::string& why);

// The bodies drawn when none are chosen: the Sun and Mercury to Pluto and the
// node (the Moon, which crosses the whole chart every month, is left out).
std::vector<int> DefaultBodies();

}  // namespace novastra::chart
