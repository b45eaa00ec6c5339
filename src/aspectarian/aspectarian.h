#pragma once
// The aspectarian run, its event finder and the list of stations.
#include <cstdint>
#include <string>
#include <vector>

namespace novastra {

struct Application;

// One station found by the event finder, refined to the minute on request.
struct StationRow {
  std::string text;     // "  MM/DD/YYYY" + hour "00" + ":00  " + body glyph
  double timeT = 0;     // T at the day's last sample (0h UT of the next day)
  double obliquityRad = 0;
  int body = 0;         // 3 Mercury .. 10 Pluto
  int glyph = 0;        // 156 turning retrograde, 171 turning direct
  double rowJD = 0;     // noon JD of the station's day
  int hour = 0;
};

struct AspectarianState {
  std::vector<std::string> lines;  // header lines 0..5, then the days; spare entry at nextFree
  int16_t nextFree = 0;
  std::vector<StationRow> stations;
  bool hasRun = false;
};

// "Calculate Aspectarian" after the button's first steps (NoonFlag, buffer
// emptied, RunKind = 0), and the More commands. Returns false when the input
// check failed or the saved file could not be written.
bool RunAspectarian(Application& app);

// "Changes in direction (in UT):" for the stations of the last aspectarian
// run, as one text of CRLF-separated lines ("" when there are none).
std::string StationsText(Application& app);

// The Data Window's "Retrograde times": appends StationsText to the view.
void ShowRetrogradeTimes(Application& app);

}  // namespace novastra
