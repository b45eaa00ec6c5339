#pragma once
// NOVASTRA.INI: window layout, the Data Window's font and the Input window's
// last choices, read at start-up and written at exit.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/run_parameters.h"

namespace novastra {

struct Settings {
  double FontSize = 10;
  double FontBold = 0;                                                       // 0 off, -1 on
  double FontItalic = 0;                                                     // 0 off, -1 on
  float MainTop = 0, MainLeft = 0, MainHeight = 675, MainWidth = 6550;       // twips
  int16_t DataTop = 660, DataLeft = 0, DataHeight = 6540, DataWidth = 9600;  // twips
  int16_t NumberOfDays = 30;
  // Maximised windows (their places above are the places to restore to).
  bool MainMaximized = false, DataMaximized = false;
  // The minor bodies the graphic ephemeris draws beside its planets, and
  // those the calendar export starts with ticked (none by default).
  MinorChoice GraphMinorBodies{}, CalendarMinorBodies{};
};

// Sets the defaults, then applies "NOVASTRA.INI" from the folder; the Input
// window's choices go straight into params. Never fails: a missing or bad file
// leaves what was applied so far. Returns "" when the file was read or is
// missing, else the message for a file that is there but cannot be read
// ("Cannot read NOVASTRA.INI: REASON.").
std::string ReadSettings(const std::filesystem::path& folder, Settings& settings,
                         RunParameters& params);

// Writes the whole file anew (safely: a temporary file, then a rename).
// Returns false when it cannot be written.
bool WriteSettings(const std::filesystem::path& folder, const Settings& settings,
                   const RunParameters& params);

// N(x) of the settings file: the shortest plain decimal text of x, preceded
// by one blank when x is not negative (" 10", "-1", " 7.75").
std::string SettingsNumber(double x);

}  // namespace novastra
