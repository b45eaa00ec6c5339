#pragma once
// The list of stations ("Changes in direction").
#include <string>
#include <vector>

#include "reports/stations.h"

namespace novastra {

// "  Mercury - 11 Jan 2009 at 10:44, 07<sign>37.1" and CRLF.
std::string StationLine(const Station& station);

// "  Changes in direction (in UT):", an empty line, then one line per
// station; every line ends with CRLF.
std::string StationsListText(const std::vector<Station>& stations);

}  // namespace novastra
