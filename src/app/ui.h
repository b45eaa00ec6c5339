#pragma once
// The one narrow seam through which the core reaches the user: message boxes,
// the busy pointer, the progress window and the Data Window's text.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace novastra {

struct CalendarExportQuestion;
struct CalendarSaveQuestion;
struct CalendarFilter;

enum class MessageIcon { Critical, Exclamation, Information };

// The title of every warning message box.
inline constexpr const char* kWarningTitle = "Warning!";
// The title of a message about what stops the program at start-up (no
// application folder, a bad series data file).
inline constexpr const char* kStartWarningTitle = "WARNING!";

class UserInterface {
 public:
  virtual ~UserInterface() = default;
  // A modal message box with one OK button. Title and text are the program's
  // single-byte text.
  virtual void ShowMessage(MessageIcon icon, std::string_view title, std::string_view text) = 0;
  virtual void SetBusy(bool busy) = 0;
  // Progress window "% Completed": opened and cleared before a run's loop,
  // updated once per step, closed after it.
  virtual void OpenProgress() = 0;
  virtual void UpdateProgress(int done, int total) = 0;
  virtual void CloseProgress() = 0;
  // Polled by a run between its steps: true once the user has asked to stop
  // it. A stopped run closes its progress window and shows nothing.
  virtual bool RunCancelled() const { return false; }
  // True when the Data Window is minimised (a display is then skipped).
  virtual bool DataWindowMinimized() const { return false; }
  // Puts the whole view text (single-byte codes, CRLF line ends) into the Data
  // Window's text box, loading the window first when it is not open; the
  // window is not shown yet.
  virtual void SetDataText(const std::string& text) = 0;
  // Shows the Data Window (not modal) and sets its caption.
  virtual void ShowDataWindow(std::string_view caption) = 0;
  // Scrolls the Data Window so that view line `line` (0 = the first) is at the
  // top: a table added at the end of the text is shown, not left below.
  virtual void ScrollDataTo(int line) { (void)line; }
  // "Export calendar...": the kinds and bodies to export, starting from
  // `choices`; false when the user cancels.
  virtual bool AskCalendarChoices(const CalendarExportQuestion&, CalendarFilter&) { return false; }
  // The calendar file to write; false (or an empty path) when cancelled.
  virtual bool AskCalendarFileName(const CalendarSaveQuestion&, std::filesystem::path&) {
    return false;
  }
};

// Records every call in order, for the tests and the command line.
class HeadlessUi : public UserInterface {
 public:
  struct Event {
    enum Kind {
      Message,
      Busy,
      ProgressOpen,
      Progress,
      ProgressClose,
      DataWindow,
      CalendarChoices,
      CalendarFile
    } kind;
    MessageIcon icon = MessageIcon::Information;
    std::string title{};  // message title, or data window caption
    std::string text{};   // message text, or data window text
    int done = 0, total = 0;
    bool busy = false;
  };

  void ShowMessage(MessageIcon icon, std::string_view title, std::string_view text) override;
  void SetBusy(bool busy) override;
  void OpenProgress() override;
  void UpdateProgress(int done, int total) override;
  void CloseProgress() override;
  bool RunCancelled() const override { return cancelled; }
  bool DataWindowMinimized() const override { return minimized; }
  void SetDataText(const std::string& text) override { dataText_ = text; }
  // Records a DataWindow event with the text set last.
  void ShowDataWindow(std::string_view caption) override;
  void ScrollDataTo(int line) override { scrolledTo = line; }
  // Record a CalendarChoices event (text: the zone) or a CalendarFile event
  // (text: the proposed name) and answer with the fields below.
  bool AskCalendarChoices(const CalendarExportQuestion& question, CalendarFilter& choices) override;
  bool AskCalendarFileName(const CalendarSaveQuestion& question,
                           std::filesystem::path& file) override;

  // Messages only, in order.
  std::vector<Event> Messages() const;
  int CountMessages(std::string_view text) const;
  // Text of the last ShowDataWindow call ("" if none).
  std::string LastDataText() const;

  std::vector<Event> events;
  int scrolledTo = -1;  // the last ScrollDataTo line
  bool minimized = false;
  // A run is stopped once a progress step reaches this count (-1: never).
  int cancelAtProgress = -1;
  bool cancelled = false;
  // When set, every message is also passed here as it happens (the command
  // line prints them on standard error).
  void (*onMessage)(const Event&) = nullptr;
  // The answers of the calendar dialogs: the choices are changed by
  // `calendarChoices` (none: cancelled), the file is `calendarFile` (empty:
  // cancelled).
  void (*calendarChoices)(CalendarFilter&) = nullptr;
  std::filesystem::path calendarFile;

 private:
  std::string dataText_;
};

}  // namespace novastra
