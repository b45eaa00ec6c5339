#pragma once
// Charts kept in the application folder: NAME.chart.json, as the command
// line's chart --save writes them and transits --chart reads them.
#include <filesystem>
#include <string>
#include <vector>

namespace novastra {

inline constexpr const char* kChartFileSuffix = ".chart.json";

// A name that makes a file name of its own: 1 to 64 letters, digits, blanks,
// '-', '_' and '.', not starting with '.'.
bool IsChartName(const std::string& name);
std::filesystem::path ChartFilePath(const std::filesystem::path& folder, const std::string& name);
// The names of the chart files in the folder, sorted.
std::vector<std::string> SavedChartNames(const std::filesystem::path& folder);

}  // namespace novastra
