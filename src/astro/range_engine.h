#pragma once
// The position engine for many evenly spaced instants (the aspectarian's hours,
// the ephemeris's days). The planetary series terms are not evaluated with a
// cosine at every instant: each term's cosine is carried from one instant to
// the next by the second-order recurrence of Reinsch's modification of
// Goertzel's algorithm (cos(x + d) from cos(x) and cos(x) - cos(x - d)), which
// stays accurate for small steps. The recurrence restarts from freshly computed
// cosines at fixed grid positions (every `anchorEvery` steps from grid index 0),
// so the positions of an instant depend only on its grid index: a range split
// in pieces, or shared among threads, gives the same bits as one long run.
// The Moon (its term sines by angle addition from its fundamental arguments,
// which carry powers of time up to T^4), Pluto and the coordinate conversions
// are computed per instant. Results stay within 1e-9 degree of the plain
// term-by-term evaluation.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "astro/engine.h"
#include "astro/engine_steps.h"

namespace novastra {

class RangeEngine {
 public:
  // Instants are grid points JD(n) = originJD + n * stepDays (UT), n any
  // integer. anchorEvery is rounded up to a multiple of the block of kBlock
  // instants evaluated together.
  static constexpr int kBlock = 8;
  RangeEngine(const SeriesTables& tables, const EngineChoices& choices, double originJD,
              double stepDays, int anchorEvery = 240);

  // Positions at grid index n; `instant` is that grid point's set-up as
  // PrepareInstant or PrepareInstantAt forms it (its T gives the powers of
  // time, the Moon and Pluto). Fastest when n rises one step at a time.
  BodyPositions At(std::int64_t n, const InstantSetup& instant);

  // Positions at count consecutive grid points from index first, each set up
  // by PrepareInstantAt from the grid point's Julian Day (the date of Pluto's
  // correction being the day that holds it).
  void Fill(std::int64_t first, int count, const AyanamsaOption& ayanamsa, BodyPositions* out);

  // T in Julian centuries from J2000.0 of grid index n.
  double GridT(std::int64_t n) const;
  // For an hour grid (stepDays 1/24) whose origin is a midnight: Jupiter to
  // Pluto are from then on computed at five instants of each date (0h, 6h,
  // 12h, 18h and 24h, as At's instant.RowJD names it) and interpolated to the
  // hour between them, within 1e-12 degree of their series; the other bodies
  // keep their bits. An instant that is not a whole hour 0..24 of its date
  // goes through the one-instant engine.
  void InterpolateSlowBodies();

 private:
  using SetMask = std::array<bool, kSeriesBodyCount>;
  static constexpr SetMask kEverySet{true, true, true, true, true, true, true, true, true};
  RangeEngine(const SeriesTables& tables, const EngineChoices& choices, double originJD,
              double stepDays, int anchorEvery, const SetMask& sets);
  void Layout();
  HelioSets SetsAt(std::int64_t n, double tau);
  bool SlowAt(std::int64_t n, const InstantSetup& instant, SlowPositions& out);
  void Anchor(std::int64_t n);
  void StepBlock(double* sums);
  void MakeBlock(std::int64_t n0);

  const SeriesTables* tables_;
  EngineChoices choices_;
  double originJD_, stepDays_;
  int anchorEvery_;
  // Set when a coordinate has more series than the sums hold (tables built
  // by hand): every instant then goes through the one-instant engine.
  bool oneInstant_ = false;
  // Every term of the 27 coordinates (9 sets x L, B, R), each coordinate
  // padded to a multiple of four terms; power_ per four terms.
  std::vector<double> amp_, phase_, freq_, kappa_, sinStep_;
  std::vector<int> power_;
  std::array<std::size_t, 28> coordStart_{};
  std::array<int, 27> seriesCount_{};
  // Recurrence state: cos of each term's argument at grid index state_, and
  // its difference from the previous grid index.
  std::vector<double> cos_, diff_;
  std::int64_t state_ = 0, anchor_ = 0;
  bool haveState_ = false;
  // Series sums of the block of kBlock instants from blockStart_:
  // sums_[(m * 27 + coordinate) * kPowers + k].
  static constexpr int kPowers = 6;
  std::vector<double> sums_, scratch_;
  std::int64_t blockStart_ = 0;
  bool haveBlock_ = false;
  // The series sets laid out; with InterpolateSlowBodies, the slow bodies'
  // engine on the quarter-day grid and the five instants of the last date.
  SetMask sets_ = kEverySet;
  std::unique_ptr<RangeEngine> slow_;
  double nodeRowJD_ = 0;
  SlowPositions nodes_[5];
  bool smooth_[kSlowBodyCount] = {};
};

}  // namespace novastra
