#include "aspectarian/events.h"

#include <array>
#include <cmath>
#include <iterator>
#include <utility>

#include "astro/calendar.h"
#include "ephemeris/pages.h"
#include "output/carry.h"
#include "output/text_format.h"

namespace novastra {

namespace {

inline constexpr int kSun = 1, kMoon = 2, kNode = 11;

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
std::array<int8_t, 625> BuildWrapLookup() {
  std::array<int8_t, 625> lookup{};
  for (int key = 0; key < 625; ++key) {
    const double v[4] = {kClassValue[key / 125], kClassValue[key / 25 % 5], kClassValue[key / 5 % 5],
                         kClassValue[key % 5]};
    for (int r = 0; r < static_cast<int>(std::size(kWrapTable)); ++r) {
      bool match = true;
      for (int k = 0; k < 4 && match; ++k) match = Holds(kWrapTable[r].cond[k], v[k]);
      if (match) {
        lookup[key] = static_cast<int8_t>(r + 1);
        break;
      }
    }
  }
  return lookup;
}

const std::array<int8_t, 625> kWrapLookup = BuildWrapLookup();

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
  if (d > 200) x0 += 360;
  else if (d < -200) x0 -= 360;
  else if (d > 20) x0 += 180;
  else if (d < -20) x0 -= 180;
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

int AspectTypeOf(double x) {
  if (x < 1) return 1;
  if (x > 59 && x < 61) return 2;
  if (x > 89 && x < 91) return 3;
  if (x > 119 && x < 121) return 4;
  if (x > 179 && x < 181) return 5;
  return 0;
}

namespace {

// " dd<sign>mm.m" position text of a lunation.
std::string PositionText(double lon, bool carry) {
  Zodiacal z = SplitZodiacal(lon - 360 * std::floor(lon / 360));
  if (carry) z = CarryZodiacalMinutes(z, 1);
  return Fmt00(z.degrees) + SignCode(z.sign) + Fmt00_0(z.minutes);
}

bool SolarEclipse(double x) {
  return x < 18.5167 || (x > 161.4833 && x < 198.5167) || x > 341.4833;
}

bool LunarEclipse(double x) {
  return x < 12.25 || (x > 167.75 && x < 192.25) || x > 347.75;
}

}  // namespace

int BodyGlyph(int body, Coordinates coords) {
  if (body == kSun) return coords == Coordinates::Heliocentric ? 236 : 224;
  if (body == kMoon) return 233;
  if (body == kNode) return 234;
  return 222 + body;  // Mercury 225 .. Pluto 232
}

int SignOf(double x) { return static_cast<int>(std::floor(std::floor(x) / 30)) + 1; }

double DegreesInSegment(double x) { return x - 30 * std::floor(std::floor(x) / 30); }

DayEvents FindDayEvents(const HourSamples& samples, const std::string& dateText,
                        const EventChoices& choices, InitialDirections& directions) {
  DayEvents out;
  const bool helio = choices.coords == Coordinates::Heliocentric;
  const bool listAll = !choices.moonChangeOnly;
  const std::string ddmmm = FormatDdMmm(dateText);
  char glyph[12];
  for (int b = 1; b <= 11; ++b) glyph[b] = static_cast<char>(BodyGlyph(b, choices.coords));

  bool ingressReported[12] = {};
  bool noStation[12] = {};
  if (choices.moonSign == MoonChangeSign::NoDisplay) ingressReported[kMoon] = true;
  noStation[kSun] = noStation[kMoon] = true;

  // Minutes that round to 60 carry into the hour; 24:00 is 00:00 of the next
  // day, whose list the line joins (see CarriedToNextDay).
  std::string nextDdmmm;
  auto start = [&](int h, double m) {
    if (!choices.carry) return "  " + ddmmm + "  " + Fmt00(h) + ":" + Fmt00(m);
    const Sexagesimal hm = CarrySixty(h, m, 0);
    if (hm.whole < 24) return "  " + ddmmm + "  " + Fmt00(hm.whole) + ":" + Fmt00(hm.part);
    if (nextDdmmm.empty()) {
      const CivilDate d = ParseDateText(dateText);
      nextDdmmm = FormatDdMmm(DateTextFromJulianDay(JulianDayNumber(d.year, d.month, d.day) + 1));
    }
    return "  " + nextDdmmm + "  00:00";
  };
  const auto& lon = samples.first;
  const auto& dec = samples.second;

  // Each body's hourly step does not depend on the pair: work it out once.
  struct Step {
    double x0, x1, motion;  // x0 unwrapped against x1
    double g0, g1;          // degrees within their segments
    int class0, class1;     // of g0, g1 against the wrap table's bounds
    int sign0, sign1;
  };
  Step steps[12][24];
  for (int b = 1; b <= 11; ++b) {
    for (int h = 0; h < 24; ++h) {
      Step& st = steps[b][h];
      st.x0 = lon[b][h];
      st.x1 = lon[b][h + 1];
      Unwrap(st.x0, st.x1);
      st.motion = IntoMotionRange(st.x1 - st.x0);
      st.g0 = DegreesInSegment(st.x0);
      st.g1 = DegreesInSegment(st.x1);
      st.class0 = BoundClass(st.g0);
      st.class1 = BoundClass(st.g1);
      st.sign0 = SignOf(st.x0);
      st.sign1 = SignOf(st.x1);
    }
  }

  for (int i = 1; i <= 10; ++i) {
    for (int j = i + 1; j <= 11; ++j) {
      if (helio && (i == kMoon || j == kMoon)) continue;
      for (int h = 0; h < 24; ++h) {
        const Step& si = steps[i][h];
        const Step& sj = steps[j][h];
        const double ma = si.motion, mb = sj.motion;

        // Ingress of body i, once a day.
        if (si.sign0 != si.sign1 && !ingressReported[i]) {
          double g0 = si.g0, g1 = si.g1;
          if (std::fabs(g0) < 5) g0 += 30;
          if (std::fabs(g1) < 5) g1 += 30;
          const double m = g0 == g1 ? 0 : 60 * (g0 - 30) / (g0 - g1);
          const int entered = si.sign1;
          if (i == kMoon) {
            bool cardinal = entered == 1 || entered == 4 || entered == 7 || entered == 10;
            if (choices.option12 == 0 || cardinal) {
              out.lines.push_back(start(h, m) + "  " + glyph[i] + "  " + SignCode(entered) +
                                  " - Moon ingress");
              ingressReported[i] = true;
            }
          } else if (listAll) {
            out.lines.push_back(start(h, m) + "  " + glyph[i] + "  " + SignCode(entered) +
                                " - planet ingress");
            ingressReported[i] = true;
          }
        }

        if (helio && (i == 10 || j == 11)) continue;

        // Station of body i, to the hour.
        if (!helio && !noStation[i]) {
          const double delta = si.x1 - si.x0;
          int turned = 0;
          if (directions.flag[i] == 1 && ((delta > -1 && delta < 0) || delta > 358)) {
            directions.flag[i] = 0;
            turned = kGlyphRetrograde;
          } else if (directions.flag[i] == 0 && ((delta > 0 && delta < 1) || delta < -358)) {
            directions.flag[i] = 1;
            turned = kGlyphDirect;
          }
          if (turned) {
            if (listAll) {
              out.lines.push_back("  " + ddmmm + "  " + Fmt00(h) + ":00  " + glyph[i] + "  " +
                                  static_cast<char>(turned) + " +/- up to 1 hour");
              out.stations.push_back({i, h, turned});
            }
            noStation[i] = true;
          }
        }

        // Faster body first, by signed hourly motion.
        const bool iFaster = ma > mb;
        const int fBody = iFaster ? i : j;
        const Step& fs = iFaster ? si : sj;
        const Step& ss = iFaster ? sj : si;
        const double fh = fs.x0, fm = fs.motion;
        const double sh = ss.x0, sm = ss.motion;

        // Aspect in longitude.
        double v[4] = {fs.g0, fs.g1, ss.g0, ss.g1};
        const int classes[4] = {fs.class0, fs.class1, ss.class0, ss.class1};
        CompensateWrap(v, classes);
        if (v[0] <= v[2] && v[1] >= v[3]) {
          const double den = (v[1] - v[0]) - (v[3] - v[2]);
          const double m = den == 0 ? 0 : 60 * (v[2] - v[0]) / den;
          const double p = fh + fm * m / 60;
          const double q = sh + sm * m / 60;
          double x = std::fabs(p - q);
          if (x > 180) x = 360 - x;
          const int type = AspectTypeOf(x);
          if (type && listAll) {
            std::string line = start(h, m) + "  " + glyph[i] + static_cast<char>(160 + type) + glyph[j];
            if (i == kSun && j == kMoon && (type == 1 || type == 3 || type == 5)) {
              const double moon = fBody == kMoon ? p : q;
              const double xn = std::fabs(moon - lon[kNode][h]);
              const char* name = type == 1 ? " - (New Moon, " : type == 3 ? " - (Quarter Moon, " : " - (Full Moon, ";
              line += name + PositionText(moon, choices.carry) + ")";
              if (type == 1 && SolarEclipse(xn)) line += " - solar eclipse";
              if (type == 5 && LunarEclipse(xn)) line += " - lunar eclipse";
            }
            out.lines.push_back(std::move(line));
          }
        }

        // Parallels and contraparallels of declination (or latitude).
        const double f0 = iFaster ? dec[i][h] : dec[j][h], f1 = iFaster ? dec[i][h + 1] : dec[j][h + 1];
        const double s0 = iFaster ? dec[j][h] : dec[i][h], s1 = iFaster ? dec[j][h + 1] : dec[i][h + 1];
        double m = -1;
        const bool signChange = (f0 <= 0 && f1 >= 0) || (s0 <= 0 && s1 >= 0) ||
                                (f0 >= 0 && f1 <= 0) || (s0 >= 0 && s1 <= 0);
        if (signChange) {
          const double f = CrossingFraction(f0, f1, s0, s1);
          if (f >= 0 && f <= 1) m = 60 * f;
        }
        if (m < 0) {
          const double af0 = std::fabs(f0), af1 = std::fabs(f1);
          const double as0 = std::fabs(s0), as1 = std::fabs(s1);
          if ((af0 <= as0 && af1 >= as1) || (af0 >= as0 && af1 <= as1)) {
            const double den = (af1 - af0) - (as1 - as0);
            m = den == 0 ? 0 : 60 * (as0 - af0) / den;
          }
        }
        if (m < 0) continue;  // no parallel this hour
        // Each value moves from its hour's start by the body's motion in
        // longitude, in the direction the value itself moves.
        const double p = f1 >= f0 ? f0 + fm * m / 60 : f0 - fm * m / 60;
        const double q = s1 >= s0 ? s0 + sm * m / 60 : s0 - sm * m / 60;
        if (std::fabs(std::fabs(p) - std::fabs(q)) >= 0.5) continue;
        const int type = (p >= 0) == (q >= 0) ? 1 : 2;
        if (listAll)
          out.lines.push_back(start(h, m) + "  " + glyph[i] + static_cast<char>(11 * type + 155) + glyph[j]);
      }
    }
  }
  if (!nextDdmmm.empty()) {
    // Lines that rounded to 24:00 belong to the next day's list.
    auto carried = [&](const std::string& line) { return line.compare(2, 6, nextDdmmm) == 0; };
    for (const std::string& line : out.lines)
      if (carried(line)) out.nextDay.push_back(line);
    std::erase_if(out.lines, carried);
  }
  return out;
}

namespace {

// The number at two characters of a line, read like the program's Val.
int TwoDigits(const std::string& line, size_t pos) {
  if (line.size() < pos + 2) return 0;
  int sign = 1, value = 0;
  size_t k = pos;
  if (line[k] == '-') { sign = -1; ++k; }
  for (; k < pos + 2 && line[k] >= '0' && line[k] <= '9'; ++k) value = value * 10 + (line[k] - '0');
  return sign * value;
}

}  // namespace

void SortDayEvents(std::vector<std::string>& lines) {
  const size_t n = lines.size();
  for (size_t i = 0; i + 1 < n; ++i) {
    for (size_t j = i + 1; j < n; ++j) {
      const int hi = TwoDigits(lines[i], 10), hj = TwoDigits(lines[j], 10);
      if (hi > hj || (hi == hj && TwoDigits(lines[i], 13) > TwoDigits(lines[j], 13)))
        std::swap(lines[i], lines[j]);
    }
  }
}

void AppendDay(std::vector<std::string>& out, const std::vector<std::string>& day) {
  for (size_t k = 0; k < day.size(); ++k) {
    std::string line = day[k];
    if (k > 0 && line.size() >= 4) line.replace(2, 6, 6, ' ');
    out.push_back(std::move(line));
  }
  out.emplace_back();
}

std::vector<std::string> TwoColumnLines(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  auto padTo = [](std::string s, size_t width) {
    if (s.size() < width) s.append(width - s.size(), ' ');
    return s;
  };
  for (size_t k = 0; k < 4 && k < lines.size(); ++k) out.push_back(lines[k]);
  for (size_t k = 4; k < 6 && k < lines.size(); ++k) out.push_back(padTo(lines[k], 64) + lines[k]);
  if (lines.size() <= 6) return out;
  const size_t n = lines.size() - 6;
  const size_t s = n / 2;
  for (size_t r = 6; r < 6 + s; ++r) {
    const std::string& left = lines[r];
    size_t width = 61;
    if (left.empty()) width = 64;
    else if (left.find("ingress") != std::string::npos || left.find("up to 1 hour") != std::string::npos) width = 62;
    else if (left.find("Moon") != std::string::npos) width = 60;
    out.push_back(padTo(left, width) + lines[r + s]);
  }
  return out;
}

}  // namespace novastra
