#include "app/run_controller.h"

#include <utility>

#include "app/eclipses_run.h"
#include "app/text_file.h"
#include "astro/calendar.h"

namespace novastra {

void SetStartDate(RunParameters& params, double jd) {
  const CivilDate d = ParseDateText(DateTextFromJulianDay(jd));
  params.StartMonth = std::to_string(d.month);
  params.StartDay = std::to_string(d.day);
  params.StartYear = std::to_string(d.year);
}

double RunController::MoreStartJD(double rowJD, bool forward, bool fullMonth,
                                  int16_t numberOfDays) {
  if (forward) return rowJD + 1;
  if (fullMonth) return rowJD - 53;
  // 2 x N in 16-bit arithmetic; N is at most 366, so it always fits.
  const int16_t twice = static_cast<int16_t>(2 * numberOfDays);
  return rowJD - twice + 1;
}

RunOutcome RunController::RestoringOnCancel(const std::function<RunOutcome(RunContext&)>& run) {
  struct Kept {
    DataBuffer::Contents buffer;
    EphemerisState ephemeris;
    AspectarianState aspectarian;
    CalendarState cal;
    RunParameters params;
    int16_t runKind;
  };
  Kept kept{ctx_.buffer.Save(), ctx_.ephemeris, ctx_.aspectarian,
            ctx_.cal,           ctx_.params,    ctx_.RunKind};
  const RunOutcome outcome = run(ctx_);
  if (outcome != RunOutcome::Cancelled) return outcome;
  ctx_.buffer.Restore(std::move(kept.buffer));
  ctx_.ephemeris = std::move(kept.ephemeris);
  ctx_.aspectarian = std::move(kept.aspectarian);
  ctx_.cal = kept.cal;
  ctx_.params = kept.params;
  ctx_.RunKind = kept.runKind;
  return RunOutcome::Cancelled;
}

namespace {

// The run of the kind chosen last (1 ephemeris, 0 aspectarian), at the
// instant the Input window names.
RunOutcome RunOfKind(RunContext& app) {
  app.cal.NoonFlag = app.params.Instant == InstantChoice::Midnight ? 0 : 1;
  return app.RunKind == 1 ? RunEphemeris(app) : RunAspectarian(app);
}

}  // namespace

RunOutcome RunController::Calculate(int16_t kind) {
  return RestoringOnCancel([kind](RunContext& app) {
    app.buffer.ClearAll();
    app.buffer.ClearView();
    app.RunKind = kind;
    return RunOfKind(app);
  });
}

RunOutcome RunController::More(bool forward) {
  return RestoringOnCancel([forward](RunContext& app) {
    SetStartDate(app.params, MoreStartJD(app.cal.RowJD, forward, app.params.FullMonth,
                                         app.params.NumberOfDays));
    return RunOfKind(app);
  });
}

void RunController::ShowColumnSet(ColumnSet set) { novastra::ShowColumnSet(ctx_, set); }
void RunController::ShowRetrogradeTimes() { novastra::ShowRetrogradeTimes(ctx_); }
std::string RunController::StationsText() { return novastra::StationsText(ctx_); }
void RunController::ShowEclipses() { novastra::ShowEclipses(ctx_); }
void RunController::ShowMinorBodies() { novastra::ShowMinorBodies(ctx_); }

void RunController::ShowDocument(const std::string& name) {
  // Read first, so that a missing document leaves the view as it was.
  std::string reason;
  bool missing = false;
  const auto bytes = ReadFileBytes(ctx_.SuppliedFile(name), &reason, &missing);
  if (!bytes) {
    ctx_.ui.ShowMessage(MessageIcon::Information, kWarningTitle,
                        ReadFailureMessage(name, reason, missing));
    return;
  }
  ctx_.buffer.ClearView();
  for (const std::string& line : SplitTextLines(*bytes)) ctx_.buffer.AppendLine(line);
  ctx_.buffer.AppendBlankLine();
  ctx_.buffer.ShowDataBuffer();
}

SaveResult RunController::SaveData() { return novastra::SaveData(ctx_); }
std::optional<SaveDialogSetup> RunController::PrepareSaveAs() {
  return novastra::PrepareSaveAs(ctx_);
}
bool RunController::SaveDataAs(const std::filesystem::path& file) {
  return novastra::SaveDataAs(ctx_, file);
}
PrintPrepared RunController::PreparePrintPage() { return novastra::PreparePrintPage(ctx_); }
PrintPrepared RunController::PreparePrintData() { return novastra::PreparePrintData(ctx_); }
std::optional<PrintText> RunController::LoadPrintFile() { return novastra::LoadPrintFile(ctx_); }
bool RunController::WritePrintFile(std::string_view text) {
  return novastra::WritePrintFile(ctx_, text);
}
std::optional<PrintJob> RunController::PreparePrintJob(std::string_view editedText,
                                                       int16_t sizeClass) {
  return novastra::PreparePrintJob(ctx_, editedText, sizeClass);
}

}  // namespace novastra
