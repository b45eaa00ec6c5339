#include "app/application.h"

#include <ctime>
#include <utility>

#include "app/input_check.h"
#include "app/settings.h"
#include "app/text_file.h"

namespace novastra {

namespace {

// Shows why a file could not be read (that it is missing, or the reason).
void ShowReadProblem(UserInterface& ui, const std::filesystem::path& file,
                     const std::string& name) {
  std::string reason;
  bool missing = false;
  if (ReadFileBytes(file, &reason, &missing)) return;
  ui.ShowMessage(MessageIcon::Information, kWarningTitle,
                 ReadFailureMessage(name, reason, missing));
}

}  // namespace

Application::Application(UserInterface& ui, std::filesystem::path folder,
                         std::filesystem::path supplied)
    : ui_(ui),
      folder_(std::move(folder)),
      supplied_(std::move(supplied)),
      buffer_(ui),
      runs_(RunContext{ui_, folder_, supplied_, options_, series_, params_, cal_, ephemeris_,
                       aspectarian_, buffer_, runKind_, currentDataFile_, carrySixty_,
                       cancelRequested_, minor_}) {
  if (supplied_.empty()) supplied_ = folder_;
  // The Input window starts on today's date.
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  params_.StartMonth = std::to_string(local.tm_mon + 1);
  params_.StartDay = std::to_string(local.tm_mday);
  params_.StartYear = std::to_string(local.tm_year + 1900);
}

std::optional<SeriesError> Application::LoadMinorBodies() {
  return EnsureMinorTables(supplied_, minor_);
}

bool Application::LoadFiles() {
  if (!ReadOptions(folder_, options_)) ShowReadProblem(ui_, File("OPTIONS.OPT"), "OPTIONS.OPT");
  if (const std::string problem = ReadSettings(folder_, settings_, params_); !problem.empty())
    ui_.ShowMessage(MessageIcon::Information, kWarningTitle,
                    problem + " The default settings are used.");
  buffer_.ClearAll();
  runKind_ = 1;
  currentDataFile_.clear();
  if (const auto error = LoadSeriesTables(supplied_, series_)) {
    ui_.ShowMessage(MessageIcon::Critical, kStartWarningTitle, error->Message());
    return false;
  }
  return true;
}

void Application::SetParams(const RunParameters& params) { params_ = params; }

bool Application::SaveOptions(const std::string& codes) {
  return SaveOptionsText(folder_, codes, options_, ui_);
}

bool Application::RestoreDefaultOptions() {
  return novastra::RestoreDefaultOptions(folder_, ui_, supplied_);
}

void Application::ForgetDataFile() {
  buffer_.ResetAllCount();
  currentDataFile_.clear();
}

SampleContext SampleContextOf(const Application& app) {
  return SampleContextOf(app.series(), app.params(), app.options());
}

double Application::ChooseFontStep(int screenWidthPixels, int twipsPerPixelX) {
  if (screenWidthPixels == 640) return 1.5;
  if (screenWidthPixels == 800) return twipsPerPixelX == 12 ? 1.2 : 1.5;
  return twipsPerPixelX == 15 ? 1.5 : 1.2;
}

}  // namespace novastra
