// The minor aspects (semisextile 30, semisquare 45, quintile 72,
// sesquiquadrate 135, biquintile 144, quincunx 150) against the position
// engine: the instants of a whole year are found here independently, by
// scanning every pair's separation every 20 minutes and bisecting each
// crossing to the second, and the aspectarian must list each one exactly
// once, within a minute. Choosing them adds events and changes none of the
// five aspects' events.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "astro/angles.h"
#include "astro/calendar.h"
#include "reports/aspectarian_report.h"
#include "support/sky.h"
#include "text/export_formats.h"
#include "text/ical_export.h"

namespace novastra {
namespace {

using testing_support::AspectarianOver;
using testing_support::PositionsAt;

constexpr std::uint16_t kMinorOnly = kAllAspects & ~kMajorAspects;

double Wrap180(double x) { return x - 360 * std::round(x / 360); }

// Signed distance of the pair's separation (i - j, -180..180) from +angle
// or -angle.
double Gap(const BodyPositions& p, int i, int j, double target) {
  return Wrap180(Wrap180(p.Longitude[i] - p.Longitude[j]) - target);
}

struct Crossing {
  int i, j, type;
  double jd;
};

// Every crossing of every minor angle by every pair over [start, start + days).
std::vector<Crossing> EngineCrossings(double startJD, int days) {
  constexpr double kStep = 20.0 / 1440;
  std::vector<Crossing> out;
  const double t0 = startJD - 0.5, t1 = t0 + days;
  BodyPositions prev = PositionsAt(t0);
  for (double t = t0 + kStep; t <= t1 + 1e-9; t += kStep) {
    const BodyPositions cur = PositionsAt(t);
    for (int i = 1; i <= 10; ++i)
      for (int j = i + 1; j <= 11; ++j)
        for (int type = kSemisextile; type <= kQuincunx; ++type)
          for (const double target : {AspectAngle(type), -AspectAngle(type)}) {
            const double g0 = Gap(prev, i, j, target), g1 = Gap(cur, i, j, target);
            if ((g0 < 0) == (g1 < 0) || std::fabs(g1 - g0) > 90) continue;
            double a = t - kStep, b = t;  // bisect to a tenth of a second
            while (b - a > 0.1 / 86400) {
              const double m = (a + b) / 2;
              ((Gap(PositionsAt(m), i, j, target) < 0) == (g0 < 0) ? a : b) = m;
            }
            out.push_back({i, j, type, (a + b) / 2});
          }
    prev = cur;
  }
  return out;
}

bool SameEvent(const Event& a, const Event& b) {
  return a.kind == b.kind && a.body == b.body && a.other == b.other && a.aspect == b.aspect &&
         a.jd == b.jd && a.sign == b.sign && a.direction == b.direction;
}

class MinorAspects : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    AspectarianRequest r = AspectarianOver(kStart, kDays);
    r.choices.aspects = kAllAspects;
    all_ = new AspectarianReport(BuildAspectarian(r));
  }
  static void TearDownTestSuite() { delete all_; }
  static constexpr double kStart = 2454832;  // 1 January 2009
  static constexpr int kDays = 365;
  static AspectarianReport* all_;
};
AspectarianReport* MinorAspects::all_ = nullptr;

TEST_F(MinorAspects, EveryCrossingOfTheEngineListedOnceWithinAMinute) {
  const std::vector<Crossing> crossings = EngineCrossings(kStart, kDays);
  std::vector<const Event*> listed;
  for (const Event& e : all_->events)
    if (e.kind == EventKind::Aspect && !IsMajorAspect(e.aspect)) listed.push_back(&e);
  // About 1,600 of the Moon's and a few hundred of the planets' a year.
  EXPECT_GT(crossings.size(), 1500u);
  EXPECT_EQ(listed.size(), crossings.size());
  std::vector<bool> used(listed.size());
  for (const Crossing& c : crossings) {
    int matches = 0;
    for (size_t k = 0; k < listed.size(); ++k) {
      const Event& e = *listed[k];
      if (e.body != c.i || e.other != c.j || e.aspect != c.type) continue;
      if (std::fabs(e.jd - c.jd) > 1.0 / 1440) continue;
      ++matches;
      used[k] = true;
      EXPECT_NEAR(e.separation, AspectAngle(c.type), 1.0 / 60);
    }
    EXPECT_EQ(matches, 1) << AspectName(c.type) << " of " << c.i << "-" << c.j << " at JD "
                          << c.jd << " (" << DateTextFromJulianDay(std::floor(c.jd + 0.5)) << ")";
  }
  for (size_t k = 0; k < listed.size(); ++k)
    EXPECT_TRUE(used[k]) << "listed but not in the sky: " << AspectName(listed[k]->aspect)
                         << " of " << listed[k]->body << "-" << listed[k]->other << " at JD "
                         << listed[k]->jd;
}

