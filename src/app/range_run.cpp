#include "app/range_run.h"

#include <algorithm>
#include <condition_variable>
#include <limits>
#include <map>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

#include "astro/engine.h"
#include "reports/sampling.h"

namespace novastra {

namespace {

// Computes results 0..count-1 on `jobs` threads, at most a few ahead of the
// one being handed on, and hands them to `emit` in order on this thread.
template <class Result>
bool OrderedMap(int count, int jobs, const std::function<Result(int)>& compute,
                const std::function<bool(Result&, int)>& emit) {
  if (jobs <= 1 || count <= 1) {
    for (int i = 0; i < count; ++i) {
      Result r = compute(i);
      if (!emit(r, i)) return false;
    }
    return true;
  }
  std::mutex mutex;
  std::condition_variable changed;
  std::map<int, Result> ready;
  int next = 0;     // next index to compute
  int emitted = 0;  // next index to hand on
  bool stop = false;
  const int ahead = 2 * jobs;

  auto worker = [&] {
    for (;;) {
      int i;
      {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return stop || next >= count || next < emitted + ahead; });
        if (stop || next >= count) return;
        i = next++;
      }
      Result r = compute(i);
      {
        std::lock_guard lock(mutex);
        ready.emplace(i, std::move(r));
      }
      changed.notify_all();
    }
  };
  std::vector<std::thread> pool;
  try {
    for (int t = 0; t < jobs; ++t) pool.emplace_back(worker);
  } catch (const std::system_error&) {
    if (pool.empty()) {  // no thread at all: everything here
      for (int i = 0; i < count; ++i) {
        Result r = compute(i);
        if (!emit(r, i)) return false;
      }
      return true;
    }
  }
  bool ok = true;
  for (int i = 0; i < count && ok; ++i) {
    std::optional<Result> r;
    {
      std::unique_lock lock(mutex);
      changed.wait(lock, [&] { return ready.count(i) > 0; });
      r.emplace(std::move(ready.at(i)));
      ready.erase(i);
    }
    ok = emit(*r, i);
    {
      std::lock_guard lock(mutex);
      emitted = i + 1;
      if (!ok) stop = true;
    }
    changed.notify_all();
  }
  for (auto& t : pool) t.join();
  return ok;
}

}  // namespace

std::vector<RangePiece> SplitRange(double startJD, int dayCount, int maxPieceDays) {
  std::vector<RangePiece> pieces;
  const int step = std::max(maxPieceDays, 1);
  for (int d = 0; d < dayCount; d += step)
    pieces.push_back({startJD + d, std::min(step, dayCount - d)});
  return pieces;
}

bool RunEphemerisRange(const EphemerisRequest& whole, const RangeControl& control,
                       const std::function<bool(const EphemerisReport& piece)>& emit) {
  return RunEphemerisRange(
      whole, control, [](const EphemerisReport&) { return std::string(); },
      [&emit](const EphemerisReport& piece, const std::string&) { return emit(piece); });
}

bool RunEphemerisRange(
    const EphemerisRequest& whole, const RangeControl& control,
    const std::function<std::string(const EphemerisReport& piece)>& format,
    const std::function<bool(const EphemerisReport& piece, const std::string& text)>& emit) {
  const std::vector<RangePiece> pieces =
      SplitRange(whole.startJD, whole.dayCount, control.maxPieceDays);
  const int count = static_cast<int>(pieces.size());
  struct Piece {
    EphemerisReport report;
    std::string text;
  };
  // Each piece computes the day before its first for the retrograde marks, so
  // pieces are independent and equal the same days of one long run.
  std::function<Piece(int)> compute = [&](int i) {
    EphemerisRequest r = whole;
    r.startJD = pieces[i].startJD;
    r.dayCount = pieces[i].dayCount;
    Piece piece{BuildEphemeris(r), {}};
    piece.text = format(piece.report);
    return piece;
  };
  std::function<bool(Piece&, int)> hand = [&](Piece& piece, int i) {
    if (!emit(piece.report, piece.text)) return false;
    if (control.progress) control.progress(i + 1, count);
    return true;
  };
  return OrderedMap(count, control.jobs, compute, hand);
}

