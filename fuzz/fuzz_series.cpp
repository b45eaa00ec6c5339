// The series data reader and the engine: one of the ten files is replaced by
// the input. Whatever the loader accepts must give finite positions.
#include <cmath>
#include <cstdint>

#include "astro/engine.h"
#include "astro/series.h"
#include "fuzz_support.h"

using namespace novastra;

namespace {
const std::array<std::string, kSeriesBodyCount + 1>& Supplied() {
  static const auto texts = [] {
    std::array<std::string, kSeriesBodyCount + 1> t;
    for (int i = 0; i < kSeriesBodyCount; ++i)
      t[i] = fuzz::ReadFile(std::filesystem::path(NOVASTRA_DATA_DIR) / kSeriesLayouts[i].file);
    t[kSeriesBodyCount] = fuzz::ReadFile(std::filesystem::path(NOVASTRA_DATA_DIR) / kPlutoFile);
    return t;
  }();
  return texts;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  auto texts = Supplied();
  // The first byte picks the file; the rest is its text.
  texts[data[0] % texts.size()] = std::string(reinterpret_cast<const char*>(data) + 1, size - 1);
  SeriesTables tables;
  if (LoadSeriesTablesFromText(std::move(texts), tables)) return 0;
  for (double jd : {2415020.5, 2451545.0, 2460000.5, 2488069.5}) {
    for (bool plain : {false, true}) {
      const InstantSetup instant = PrepareInstant(jd, 0.5, AyanamsaOption{});
      EngineChoices choices;
      choices.plain = plain;
      const BodyPositions p = ComputePositions(instant, tables, choices);
      for (int k = 1; k <= 11; ++k) {
        NOVASTRA_FUZZ_CHECK(std::isfinite(p.Longitude[k]) && std::isfinite(p.Latitude[k]));
        NOVASTRA_FUZZ_CHECK(std::isfinite(p.RightAscension[k]) && std::isfinite(p.Declination[k]));
      }
    }
  }
  return 0;
}
