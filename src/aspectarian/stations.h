#pragma once
// Refinement of one station to the minute, apart from the position engine so
// that its rules can be checked with any longitude curve.
#include <functional>
#include <optional>
#include <string>

#include "aspectarian/aspectarian.h"

namespace novastra {

struct RefinedStation {
  int hour = 0;        // may keep the row's hour with minutes 60
  int minutes = 0;
  double dayJD = 0;    // noon Julian Day of the day the time belongs to
  double longitude = 0;  // at the stopping minute
};

// Walks the minutes -60..+60 around the row's hour; longitudeAt gives the
// body's longitude at T (Julian centuries). Empty when it does not reverse.
std::optional<RefinedStation> RefineStation(const StationRow& row,
                                            const std::function<double(double T)>& longitudeAt);

// "  Mercury - 11 Jan 2009 at 10:44, 07<sign>37.1" and CRLF.
std::string StationLine(int body, const RefinedStation& r, bool carry = false);

}  // namespace novastra
