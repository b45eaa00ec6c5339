#pragma once
// The run controller: the runs the windows and the command line start (with
// their busy pointer, progress, saved files and the data buffer), More
// forward and backward, and the saves and prints of their results. A run the
// user stops leaves everything as it was before it.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/run_context.h"
#include "app/run_outcome.h"
#include "app/save_print.h"

namespace novastra {

class RunController {
 public:
  explicit RunController(RunContext context) : ctx_(context) {}
  RunController(const RunController&) = delete;
  RunController& operator=(const RunController&) = delete;

  // The two Input window buttons: NoonFlag, buffer emptied, RunKind, run.
  RunOutcome CalculateEphemeris() { return Calculate(1); }
  RunOutcome CalculateAspectarian() { return Calculate(0); }
  // More Forward / Backward: move the start date from the last row shown and
  // run again.
  RunOutcome MoreForward() { return More(true); }
  RunOutcome MoreBackward() { return More(false); }
  // Asks the run in progress to stop after its current step (callable from
  // the progress window while the run works); the next run starts afresh.
  void RequestCancel() { ctx_.RequestCancel(); }

  // The Data Window's views of the last run.
  void ShowColumnSet(ColumnSet set);
  void ShowRetrogradeTimes();
  std::string StationsText();
  void ShowEclipses();
  void ShowMinorBodies();
  // Shows a help document (e.g. "README.TXT") from the supplied files in the
  // Data Window, appended to what the buffer holds.
  void ShowDocument(const std::string& name);

  // Saving and printing what the Data Window holds (see app/save_print.h).
  SaveResult SaveData();
  std::optional<SaveDialogSetup> PrepareSaveAs();
  bool SaveDataAs(const std::filesystem::path& file);
  PrintPrepared PreparePrintPage();
  PrintPrepared PreparePrintData();
  std::optional<PrintText> LoadPrintFile();
  bool WritePrintFile(std::string_view text);
  std::optional<PrintJob> PreparePrintJob(std::string_view editedText, int16_t sizeClass);

  // The start day of the next (forward) or previous period from the last row
  // of the previous run: forward RowJD + 1; backward RowJD - 53 for a full
  // month, else RowJD - 2N + 1.
  static double MoreStartJD(double rowJD, bool forward, bool fullMonth, int16_t numberOfDays);

 private:
  // Runs `run`; when the user stops it, the buffer, the tables, the dates,
  // the parameters and the run kind are put back as they were before it.
  RunOutcome RestoringOnCancel(const std::function<RunOutcome(RunContext&)>& run);
  // A run of `kind` (1 ephemeris, 0 aspectarian) into an emptied buffer.
  RunOutcome Calculate(int16_t kind);
  // The next or previous period of the last run's kind, appended.
  RunOutcome More(bool forward);

  RunContext ctx_;
};

// Writes the date of a Julian Day into the start date fields, without
// leading zeros ("2", "6", "2009").
void SetStartDate(RunParameters& params, double jd);

}  // namespace novastra
