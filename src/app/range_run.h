#pragma once
// Runs over any range of days: the range is cut into pieces of at most 366
// days (the longest run the program makes at once), the pieces are computed
// on several threads and handed on in order, and what a run carries from day
// to day (the directions of motion behind the stations) is carried across
// the seams, so the pieces joined equal one long run.
#include <functional>
#include <string>
#include <vector>

#include "reports/aspectarian_report.h"
#include "reports/ephemeris_report.h"
#include "reports/time_zone.h"

namespace novastra {

struct RangePiece {
  double startJD = 0;  // noon Julian Day of the piece's first day
  int dayCount = 0;
};

// Consecutive pieces of at most maxPieceDays days covering dayCount days.
std::vector<RangePiece> SplitRange(double startJD, int dayCount, int maxPieceDays);

struct RangeControl {
  int maxPieceDays = 366;
  int jobs = 1;  // threads computing pieces; 1 computes everything on the calling thread
  // Called on the calling thread after each piece is handed on.
  std::function<void(int piecesDone, int pieceCount)> progress;
};

// Each piece's report, in order, on the calling thread. `emit` returns false
// to stop the run (e.g. the output cannot be written); the function then
// returns false.
bool RunEphemerisRange(const EphemerisRequest& whole, const RangeControl& control,
                       const std::function<bool(const EphemerisReport& piece)>& emit);

// The same, with each piece also turned into text by `format` on the thread
// that computed it, so that writing the text shares the threads too (format
// is then called from several threads at once); emit gets the piece and its
// text, in order.
bool RunEphemerisRange(
    const EphemerisRequest& whole, const RangeControl& control,
    const std::function<std::string(const EphemerisReport& piece)>& format,
    const std::function<bool(const EphemerisReport& piece, const std::string& text)>& emit);

// The same for the aspectarian: every piece after the first starts from the
// directions the piece before it ended with.
bool RunAspectarianRange(const AspectarianRequest& whole, const RangeControl& control,
                         const std::function<bool(const AspectarianReport& piece)>& emit);

// The aspectarian of the dates whole.startJD .. + dayCount - 1 as the clocks
// of `zone` read them (Universal Time too). The UT days on either side are
// searched as well, and each piece handed on holds the dates of one piece of
// at most maxPieceDays local dates: the events whose local date is among them
// and the void-of-course periods that start on them (a period is found from
// the ingress that ends it, so it is kept even when that ingress falls after
// the piece). The pieces' svp and ayanamsa are those of 0h UT of their first
// date.
bool RunZonedAspectarianRange(const AspectarianRequest& whole, const TimeZone& zone,
                              const RangeControl& control,
                              const std::function<bool(const AspectarianReport& piece)>& emit);

}  // namespace novastra
