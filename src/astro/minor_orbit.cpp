#include "astro/minor_orbit.h"

#include <erfa.h>
#include <erfam.h>

#include <boost/numeric/odeint.hpp>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "astro/frames.h"
#include "astro/planets.h"

namespace novastra {

namespace {

constexpr double kRad = std::numbers::pi / 180.0;

// The eccentric anomaly from the mean anomaly, by Newton's method on
// Kepler's equation E - e sin E = M (to 1e-15 radian, at most 50 steps).
// Given:  M   mean anomaly, radians, -pi..pi
//         e   eccentricity, 0 <= e < 1
// Returns:    radians
// Source: Meeus, Astronomical Algorithms 2nd ed., ch. 30.
double EccentricAnomaly(double M, double e) {
  double E = e < 0.8 ? M : std::numbers::pi;
  for (int k = 0; k < 50; ++k) {
    const double dE = (E - e * std::sin(E) - M) / (1 - e * std::cos(E));
    E -= dE;
    if (std::fabs(dE) < 1e-15) break;
  }
  return E;
}

// Perifocal to ecliptic coordinates: Rz(node) Rx(i) Rz(peri).
// Given:  px, py             perifocal coordinates (any unit)
//         node, incl, peri   radians
// Returns:                   ecliptic coordinates, the unit of px, py
// Source: the three rotations of the classical elements; no published
//         source named.
Vector3 ToEcliptic(double px, double py, double node, double incl, double peri) {
  const double cO = std::cos(node), sO = std::sin(node), ci = std::cos(incl), si = std::sin(incl),
               cw = std::cos(peri), sw = std::sin(peri);
  const double x1 = cw * px - sw * py, y1 = sw * px + cw * py;
  return {cO * x1 - sO * ci * y1, sO * x1 + cO * ci * y1, si * y1};
}

}  // namespace

// Two-body propagation of elements to an instant, GM = kSun.
// Given:  el   elements (degrees, AU), epoch TDB
//         jd   Julian Day, TDB
// Returns:     heliocentric position (AU) and velocity (AU per day), the
//              frame of the elements (ecliptic and equinox J2000.0)
// Source: Meeus, Astronomical Algorithms 2nd ed., ch. 30 and 33.
// Accuracy: within 2e-6 of the distance of PyEphem's two-body places of the
//           same elements; a Sun-only integration over 223 years meets it
//           within 1e-8 AU (tests).
PositionVelocity KeplerState(const OrbitalElements& el, double jd) {
  const double a = el.a, e = el.e;
  const double n = std::sqrt(gm::kSun / (a * a * a));  // radians per day
  const double M = el.meanAnomaly * kRad + n * (jd - el.epochJD);
  const double E = EccentricAnomaly(std::remainder(M, 2 * std::numbers::pi), e);
  const double cE = std::cos(E), sE = std::sin(E), b = a * std::sqrt(1 - e * e);
  const double rate = n / (1 - e * cE);  // dE/dt
  const double node = el.node * kRad, incl = el.i * kRad, peri = el.peri * kRad;
  return {ToEcliptic(a * (cE - e), b * sE, node, incl, peri),
          ToEcliptic(-a * sE * rate, b * cE * rate, node, incl, peri)};
}

// The heliocentric state at the elements' own epoch (KeplerState there).
// Given:  el   elements; Returns: AU and AU per day, J2000.0 ecliptic
PositionVelocity StateFromElements(const OrbitalElements& el) { return KeplerState(el, el.epochJD); }

// The osculating elements of a heliocentric state, two-body with GM = kSun.
// Given:  s    position (AU) and velocity (AU per day), J2000.0 ecliptic
//         jd   the state's Julian Day, TDB (the elements' epoch)
// Returns:     e, a (AU), i, node, peri, mean anomaly (degrees, [0, 360))
// Source: Vallado, Fundamentals of Astrodynamics and Applications, 4th ed.,
//         alg. 9 (RV2COE).
OrbitalElements ElementsFromState(const PositionVelocity& s, double jd) {
  // Vallado, Fundamentals of Astrodynamics and Applications, 4th ed., alg. 9.
  const Vector3 r = s.position, v = s.velocity;
  const double mu = gm::kSun, rr = Length(r), vv = Dot(v, v);
  const Vector3 h = Cross(r, v);
  const Vector3 ev = (1 / mu) * ((vv - mu / rr) * r - Dot(r, v) * v);
  OrbitalElements el;
  el.epochJD = jd;
  el.e = Length(ev);
  el.a = 1 / (2 / rr - vv / mu);
  el.i = std::atan2(std::hypot(h.x, h.y), h.z) / kRad;
  const double node = std::atan2(h.x, -h.y);
  el.node = std::fmod(node / kRad + 360.0, 360.0);
  // Argument of perihelion and true anomaly in the orbit plane.
  const Vector3 nHat{std::cos(node), std::sin(node), 0};
  const Vector3 hHat = (1 / Length(h)) * h;
  const Vector3 mHat = Cross(hHat, nHat);
  const double peri = std::atan2(Dot(ev, mHat), Dot(ev, nHat));
  const double u = std::atan2(Dot(r, mHat), Dot(r, nHat));
  el.peri = std::fmod(peri / kRad + 360.0, 360.0);
  const double nu = u - peri;
  const double E = 2 * std::atan(std::sqrt((1 - el.e) / (1 + el.e)) * std::tan(nu / 2));
  const double M = E - el.e * std::sin(E);
  el.meanAnomaly = std::fmod(M / kRad + 720.0, 360.0);
  return el;
}

// Heliocentric position of a planet from the program's series: the Earth
// from its J2000.0 set, the others referred from the ecliptic and equinox of
// date to J2000.0 by the IAU 1976 precession.
// Given:  tables   the loaded series
//         index    0 Mercury .. 7 Neptune (2 the Earth)
//         jd       Julian Day, TDB
// Returns:         AU, ecliptic and equinox J2000.0
// Source: VSOP87 as Meeus, Astronomical Algorithms 2nd ed., ch. 32 and App.
//         III; precession ERFA eraPmat76 (Lieske et al. 1977).
Vector3 SeriesPlanetJ2000(const SeriesTables& tables, int index, double jd) {
  static constexpr SeriesBody kSets[Perturbers::kCount] = {
      SeriesBody::Mercury, SeriesBody::Venus,  SeriesBody::EarthJ2000, SeriesBody::Mars,
      SeriesBody::Jupiter, SeriesBody::Saturn, SeriesBody::Uranus,     SeriesBody::Neptune};
  const double tau = (jd - 2451545.0) / 365250.0;
  const HelioPosition h = ComputeHelio(tables[kSets[index]], tau, nullptr);
  const double l = h.L * kRad, b = h.B * kRad;
  const Vector3 v{h.R * std::cos(b) * std::cos(l), h.R * std::cos(b) * std::sin(l),
                  h.R * std::sin(b)};
  if (index == 2) return v;
  return EclipticOfDateToJ2000(v, jd);
}

// The eight planets as Chebyshev series over firstJD..lastJD, intervals of
// about an eighth of the period or less (12 coefficients), so each fit
// holds to well under 1e-9 AU; the worst gap at sampled instants is kept.
// Given:  tables            the loaded series
//         firstJD, lastJD   the span, Julian Days (TDB)
// Source: FitChebyshev (Press et al., Numerical Recipes 3rd ed., sec. 5.8).
Perturbers::Perturbers(const SeriesTables& tables, double firstJD, double lastJD)
    : Perturbers([&](int p, double jd) { return SeriesPlanetJ2000(tables, p, jd); }, firstJD,
                 lastJD) {}

// The eight planets as Chebyshev series of any source of their heliocentric
// J2000.0 ecliptic positions, fitted as above.
Perturbers::Perturbers(const std::function<Vector3(int, double)>& planet, double firstJD,
                       double lastJD) {
  // Interval lengths (days) and coefficients per planet: about an eighth of the
  // period or less, so each fit holds to well under 1e-9 AU.
  static constexpr double kDays[kCount] = {8, 16, 8, 32, 64, 128, 256, 256};
  static constexpr int kCoefficients[kCount] = {12, 12, 12, 12, 12, 12, 12, 12};
  for (int p = 0; p < kCount; ++p) {
    const int n = static_cast<int>(std::ceil((lastJD - firstJD) / kDays[p]));
    auto f = [&](double jd) { return planet(p, jd); };
    planets_[p] = FitChebyshev(f, firstJD, kDays[p], n, kCoefficients[p]);
    double worst = 0;
    for (int i = 0; i < n; i += 7) {
      const double jd = firstJD + (i + 0.37) * kDays[p];
      worst = std::max(worst, Length(planets_[p].Position(jd) - f(jd)));
    }
    fitError_[p] = worst;
  }
}

namespace {

using State = std::vector<double>;

constexpr double kPlanetGM[Perturbers::kCount] = {gm::kMercury, gm::kVenus,  gm::kEarthMoon,
                                                  gm::kMars,    gm::kJupiter, gm::kSaturn,
                                                  gm::kUranus,  gm::kNeptune};

// Heliocentric equations of motion: the Sun's attraction (with the body's
// own mass), its post-Newtonian term for a test body (Moyer, JPL Technical
// Report 32-1527, eq. 4-26, one body), and each perturber's direct pull less
// its pull on the Sun (the indirect term).
struct Equations {
  const OrbitSystem& s;
  void operator()(const State& y, State& dydt, double jd) const {
    const size_t n = s.masses.size();
    Vector3 planet[Perturbers::kCount];
    if (s.force.planets)
      for (int p = 0; p < Perturbers::kCount; ++p) planet[p] = s.perturbers->Planet(p, jd);
    for (size_t b = 0; b < n; ++b) {
      const double* yb = &y[6 * b];
      const Vector3 r{yb[0], yb[1], yb[2]}, v{yb[3], yb[4], yb[5]};
      const double rr = Length(r), r3 = rr * rr * rr;
      Vector3 acc = (-(gm::kSun + s.masses[b]) / r3) * r;
      if (s.force.relativity) {
        const double c2 = kLightAuPerDay * kLightAuPerDay;
        acc = acc + (gm::kSun / (c2 * r3)) *
                        ((4 * gm::kSun / rr - Dot(v, v)) * r + (4 * Dot(r, v)) * v);
      }
      auto pull = [&](Vector3 rj, double mu) {
        const Vector3 d = rj - r;
        const double dd = Length(d), rj1 = Length(rj);
        acc = acc + mu * ((1 / (dd * dd * dd)) * d - (1 / (rj1 * rj1 * rj1)) * rj);
      };
      if (s.force.planets)
        for (int p = 0; p < Perturbers::kCount; ++p) pull(planet[p], kPlanetGM[p]);
      if (s.force.massiveAsteroids)
        for (size_t k = 0; k < n; ++k)
          if (k != b && s.masses[k] > 0) pull({y[6 * k], y[6 * k + 1], y[6 * k + 2]}, s.masses[k]);
      dydt[6 * b] = v.x, dydt[6 * b + 1] = v.y, dydt[6 * b + 2] = v.z;
      dydt[6 * b + 3] = acc.x, dydt[6 * b + 4] = acc.y, dydt[6 * b + 5] = acc.z;
    }
  }
};

}  // namespace

// Integrates the states of a set of bodies from jd0 to every instant of
// times (all on one side of jd0, ordered away from it) with Boost.Odeint's
// controlled Runge-Kutta-Fehlberg 7(8) stepper, steps of at most 4 days,
// each output a step end (no interpolation).
// Given:  system      force model, masses, perturbers
//         y0          states at jd0: AU, AU per day, J2000.0 ecliptic
//         jd0         Julian Day, TDB
//         times       Julian Days, TDB
//         tolerance   absolute and relative error bound per step
// Returns:            for each instant, the states of all bodies
// Source: Fehlberg, NASA TR R-287 (1968) through Boost.Odeint; the force:
//         heliocentric equations with the indirect terms, the Sun's
//         post-Newtonian term (Moyer, JPL TR 32-1527, eq. 4-26); GM of DE440.
// Accuracy: Ceres on 2020 January 1 within 2e-7 AU of JPL Horizons
//           (README, Accuracy).
std::vector<std::vector<PositionVelocity>> IntegrateOrbits(const OrbitSystem& system,
                                                           const std::vector<PositionVelocity>& y0,
                                                           double jd0,
                                                           const std::vector<double>& times,
                                                           double tolerance) {
  namespace odeint = boost::numeric::odeint;
  if (system.force.planets && system.perturbers == nullptr)
    throw std::invalid_argument("IntegrateOrbits: planets asked for without perturbers");
  const size_t n = y0.size();
  State y(6 * n);
  for (size_t b = 0; b < n; ++b) {
    const PositionVelocity& s = y0[b];
    const double v[6] = {s.position.x, s.position.y, s.position.z,
                         s.velocity.x, s.velocity.y, s.velocity.z};
    for (int k = 0; k < 6; ++k) y[6 * b + k] = v[k];
  }
  std::vector<std::vector<PositionVelocity>> out;
  out.reserve(times.size());
  if (times.empty()) return out;
  std::vector<double> t;
  t.reserve(times.size() + 1);
  t.push_back(jd0);
  t.insert(t.end(), times.begin(), times.end());
  const double dt = times.back() >= jd0 ? 1.0 : -1.0;
  // Runge-Kutta-Fehlberg 7(8) with step-size control; integrate_times steps
  // onto each instant, so every output is a step end, not an interpolation.
  // Steps of at most 4 days: the indirect terms of Mercury, Venus and the
  // Earth swing with their periods even where their direct pull is nothing,
  // and a longer step samples them too sparsely for the error estimate to
  // notice. (Odeint compares the limit with the step by their signs, so the
  // limit takes the direction of the integration.)
  constexpr double kMaxStepDays = 4;
  auto stepper = odeint::make_controlled(tolerance, tolerance, dt * kMaxStepDays,
                                         odeint::runge_kutta_fehlberg78<State>());
  bool first = true;
  auto observe = [&](const State& x, double) {
    if (first) {  // the starting instant itself
      first = false;
      return;
    }
    std::vector<PositionVelocity> states(n);
    for (size_t b = 0; b < n; ++b)
      states[b] = {{x[6 * b], x[6 * b + 1], x[6 * b + 2]},
                   {x[6 * b + 3], x[6 * b + 4], x[6 * b + 5]}};
    out.push_back(std::move(states));
  };
  odeint::integrate_times(stepper, Equations{system}, y, t.begin(), t.end(), dt, observe);
  return out;
}

// The supplied osculating elements of Chiron, Ceres, Pallas, Juno and Vesta.
// Returns: heliocentric ecliptic J2000.0 elements at JD 2459800.5 TDB
//          (2022 Aug 9.0): e, a (AU), i, node, peri, M (degrees)
// Source: JPL Small-Body Database, copied from
//         data/reference/minor_elements.csv.
const std::array<OrbitalElements, 5>& SuppliedElements() {
  // JPL Small-Body Database, osculating heliocentric ecliptic J2000.0
  // elements at JD 2459800.5 TDB (2022 Aug 9.0): e, a (AU), i, node, peri,
  // M (degrees); copied from data/reference/minor_elements.csv.
  static const std::array<OrbitalElements, 5> elements{{
      {"Chiron", 2459800.5, .3762722029776858, 13.71132261517404, 6.920809570003827,
       209.2992578800276, 339.5321887533527, 188.8420480920784},
      {"Ceres", 2459800.5, .07863575691875528, 2.766619044655007, 10.58679512153367,
       80.2664361119415, 73.53162522557164, 334.3271698971151},
      {"Pallas", 2459800.5, .229986445975499, 2.769463340774141, 34.92714126736759,
       172.9179047880803, 310.8426241527283, 315.0911121671828},
      {"Juno", 2459800.5, .256775023053242, 2.670422183695509, 12.992225866813,
       169.8459410858143, 247.8039388757044, 306.6224068399492},
      {"Vesta", 2459800.5, .08840189374260063, 2.361987199696643, 7.140782834645754,
       103.800809741353, 151.2577798334132, 61.19229900418838},
  }};
  return elements;
}

// The twelve further asteroids of JPL's SB441-N16 perturber model, with
// their elements and masses.
const std::array<MassiveBody, 12>& MainBeltPerturbers() {
  // JPL Small-Body Database elements at JD 2459800.5 TDB (e, a, i, node,
  // peri, M) and GM in km^3/s^2 from JPL's gm_Horizons.pck 4.0, the masses
  // of its SB441-N16 perturber model; copied from
  // data/reference/minor_perturbers.csv.
  using gm::FromKm3PerS2;
  static const std::array<MassiveBody, 12> bodies{{
      {{"Iris", 2459800.5, .2295797335459191, 2.386895229097369, 5.517355696397636,
        259.5163426764981, 145.377239318177, 101.0671303713505},
       FromKm3PerS2(1.1398723232184107)},
      {{"Hygiea", 2459800.5, .1113782559615029, 3.14097945050426, 3.831224630322835,
        283.1759501155389, 312.517746926598, 4.280324744612909},
       FromKm3PerS2(5.6251476453852289)},
      {{"Eunomia", 2459800.5, .1868394478309659, 2.643595711058775, 11.75225611517215,
        292.91664152, 98.65743285012158, 198.3294497859881},
       FromKm3PerS2(2.0230209871098284)},
      {{"Psyche", 2459800.5, .1340311546632583, 2.924399242206746, 3.09692708634344,
        150.03276205, 229.2623687108407, 164.4824024530296},
       FromKm3PerS2(1.5896582441709424)},
      {{"Euphrosyne", 2459800.5, .2171125801256186, 3.164267914648268, 26.306724159127,
        30.80401273346336, 61.5659158254486, 297.843006718516},
       FromKm3PerS2(1.0793714577033560)},
      {{"Europa", 2459800.5, .110843625033859, 3.094666201641842, 7.47817904231364,
        128.593116509123, 343.0412880916352, 94.96049525280712},
       FromKm3PerS2(2.6830359242821795)},
      {{"Cybele", 2459800.5, .1160803144108475, 3.43904329012619, 3.567993613648645,
        155.5891350892216, 103.9686826249598, 85.84256306676191},
       FromKm3PerS2(9.3810575639151328e-01)},
      {{"Sylvia", 2459800.5, .09402140309919957, 3.478728422327404, 10.87853285796886,
        73.01014361744637, 264.1158266361838, 274.311497266978},
       FromKm3PerS2(2.1682320736996910)},
      {{"Thisbe", 2459800.5, .1617936560087905, 2.768784814175058, 5.213449593552565,
        276.432699612091, 36.62198565438361, 305.2857769375108},
       FromKm3PerS2(1.1898077088121908)},
      {{"Camilla", 2459800.5, .06509767593877747, 3.486845042778348, 10.00428430300076,
        172.5886533781503, 305.477930054883, 149.0436643321483},
       FromKm3PerS2(1.4437384031866001)},
      {{"Davida", 2459800.5, .1886239179382724, 3.161881751769104, 15.94133450125516,
        107.5821830560913, 337.122864379361, 184.4891459592814},
       FromKm3PerS2(3.8944831481705644)},
      {{"Interamnia", 2459800.5, .1557926326560873, 3.057893896240924, 17.30506733981838,
        280.2748805888231, 94.66350948383779, 322.2978509909431},
       FromKm3PerS2(2.8304096393299849)},
  }};
  return bodies;
}

// Ceres, Pallas, Juno and Vesta, then the twelve further perturbers: the
// sixteen asteroids of JPL's SB441-N16 model, so that the orbits are
// integrated under the force JPL fitted the elements with.
OrbitSystem MainBeltSystem(const Perturbers* perturbers) {
  OrbitSystem s;
  s.masses = {gm::kCeres, gm::kPallas, gm::kJuno, gm::kVesta};
  for (const MassiveBody& b : MainBeltPerturbers()) s.masses.push_back(b.gm);
  s.perturbers = perturbers;
  return s;
}

// The states of the main belt's sixteen bodies at the elements' epoch, in
// MainBeltSystem's order, two-body from their elements.
std::vector<PositionVelocity> MainBeltStartStates() {
  std::vector<PositionVelocity> y;
  for (int b = 1; b <= 4; ++b) y.push_back(StateFromElements(SuppliedElements()[b]));
  for (const MassiveBody& b : MainBeltPerturbers()) y.push_back(StateFromElements(b.elements));
  return y;
}

}  // namespace novastra
