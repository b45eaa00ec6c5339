#include "app/application.h"

#include <ctime>

#include "app/input_check.h"
#include "app/settings.h"
#include "app/text_file.h"

namespace novastra {

namespace {

void ShowNotFound(UserInterface& ui, const std::string& name) {
  ui.ShowMessage(MessageIcon::Information, kWarningTitle, "File Not Found: " + name);
}

// A file that exists but cannot be read (no permission, a FIFO or a device in
// its place, far too large) is told as such, not as missing.
void ShowUnreadable(UserInterface& ui, const std::string& name, const std::string& reason,
                    const std::string& consequence = "") {
  ui.ShowMessage(MessageIcon::Information, kWarningTitle,
                 "Cannot read " + name + ": " + reason + "." + consequence);
}

// Shows why a file could not be read; nothing when it is simply missing and
// that is to be passed over in silence.
void ShowReadProblem(UserInterface& ui, const std::filesystem::path& file, const std::string& name,
                     bool silentWhenMissing, const std::string& consequence = "") {
  std::string reason;
  bool missing = false;
  if (ReadFileBytes(file, &reason, &missing)) return;
  if (!missing) ShowUnreadable(ui, name, reason, consequence);
  else if (!silentWhenMissing) ShowNotFound(ui, name);
}

}  // namespace

Application::Application(UserInterface& ui_, std::filesystem::path folder_,
                         std::filesystem::path supplied_)
    : ui(ui_), folder(std::move(folder_)), supplied(std::move(supplied_)), buffer(ui_) {
  if (supplied.empty()) supplied = folder;
  // The Input window starts on today's date.
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  params.StartMonth = std::to_string(local.tm_mon + 1);
  params.StartDay = std::to_string(local.tm_mday);
  params.StartYear = std::to_string(local.tm_year + 1900);
}

bool Application::LoadFiles() {
  if (!ReadOptions(folder, options)) ShowReadProblem(ui, File("OPTIONS.OPT"), "OPTIONS.OPT", false);
  ReadSettings(folder, settings, params);
  ShowReadProblem(ui, File("NOVASTRA.INI"), "NOVASTRA.INI", true, " The default settings are used.");
  buffer.ClearAll();
  RunKind = 1;
  currentDataFile.clear();
  if (const auto error = LoadSeriesTables(supplied, series)) {
    ui.ShowMessage(MessageIcon::Critical, kStartWarningTitle, error->Message());
    return false;
  }
  return true;
}

RunOutcome Application::CalculateEphemeris() {
  cal.NoonFlag = params.Instant == InstantChoice::Midnight ? 0 : 1;
  buffer.ClearAll();
  buffer.ClearView();
  RunKind = 1;
  return RunEphemeris(*this);
}

RunOutcome Application::CalculateAspectarian() {
  cal.NoonFlag = params.Instant == InstantChoice::Midnight ? 0 : 1;
  buffer.ClearAll();
  buffer.ClearView();
  RunKind = 0;
  return RunAspectarian(*this);
}

double Application::MoreStartJD(double rowJD, bool forward, bool fullMonth, int16_t numberOfDays) {
  if (forward) return rowJD + 1;
  if (fullMonth) return rowJD - 53;
  // 2 x N in 16-bit arithmetic; N is at most 366, so it always fits.
  const int16_t twice = static_cast<int16_t>(2 * numberOfDays);
  return rowJD - twice + 1;
}

void Application::SetStartDate(double jd) {
  const CivilDate d = ParseDateText(DateTextFromJulianDay(jd));
  params.StartMonth = std::to_string(d.month);
  params.StartDay = std::to_string(d.day);
  params.StartYear = std::to_string(d.year);
}

RunOutcome Application::MoreForward() {
  SetStartDate(MoreStartJD(cal.RowJD, true, params.FullMonth, params.NumberOfDays));
  cal.NoonFlag = params.Instant == InstantChoice::Midnight ? 0 : 1;
  return RunKind == 1 ? RunEphemeris(*this) : RunAspectarian(*this);
}

RunOutcome Application::MoreBackward() {
  SetStartDate(MoreStartJD(cal.RowJD, false, params.FullMonth, params.NumberOfDays));
  cal.NoonFlag = params.Instant == InstantChoice::Midnight ? 0 : 1;
  return RunKind == 1 ? RunEphemeris(*this) : RunAspectarian(*this);
}

void Application::ShowDocument(const std::string& name) {
  // Read first, so that a missing document leaves the view as it was.
  std::string reason;
  bool missing = false;
  const auto bytes = ReadFileBytes(SuppliedFile(name), &reason, &missing);
  if (!bytes) {
    if (missing) ShowNotFound(ui, name);
    else ShowUnreadable(ui, name, reason);
    return;
  }
  buffer.ClearView();
  for (const std::string& line : SplitTextLines(*bytes)) buffer.AppendLine(line);
  buffer.AppendBlankLine();
  buffer.ShowDataBuffer();
}

double Application::ChooseFontStep(int screenWidthPixels, int twipsPerPixelX) {
  if (screenWidthPixels == 640) return 1.5;
  if (screenWidthPixels == 800) return twipsPerPixelX == 12 ? 1.2 : 1.5;
  return twipsPerPixelX == 15 ? 1.5 : 1.2;
}

}  // namespace novastra
