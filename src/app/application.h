#pragma once
// The application object: owns every piece of state the program keeps for its
// whole life. The windows and the command line read it through its accessors
// and change it only through its methods; the runs it starts go through its
// run controller.
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "app/aspectarian_run.h"
#include "app/data_buffer.h"
#include "app/ephemeris_run.h"
#include "app/options.h"
#include "app/run_calendar.h"
#include "app/run_controller.h"
#include "app/run_outcome.h"
#include "app/run_parameters.h"
#include "app/settings.h"
#include "app/ui.h"
#include "astro/calendar.h"
#include "astro/minor_data.h"
#include "astro/series.h"

namespace novastra {

inline constexpr const char* kTitlePrefix = "NOVASTRA - ";

class Application {
 public:
  // `supplied` is the folder of the supplied read-only files (series data,
  // help documents, OPTIONS.MAS); empty means the application folder.
  Application(UserInterface& ui, std::filesystem::path folder, std::filesystem::path supplied = {});
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Start-up steps that need no window, in order: options, settings, series
  // tables. Shows the failure and returns false when a series file is bad.
  bool LoadFiles();
  // The command line's start-up, which never reads the desktop's settings:
  // the options file (false when it cannot be read: the built-in options are
  // used) and the series tables (the error when a file is bad).
  // A folder without an options file of its own (an empty --home) reads the
  // supplied one, which a new per-user folder would get as its copy.
  bool ReadOptionsFile() {
    std::error_code ec;
    return ReadOptions(folder_, options_) ||
           (!std::filesystem::exists(std::filesystem::symlink_status(folder_ / "OPTIONS.OPT", ec)) &&
            ReadOptions(supplied_, options_));
  }
  std::optional<SeriesError> LoadSeries() { return LoadSeriesTables(supplied_, series_); }
  // Chiron's and the asteroids' series (MINOR.DAT), read and checked only when
  // a run asks for those bodies; the error names the file.
  std::optional<SeriesError> LoadMinorBodies();

  // ---- what the program keeps ----
  UserInterface& ui() const { return ui_; }
  const std::filesystem::path& folder() const { return folder_; }      // the user's files
  const std::filesystem::path& supplied() const { return supplied_; }  // supplied read-only files
  const RunOptions& options() const { return options_; }
  const Settings& settings() const { return settings_; }
  const RunParameters& params() const { return params_; }
  const SeriesTables& series() const { return series_; }
  // After LoadMinorBodies succeeded; null before.
  const MinorTables* minor() const { return minor_ ? &*minor_ : nullptr; }
  const CalendarState& cal() const { return cal_; }
  const EphemerisState& ephemeris() const { return ephemeris_; }
  const AspectarianState& aspectarian() const { return aspectarian_; }
  int16_t runKind() const { return runKind_; }  // 1 ephemeris, 0 aspectarian
  const std::string& currentDataFile() const { return currentDataFile_; }
  double fontStep() const { return fontStep_; }
  bool carrySixty() const { return carrySixty_; }
  // The Data Window's buffer: its own methods keep its counts.
  DataBuffer& buffer() { return buffer_; }
  const DataBuffer& buffer() const { return buffer_; }
  // The runs, saves and prints.
  RunController& runs() { return runs_; }

  // ---- changes ----
  // The Input window's choices as a whole (the days text is kept in 1..366).
  void SetParams(const RunParameters& params);
  // Changes some of them: `change` edits a copy that then replaces them.
  template <class Change>
  void EditParams(Change&& change) {
    RunParameters p = params_;
    change(p);
    SetParams(p);
  }
  void SetSettings(const Settings& settings) { settings_ = settings; }
  // What the windows change in the settings: the Data Window's place (twips)
  // and maximised state, the main window's, and the Data Window's font.
  void SetDataPlace(int16_t left, int16_t top, int16_t width, int16_t height) {
    settings_.DataLeft = left, settings_.DataTop = top;
    settings_.DataWidth = width, settings_.DataHeight = height;
  }
  void SetDataMaximized(bool maximized) { settings_.DataMaximized = maximized; }
  void SetMainPlace(float left, float top, float width, float height, bool maximized) {
    settings_.MainLeft = left, settings_.MainTop = top;
    settings_.MainWidth = width, settings_.MainHeight = height;
    settings_.MainMaximized = maximized;
  }
  void SetFontSize(double points) { settings_.FontSize = points; }
  // The minor bodies chosen in the graphic ephemeris and in the calendar export.
  void SetGraphMinorBodies(const MinorChoice& bodies) { settings_.GraphMinorBodies = bodies; }
  void SetCalendarMinorBodies(const MinorChoice& bodies) { settings_.CalendarMinorBodies = bodies; }
  // The settings file keeps a style as -1 (on) or 0 (off).
  void SetFontBold(bool bold) { settings_.FontBold = bold ? -1 : 0; }
  void SetFontItalic(bool italic) { settings_.FontItalic = italic ? -1 : 0; }
  // The options in use (OPTIONS.OPT is not written).
  void SetOptions(const RunOptions& options) { options_ = options; }
  template <class Change>
  void EditOptions(Change&& change) {
    RunOptions o = options_;
    change(o);
    options_ = o;
  }
  // Rewrites OPTIONS.OPT from the Options window's text and reads it back;
  // false (with a message) when it cannot be written.
  bool SaveOptions(const std::string& codes);
  // Puts the supplied options file back; false (with a message) on failure.
  bool RestoreDefaultOptions();
  void SetFontStep(double step) { fontStep_ = step; }
  // Minutes and seconds that round to 60 are carried into the next unit
  // (12 Aries 59.97' prints as 13 Aries 00.0', 23:59:40 as 00:00 of the next
  // day). Off, the tables keep the plain masks' "60"; the desktop program and
  // the command line turn it on.
  void SetCarrySixty(bool carry) { carrySixty_ = carry; }
  // A new, unsaved Data Window: no file name, nothing counted as saved.
  void ForgetDataFile();
  // Writes the date of a Julian Day into the start date fields.
  void SetStartDate(double jd) { novastra::SetStartDate(params_, jd); }

  // The runs, as the windows and the command line start them.
  RunOutcome CalculateEphemeris() { return runs_.CalculateEphemeris(); }
  RunOutcome CalculateAspectarian() { return runs_.CalculateAspectarian(); }
  RunOutcome MoreForward() { return runs_.MoreForward(); }
  RunOutcome MoreBackward() { return runs_.MoreBackward(); }
  void RequestCancel() { runs_.RequestCancel(); }
  void ShowDocument(const std::string& name) { runs_.ShowDocument(name); }

  // FontStep from the screen width in pixels and twips per pixel.
  static double ChooseFontStep(int screenWidthPixels, int twipsPerPixelX);

  // Path of a file in the application folder.
  std::filesystem::path File(const std::string& name) const { return folder_ / name; }
  // Path of a supplied read-only file.
  std::filesystem::path SuppliedFile(const std::string& name) const { return supplied_ / name; }

 private:
  UserInterface& ui_;
  std::filesystem::path folder_;
  std::filesystem::path supplied_;
  RunOptions options_;
  Settings settings_;
  RunParameters params_;
  SeriesTables series_;
  std::optional<MinorTables> minor_;
  DataBuffer buffer_;
  CalendarState cal_;
  EphemerisState ephemeris_;
  AspectarianState aspectarian_;
  int16_t runKind_ = 1;
  std::string currentDataFile_;
  double fontStep_ = 1.5;
  bool carrySixty_ = false;
  std::atomic<bool> cancelRequested_{false};
  RunController runs_;  // last: it refers to everything above
};

}  // namespace novastra
