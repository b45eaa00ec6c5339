#include "reports/events.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <utility>

#include "astro/angles.h"

namespace novastra {

namespace {

constexpr int kSun = 1, kMoon = 2, kNode = 11;

// Segment-wrap compensation of the aspect search. Each row names a condition
// on F0, F1, S0, S1 (degrees within their segments) and which of them get 30
// added; the first row that matches applies.
enum Cond : uint8_t { Gt28, Lt5, Gt5, Lt28 };

struct WrapRow {
  Cond cond[4];
  bool add[4];
};

constexpr WrapRow kWrapTable[] = {
    {{Gt28, Lt5, Gt28, Lt5}, {false, true, false, true}},
    {{Gt28, Lt5, Lt5, Gt28}, {false, true, true, false}},
    {{Gt28, Lt5, Gt28, Gt28}, {false, true, false, false}},
    {{Gt28, Lt5, Lt5, Lt5}, {false, true, true, true}},
    {{Lt5, Lt5, Gt28, Lt5}, {true, true, false, true}},
    {{Lt5, Gt28, Lt5, Gt28}, {true, false, true, false}},
    {{Lt5, Lt5, Lt5, Gt28}, {true, true, true, false}},
    {{Gt28, Gt28, Lt5, Gt28}, {false, false, true, false}},
    {{Gt28, Gt28, Gt28, Lt5}, {false, false, false, true}},
    {{Gt5, Gt5, Lt5, Lt5}, {false, false, true, true}},
    {{Lt28, Lt28, Gt28, Gt28}, {true, true, false, false}},
    {{Lt5, Gt28, Gt28, Gt28}, {true, false, false, false}},
    {{Lt5, Gt28, Gt28, Lt5}, {true, false, false, true}},
    {{Lt5, Gt28, Lt5, Lt5}, {true, false, true, true}},
};

bool Holds(Cond c, double v) {
  switch (c) {
    case Gt28: return v > 28;
    case Lt5: return v < 5;
    case Gt5: return v > 5;
    case Lt28: return v < 28;
  }
  return false;
}

// Where a degree within its segment lies against the table's bounds 5 and 28:
// 0 below 5, 1 at 5, 2 between, 3 at 28, 4 above 28. One representative
// value per class decides every condition of the table the same way.
constexpr double kClassValue[5] = {2, 5, 10, 28, 29};

int BoundClass(double v) {
  if (v < 5) return 0;
  if (v == 5) return 1;
  if (v < 28) return 2;
  if (v == 28) return 3;
  return 4;
}

// The first matching table row (index + 1, 0 for none) for every combination
// of the four classes, worked out once from the table.
std::array<uint8_t, 625> BuildWrapLookup() {
  std::array<uint8_t, 625> lookup{};
  for (int key = 0; key < 625; ++key) {
    const double v[4] = {kClassValue[key / 125], kClassValue[key / 25 % 5],
                         kClassValue[key / 5 % 5], kClassValue[key % 5]};
    for (int r = 0; r < static_cast<int>(std::size(kWrapTable)); ++r) {
      bool match = true;
      for (int k = 0; k < 4 && match; ++k) match = Holds(kWrapTable[r].cond[k], v[k]);
      if (match) {
        lookup[key] = static_cast<uint8_t>(r + 1);
        break;
      }
    }
  }
  return lookup;
}

const std::array<uint8_t, 625> kWrapLookup = BuildWrapLookup();

// The same lookup as the values it adds 30 to: bit k for v[k].
std::array<uint8_t, 625> BuildWrapAdd() {
  std::array<uint8_t, 625> add{};
  for (int key = 0; key < 625; ++key) {
    const int row = kWrapLookup[key];
    if (row == 0) continue;
    for (int k = 0; k < 4; ++k)
      if (kWrapTable[row - 1].add[k]) add[key] |= static_cast<uint8_t>(1 << k);
  }
  return add;
}

const std::array<uint8_t, 625> kWrapAdd = BuildWrapAdd();

// Adds 30 where the first matching row says; c holds the classes of v.
void CompensateWrap(double v[4], const int c[4]) {
  const int row = kWrapLookup[c[0] * 125 + c[1] * 25 + c[2] * 5 + c[3]];
  if (row == 0) return;
  for (int k = 0; k < 4; ++k)
    if (kWrapTable[row - 1].add[k]) v[k] += 30;
}

// Moves the earlier sample so that the step to the later one is the real motion.
void Unwrap(double& x0, double x1) {
  double d = x1 - x0;
  if (d > 200)
    x0 += 360;
  else if (d < -200)
    x0 -= 360;
  else if (d > 20)
    x0 += 180;
  else if (d < -20)
    x0 -= 180;
}

double IntoMotionRange(double m) {
  if (m < -20) m += 360;
  if (m > 20) m -= 360;
  return m;
}

// Crossing fraction of the lines a0->a1 and b0->b1 over one hour; -1 when parallel.
double CrossingFraction(double a0, double a1, double b0, double b1) {
  double den = (a1 - a0) - (b1 - b0);
  if (den == 0) return -1;
  return (b0 - a0) / den;
}

}  // namespace

double AspectAngle(int type) {
  static constexpr double kAngles[kAspectTypes + 1] = {0,  0,  60, 90,  120, 180,
                                                       30, 45, 72, 135, 144, 150};
  return type >= 1 && type <= kAspectTypes ? kAngles[type] : 0;
}

int AspectTypeOf(double x) {
  if (x < 1) return 1;
  if (x > 59 && x < 61) return 2;
  if (x > 89 && x < 91) return 3;
  if (x > 119 && x < 121) return 4;
  if (x > 179 && x < 181) return 5;
  return 0;
}

namespace {

// Eclipse limits: the distance of the Moon from the node within which a New
// Moon is a solar and a Full Moon a lunar eclipse (the classical ecliptic
// limits, 18 deg 31' and 12 deg 15').
bool SolarEclipse(double x) {
  return x < 18.5167 || (x > 161.4833 && x < 198.5167) || x > 341.4833;
}

bool LunarEclipse(double x) { return x < 12.25 || (x > 167.75 && x < 192.25) || x > 347.75; }

// Parallels are listed when the two values differ by less than this (degrees).
constexpr double kParallelLimit = 0.5;

// Each body's hourly step, worked out once per day (it does not depend on the pair).
struct Step {
  double x0, x1, motion;  // x0 unwrapped against x1
  double g0, g1;          // degrees within their segments
  int class0, class1;     // of g0, g1 against the wrap table's bounds
  int fasterKey, slowerKey;  // their part of the wrap lookup's key as the faster or slower body
  int sign0, sign1;
};

Step StepOf(double lon0, double lon1) {
  Step st;
  st.x0 = lon0;
  st.x1 = lon1;
  Unwrap(st.x0, st.x1);
  st.motion = IntoMotionRange(st.x1 - st.x0);
  st.g0 = DegreesInSegment(st.x0);
  st.g1 = DegreesInSegment(st.x1);
  st.class0 = BoundClass(st.g0);
  st.class1 = BoundClass(st.g1);
  st.fasterKey = st.class0 * 125 + st.class1 * 25;
  st.slowerKey = st.class0 * 5 + st.class1;
  st.sign0 = SignOf(st.x0);
  st.sign1 = SignOf(st.x1);
  return st;
}

// One day's search: the samples, the choices and what has been listed so far.
class DaySearch {
 public:
  DaySearch(const HourSamples& samples, double dayJD, const EventChoices& choices,
            InitialDirections& directions)
      : samples_(samples),
        dayJD_(dayJD),
        choices_(choices),
        directions_(directions),
        helio_(choices.coords == Coordinates::Heliocentric),
        listAll_(!choices.moonChangeOnly),
        minor_(listAll_ && (choices.aspects & ~kMajorAspects) != 0) {
    if (choices.moonSign == MoonChangeSign::NoDisplay) ingressReported_[kMoon] = true;
    noStation_[kSun] = noStation_[kMoon] = true;
    for (int b = 1; b <= 11; ++b) {
      for (int h = 0; h < 24; ++h)
        steps_[b][h] = StepOf(samples.first[b][h], samples.first[b][h + 1]);
      const auto& d = samples.second[b];
      for (int h = 0; h < 24; ++h) {
        const bool change = (d[h] <= 0 && d[h + 1] >= 0) || (d[h] >= 0 && d[h + 1] <= 0);
        signChanges_[b] |= static_cast<std::uint32_t>(change) << h;
      }
      for (int h = 0; h <= 24; ++h) absDeclination_[b][h] = std::fabs(d[h]);
    }
  }