// The five aspects' run is the all-aspects run without its minor aspects,
// event for event; the minor aspects alone leave the lunations and other
// kinds as they are and drop the five.
TEST_F(MinorAspects, ChoosingThemChangesNoOtherEvent) {
  const AspectarianReport major = BuildAspectarian(AspectarianOver(kStart, kDays));
  std::vector<Event> withoutMinor;
  for (const Event& e : all_->events)
    if (e.kind != EventKind::Aspect || IsMajorAspect(e.aspect)) withoutMinor.push_back(e);
  ASSERT_EQ(withoutMinor.size(), major.events.size());
  for (size_t k = 0; k < major.events.size(); ++k)
    EXPECT_TRUE(SameEvent(withoutMinor[k], major.events[k])) << k;
  // The void periods end only with the five aspects.
  ASSERT_EQ(all_->voids.size(), major.voids.size());
  for (size_t k = 0; k < major.voids.size(); ++k)
    EXPECT_EQ(all_->voids[k].startJD, major.voids[k].startJD);

  AspectarianRequest r = AspectarianOver(kStart, 31);
  r.choices.aspects = kMinorOnly;
  int lunations = 0;
  for (const Event& e : BuildAspectarian(r).events) {
    EXPECT_FALSE(e.kind == EventKind::Aspect && IsMajorAspect(e.aspect));
    lunations += e.kind == EventKind::Lunation;
  }
  EXPECT_GE(lunations, 4);  // January 2009's New, Full and Quarter Moons
}

TEST(MinorAspectsHelio, NoMoonAndTheSameCare) {
  AspectarianRequest r = AspectarianOver(2454832, 365);
  r.sky.coords = r.choices.coords = Coordinates::Heliocentric;
  r.choices.aspects = kAllAspects;
  int minor = 0;
  for (const Event& e : BuildAspectarian(r).events) {
    EXPECT_NE(e.body, 2);
    EXPECT_NE(e.other, 2);
    if (e.kind == EventKind::Aspect && !IsMajorAspect(e.aspect)) ++minor;
  }
  EXPECT_GT(minor, 20);  // Mercury alone makes a dozen a quarter
}

TEST(AspectList, WordsAndRefusals) {
  struct Case {
    const char* list;
    bool ok;
    std::uint16_t bits;
  };
  const Case cases[] = {
      {"major", true, kMajorAspects},
      {"all", true, kAllAspects},
      {"minor", true, kMinorOnly},
      {"Quincunx, square", true, (1u << kQuincunx) | (1u << kSquare)},
      {"major,semisquare", true, kMajorAspects | (1u << kSemisquare)},
      {"semisextile,quintile,sesquiquadrate,biquintile", true,
       (1u << kSemisextile) | (1u << kQuintile) | (1u << kSesquiquadrate) | (1u << kBiquintile)},
      {"", false, 0},
      {"square,,trine", false, 0},
      {"inconjunct", false, 0},
  };
  for (const Case& c : cases) {
    std::uint16_t bits = 0x7777;
    std::string why;
    EXPECT_EQ(ParseAspectList(c.list, bits, why), c.ok) << c.list;
    if (c.ok) {
      EXPECT_EQ(bits, c.bits) << c.list;
      std::uint16_t back = 0;
      EXPECT_TRUE(ParseAspectList(AspectListWords(bits), back, why));
      EXPECT_EQ(back, bits) << AspectListWords(bits);
    } else {
      EXPECT_EQ(bits, 0x7777) << "a refused list changes nothing";
      EXPECT_NE(why.find("quincunx"), std::string::npos) << why;  // names the choices
    }
  }
}

}  // namespace
}  // namespace novastra