bool RunAspectarianRange(const AspectarianRequest& whole, const RangeControl& control,
                         const std::function<bool(const AspectarianReport& piece)>& emit) {
  const std::vector<RangePiece> pieces =
      SplitRange(whole.startJD, whole.dayCount, control.maxPieceDays);
  const int count = static_cast<int>(pieces.size());
  struct Piece {
    InitialDirections start;
    AspectarianReport report;
  };
  // --jobs counts every thread: the pieces computed at once share them, so
  // each samples its days on jobs / (pieces at once) of them (one with one job).
  const int jobs = std::max(control.jobs, 1);
  const int sampling = std::max(1, jobs / std::max(1, std::min(jobs, count)));
  auto build = [&](int i, const InitialDirections& start) {
    AspectarianRequest r = whole;
    r.sky.threads = sampling;
    r.startJD = pieces[i].startJD;
    r.dayCount = pieces[i].dayCount;
    r.directions = start;
    return BuildAspectarian(r);
  };
  // A piece is computed ahead from the directions at its own start, as a run
  // starting there would be.
  std::function<Piece(int)> compute = [&](int i) {
    InitialDirections start;
    if (i == 0 && whole.directions)
      start = *whole.directions;
    else if (whole.sky.coords == Coordinates::Heliocentric)
      start.flag.fill(1);
    else
      start = DirectionsAt(whole.sky, pieces[i].startJD);
    return Piece{start, build(i, start)};
  };
  InitialDirections carried;
  std::function<bool(Piece&, int)> hand = [&](Piece& piece, int i) {
    // Near a station the directions carried from the piece before can differ
    // from those at the piece's start: the piece is then found again from them
    // (only the directions of the bodies whose turns are listed count).
    if (i > 0 && !SameTurningDirections(piece.start, carried)) piece.report = build(i, carried);
    carried = piece.report.directions;
    if (!emit(piece.report)) return false;
    if (control.progress) control.progress(i + 1, count);
    return true;
  };
  return OrderedMap(count, control.jobs, compute, hand);
}

bool RunZonedAspectarianRange(const AspectarianRequest& whole, const TimeZone& zone,
                              const RangeControl& control,
                              const std::function<bool(const AspectarianReport& piece)>& emit) {
  // No zone is more than a day from UT, and a void period lasts at most about
  // two and a half days: a local piece is complete once the UT search has
  // passed its last local midnight by this much.
  constexpr double kSettleDays = 3.0;
  AspectarianRequest ut = whole;
  ut.startJD = whole.startJD - 1;
  ut.dayCount = whole.dayCount + 2;
  ut.findEclipses = false;  // found for each local piece from its own lunations
  const std::vector<RangePiece> local =
      SplitRange(whole.startJD, whole.dayCount, control.maxPieceDays);
  size_t next = 0;
  struct Dated {
    double dayJD;  // local date
    Event event;
  };
  std::vector<Dated> events;
  std::vector<std::pair<double, VoidOfCourse>> voids;

  auto flush = [&](double searchedUntilJD) {
    while (next < local.size()) {
      const RangePiece& piece = local[next];
      const double endDay = piece.startJD + piece.dayCount;
      if (zone.UniversalOf(endDay, 0) + kSettleDays > searchedUntilJD) break;
      AspectarianReport report;
      report.startJD = piece.startJD;
      report.dayCount = piece.dayCount;
      const InstantSetup first =
          PrepareInstantAt(HourT(piece.startJD, 0), piece.startJD, whole.sky.ayanamsa);
      report.svp = first.Svp;
      report.ayanamsa = first.Ayanamsa;
      report.named = first.Named;
      auto inPiece = [&](double day) { return day >= piece.startJD && day < endDay; };
      for (const Dated& d : events)
        if (inPiece(d.dayJD)) report.events.push_back(d.event);
      for (const auto& [day, v] : voids)
        if (inPiece(day)) report.voids.push_back(v);
      if (whole.findEclipses)
        report.eclipses = EclipsesOfLunations(report.events, *whole.sky.tables);
      // What is dated before the next piece's end is no longer needed.
      std::erase_if(events, [&](const Dated& d) { return d.dayJD < endDay; });
      std::erase_if(voids, [&](const auto& d) { return d.first < endDay; });
      ++next;
      if (!emit(report)) return false;
    }
    return true;
  };
  const bool ok = RunAspectarianRange(ut, control, [&](const AspectarianReport& piece) {
    for (const Event& e : piece.events) events.push_back({zone.At(e.jd).dayJD, e});
    for (const VoidOfCourse& v : piece.voids) voids.emplace_back(zone.At(v.startJD).dayJD, v);
    return flush(piece.startJD + piece.dayCount - 0.5);
  });
  return ok && flush(std::numeric_limits<double>::infinity());
}

}  // namespace novastra