  std::vector<Event> Run() {
    // A body's ingress and station can only be found in the first pair it
    // heads (each is listed once a day and the same hours give the same
    // answers), so they are looked for there, in the order of the hours.
    bool headed[12] = {};
    for (int i = 1; i <= 10; ++i) {
      for (int j = i + 1; j <= 11; ++j) {
        if (helio_ && (i == kMoon || j == kMoon)) continue;
        SearchPair(i, j, !headed[i]);
        headed[i] = true;
      }
    }
    return std::move(events_);
  }

 private:
  // The pair's events hour by hour, with body i's ingress and station when
  // this is the first pair it heads.
  void SearchPair(int i, int j, bool first) {
    const bool pair = !(helio_ && (i == 10 || j == 11));
    const std::uint32_t aspects = pair ? AspectHours(i, j) : 0;
    const std::uint32_t parallels = pair ? ParallelHours(i, j) : 0;
    if (!first && !minor_ && (aspects | parallels) == 0) return;
    for (int h = 0; h < 24; ++h) {
      if (first) Ingress(i, h);
      if (!pair) continue;
      if (first) Station(i, h);
      const bool iFaster = steps_[i][h].motion > steps_[j][h].motion;
      if ((aspects >> h) & 1) Aspect(i, j, h, iFaster);
      if (minor_) MinorAspects(i, j, h);
      if ((parallels >> h) & 1) Parallel(i, j, h, iFaster);
    }
  }

