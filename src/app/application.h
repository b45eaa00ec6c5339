#pragma once
// The application object: owns every piece of state the program keeps for its
// whole life, and the run commands that the windows and the command line call.
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>

#include "app/aspectarian_run.h"
#include "app/run_calendar.h"
#include "app/run_outcome.h"
#include "astro/calendar.h"
#include "astro/series.h"
#include "app/ephemeris_run.h"
#include "app/run_parameters.h"
#include "app/data_buffer.h"
#include "app/options.h"
#include "app/settings.h"
#include "app/ui.h"

namespace novastra {

inline constexpr const char* kTitlePrefix = "NOVASTRA - ";

struct Application {
  // `supplied` is the folder of the supplied read-only files (series data,
  // help documents, OPTIONS.MAS); empty means the application folder.
  Application(UserInterface& ui, std::filesystem::path folder, std::filesystem::path supplied = {});

  UserInterface& ui;
  std::filesystem::path folder;    // the application folder: the user's files are named from it
  std::filesystem::path supplied;  // the supplied read-only files
  RunOptions options;
  Settings settings;
  RunParameters params;
  SeriesTables series;
  DataBuffer buffer;
  CalendarState cal;
  EphemerisState ephemeris;
  AspectarianState aspectarian;
  int16_t RunKind = 1;
  std::string currentDataFile;
  double FontStep = 1.5;

  // Start-up steps that need no window, in order: options, settings, series
  // tables. Shows the failure and returns false when a series file is bad.
  bool LoadFiles();

  // The two Input window buttons: NoonFlag, buffer emptied, RunKind, run.
  RunOutcome CalculateEphemeris();
  RunOutcome CalculateAspectarian();
  // More Forward / Backward: move the start date from cal.RowJD and re-run.
  RunOutcome MoreForward();
  RunOutcome MoreBackward();

  // Asks the run in progress to stop after its current step (callable from
  // the progress window while the run works); the next run starts afresh.
  void RequestCancel() { cancelRequested.store(true); }
  std::atomic<bool> cancelRequested{false};

  // The start day of the next (forward) or previous period from the last row
  // of the previous run: forward RowJD + 1; backward RowJD - 53 for a full
  // month, else RowJD - 2N + 1.
  static double MoreStartJD(double rowJD, bool forward, bool fullMonth, int16_t numberOfDays);
  // Writes the date of a Julian Day into the start date fields, without
  // leading zeros ("2", "6", "2009").
  void SetStartDate(double jd);

  // Shows a help document (e.g. "README.TXT") from the folder in the Data
  // Window, appended to what the buffer holds.
  void ShowDocument(const std::string& name);

  // FontStep from the screen width in pixels and twips per pixel.
  static double ChooseFontStep(int screenWidthPixels, int twipsPerPixelX);

  // Path of a file in the application folder.
  std::filesystem::path File(const std::string& name) const { return folder / name; }
  // Path of a supplied read-only file.
  std::filesystem::path SuppliedFile(const std::string& name) const { return supplied / name; }
};

}  // namespace novastra
