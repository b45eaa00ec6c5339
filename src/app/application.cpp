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

}  // namespace

Application::Application(UserInterface& ui_, std::filesystem::path folder_)
    : ui(ui_), folder(std::move(folder_)), buffer(ui_) {
  // The Input window starts on today's date.
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  params.StartMonth = std::to_string(local.tm_mon + 1);
  params.StartDay = std::to_string(local.tm_mday);
  params.StartYear = std::to_string(local.tm_year + 1900);
}

bool Application::LoadFiles() {
  if (!ReadOptions(folder, options)) ShowNotFound(ui, "OPTIONS.OPT");
  ReadSettings(folder, settings, params);
  buffer.ClearAll();
  RunKind = 1;
  currentDataFile.clear();
  if (const auto error = LoadSeriesTables(folder, series)) {
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
  const auto bytes = ReadFileBytes(File(name));
  if (!bytes) {
    ShowNotFound(ui, name);
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
