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
// The terms of one coordinate, all its series, laid out for vector
// evaluation: A, B and C in separate arrays, each series padded with zero
// terms to a multiple of four, and the power of tau of each block of four.
struct SeriesLanes {
  std::vector<double> A, B, C;
  std::vector<int> power;
};
SeriesLanes MakeSeriesLanes(const std::vector<std::vector<SeriesTerm>>& series);

struct SeriesSet {
  std::vector<std::vector<SeriesTerm>> L, B, R;
  // The same terms for the fast path; filled by LoadSeriesTables (empty when
  // a set is built by hand, which then takes the plain path).
  SeriesLanes laneL, laneB, laneR;
};

// Multipliers of J, S, P, then longitude sin/cos, latitude sin/cos (1e-6 degree)
// and radius sin/cos (1e-7 AU), as Meeus, Astronomical Algorithms 2nd ed.,
// Table 37.A gives them.
struct PlutoTerm {
  double j = 0, s = 0, p = 0;
  double lonSin = 0, lonCos = 0, latSin = 0, latCos = 0, radSin = 0, radCos = 0;
};

enum class SeriesBody { Mercury, Venus, Earth, EarthJ2000, Mars, Jupiter, Saturn, Uranus, Neptune };
inline constexpr int kSeriesBodyCount = 9;

// Terms per series of one data file, in reading order; 0 ends the list of a
// coordinate. The counts are fixed here, not by the files.
inline constexpr int kMaxSeriesPerCoordinate = 6;
struct SeriesFileLayout {
  const char* file;
  std::array<int, kMaxSeriesPerCoordinate> L, B, R;
};

// Indexed by SeriesBody.
inline constexpr std::array<SeriesFileLayout, kSeriesBodyCount> kSeriesLayouts{{
    {"MERCURY.DAT", {38, 16, 10, 8, 6, 1}, {14, 11, 9, 7, 2}, {13, 8, 7, 5}},
    {"VENUS.DAT", {24, 12, 8, 3, 3, 1}, {9, 4, 4, 4, 1}, {12, 3, 3, 1, 1}},
    {"EARTH.DAT", {64, 34, 20, 7, 3, 1}, {5, 2}, {40, 10, 6, 2, 1}},
    {"EARTH_X.DAT", {64, 34, 20, 7, 2}, {5, 7, 4, 3, 2}, {40, 10, 6, 2, 1}},
    {"MARS.DAT", {69, 46, 33, 12, 8, 2}, {16, 9, 7, 4, 3}, {45, 27, 11, 6, 4}},
    {"JUPITER.DAT", {64, 61, 57, 39, 19, 5}, {26, 22, 14, 9, 6, 1}, {46, 43, 36, 28, 15, 7}},
    {"SATURN.DAT", {90, 79, 63, 48, 27, 12}, {34, 32, 29, 21, 12, 2}, {44, 38, 32, 28, 23, 18}},
    {"URANUS.DAT", {91, 57, 35, 18, 4}, {28, 20, 11, 4, 1}, {59, 35, 18, 10, 2}},
    {"NEPTUNE.DAT", {38, 18, 7, 4, 1}, {17, 13, 6, 4, 1}, {32, 15, 5, 1}},
}};

inline constexpr const char* kPlutoFile = "PLUTO.DAT";
inline constexpr int kPlutoRows = 43;
inline constexpr int kPlutoColumns = 9;

struct SeriesTables {
  std::array<SeriesSet, kSeriesBodyCount> sets;
  std::array<PlutoTerm, kPlutoRows> pluto{};
  const SeriesSet& operator[](SeriesBody b) const { return sets[static_cast<int>(b)]; }
  SeriesSet& operator[](SeriesBody b) { return sets[static_cast<int>(b)]; }
};

// Why a data file could not be read: the kinds the user is told about.
enum class SeriesErrorKind {
  FileNotFound,
  InputPastEndOfFile,
  TypeMismatch,
  Unreadable,
  OutOfRange
};

struct SeriesError {
  std::string file;  // e.g. "MARS.DAT"
  SeriesErrorKind kind;
  std::string detail{};         // what exactly, for Unreadable and OutOfRange
  std::string Message() const;  // e.g. "MARS.DAT: input past end of file"
};

// Reads the ten files from `folder` into `tables`, then checks them
// (CheckSeriesTables). Returns the first failure, if any.
std::optional<SeriesError> LoadSeriesTables(const std::filesystem::path& folder,
                                            SeriesTables& tables);

// The same from the ten files' texts, in reading order (kSeriesLayouts, then
// PLUTO.DAT).
std::optional<SeriesError> LoadSeriesTablesFromText(
    std::array<std::string, kSeriesBodyCount + 1> texts, SeriesTables& tables);

}  // namespace novastra
