#pragma once
// The list of stations ("Changes in direction").
#include <string>
#include <vector>

#include "reports/stations.h"

namespace novastra {

// "  Mercury - 11 Jan 2009 at 10:44, 07<sign>37.1" and CRLF.
// With carry, minutes of the position that round to 60.0 move into the degree.
std::string StationLine(const Station& station, bool carry = false);

// "  Changes in direction (in UT):", an empty line, then one line per
// station; every line ends with CRLF.
std::string StationsListText(const std::vector<Station>& stations, bool carry = false);

}  // namespace novastra