  Event At(EventKind kind, int body, int h, double minutes) const {
    return Event::Found(kind, body, dayJD_, h, minutes);
  }

  // The hours (bit h) in which Aspect can find the pair's aspect: its own
  // test of the segment degrees, worked out without branches for the 24
  // hours at once; Aspect then repeats it and goes on only for these.
  std::uint32_t AspectHours(int i, int j) const {
    std::uint32_t hours = 0;
    for (int h = 0; h < 24; ++h) {
      const Step& a = steps_[i][h];
      const Step& b = steps_[j][h];
      const bool iFaster = a.motion > b.motion;
      const Step& fs = iFaster ? a : b;
      const Step& ss = iFaster ? b : a;
      const std::uint8_t add = kWrapAdd[fs.fasterKey + ss.slowerKey];
      const double v0 = fs.g0 + ((add & 1) != 0 ? 30.0 : 0.0);
      const double v1 = fs.g1 + ((add & 2) != 0 ? 30.0 : 0.0);
      const double v2 = ss.g0 + ((add & 4) != 0 ? 30.0 : 0.0);
      const double v3 = ss.g1 + ((add & 8) != 0 ? 30.0 : 0.0);
      hours |= static_cast<std::uint32_t>((v0 <= v2) & (v1 >= v3)) << h;
    }
    return hours;
  }

