#pragma once
// "Export calendar..." of the Data Window: the last aspectarian run as an
// iCalendar file for the user's own calendar program. The choices (kinds of
// event, bodies) and the file name are asked through the user-interface seam,
// so the tests answer them without dialogs.
#include <ctime>
#include <filesystem>
#include <string>

#include "text/ical_export.h"

namespace novastra {

class Application;

inline constexpr const char* kNoCalendarRun =
    "Calculate an aspectarian first: the calendar is made from its events.";

// What the calendar dialog shows: the zone of the run, how many events and
// void periods it holds, and the choices it starts from: every kind and body,
// and the minor bodies of the run with those chosen at the last export.
struct CalendarExportQuestion {
  std::string zoneName;  // "UT" or the IANA name the run was shown in
  int eventCount = 0;
  int voidCount = 0;
  CalendarFilter filter;
  // Minor bodies can be chosen (geocentric runs only).
  bool minorBodies = true;
};

// What the save dialog starts with.
struct CalendarSaveQuestion {
  std::filesystem::path folder;  // the application folder
  std::string fileName;          // "mmddyyyy.ics" of the run's first day
  std::string filter = "Calendar Files (*.ics)";
  std::string defaultExtension = "ics";
};

// True once an aspectarian run has produced events to export.
bool CanExportCalendar(const Application& app);

// The calendar text of the last aspectarian run: its events and void
// periods on its dates (in the run's zone) that the filter keeps, times in
// that zone; stamped with stampJD. A minor body the filter chooses that the
// run was not asked for has its events found over the run's dates when the
// minor bodies' series are loaded (the file is then the run's with it chosen).
std::string LastRunCalendar(const Application& app, const CalendarFilter& filter, double stampJD);

enum class CalendarExportResult { Written, NoRun, Cancelled, Failed };

// The menu command: asks for the choices, then for the file, then writes the
// file completely or not at all (a failure is shown and nothing changes).
// The minor bodies chosen are kept in the settings for the next export.
// `written` receives the file's path.
CalendarExportResult ExportCalendar(Application& app, std::filesystem::path* written = nullptr,
                                    std::time_t now = std::time(nullptr));

}  // namespace novastra
