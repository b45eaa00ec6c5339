#pragma once
// The minor bodies' data file MINOR.DAT: Chebyshev series of the heliocentric
// J2000.0 ecliptic positions of the Earth and the five asteroids, 1799-2101,
// made once by tools/gen_minor from a numerical integration and read at start.
//
// Format (text, CRLF line ends): for each body in the order of
// kMinorLayouts, a header line "name,firstJD,intervalDays,intervals,
// coefficients", then for each interval three lines (x, y, z), each the
// coefficients of T0, T1, ... in AU separated by commas. The layout is fixed
// here; a file whose header differs is refused.
#include <array>
#include <filesystem>
#include <optional>
#include <string>

#include "astro/chebyshev.h"
#include "astro/series.h"

namespace novastra {

inline constexpr const char* kMinorFile = "MINOR.DAT";

// The series bodies of the file, in file order.
enum class MinorSeries { Earth, Chiron, Ceres, Pallas, Juno, Vesta };
inline constexpr int kMinorSeriesCount = 6;

struct MinorSeriesLayout {
  const char* name;
  double intervalDays;
  int coefficients;
  // Heliocentric distance (AU) a position may have: perihelion and aphelion
  // distances of the elements widened for the perturbations of 1800-2100.
  double rMin, rMax;
};

// Every series spans kMinorFirstJD .. kMinorFirstJD + kMinorSpanDays (TDB),
// 1799 Aug 25 to 2101 Apr 30, a margin for the apparent sky's Terrestrial
// Time and light-time around 1800-2100.
inline constexpr double kMinorFirstJD = 2378368.5;
inline constexpr double kMinorSpanDays = 110592;
inline constexpr std::array<MinorSeriesLayout, kMinorSeriesCount> kMinorLayouts{{
    {"Earth", 32, 20, 0.975, 1.025},
    {"Chiron", 64, 12, 7.5, 20.0},
    {"Ceres", 64, 12, 2.40, 3.10},
    {"Pallas", 64, 12, 1.95, 3.60},
    {"Juno", 64, 12, 1.80, 3.55},
    {"Vesta", 64, 12, 2.05, 2.70},
}};

struct MinorTables {
  std::array<ChebyshevTable, kMinorSeriesCount> series;
  const ChebyshevTable& operator[](MinorSeries b) const { return series[static_cast<int>(b)]; }
  ChebyshevTable& operator[](MinorSeries b) { return series[static_cast<int>(b)]; }
};

// Reads MINOR.DAT from `folder` and checks it (CheckMinorTables); on failure
// `tables` is left as it was and the error names the file.
std::optional<SeriesError> LoadMinorTables(const std::filesystem::path& folder,
                                           MinorTables& tables);
std::optional<SeriesError> LoadMinorTablesFromText(const std::string& text, MinorTables& tables);

// The plausibility check: every coefficient finite and of a sane size, every
// interval's positions inside the body's orbit, the pieces joining in position
// and velocity, the asteroids at the elements' epoch where the elements put
// them and the Earth where an independent ephemeris does. Returns what failed.
std::optional<std::string> CheckMinorTables(const MinorTables& tables);

// The file's text for `tables` (the generator's output); coefficients are
// written to 1e-11 AU.
std::string WriteMinorTables(const MinorTables& tables);

}  // namespace novastra