  // The hours in which Parallel can find one: either value changes sign, or
  // their sizes meet (a test that does not depend on which body is faster).
  std::uint32_t ParallelHours(int i, int j) const {
    std::uint32_t hours = signChanges_[i] | signChanges_[j];
    const auto& a = absDeclination_[i];
    const auto& b = absDeclination_[j];
    for (int h = 0; h < 24; ++h) {
      const bool meet = ((a[h] <= b[h]) & (a[h + 1] >= b[h + 1])) |
                        ((a[h] >= b[h]) & (a[h + 1] <= b[h + 1]));
      hours |= static_cast<std::uint32_t>(meet) << h;
    }
    return hours;
  }

  // Body i entering a sign during hour h, once a day.
  void Ingress(int i, int h) {
    const Step& si = steps_[i][h];
    if (si.sign0 == si.sign1 || ingressReported_[i]) return;
    double g0 = si.g0, g1 = si.g1;
    if (std::fabs(g0) < 5) g0 += 30;
    if (std::fabs(g1) < 5) g1 += 30;
    const double m = g0 == g1 ? 0 : 60 * (g0 - 30) / (g0 - g1);
    const int entered = si.sign1;
    if (i == kMoon) {
      const bool cardinal = entered == 1 || entered == 4 || entered == 7 || entered == 10;
      if (choices_.option12 != 0 && !cardinal) return;
    } else if (!listAll_) {
      return;
    }
    Event e = At(EventKind::Ingress, i, h, m);
    e.sign = entered;
    events_.push_back(e);
    ingressReported_[i] = true;
  }

  // Body i turning during hour h (geocentric only), to the hour.
  void Station(int i, int h) {
    if (helio_ || noStation_[i]) return;
    const double delta = steps_[i][h].x1 - steps_[i][h].x0;
    int16_t& flag = directions_.flag[i];
    bool turned = false;
    if (flag == 1 && ((delta > -1 && delta < 0) || delta > 358)) {
      flag = 0;
      turned = true;
    } else if (flag == 0 && ((delta > 0 && delta < 1) || delta < -358)) {
      flag = 1;
      turned = true;
    }
    if (!turned) return;
    if (listAll_) {
      Event e = At(EventKind::Station, i, h, 0);
      e.direction = flag == 0 ? Direction::Retrograde : Direction::Direct;
      events_.push_back(e);
    }
    noStation_[i] = true;
  }

  // An aspect in longitude during hour h; the faster body (by signed hourly
  // motion) goes first in the interpolation.
  void Aspect(int i, int j, int h, bool iFaster) {
    const Step& fs = iFaster ? steps_[i][h] : steps_[j][h];
    const Step& ss = iFaster ? steps_[j][h] : steps_[i][h];
    double v[4] = {fs.g0, fs.g1, ss.g0, ss.g1};
    const int classes[4] = {fs.class0, fs.class1, ss.class0, ss.class1};
    CompensateWrap(v, classes);
    if (!(v[0] <= v[2] && v[1] >= v[3])) return;
    const double den = (v[1] - v[0]) - (v[3] - v[2]);
    const double m = den == 0 ? 0 : 60 * (v[2] - v[0]) / den;
    const double p = fs.x0 + fs.motion * m / 60;
    const double q = ss.x0 + ss.motion * m / 60;
    double x = std::fabs(p - q);
    if (x > 180) x = 360 - x;
    const int type = AspectTypeOf(x);
    if (!type || !listAll_) return;
    const bool lunation =
        i == kSun && j == kMoon && (type == kConjunction || type == kSquare || type == kOpposition);
    if (!lunation && (choices_.aspects & (1u << type)) == 0) return;
    Event e = At(lunation ? EventKind::Lunation : EventKind::Aspect, i, h, m);
    e.other = j;
    e.aspect = type;
    e.separation = x;
    if (lunation) {
      const int fBody = iFaster ? i : j;
      e.moonLongitude = fBody == kMoon ? p : q;
      const double xn = std::fabs(e.moonLongitude - samples_.first[kNode][h]);
      if (type == kConjunction && SolarEclipse(xn)) e.eclipse = Eclipse::Solar;
      if (type == kOpposition && LunarEclipse(xn)) e.eclipse = Eclipse::Lunar;
    }
    events_.push_back(e);
  }

