#include "astro/range_engine.h"

#include <immintrin.h>

#include <cmath>

#include "astro/angles.h"
#include "astro/engine_steps.h"
#include "astro/fast_trig.h"
#include "astro/moon.h"

namespace novastra {

namespace {

constexpr int kCoordinates = 3 * kSeriesBodyCount;
constexpr int kBlock = RangeEngine::kBlock;

// Integer division rounded down (towards minus infinity).
// Given:  a, b   integers, b != 0
// Returns:       floor(a / b)
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// The step of one coordinate's block of instants: SumStepGeneric or SumStepAvx2.
using SumStepFn = void (*)(const double* amp, const double* kappa, double* c, double* d,
                           const int* power, std::size_t n, double* sums, std::size_t stride);

// One block of kBlock instants over the terms [0, n) of one coordinate, in
// plain C++ (any processor): for each instant m, sums[m * stride + k] is the
// sum of amp * cos over the terms of power k, then every cosine moves one
// step on (d += kappa c, c += d). Lanes of four are summed lane-wise, then
// across, in a fixed order, so an instant's result depends only on the
// recurrence state, never on how instants are grouped.
// Given:  amp, kappa, power, n   the terms, their steps and powers of tau
//         c, d                   each term's cosine and last difference
//         stride                 distance between instants in sums
// Returns:                       sums filled; c, d moved kBlock steps on
// Source: Reinsch's form of the Goertzel recurrence (Stoer & Bulirsch,
//         Introduction to Numerical Analysis, sec. 2.3).
// Accuracy: stable for small steps; with a restart every 240 steps, within
//           1e-9 degree of the term-by-term engine over 1800-2100 (tests).
void SumStepGeneric(const double* amp, const double* kappa, double* c, double* d, const int* power,
                    std::size_t n, double* sums, std::size_t stride) {
  for (std::size_t i = 0; i < n;) {
    const int k = power[i / 4];
    double acc[kBlock][4] = {};
    for (; i < n && power[i / 4] == k; i += 4) {
      for (int j = 0; j < 4; ++j) {
        double cc = c[i + j], dd = d[i + j];
        const double a = amp[i + j], kk = kappa[i + j];
        for (int m = 0; m < kBlock; ++m) {
          acc[m][j] += a * cc;
          dd += kk * cc;
          cc += dd;
        }
        c[i + j] = cc;
        d[i + j] = dd;
      }
    }
    for (int m = 0; m < kBlock; ++m)
      sums[m * stride + k] = (acc[m][0] + acc[m][1]) + (acc[m][2] + acc[m][3]);
  }
}

// The same step four terms at a time with AVX2 and FMA; the sums may differ
// from SumStepGeneric's in the last bits, never between runs or groupings.
// Given:  as SumStepGeneric
// Returns:    as SumStepGeneric
// Source: Reinsch's form of the Goertzel recurrence (Stoer & Bulirsch,
//         Introduction to Numerical Analysis, sec. 2.3).
__attribute__((target("avx2,fma"))) void SumStepAvx2(const double* amp, const double* kappa,
                                                     double* c, double* d, const int* power,
                                                     std::size_t n, double* sums,
                                                     std::size_t stride) {
  for (std::size_t i = 0; i < n;) {
    const int k = power[i / 4];
    __m256d acc[kBlock];
    for (auto& a : acc) a = _mm256_setzero_pd();
    for (; i < n && power[i / 4] == k; i += 4) {
      const __m256d a = _mm256_loadu_pd(amp + i), kk = _mm256_loadu_pd(kappa + i);
      __m256d cc = _mm256_loadu_pd(c + i), dd = _mm256_loadu_pd(d + i);
#pragma GCC unroll 8
      for (int m = 0; m < kBlock; ++m) {
        acc[m] = _mm256_fmadd_pd(a, cc, acc[m]);
        dd = _mm256_fmadd_pd(kk, cc, dd);
        cc = _mm256_add_pd(cc, dd);
      }
      _mm256_storeu_pd(c + i, cc);
      _mm256_storeu_pd(d + i, dd);
    }
    for (int m = 0; m < kBlock; ++m) {
      alignas(32) double v[4];
      _mm256_store_pd(v, acc[m]);
      sums[m * stride + k] = (v[0] + v[1]) + (v[2] + v[3]);
    }
  }
}

// The block step this processor runs: AVX2 with FMA when it has both, else
// plain C++; chosen once.
// Returns: SumStepAvx2 or SumStepGeneric
SumStepFn ChosenSumStep() {
  static const SumStepFn chosen = [] {
    __builtin_cpu_init();
    return (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma")) ? &SumStepAvx2
                                                                             : &SumStepGeneric;
  }();
  return chosen;
}

}  // namespace

// Lays out every VSOP87 term of the tables and each one's step of the
// recurrence for the grid step: kappa = 2 cos(C dtau) - 2 = -4 sin^2(C dtau
// / 2) (no cancellation) and sin(C dtau).
// Given:  tables        the loaded series
//         choices       sky, node, zodiac, plain
//         originJD      Julian Day of grid index 0
//         stepDays      grid step, days
//         anchorEvery   restart the recurrence every so many steps (rounded
//                       up to a multiple of kBlock)
// Source: Reinsch's form of the Goertzel recurrence (Stoer & Bulirsch,
//         Introduction to Numerical Analysis, sec. 2.3).
RangeEngine::RangeEngine(const SeriesTables& tables, const EngineChoices& choices, double originJD,
                         double stepDays, int anchorEvery)
    : RangeEngine(tables, choices, originJD, stepDays, anchorEvery, kEverySet) {}

// The engine of the sets in `sets` only: the other coordinates have no terms
// and their sums stay zero.
RangeEngine::RangeEngine(const SeriesTables& tables, const EngineChoices& choices, double originJD,
                         double stepDays, int anchorEvery, const SetMask& sets)
    : tables_(&tables), choices_(choices), originJD_(originJD), stepDays_(stepDays), sets_(sets) {
  anchorEvery_ = anchorEvery < kBlock ? kBlock : (anchorEvery + kBlock - 1) / kBlock * kBlock;
  Layout();
}

// Lays out the terms of the engine's sets, the recurrence's steps and the
// buffers; the recurrence starts afresh at the next block.
void RangeEngine::Layout() {
  const SeriesTables& tables = *tables_;
  amp_.clear(), phase_.clear(), freq_.clear(), power_.clear();
  haveState_ = haveBlock_ = false;
  // Step of the argument, in Julian millennia.
  const double dtau = stepDays_ / 365250.0;
  int q = 0;
  for (int b = 0; b < kSeriesBodyCount; ++b) {
    const SeriesSet& set = tables.sets[b];
    for (const auto* series : {&set.L, &set.B, &set.R}) {
      coordStart_[q] = amp_.size();
      if (!sets_[b]) {
        seriesCount_[q++] = 0;
        continue;
      }
      seriesCount_[q] = static_cast<int>(series->size());
      if (series->size() > kPowers) oneInstant_ = true;
      const SeriesLanes lanes = MakeSeriesLanes(*series);
      amp_.insert(amp_.end(), lanes.A.begin(), lanes.A.end());
      phase_.insert(phase_.end(), lanes.B.begin(), lanes.B.end());
      freq_.insert(freq_.end(), lanes.C.begin(), lanes.C.end());
      power_.insert(power_.end(), lanes.power.begin(), lanes.power.end());
      ++q;
    }
  }
  coordStart_[kCoordinates] = amp_.size();
  // kappa = 2 cos(delta) - 2 = -4 sin^2(delta / 2), without cancellation.
  const std::size_t size = freq_.size();
  std::vector<double> half(size);
  kappa_.resize(size);
  sinStep_.resize(size);
  for (std::size_t i = 0; i < size; ++i) {
    sinStep_[i] = freq_[i] * dtau;
    half[i] = sinStep_[i] / 2;
  }
  const TrigKernels& k = FastKernels();
  k.sinBatch(half.data(), half.data(), size);
  k.sinBatch(sinStep_.data(), sinStep_.data(), size);
  for (std::size_t i = 0; i < size; ++i) kappa_[i] = -4.0 * half[i] * half[i];
  cos_.resize(amp_.size());
  diff_.resize(amp_.size());
  sums_.resize(std::size_t{kBlock} * kCoordinates * kPowers);
  scratch_.resize(sums_.size());
}

// The time of a grid index.
// Given:  n   grid index
// Returns:    Julian centuries from J2000.0 (of the time scale of originJD)
double RangeEngine::GridT(std::int64_t n) const {
  return ((originJD_ - 2451545.0) + static_cast<double>(n) * stepDays_) / 36525.0;
}

// Restarts the recurrence at grid index n from cosines and sines computed
// afresh: cos(x) and cos(x) - cos(x - step) = cos(x) (1 - cos(step)) -
// sin(x) sin(step) of every term.
// Given:  n   grid index
// Returns:    the recurrence state at n
void RangeEngine::Anchor(std::int64_t n) {
  const double tau = GridT(n) / 10.0;
  const std::size_t size = amp_.size();
  std::vector<double> x(size), s(size);
  for (std::size_t i = 0; i < size; ++i) x[i] = freq_[i] * tau + phase_[i];
  const TrigKernels& k = FastKernels();
  k.cosBatch(x.data(), cos_.data(), size);
  k.sinBatch(x.data(), s.data(), size);
  // cos(x) - cos(x - delta) = cos(x) (1 - cos(delta)) - sin(x) sin(delta).
  for (std::size_t i = 0; i < size; ++i)
    diff_[i] = cos_[i] * (-0.5 * kappa_[i]) - s[i] * sinStep_[i];
  state_ = n;
  anchor_ = n;
  haveState_ = true;
}

// The series sums of the kBlock instants from the recurrence state, the
// state moved kBlock steps on.
// Given:  sums   room for kBlock x coordinates x powers
// Returns:       sums filled (radians or AU per power of tau)
void RangeEngine::StepBlock(double* sums) {
  const SumStepFn step = ChosenSumStep();
  for (int q = 0; q < kCoordinates; ++q) {
    const std::size_t b = coordStart_[q], e = coordStart_[q + 1];
    step(amp_.data() + b, kappa_.data() + b, cos_.data() + b, diff_.data() + b,
         power_.data() + b / 4, e - b, sums + std::ptrdiff_t{q} * kPowers,
         std::size_t{kCoordinates} * kPowers);
  }
  state_ += kBlock;
}

// The sums of the block from grid index n0 (a multiple of kBlock), from the
// anchor at or before it, stepping on from the state where it can.
// Given:  n0   grid index, a multiple of kBlock
// Returns:     the block's sums in sums_
void RangeEngine::MakeBlock(std::int64_t n0) {
  const std::int64_t a = FloorDiv(n0, anchorEvery_) * anchorEvery_;
  if (!haveState_ || anchor_ != a || state_ > n0) Anchor(a);
  while (state_ < n0) StepBlock(scratch_.data());
  StepBlock(sums_.data());
  blockStart_ = n0;
  haveBlock_ = true;
}

// L, B and R of the engine's series sets at grid index n (the others zero):
// the series sums of the block and the powers of time as the one-instant
// engine forms them, S0 + S1 tau + ...
// Given:  n     grid index
//         tau   the instant's Julian millennia of TT from J2000.0
// Returns:      L, B in degrees (L in 0..360), R in AU, ecliptic of date
// Source: VSOP87 (Meeus, Astronomical Algorithms 2nd ed., ch. 32);
//         Reinsch's recurrence for the sums.
HelioSets RangeEngine::SetsAt(std::int64_t n, double tau) {
  const std::int64_t n0 = FloorDiv(n, kBlock) * kBlock;
  if (!haveBlock_ || blockStart_ != n0) MakeBlock(n0);
  const double* sums = sums_.data() + (n - n0) * kCoordinates * kPowers;
  double value[kCoordinates];
  for (int q = 0; q < kCoordinates; ++q) {
    const double* s = sums + std::ptrdiff_t{q} * kPowers;
    double total = s[0], power = 1;
    for (int k = 1; k < seriesCount_[q]; ++k) {
      power *= tau;
      total += s[k] * power;
    }
    value[q] = total;
  }
  HelioSets helio;
  for (std::size_t i = 0; i < helio.size(); ++i) {
    helio[i].L = NormalizeDegrees(RadToDeg(value[3 * i]));
    helio[i].B = RadToDeg(value[3 * i + 1]);
    helio[i].R = value[3 * i + 2];
  }
  return helio;
}

// All bodies at grid index n (degrees, as ComputePositions gives them, within
// 1e-9 degree): the planets' series from the block's sums and the powers of
// time, the Moon by ComputeMoonByMultiples (Meeus ch. 47), the rest as the
// one-instant engine does it; Jupiter to Pluto from the date's five instants
// when InterpolateSlowBodies asked for it.
BodyPositions RangeEngine::At(std::int64_t n, const InstantSetup& instant) {
  // The apparent sky and the osculating node need the body at other instants
  // (light-time, the Moon's velocity): those go instant by instant.
  if (choices_.plain || oneInstant_ || choices_.sky == Sky::Apparent ||
      choices_.node == NodeMode::Osculating)
    return ComputePositions(instant, *tables_, choices_);
  SlowPositions slow;
  const bool interpolated = slow_ && SlowAt(n, instant, slow);
  if (slow_ && !interpolated) return ComputePositions(instant, *tables_, choices_);
  const double tau = instant.TimeT / 10.0;
  const HelioSets helio = SetsAt(n, tau);
  const MoonPosition moon = ComputeMoonByMultiples(tau * 10.0, choices_.node);
  return PositionsFromHelio(instant, *tables_, choices_, helio, moon,
                            interpolated ? &slow : nullptr);
}

// The series sets the slow bodies read: the Earth's for the geocentric step,
// the Earth's of J2000.0 for Pluto, and the four planets'.
constexpr SeriesBody kSlowSets[] = {SeriesBody::Earth,   SeriesBody::EarthJ2000,
                                    SeriesBody::Jupiter, SeriesBody::Saturn,
                                    SeriesBody::Uranus,  SeriesBody::Neptune};

// The six coordinates of SlowPositions, and whether each is an angle of 0..360
// (unwrapped before it is interpolated).
struct SlowField {
  double (SlowPositions::*field)[kSlowBodyCount];
  bool angle;
};
constexpr SlowField kSlowFields[] = {
    {&SlowPositions::longitude, true},      {&SlowPositions::latitude, false},
    {&SlowPositions::rightAscension, true}, {&SlowPositions::declination, false},
    {&SlowPositions::helioLongitude, true}, {&SlowPositions::helioLatitude, false}};

// The slow bodies' recurrence restarts every 40 quarter days (10 days, as the
// hourly one's every 240 hours), which keeps its error as small.
constexpr int kSlowAnchorEvery = 40;

// Moves Jupiter to Pluto to the quarter-day engine: its sets are those of the
// Earth (for the geocentric step), the Earth of J2000.0 (for Pluto) and the
// four planets; the hourly engine keeps the Earth, Mercury, Venus and Mars.
void RangeEngine::InterpolateSlowBodies() {
  // The date's five instants on a grid of a quarter day from the same origin.
  SetMask slowSets{};
  for (SeriesBody b : kSlowSets) {
    slowSets[static_cast<int>(b)] = true;
    sets_[static_cast<int>(b)] = b == SeriesBody::Earth;
  }
  slow_.reset(new RangeEngine(*tables_, choices_, originJD_, 0.25, kSlowAnchorEvery, slowSets));
  nodeRowJD_ = std::nan("");
  // Only the hourly engine's own sets are summed from here on.
  Layout();
}

// Lagrange's weights of the five instants 0h, 6h, 12h, 18h and 24h at each
// whole hour h of the date (Abramowitz & Stegun 25.2.2): products of whole
// numbers over whole numbers, exactly 1 and 0 at the five instants themselves.
static const std::array<std::array<double, 5>, 25>& HourWeights() {
  static const auto weights = [] {
    std::array<std::array<double, 5>, 25> w{};
    for (int h = 0; h <= 24; ++h)
      for (int k = 0; k < 5; ++k) {
        double num = 1, den = 1;
        for (int j = 0; j < 5; ++j) {
          if (j == k) continue;
          num *= h - 6 * j;
          den *= 6 * (k - j);
        }
        w[h][k] = num / den;
      }
    return w;
  }();
  return weights;
}

// True when every angle stays inside one quadrant (between two multiples of
// 90 degrees, where SlowPositions::turning says the steps turn a branch) at
// the date's five instants, by more than a day's arc between them could
// carry it across: 0.001 degree, against under 3e-5 for Jupiter.
template <class Angle>
static bool OneQuadrant(const SlowPositions (&nodes)[5], Angle angle) {
  constexpr double kMargin = 1e-3;
  auto quadrant = [](double a) {
    const double x = NormalizeDegrees(a);
    const double q = std::floor(x / 90);
    if (x - 90 * q < kMargin || 90 * (q + 1) - x < kMargin) return -1;
    return static_cast<int>(q);
  };
  const int first = quadrant(angle(nodes[0]));
  for (int k = 1; k < 5 && first >= 0; ++k)
    if (quadrant(angle(nodes[k])) != first) return false;
  return first >= 0;
}

// OneQuadrant for turning angle k of slow body i (SlowPositions::turning).
// Returns: true when that angle stays in one quadrant through the date.
static bool OneQuadrantOf(const SlowPositions (&nodes)[5], int i, int k) {
  return OneQuadrant(nodes, [i, k](const SlowPositions& s) { return s.turning[i][k]; });
}

// The slow bodies at hour grid index n, a whole hour 0..24 of the date of
// instant.RowJD: the degree-4 polynomial through the date's five instants
// (Lagrange's form, Abramowitz & Stegun 25.2.2). A day's arc of these bodies
// is so smooth that the polynomial stays within 1e-11 degree of the series
// (the annual terms of Jupiter's geocentric longitude give about
// 2 (2 pi / 365.25)^5 / 5! x 0.0035 radian at most); angles are unwrapped
// across 0/360 before and reduced after. A body whose quadrant rule turns
// during the date (see SlowPositions::turning) is computed at the hour itself.
// Given:  n         hour grid index
//         instant   its set-up (RowJD names the date)
// Returns:          false when n is not a whole hour 0..24 of that date;
//                   else true with the bodies in out (degrees, tropical)
bool RangeEngine::SlowAt(std::int64_t n, const InstantSetup& instant, SlowPositions& out) {
  const double midnight = instant.RowJD - 0.5;
  const double dayIndex = midnight - originJD_;
  if (dayIndex != std::floor(dayIndex) || std::fabs(dayIndex) > 1e7) return false;
  const auto day = static_cast<std::int64_t>(dayIndex);
  const std::int64_t hour = n - 24 * day;
  if (hour < 0 || hour > 24) return false;
  if (nodeRowJD_ != instant.RowJD) {
    for (int k = 0; k < 5; ++k) {
      const std::int64_t m = 4 * day + k;
      const InstantSetup node = PrepareInstantAt(slow_->GridT(m), instant.RowJD, {});
      nodes_[k] = SlowFromHelio(node, *tables_, choices_, slow_->SetsAt(m, node.TimeT / 10.0));
    }
    const bool earth =
        OneQuadrant(nodes_, [](const SlowPositions& s) { return s.earthTurning[0]; }) &&
        OneQuadrant(nodes_, [](const SlowPositions& s) { return s.earthTurning[1]; });
    for (int i = 0; i < kSlowBodyCount; ++i) {
      smooth_[i] = earth;
      for (int k = 0; k < SlowPositions::kTurningAngles && smooth_[i]; ++k)
        smooth_[i] = OneQuadrantOf(nodes_, i, k);
    }
    nodeRowJD_ = instant.RowJD;
  }
  const auto& w = HourWeights()[hour];
  auto blend = [&](double(SlowPositions::*field)[kSlowBodyCount], int i, bool angle) {
    const double first = (nodes_[0].*field)[i];
    double total = 0;
    for (int k = 0; k < 5; ++k) {
      double x = (nodes_[k].*field)[i];
      if (angle && x - first > 180) x -= 360;
      if (angle && x - first < -180) x += 360;
      total += w[k] * x;
    }
    return angle ? NormalizeDegrees(total) : total;
  };
  bool direct = false;
  for (int i = 0; i < kSlowBodyCount; ++i) {
    if (!smooth_[i]) {
      direct = true;
      continue;
    }
    for (const SlowField& f : kSlowFields) (out.*f.field)[i] = blend(f.field, i, f.angle);
  }
  if (direct) {
    const TrigKernels* fast = &FastKernels();
    const double tau = instant.TimeT / 10.0;
    HelioSets sets;
    for (SeriesBody b : kSlowSets)
      sets[static_cast<int>(b)] = ComputeHelio(tables_->sets[static_cast<int>(b)], tau, fast);
    const SlowPositions here = SlowFromHelio(instant, *tables_, choices_, sets);
    for (int i = 0; i < kSlowBodyCount; ++i)
      if (!smooth_[i])
        for (const SlowField& f : kSlowFields) (out.*f.field)[i] = (here.*f.field)[i];
  }
  return true;
}

// All bodies at count grid points from index first, each set up from its
// own Julian Day (T, the date of Pluto's correction, the user's ayanamsa).
// Given:  first, count   grid indices
//         ayanamsa       the user's ayanamsa choice
// Returns:               out[0 .. count-1]
void RangeEngine::Fill(std::int64_t first, int count, const AyanamsaOption& ayanamsa,
                       BodyPositions* out) {
  for (int i = 0; i < count; ++i) {
    const std::int64_t n = first + i;
    const double jd = originJD_ + static_cast<double>(n) * stepDays_;
    const InstantSetup s = PrepareInstantAt(GridT(n), std::floor(jd + 0.5), ayanamsa);
    out[i] = At(n, s);
  }
}

}  // namespace novastra
