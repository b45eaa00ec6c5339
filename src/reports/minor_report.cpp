#include "reports/minor_report.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "astro/zodiac.h"

namespace novastra {

namespace {

constexpr std::array<const char*, kMinorBodyCount> kKeys{
    "chiron", "ceres", "pallas", "juno", "vesta", "lilith", "osc_lilith"};

std::string Trim(const std::string& s) {
  const size_t a = s.find_first_not_of(" \t");
  if (a == std::string::npos) return "";
  return s.substr(a, s.find_last_not_of(" \t") - a + 1);
}

std::string WordList() {
  std::string out;
  for (std::string k : kKeys) {
    std::replace(k.begin(), k.end(), '_', '-');  // typed as osc-lilith
    out += (out.empty() ? "" : ", ") + k;
  }
  return out + " or all";
}

}  // namespace

const char* MinorBodyKey(MinorBody body) { return kKeys[static_cast<int>(body)]; }

bool ParseMinorBodies(const std::string& list, MinorChoice& choice, std::string& why) {
  MinorChoice chosen{};
  std::istringstream in(list);
  bool any = false;
  for (std::string item; std::getline(in, item, ',');) {
    std::string word = Trim(item);
    std::transform(word.begin(), word.end(), word.begin(),
                   [](unsigned char c) { return c == '-' ? '_' : std::tolower(c); });
    if (word.empty()) continue;
    any = true;
    if (word == "all") {
      chosen.fill(true);
      continue;
    }
    const auto* k = std::find_if(kKeys.begin(), kKeys.end(),
                                 [&](const char* key) { return word == key; });
    if (k == kKeys.end()) {
      why = "unknown body \"" + Trim(item) + "\" (bodies: " + WordList() + ")";
      return false;
    }
    chosen[static_cast<size_t>(k - kKeys.begin())] = true;
  }
  if (!any) {
    why = "no body named (bodies: " + WordList() + ")";
    return false;
  }
  choice = chosen;
  return true;
}

std::string MinorBodyWords(const MinorChoice& choice) {
  std::string out;
  for (size_t k = 0; k < kKeys.size(); ++k) {
    if (!choice[k]) continue;
    std::string word = kKeys[k];
    std::replace(word.begin(), word.end(), '_', '-');
    out += (out.empty() ? "" : ",") + word;
  }
  return out;
}

std::vector<MinorRow> MinorRowsAt(const MinorTables& tables, const MinorChoice& choice,
                                  double jdUT, const EngineChoices& engine,
                                  const InstantSetup& instant) {
  std::vector<MinorRow> rows;
  std::array<std::optional<MinorHelioPlace>, kMinorBodyCount> helio;
  const auto places = ComputeMinorPlaces(tables, jdUT, engine.sky, choice, &helio);
  for (int i = 0; i < kMinorBodyCount; ++i) {
    if (!choice[i]) continue;
    if (!places[i]) return {};
    MinorRow row;
    row.body = kMinorBodies[i];
    row.geo = *places[i];
    row.geo.longitude = ShiftLongitude(row.geo.longitude, engine.zodiac, instant);
    row.helio = helio[i];
    row.retrograde = row.geo.longitudeSpeed < 0;
    rows.push_back(row);
  }
  return rows;
}

}  // namespace novastra
