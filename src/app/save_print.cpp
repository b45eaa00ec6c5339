#include "app/save_print.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

#include "app/run_context.h"
#include "app/text_file.h"
#include "astro/calendar.h"

namespace novastra {

namespace {

constexpr const char* kCrLf = "\r\n";
constexpr char kFormFeed = '\f';

// The print file's text: two empty lines, then lines[0..count].
std::string FormatPrintFile(const std::vector<std::string>& lines, int count) {
  std::string text = std::string(kCrLf) + kCrLf;
  for (int i = 0; i <= count; ++i) {
    if (i < static_cast<int>(lines.size())) text += lines[i];
    text += kCrLf;
  }
  return text;
}

PrintPrepared WritePrintLines(RunContext& app, const std::vector<std::string>& lines, int count) {
  app.ui.SetBusy(true);
  const auto file = app.File(kPrintFileName);
  const std::string reason = WriteFileSafely(file, FormatPrintFile(lines, count));
  app.ui.SetBusy(false);
  if (!reason.empty()) {
    ReportWriteFailure(app.ui, file, reason);
    return PrintPrepared::Failed;
  }
  return PrintPrepared::Ready;
}

}  // namespace

std::string FormatSavedData(const std::vector<std::string>& lines, int count, float pageOption) {
  // The page interval is a whole number of lines, rounded the way the
  // options have always been rounded (half to even).
  const double interval = std::nearbyint(static_cast<double>(pageOption) - 1.0);
  const long long every = interval >= 1.0 && interval < 1e9 ? static_cast<long long>(interval) : 0;
  std::string out;
  for (int i = 0; i <= count; ++i) {
    if (i < static_cast<int>(lines.size())) out += lines[i];
    out += kCrLf;
    if (every != 0 && i != 0 && i % every == 0) {
      out += kFormFeed;
      out += kCrLf;
    }
  }
  out += kFormFeed;
  out += kCrLf;
  return out;
}

std::string DefaultSaveName(const std::string& startDateText) {
  // The date the text denotes: a day past the month's end rolls into the next
  // month, as in every other use of the start date (4/31/2000 is 1 May 2000).
  const auto d = TryParseDateText(startDateText);
  if (!d || d->month < 1 || d->month > 12 || d->day < 1 || d->day > 31 || d->year < 1000 ||
      d->year > 9999)
    return "NOVASTRA.DOC";
  return FormatMmddyyyy(startDateText) + ".DOC";
}

SaveResult SaveData(RunContext& app) {
  if (app.buffer.AllCount() == 0) {
    app.ui.ShowMessage(MessageIcon::Exclamation, "Information", kNoDataToSave);
    return SaveResult::NoData;
  }
  if (app.currentDataFile.empty()) return SaveResult::NeedsDialog;
  const std::filesystem::path file = app.currentDataFile;
  if (!WriteFileOrReport(
          app.ui, file,
          FormatSavedData(app.buffer.AllLines(), app.buffer.AllCount(), app.options[7])))
    return SaveResult::Failed;
  return SaveResult::Saved;
}

std::optional<SaveDialogSetup> PrepareSaveAs(RunContext& app) {
  if (app.buffer.AllCount() == 0) {
    app.ui.ShowMessage(MessageIcon::Exclamation, "Information", kNoDataToSave);
    return std::nullopt;
  }
  SaveDialogSetup setup;
  setup.folder = app.folder;
  setup.fileName = DefaultSaveName(app.cal.StartDateText);
  return setup;
}

bool SaveDataAs(RunContext& app, const std::filesystem::path& file) {
  if (app.buffer.AllCount() == 0) {
    app.ui.ShowMessage(MessageIcon::Exclamation, "Information", kNoDataToSave);
    return false;
  }
  if (!WriteFileOrReport(
          app.ui, file,
          FormatSavedData(app.buffer.AllLines(), app.buffer.AllCount(), app.options[7])))
    return false;
  app.currentDataFile = file.string();
  return true;
}

PrintPrepared PreparePrintPage(RunContext& app) {
  if (app.buffer.ViewCount() == 0) return PrintPrepared::Nothing;
  return WritePrintLines(app, app.buffer.ViewLines(), app.buffer.ViewCount());
}

PrintPrepared PreparePrintData(RunContext& app) {
  if (app.buffer.AllCount() == 0) {
    app.ui.ShowMessage(MessageIcon::Exclamation, "Information", kNoDataToPrint);
    return PrintPrepared::Nothing;
  }
  return WritePrintLines(app, app.buffer.AllLines(), app.buffer.AllCount());
}

int16_t PrintSizeClass(const std::vector<std::string>& lines, const RunOptions& options) {
  int16_t cls = 0;
  for (const auto& line : lines) {
    const double length = static_cast<double>(line.size());
    if (length > options[10]) {
      cls = 2;
    } else if (length > options[9] && cls < 1) {
      cls = 1;
    }
  }
  return cls;
}

int PrintPointSize(int16_t sizeClass) {
  switch (sizeClass) {
    case 1: return 10;
    case 2: return 8;
    default: return 12;
  }
}

std::optional<PrintText> LoadPrintFile(RunContext& app) {
  const auto file = app.File(kPrintFileName);
  std::string reason;
  const auto raw = ReadFileBytes(file, &reason);
  if (!raw) {
    app.ui.ShowMessage(MessageIcon::Critical, kWarningTitle,
                       "Cannot read the file " + file.string() + ": " + reason + ".");
    return std::nullopt;
  }
  const std::vector<std::string> lines = SplitTextLines(*raw);
  PrintText result;
  result.sizeClass = PrintSizeClass(lines, app.options);
  try {
    for (const auto& line : lines) {
      result.text += line;
      result.text += kCrLf;
    }
  } catch (const std::bad_alloc&) {
    app.ui.ShowMessage(MessageIcon::Critical, kWarningTitle, kOutOfMemoryPrint);
    result.text.resize(result.text.size() > 50 ? result.text.size() - 50 : 0);
  }
  return result;
}

bool WritePrintFile(RunContext& app, std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  for (const auto& line : SplitTextLines(text)) {
    out += line;
    out += kCrLf;
  }
  const auto file = app.File(kPrintFileName);
  return WriteFileOrReport(app.ui, file, out);
}

std::vector<std::vector<std::string>> PaginatePrintLines(const std::vector<std::string>& lines,
                                                         float linesPerPage) {
  std::vector<std::vector<std::string>> pages(1);
  int counter = 1;
  for (size_t i = 0; i < lines.size(); ++i) {
    pages.back().push_back(lines[i]);
    if (static_cast<float>(counter) == linesPerPage) {
      if (i + 1 < lines.size()) pages.emplace_back();
      counter = 0;
    }
    ++counter;
  }
  return pages;
}

std::optional<PrintJob> PreparePrintJob(RunContext& app, std::string_view editedText,
                                        int16_t sizeClass) {
  app.ui.SetBusy(true);
  std::optional<PrintJob> job;
  if (WritePrintFile(app, editedText)) {
    const auto file = app.File(kPrintFileName);
    std::string reason;
    const auto raw = ReadFileBytes(file, &reason);
    if (raw) {
      job.emplace();
      job->pointSize = PrintPointSize(sizeClass);
      job->pages = PaginatePrintLines(SplitTextLines(*raw), app.options[8]);
    } else {
      app.ui.ShowMessage(MessageIcon::Critical, kWarningTitle,
                         "Cannot read the file " + file.string() + ": " + reason + ".");
    }
  }
  app.ui.SetBusy(false);
  return job;
}

}  // namespace novastra
