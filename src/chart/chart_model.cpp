#include "chart/chart_model.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace novastra::chart {

const char* const kMonthAbbrev[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

double PictureScale(const ChartOptions& o) {
  if (o.textScale > 0) return std::clamp(o.textScale, 0.5, 3.0);
  return std::clamp(std::min(o.width / 1600.0, o.height / 1000.0), 0.5, 2.0);
}

namespace {

// Julian Day of 1970-01-01 0h UT, the epoch of the system clock's days.
constexpr double kUnixEpochJd = 2440587.5;

// Page margins around the plot, in device units, scaled with the picture.
struct Margins {
  double left, right, top, bottom;
};
Margins MarginsFor(const ChartOptions& o) {
  const double s = PictureScale(o);
  return {86 * s, 86 * s, 70 * s, 56 * s};
}

// Daily motion folded into -180..+180 degrees.
double Motion(double to, double from) {
  double d = to - from;
  return d - 360.0 * std::floor((d + 180.0) / 360.0);
}

// Degree marks of a dial: every sign (and every 10 degrees) on the full
// circle; on the harmonic dials every degree, labelled every 5 or 10.
void AddMarks(ChartModel& m) {
  const int dial = m.options.dial;
  const int minor = dial == 360 ? 10 : dial == 90 ? 5 : 1;
  const int major = dial == 360 ? 30 : dial == 90 ? 10 : 5;
  for (int d = 0; d <= dial; d += minor) m.marks.push_back({double(d), m.YAt(d), d % major == 0});
  if (dial == 360)
    for (int s = 1; s <= 12; ++s) m.signs.push_back({s, m.YAt(30.0 * s), m.YAt(30.0 * (s - 1))});
}

// Month and year ticks; labels thinned to what the width can hold.
void AddTicks(ChartModel& m) {
  const double pxPerMonth = m.PixelsPerDay() * 30.44;
  const bool monthTicks = pxPerMonth >= 4;
  const bool monthLabels = pxPerMonth >= 26;
  const double pxPerYear = pxPerMonth * 12;
  int yearStep = 1;
  for (int step : {1, 2, 5, 10, 20, 50, 100})
    if (pxPerYear * step >= 44) {
      yearStep = step;
      break;
    }
  CivilDay c = CivilFromJd(m.jd0);
  int y = c.year, mo = c.month;
  if (JdFromCivil(y, mo, 1) < m.jd0) {
    if (++mo > 12) mo = 1, ++y;
  }
  for (;;) {
    const double jd = JdFromCivil(y, mo, 1);
    if (jd > m.jd1) break;
    const bool yearStart = mo == 1;
    if (monthTicks || yearStart) {
      TimeTick t;
      t.jd = jd;
      t.x = m.XAt(jd);
      t.year = y;
      t.month = mo;
      t.yearStart = yearStart;
      t.labelMonth = monthLabels;
      t.labelYear = yearStart && y % yearStep == 0;
      m.ticks.push_back(t);
    }
    if (++mo > 12) mo = 1, ++y;
  }
}

// Day lines where a day is at least 5 pixels wide; every day, every second
// or every fifth day numbered, whichever first leaves 18 pixels per number.
void AddDayTicks(ChartModel& m) {
  const double pxPerDay = m.PixelsPerDay();
  if (pxPerDay < 5) return;
  int step = 5;
  for (int s : {1, 2, 5})
    if (pxPerDay * s >= 18) {
      step = s;
      break;
    }
  // Counted in whole days from the first midnight (0h UT, JD n + 0.5): the
  // sums are exact, as the repeated additions of one were.
  const double first = std::ceil(m.jd0 - 0.5) + 0.5;
  for (long k = 0; first + static_cast<double>(k) <= m.jd1; ++k) {
    const double jd = first + static_cast<double>(k);
    const int day = CivilFromJd(jd).day;
    m.days.push_back({jd, m.XAt(jd), day, step == 1 || day % step == 0});
  }
}

class SegmentBuilder {
 public:
  SegmentBuilder(ChartModel& m, int body) : m_(m), body_(body) {}

  void Start(double jd, double reduced, bool retrograde) {
    Segment s;
    s.body = body_;
    s.retrograde = retrograde;
    m_.segments.push_back(std::move(s));
    Add(jd, reduced);
  }
  void Add(double jd, double reduced) {
    Segment& s = m_.segments.back();
    s.points.push_back({m_.XAt(jd), m_.YAt(reduced)});
    s.jd.push_back(jd);
    s.reduced.push_back(reduced);
  }
  bool Retrograde() const { return m_.segments.back().retrograde; }

 private:
  ChartModel& m_;
  int body_;
};

void AddCrossings(ChartModel& m, int body, double jdA, double uA, double jdB, double uB) {
  for (const FixedLine& f : m.fixedLines)
    for (double target : {f.reduced, f.reduced + m.options.dial}) {
      if (!((uA < target && uB >= target) || (uA > target && uB <= target))) continue;
      const double t = (target - uA) / (uB - uA);
      const double jd = jdA + t * (jdB - jdA);
      m.crossings.push_back({body, f.degrees, jd, {m.XAt(jd), m.YAt(target)}});
    }
}

void AddBody(ChartModel& m, const EphemerisSeries& series, const BodySeries& b) {
  const size_t n = std::min(series.jd.size(), b.longitude.size());
  if (n < 2) return;
  const int dial = m.options.dial;
  const auto retro = [&](size_t i) { return i < b.retrograde.size() && b.retrograde[i]; };
  SegmentBuilder seg(m, b.body);
  const size_t firstSegment = m.segments.size();
  seg.Start(series.jd[0], Reduce(b.longitude[0], dial), retro(1));
  for (size_t i = 1; i < n; ++i) {
    double jdA = series.jd[i - 1], uA = Reduce(b.longitude[i - 1], dial);
    const double jdB = series.jd[i];
    double uB = uA + Motion(b.longitude[i], b.longitude[i - 1]);
    // A turn starts a new segment at the previous day's point.
    if (retro(i) != seg.Retrograde()) seg.Start(jdA, uA, retro(i));
    // Each pass over the dial's edge ends the line at one edge and takes it
    // up again at the other, at the instant of the pass.
    while (uB >= dial || uB < 0) {
      const double edge = uB >= dial ? dial : 0;
      const double t = (edge - uA) / (uB - uA);
      const double jdC = jdA + t * (jdB - jdA);
      AddCrossings(m, b.body, jdA, uA, jdC, edge);
      seg.Add(jdC, edge);
      const double shift = edge == 0 ? dial : -dial;
      uA = edge + shift;
      uB += shift;
      jdA = jdC;
      seg.Start(jdA, uA, seg.Retrograde());
    }
    AddCrossings(m, b.body, jdA, uA, jdB, uB);
    seg.Add(jdB, uB);
  }
  // Drop degenerate pieces (a pass exactly at a day's instant leaves one point).
  auto first = m.segments.begin() + static_cast<std::ptrdiff_t>(firstSegment);
  m.segments.erase(
      std::remove_if(first, m.segments.end(), [](const Segment& s) { return s.points.size() < 2; }),
      m.segments.end());
  if (m.segments.size() > firstSegment)
    m.ends.push_back(
        {b.body, m.segments[firstSegment].points.front(), m.segments.back().points.back()});
}

}  // namespace

bool IsDial(int degrees) {
  return degrees == 360 || degrees == 90 || degrees == 45 || degrees == 30;
}

double Reduce(double degrees, int dial) {
  double r = std::fmod(degrees, double(dial));
  if (r < 0) r += dial;
  return r >= dial ? 0.0 : r;
}

double ChartModel::XAt(double jd) const {
  return plot.left + (jd - jd0) / (jd1 - jd0) * plot.width;
}
double ChartModel::JdAt(double x) const { return jd0 + (x - plot.left) / plot.width * (jd1 - jd0); }
double ChartModel::YAt(double r) const { return plot.bottom() - r / options.dial * plot.height; }
double ChartModel::ReducedAt(double y) const {
  return (plot.bottom() - y) / plot.height * options.dial;
}

ChartModel BuildChart(const EphemerisSeries& series, const ChartOptions& options) {
  ChartModel m;
  m.options = options;
  if (!IsDial(options.dial) || series.jd.size() < 2 || options.width <= 0 || options.height <= 0)
    return m;
  const Margins g = MarginsFor(options);
  m.plot = {g.left, g.top, std::max(1.0, options.width - g.left - g.right),
            std::max(1.0, options.height - g.top - g.bottom)};
  m.jd0 = series.jd.front();
  m.jd1 = series.jd.back();
  AddMarks(m);
  AddTicks(m);
  AddDayTicks(m);
  for (double p : options.fixedPoints) {
    const double r = Reduce(p, options.dial);
    m.fixedLines.push_back({p, r, m.YAt(r)});
  }
  for (const BodySeries& b : series.bodies) {
    m.bodies.push_back(b.body);
    AddBody(m, series, b);
  }
  std::sort(m.crossings.begin(), m.crossings.end(),
            [](const Crossing& a, const Crossing& b) { return a.jd < b.jd; });
  return m;
}

int NearestDay(const EphemerisSeries& series, double jd) {
  if (series.jd.empty()) return -1;
  auto it = std::lower_bound(series.jd.begin(), series.jd.end(), jd);
  if (it == series.jd.end()) return static_cast<int>(series.jd.size()) - 1;
  if (it != series.jd.begin() && jd - *(it - 1) < *it - jd) --it;
  return static_cast<int>(it - series.jd.begin());
}

CivilDay CivilFromJd(double jd) {
  using namespace std::chrono;
  const sys_days d{days{static_cast<int>(std::floor(jd - kUnixEpochJd))}};
  const year_month_day ymd{d};
  return {int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day()))};
}

double JdFromCivil(int y, int mo, int d) {
  using namespace std::chrono;
  const sys_days s{year{y} / month{unsigned(mo)} / day{unsigned(d)}};
  return kUnixEpochJd + s.time_since_epoch().count();
}

std::string DayText(double jd) {
  const CivilDay c = CivilFromJd(jd);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d %s %04d", c.day, kMonthAbbrev[c.month - 1], c.year);
  return buf;
}

}  // namespace novastra::chart
