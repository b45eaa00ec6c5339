#pragma once
// Saving the Data Window's text to files and preparing it for the printer.
// Saving writes the whole buffer with form-feed lines at a fixed page length;
// printing goes through "PRNTFILE.XXX" in the application folder, which the
// print window ("Data To Be Printed") shows for editing before it prints.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace novastra {

struct RunContext;
struct RunOptions;
class UserInterface;

inline constexpr const char* kPrintFileName = "PRNTFILE.XXX";
inline constexpr const char* kNoDataToSave = "No data to write to file.";
inline constexpr const char* kNoDataToPrint = "No data to print.";
inline constexpr const char* kOutOfMemoryPrint =
    "Out of memory. I will print what I can. The remainder will be lost.";

// ---- file format and safe writing ----

// The saved data file: lines[0..count] (count is the spare entry), each with
// CRLF; a form-feed line after line i when i != 0 and i is a multiple of
// (pageOption - 1); a final form-feed line. pageOption below 2 gives no
// intermediate form feeds.
std::string FormatSavedData(const std::vector<std::string>& lines, int count, float pageOption);

// "mmddyyyy.DOC" of the date a month/day/year start date text denotes (with or
// without leading zeros; a day past the month's end rolls over); "NOVASTRA.DOC"
// when the text holds no date.
std::string DefaultSaveName(const std::string& startDateText);

// ---- Save and Save As ----

enum class SaveResult {
  Saved,        // the file was written
  NoData,       // empty buffer: "No data to write to file." was shown
  NeedsDialog,  // no current data file name: ask for one (Save As)
  Failed,       // the write failed and its message was shown
};

// The Save command: writes the buffer to the current data file name.
SaveResult SaveData(RunContext& app);

// What the Save As dialog starts with.
struct SaveDialogSetup {
  std::filesystem::path folder;                       // the application folder
  std::string fileName;                               // "mmddyyyy.DOC"
  std::string filter = "Data Files (*.DOC) | *.DOC";  // one filter, index 1
  std::string defaultExtension = "doc";
};

// First half of Save As: nullopt after the "No data to write to file."
// message when the buffer is empty, else the dialog's starting values from
// the last run's start date.
std::optional<SaveDialogSetup> PrepareSaveAs(RunContext& app);

// Second half of Save As, with the name the user chose: writes the buffer and
// makes the name the current data file name. False (with a message) when the
// buffer is empty or the write fails; the current name then stays as it was.
bool SaveDataAs(RunContext& app, const std::filesystem::path& file);

// ---- printing ----

enum class PrintPrepared {
  Ready,    // the print file is written: open the print window
  Nothing,  // nothing to print (the empty-data message, if any, was shown)
  Failed,   // the print file could not be written; the message was shown
};

// "Print page": two empty lines, then ViewLines[0..ViewCount]. An empty view
// does nothing and shows nothing.
PrintPrepared PreparePrintPage(RunContext& app);
// "Print data": two empty lines, then AllLines[0..AllCount]; an empty buffer
// shows "No data to print.".
PrintPrepared PreparePrintData(RunContext& app);

// Print size class: 0 (12 points), 1 (10 points) or 2 (8 points); the largest
// that any line asks for: longer than option 10 asks for 2, else longer than
// option 9 for 1.
int16_t PrintSizeClass(const std::vector<std::string>& lines, const RunOptions& options);
int PrintPointSize(int16_t sizeClass);

// The print file as the print window loads it.
struct PrintText {
  std::string text;       // every line followed by CRLF
  int16_t sizeClass = 0;  // by options 9 and 10
};

// Reads "PRNTFILE.XXX"; nullopt (with a message) when it cannot be read.
std::optional<PrintText> LoadPrintFile(RunContext& app);

// Replaces "PRNTFILE.XXX" with the (possibly edited) text: line ends become
// CRLF and the text ends with one. False (with a message) on failure.
bool WritePrintFile(RunContext& app, std::string_view text);

// Groups printed lines into pages: a line counter starts at 1 and, after each
// line, a page ends when it equals linesPerPage (then it restarts). A page
// break after the very last line adds no empty page. linesPerPage that is
// never reached (0, negative, fractional) gives one page.
std::vector<std::vector<std::string>> PaginatePrintLines(const std::vector<std::string>& lines,
                                                         float linesPerPage);

// What the printer receives when the user presses Print.
struct PrintJob {
  int pointSize = 12;
  std::vector<std::vector<std::string>> pages;
};

// The Print button: writes the edited text to the print file, reads it back
// and paginates it by option 8, in the size the window chose when it loaded.
// nullopt (with a message) when the print file cannot be written or read.
std::optional<PrintJob> PreparePrintJob(RunContext& app, std::string_view editedText,
                                        int16_t sizeClass);

}  // namespace novastra