  // The minor aspects of the pair during hour h: the separation i - j,
  // reduced to -180..180, crossing +A or -A between the hour's two samples.
  // A crossing counts in the hour whose end reaches it (the sign of the
  // difference turns from below zero to zero or above, or back), so an
  // aspect exact at a sample, at a day's seam too, is listed once. The
  // separation changes by under a degree an hour (the Moon's relative
  // motion), so a jump of the difference by 90 or more is the wrap at
  // 180 degrees, not a crossing. The instant is interpolated linearly
  // within the hour, as for the five aspects above.
  void MinorAspects(int i, int j, int h) {
    const auto& lon = samples_.first;
    const double s0 = Wrap180(lon[i][h] - lon[j][h]);
    const double s1 = Wrap180(lon[i][h + 1] - lon[j][h + 1]);
    for (int type = kSemisextile; type <= kQuincunx; ++type) {
      if ((choices_.aspects & (1u << type)) == 0) continue;
      const double angle = AspectAngle(type);
      for (const double target : {angle, -angle}) {
        const double f0 = Wrap180(s0 - target), f1 = Wrap180(s1 - target);
        if ((f0 < 0) == (f1 < 0) || std::fabs(f1 - f0) >= 90) continue;
        const double m = 60 * f0 / (f0 - f1);
        Event e = At(EventKind::Aspect, i, h, m);
        e.other = j;
        e.aspect = type;
        e.separation = std::fabs(Wrap180(s0 + Wrap180(s1 - s0) * m / 60));
        events_.push_back(e);
      }
    }
  }

  static double Wrap180(double x) { return x - 360 * std::round(x / 360); }

  // A parallel or contraparallel of declination (or latitude) during hour h.
  void Parallel(int i, int j, int h, bool iFaster) {
    const auto& dec = samples_.second;
    const int f = iFaster ? i : j, s = iFaster ? j : i;
    const double f0 = dec[f][h], f1 = dec[f][h + 1];
    const double s0 = dec[s][h], s1 = dec[s][h + 1];
    double m = -1;
    const bool signChange = (f0 <= 0 && f1 >= 0) || (s0 <= 0 && s1 >= 0) || (f0 >= 0 && f1 <= 0) ||
                            (s0 >= 0 && s1 <= 0);
    if (signChange) {
      const double c = CrossingFraction(f0, f1, s0, s1);
      if (c >= 0 && c <= 1) m = 60 * c;
    }
    if (m < 0) {
      const double af0 = std::fabs(f0), af1 = std::fabs(f1);
      const double as0 = std::fabs(s0), as1 = std::fabs(s1);
      if ((af0 <= as0 && af1 >= as1) || (af0 >= as0 && af1 <= as1)) {
        const double den = (af1 - af0) - (as1 - as0);
        m = den == 0 ? 0 : 60 * (as0 - af0) / den;
      }
    }
    if (m < 0) return;  // no parallel this hour
    // Each value moves from its hour's start by the body's motion in
    // longitude, in the direction the value itself moves.
    const double fm = steps_[f][h].motion, sm = steps_[s][h].motion;
    const double p = f1 >= f0 ? f0 + fm * m / 60 : f0 - fm * m / 60;
    const double q = s1 >= s0 ? s0 + sm * m / 60 : s0 - sm * m / 60;
    if (std::fabs(std::fabs(p) - std::fabs(q)) >= kParallelLimit) return;
    if (!listAll_) return;
    const bool same = (p >= 0) == (q >= 0);
    Event e = At(same ? EventKind::Parallel : EventKind::Contraparallel, i, h, m);
    e.other = j;
    events_.push_back(e);
  }

