#pragma once
// VSOP87A (Bretagnon and Francou, A&A 202, 309, 1988): the planets'
// heliocentric rectangular coordinates in the ecliptic and equinox of
// J2000.0, read from the published files (data/reference/vsop87a/). Only the
// minor-body generator and its tests read them: the complete series move the
// asteroids' perturbers, which the program's abridged series would misplace
// by up to 2e-4 AU.
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "astro/chebyshev.h"
#include "astro/series.h"

namespace novastra {

// The terms of one body: [coordinate X, Y, Z][power of T 0..5].
struct Vsop87aBody {
  std::array<std::vector<std::vector<SeriesTerm>>, 3> terms;
};

// Reads one VSOP87A file into `body`; returns why it cannot (missing,
// a malformed header or term line, a count that differs from its header).
std::optional<std::string> LoadVsop87a(const std::filesystem::path& file, Vsop87aBody& body);

// Heliocentric J2000.0 ecliptic position (AU) at jd (TDB).
Vector3 Vsop87aPosition(const Vsop87aBody& body, double jd);

// The files of the eight perturbing planets in Perturbers' order (Mercury ..
// Neptune, the Earth-Moon barycentre third).
inline constexpr std::array<const char*, 8> kVsop87aPerturberFiles{
    "VSOP87A.mer", "VSOP87A.ven", "VSOP87A.emb", "VSOP87A.mar",
    "VSOP87A.jup", "VSOP87A.sat", "VSOP87A.ura", "VSOP87A.nep"};

// Reads the eight files of kVsop87aPerturberFiles from `folder`.
std::optional<std::string> LoadVsop87aPerturbers(const std::filesystem::path& folder,
                                                 std::array<Vsop87aBody, 8>& bodies);

}  // namespace novastra
