// Long runs in pieces: joined they equal one long run, whatever the seams,
// and the threaded run equals the serial one.
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

#include "app/range_run.h"
#include "astro/calendar.h"
#include "cli_support.h"
#include "text/export_formats.h"

namespace novastra {
namespace {

using testing_support::Tables;

bool Same(const Event& a, const Event& b) {
  return a.kind == b.kind && a.body == b.body && a.other == b.other && a.aspect == b.aspect &&
         a.sign == b.sign && a.direction == b.direction && a.eclipse == b.eclipse &&
         a.dayJD == b.dayJD && a.hour == b.hour && a.minutes == b.minutes && a.jd == b.jd &&
         a.moonLongitude == b.moonLongitude;
}

AspectarianRequest Years2009And2010() {
  AspectarianRequest r;
  r.sky.tables = &Tables();
  r.startJD = JulianDayNumber(2009, 1, 1);
  r.dayCount = 730;
  return r;
}

std::vector<Event> InPieces(const AspectarianRequest& whole, int pieceDays, int jobs) {
  std::vector<Event> events;
  RangeControl control;
  control.maxPieceDays = pieceDays;
  control.jobs = jobs;
  EXPECT_TRUE(RunAspectarianRange(whole, control, [&](const AspectarianReport& piece) {
    events.insert(events.end(), piece.events.begin(), piece.events.end());
    return true;
  }));
  return events;
}

TEST(RangeRun, TwoYearsInPiecesEqualOneLongRunAtEverySeam) {
  const AspectarianRequest whole = Years2009And2010();
  const AspectarianReport longRun = BuildAspectarian(whole);
  // Seams: 1 January 2010 (the two one-year runs), and the days of the first
  // stations and planet ingresses of 2010 and the days after them.
  std::set<int> seams = {1, 365};  // 1: every day is a seam
  int stations = 0, ingresses = 0;
  for (const Event& e : longRun.events) {
    const int day = static_cast<int>(e.dayJD - whole.startJD);
    if (day < 365) continue;
    if (e.kind == EventKind::Station && stations++ < 3) seams.insert({day, day + 1});
    if (e.kind == EventKind::Ingress && e.body != 2 && ingresses++ < 2)
      seams.insert({day, day + 1});
  }
  ASSERT_GE(seams.size(), 9u);
  for (int seam : seams) {
    // Pieces of `seam` days put a seam at that day (and more further on).
    const std::vector<Event> joined = InPieces(whole, seam, 2);
    ASSERT_EQ(joined.size(), longRun.events.size()) << "seam at day " << seam;
    for (size_t k = 0; k < joined.size(); ++k)
      ASSERT_TRUE(Same(joined[k], longRun.events[k])) << "seam at day " << seam << ", event " << k;
  }
}

TEST(RangeRun, ThreadedRunsEqualSerialRuns) {
  EphemerisRequest eph;
  eph.tables = &Tables();
  eph.startJD = JulianDayNumber(1899, 12, 1);
  eph.dayCount = 900;
  auto csvOf = [&](int jobs) {
    std::string csv;
    RangeControl control;
    control.maxPieceDays = 100;
    control.jobs = jobs;
    int pieces = 0;
    RunEphemerisRange(eph, control, [&](const EphemerisReport& piece) {
      AppendEphemerisCsv(csv, piece);
      ++pieces;
      return true;
    });
    EXPECT_EQ(pieces, 9);
    return csv;
  };
  // The same, each piece written out where it was computed: the texts come
  // back in order, and with more than one job none is written on this thread.
  auto formattedOf = [&](int jobs) {
    std::string csv;
    RangeControl control;
    control.maxPieceDays = 100;
    control.jobs = jobs;
    std::atomic<int> here = 0;
    const std::thread::id caller = std::this_thread::get_id();
    RunEphemerisRange(
        eph, control,
        [&](const EphemerisReport& piece) {
          here += std::this_thread::get_id() == caller ? 1 : 0;
          std::string text;
          AppendEphemerisCsv(text, piece);
          return text;
        },
        [&](const EphemerisReport&, const std::string& text) {
          csv += text;
          return true;
        });
    EXPECT_EQ(here, jobs == 1 ? 9 : 0) << jobs << " jobs";
    return csv;
  };
  std::string oneRun;
  AppendEphemerisCsv(oneRun, BuildEphemeris(eph));
  for (const int jobs : {1, 2, 3}) {
    EXPECT_EQ(csvOf(jobs), oneRun) << jobs << " jobs";
    EXPECT_EQ(formattedOf(jobs), oneRun) << jobs << " jobs";
  }

  AspectarianRequest asp = Years2009And2010();
  asp.dayCount = 400;
  const auto serial = InPieces(asp, 50, 1);
  const auto threaded = InPieces(asp, 50, 2);
  ASSERT_EQ(serial.size(), threaded.size());
  for (size_t k = 0; k < serial.size(); ++k) ASSERT_TRUE(Same(serial[k], threaded[k])) << k;
}

TEST(RangeRun, StopsWhenTheOutputFails) {
  EphemerisRequest eph;
  eph.tables = &Tables();
  eph.startJD = JulianDayNumber(2000, 1, 1);
  eph.dayCount = 1000;
  RangeControl control;
  control.maxPieceDays = 10;
  control.jobs = 2;
  int handed = 0;
  EXPECT_FALSE(
      RunEphemerisRange(eph, control, [&](const EphemerisReport&) { return ++handed < 3; }));
  EXPECT_EQ(handed, 3);
}

}  // namespace
}  // namespace novastra