  const HourSamples& samples_;
  double dayJD_;
  const EventChoices& choices_;
  InitialDirections& directions_;
  bool helio_, listAll_, minor_;
  bool ingressReported_[12] = {};
  bool noStation_[12] = {};
  Step steps_[12][24];
  // Per body: the hours in which its declination (or latitude) changes sign,
  // and its size at the 25 samples.
  std::uint32_t signChanges_[12] = {};
  double absDeclination_[12][25] = {};
  std::vector<Event> events_;
};

}  // namespace

int SignOf(double x) {
  // Guard the cast: NaN or a huge value cast to int is undefined (positions
  // are finite and small once the tables are checked at load).
  const double q = std::floor(std::floor(x) / 30);
  if (!std::isfinite(q) || std::fabs(q) > 1e6) return 0;
  return static_cast<int>(q) + 1;
}

double DegreesInSegment(double x) { return x - 30 * std::floor(std::floor(x) / 30); }

std::vector<Event> FindDayEvents(const HourSamples& samples, double dayJD,
                                 const EventChoices& choices, InitialDirections& directions) {
  return DaySearch(samples, dayJD, choices, directions).Run();
}

int ShownMinuteKey(double minutes) {
  const double r = std::round(std::fabs(minutes));
  if (!std::isfinite(r)) return 0;
  char digits[400];
  std::snprintf(digits, sizeof digits, "%02.0f", r);
  if (minutes < 0 && r != 0) return -(digits[0] - '0');
  return (digits[0] - '0') * 10 + (digits[1] - '0');
}

namespace {

// The minor aspects and every event of a minor body: merged in after the rest.
bool MergedAfterOthers(const Event& e) {
  return (e.kind == EventKind::Aspect && !IsMajorAspect(e.aspect)) ||
         IsMinorEventBody(e.body) || IsMinorEventBody(e.other);
}

// The day's order of the five aspects and the other events: by hour and
// shown minute, as this exchange sort leaves events that show the same minute.
void SortByShownMinute(std::vector<Event>& events) {
  const size_t n = events.size();
  for (size_t i = 0; i + 1 < n; ++i) {
    for (size_t j = i + 1; j < n; ++j) {
      const int hi = events[i].hour, hj = events[j].hour;
      if (hi > hj ||
          (hi == hj && ShownMinuteKey(events[i].minutes) > ShownMinuteKey(events[j].minutes)))
        std::swap(events[i], events[j]);
    }
  }
}

}  // namespace

void SortDayEvents(std::vector<Event>& events) {
  // The minor aspects and the minor bodies' events are merged in after the
  // others are sorted, so that choosing them leaves the order of every other
  // event as it was: each
  // goes after the events of its hour and shown minute.
  const auto minor = std::stable_partition(events.begin(), events.end(),
                                           [](const Event& e) { return !MergedAfterOthers(e); });
  if (minor == events.end()) {
    SortByShownMinute(events);
    return;
  }
  std::vector<Event> added(minor, events.end());
  events.erase(minor, events.end());
  SortByShownMinute(events);
  auto key = [](const Event& e) { return std::make_pair(e.hour, ShownMinuteKey(e.minutes)); };
  std::stable_sort(added.begin(), added.end(),
                   [&](const Event& a, const Event& b) { return key(a) < key(b); });
  std::vector<Event> merged;
  merged.reserve(events.size() + added.size());
  std::merge(events.begin(), events.end(), added.begin(), added.end(), std::back_inserter(merged),
             [&](const Event& a, const Event& b) { return key(a) < key(b); });
  events = std::move(merged);
}

LunarPhase PhaseOf(const Event& e) {
  if (e.aspect == kConjunction) return LunarPhase::NewMoon;
  if (e.aspect == kOpposition) return LunarPhase::FullMoon;
  const double t = (e.jd - 2451545.0) / 36525.0;
  const double meanSun = 280.46646 + 36000.76983 * t;  // Meeus, Astronomical Algorithms, eq. 25.2
  return NormalizeDegrees(e.moonLongitude - meanSun) < 180 ? LunarPhase::FirstQuarter
                                                           : LunarPhase::LastQuarter;
}

}  // namespace novastra
