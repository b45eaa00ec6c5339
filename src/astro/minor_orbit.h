#pragma once
// The orbits of the five asteroids: osculating elements, the force model and
// the numerical integration that the generator tool (tools/gen_minor.cpp)
// runs once to make MINOR.DAT. Nothing here runs when the program computes a
// position; it reads the Chebyshev series the integration left.
//
// Frame: heliocentric, ecliptic and mean equinox of J2000.0 (the ecliptic at
// 84381.448" from the ICRF equator, as JPL's elements are given); time TDB in
// Julian Days; AU and days.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "astro/chebyshev.h"
#include "astro/series.h"

namespace novastra {

// Osculating heliocentric elements (degrees, AU) at epochJD (TDB).
struct OrbitalElements {
  std::string name;
  double epochJD = 0;
  double e = 0, a = 0, i = 0, node = 0, peri = 0, meanAnomaly = 0;
};

// GM in AU^3/day^2, DE440 (Park et al. 2021, AJ 161:105; the constants of
// the de440 kernel's header): the Sun, the planets (Earth and Moon together,
// Mars and its moons, ...), and the asteroids MA0001 to MA0004.
namespace gm {
inline constexpr double kSun = 2.9591220828411956e-04;
inline constexpr double kMercury = 4.9125001948893182e-11;
inline constexpr double kVenus = 7.2434523326441187e-10;
inline constexpr double kEarthMoon = 8.9970113929473466e-10;  // GM3 + GMM
inline constexpr double kMars = 9.5495488297258119e-11;
inline constexpr double kJupiter = 2.8253458252257917e-07;
inline constexpr double kSaturn = 8.4597059933762903e-08;
inline constexpr double kUranus = 1.2920265649682399e-08;
inline constexpr double kNeptune = 1.5243573478851939e-08;
inline constexpr double kCeres = 1.3964518123081070e-13;
inline constexpr double kPallas = 3.0471146330043200e-14;
inline constexpr double kJuno = 4.2823439677995003e-15;
inline constexpr double kVesta = 3.8548000225257904e-14;
// A GM in km^3/s^2, the unit of JPL's mass files, in AU^3/day^2 (the IAU
// 2012 astronomical unit, days of 86400 s).
inline constexpr double FromKm3PerS2(double gm) {
  return gm * (86400.0 * 86400.0) / (149597870.7 * 149597870.7 * 149597870.7);
}
}  // namespace gm
// The speed of light in AU per day (IAU 2012 astronomical unit).
inline constexpr double kLightAuPerDay = 299792.458 * 86400.0 / 149597870.7;

// Heliocentric state from elements at their epoch, two-body with GM = kSun.
PositionVelocity StateFromElements(const OrbitalElements& el);
// Elements of a heliocentric state (two-body, GM = kSun), epoch jd.
OrbitalElements ElementsFromState(const PositionVelocity& s, double jd);
// Two-body propagation of the elements to jd.
PositionVelocity KeplerState(const OrbitalElements& el, double jd);

// Heliocentric positions of the eight planets (J2000.0 ecliptic), held as
// Chebyshev series over firstJD..lastJD so the force is cheap to evaluate:
// from the program's series (the Earth from its J2000.0 set, the others
// referred from the equinox of date to J2000.0 with the IAU 1976 precession)
// or from any other source, as the generator takes the complete VSOP87A.
class Perturbers {
 public:
  Perturbers(const SeriesTables& tables, double firstJD, double lastJD);
  // The same from any heliocentric J2000.0 ecliptic positions planet(index, jd).
  Perturbers(const std::function<Vector3(int, double)>& planet, double firstJD, double lastJD);
  // Heliocentric J2000.0 ecliptic position (AU) of planet index (0 Mercury ..
  // 7 Neptune, 2 the Earth) at jd (TDB), from its fit; and the fit's largest
  // gap (AU) from the series at the instants sampled when it was made.
  Vector3 Planet(int index, double jd) const { return planets_[index].Position(jd); }
  double FitError(int index) const { return fitError_[index]; }
  static constexpr int kCount = 8;

 private:
  std::array<ChebyshevTable, kCount> planets_;
  std::array<double, kCount> fitError_{};
};

// Heliocentric J2000.0 position of a planet (0 Mercury .. 7 Neptune) from the
// series tables at jd (TDB).
Vector3 SeriesPlanetJ2000(const SeriesTables& tables, int index, double jd);

// What the force on an asteroid holds.
struct ForceModel {
  bool planets = true;          // the eight planets, with their indirect terms
  bool relativity = true;       // the Sun's post-Newtonian term
  bool massiveAsteroids = true;  // Ceres, Pallas and Vesta on the others (and each other)
};

// A set of bodies integrated together; `masses` holds each body's GM as a
// perturber of the others (0 for a test body).
struct OrbitSystem {
  std::vector<double> masses;
  ForceModel force;
  const Perturbers* perturbers = nullptr;  // may be null when force.planets is false
};

// Integrates the states from jd0 to every instant of `times` (all on the same
// side of jd0, ordered away from it) with Boost.Odeint's controlled
// Runge-Kutta-Fehlberg 7(8) stepper; tolerance is its absolute and relative
// error bound per step. Returns, for each instant, the states of all bodies.
std::vector<std::vector<PositionVelocity>> IntegrateOrbits(const OrbitSystem& system,
                                                           const std::vector<PositionVelocity>& y0,
                                                           double jd0,
                                                           const std::vector<double>& times,
                                                           double tolerance = 1e-15);

// A perturbing asteroid: its elements and GM (AU^3/day^2).
struct MassiveBody {
  OrbitalElements elements;
  double gm = 0;
};

// The twelve further asteroids of JPL's SB441-N16 perturber set (7 Iris,
// 10 Hygiea, 15 Eunomia, 16 Psyche, 31 Euphrosyne, 52 Europa, 65 Cybele,
// 87 Sylvia, 88 Thisbe, 107 Camilla, 511 Davida, 704 Interamnia): SBDB
// elements at JD 2459800.5 and the masses of JPL's gm_Horizons.pck 4.0
// (data/reference/minor_perturbers.csv).
const std::array<MassiveBody, 12>& MainBeltPerturbers();

// The main belt as the generator integrates it: Ceres, Pallas, Juno and
// Vesta (in that order, each perturbing the others), then the twelve
// further perturbers, with `perturbers` for the planets.
OrbitSystem MainBeltSystem(const Perturbers* perturbers);
// Their states at the elements' epoch, in the same order.
std::vector<PositionVelocity> MainBeltStartStates();

// The supplied elements: JPL's Small-Body Database, epoch JD 2459800.5 TDB
// (data/reference/minor_elements.csv), in the order Chiron, Ceres, Pallas,
// Juno, Vesta.
const std::array<OrbitalElements, 5>& SuppliedElements();

}  // namespace novastra
