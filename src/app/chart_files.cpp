#include "app/chart_files.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <system_error>

namespace novastra {

bool IsChartName(const std::string& name) {
  if (name.empty() || name.size() > 64 || name[0] == '.') return false;
  return std::ranges::all_of(name, [](unsigned char c) {
    return std::isalnum(c) || c == ' ' || c == '-' || c == '_' || c == '.';
  });
}

std::filesystem::path ChartFilePath(const std::filesystem::path& folder, const std::string& name) {
  return folder / (name + kChartFileSuffix);
}

std::vector<std::string> SavedChartNames(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  const std::string_view suffix = kChartFileSuffix;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string file = it->path().filename().string();
    if (file.size() <= suffix.size() || !file.ends_with(suffix)) continue;
    const std::string name = file.substr(0, file.size() - suffix.size());
    if (IsChartName(name) && it->is_regular_file(ec)) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace novastra
