#pragma once
// Coefficient tables of the planetary series and of Pluto, read once from the
// ten series data files beside the program.
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace novastra {

// One term A*cos(B + C*tau): A in radians or AU, B in radians, C in radians per
// Julian millennium.
struct SeriesTerm {
  double A = 0, B = 0, C = 0;
};

// L, B and R series of one body; series k is multiplied by tau^k.
struct SeriesSet {
  std::vector<std::vector<SeriesTerm>> L, B, R;
};

// Multipliers of J, S, P, then longitude sin/cos, latitude sin/cos (1e-6 degree)
// and radius sin/cos (1e-7 AU), as published.
struct PlutoTerm {
  double j = 0, s = 0, p = 0;
  double lonSin = 0, lonCos = 0, latSin = 0, latCos = 0, radSin = 0, radCos = 0;
};

enum class SeriesBody { Mercury, Venus, Earth, EarthJ2000, Mars, Jupiter, Saturn, Uranus, Neptune };
inline constexpr int kSeriesBodyCount = 9;

struct SeriesTables {
  std::array<SeriesSet, kSeriesBodyCount> sets;
  std::array<PlutoTerm, 43> pluto{};
  const SeriesSet& operator[](SeriesBody b) const { return sets[static_cast<int>(b)]; }
};

// Why a data file could not be read: the kinds the user is told about.
enum class SeriesErrorKind { FileNotFound, InputPastEndOfFile, TypeMismatch };

struct SeriesError {
  std::string file;  // e.g. "MARS.DAT"
  SeriesErrorKind kind;
  std::string Message() const;  // e.g. "MARS.DAT: input past end of file"
};

// Reads the ten files from `folder` into `tables`. Returns the first failure, if any.
std::optional<SeriesError> LoadSeriesTables(const std::filesystem::path& folder, SeriesTables& tables);

}  // namespace novastra
