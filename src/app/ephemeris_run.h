#pragma once
// The ephemeris run and its six tables.
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/run_outcome.h"
#include "app/run_parameters.h"
#include "astro/minor_data.h"
#include "reports/ephemeris_report.h"
#include "text/ephemeris_tables.h"

namespace novastra {

struct RunContext;

// A table's lines: header lines 0..6, then rows; always ends with one empty
// spare entry at index nextFree.
struct PageLines {
  std::vector<std::string> lines;
  int16_t nextFree = 0;
};

// What an ephemeris run leaves behind for the View menu.
struct EphemerisState {
  std::array<PageLines, 6> tables;  // indexed by ColumnSet
  bool hasRun = false;
  // The run's request and header, for the minor bodies' table of the same days.
  EphemerisRequest request;
  std::optional<TimeZone> localZone;  // the zone of local rows (request.localZone)
  HeaderInfo header;
};

// Reads and checks MINOR.DAT from `supplied` into `minor` unless it is there.
std::optional<SeriesError> EnsureMinorTables(const std::filesystem::path& supplied,
                                             std::optional<MinorTables>& minor);

// The View menu's "Minor bodies": Chiron, the asteroids and the two Liliths
// for the last ephemeris run's days, in the longitude table's layout (a
// message when MINOR.DAT cannot be read).
void ShowMinorBodies(RunContext& app);

// "Calculate Ephemeris" after the button's first steps (NoonFlag, buffer
// emptied, RunKind = 1), and the More commands.
RunOutcome RunEphemeris(RunContext& app);

// The table a run shows first: the one the Input window's output choice names.
ColumnSet ChosenColumnSet(const RunParameters& p);

// Copies one table into the Data Window.
void ShowColumnSet(RunContext& app, ColumnSet set);

}  // namespace novastra
