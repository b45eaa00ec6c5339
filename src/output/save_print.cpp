#include "output/save_print.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

#include "shell/application.h"

namespace novastra {

namespace {

constexpr const char* kCrLf = "\r\n";
constexpr char kFormFeed = '\f';

std::string ErrnoText(int err) { return std::strerror(err); }

// Reads a whole file; "" reason on success.
std::string ReadWholeFile(const std::filesystem::path& file, std::string& out) {
  std::FILE* f = std::fopen(file.c_str(), "rb");
  if (!f) return ErrnoText(errno);
  out.clear();
  char chunk[65536];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) out.append(chunk, n);
  const bool bad = std::ferror(f) != 0;
  const int err = errno;
  std::fclose(f);
  return bad ? ErrnoText(err) : std::string();
}

// The print file's text: two empty lines, then lines[0..count].
std::string FormatPrintFile(const std::vector<std::string>& lines, int count) {
  std::string text = std::string(kCrLf) + kCrLf;
  for (int i = 0; i <= count; ++i) {
    if (i < static_cast<int>(lines.size())) text += lines[i];
    text += kCrLf;
  }
  return text;
}

PrintPrepared WritePrintLines(Application& app, const std::vector<std::string>& lines, int count) {
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

std::string WriteFileSafely(const std::filesystem::path& target, std::string_view bytes) {
  static std::atomic<unsigned> serial{0};
  if (target.filename().empty()) return "no file name";
  std::filesystem::path dir = target.parent_path();
  if (dir.empty()) dir = ".";
  const std::filesystem::path temp =
      dir / ("." + target.filename().string() + ".tmp" + std::to_string(::getpid()) + "-" +
             std::to_string(serial++));

  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return ErrnoText(errno);
  std::string reason;
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      reason = ErrnoText(errno);
      break;
    }
    done += static_cast<size_t>(n);
  }
  if (reason.empty() && ::fsync(fd) != 0) reason = ErrnoText(errno);
  if (::close(fd) != 0 && reason.empty()) reason = ErrnoText(errno);
  if (reason.empty() && std::rename(temp.c_str(), target.c_str()) != 0) reason = ErrnoText(errno);
  if (!reason.empty()) ::unlink(temp.c_str());
  return reason;
}

void ReportWriteFailure(UserInterface& ui, const std::filesystem::path& file,
                        const std::string& reason) {
  ui.ShowMessage(MessageIcon::Critical, "Warning!",
                 "Cannot write the file " + file.string() + ": " + reason +
                     ".\r\n\r\nNothing was written; the data is still in the Data Window.");
}

std::string DefaultSaveName(const std::string& startDateText) {
  // Month, day and year are the first three runs of digits.
  int parts[3] = {0, 0, 0};
  int found = 0;
  size_t i = 0;
  while (found < 3 && i < startDateText.size()) {
    if (startDateText[i] >= '0' && startDateText[i] <= '9') {
      long v = 0;
      while (i < startDateText.size() && startDateText[i] >= '0' && startDateText[i] <= '9') {
        if (v < 100000) v = v * 10 + (startDateText[i] - '0');
        ++i;
      }
      parts[found++] = static_cast<int>(v);
    } else {
      ++i;
    }
  }
  const int month = parts[0], day = parts[1], year = parts[2];
  if (found < 3 || month < 1 || month > 12 || day < 1 || day > 31 || year < 1 || year > 9999)
    return "NOVASTRA.DOC";
  char name[16];
  std::snprintf(name, sizeof name, "%02d%02d%04d.DOC", month, day, year);
  return name;
}

SaveResult SaveData(Application& app) {
  if (app.buffer.AllCount() == 0) {
    app.ui.ShowMessage(MessageIcon::Exclamation, "Information", kNoDataToSave);
    return SaveResult::NoData;
  }
  if (app.currentDataFile.empty()) return SaveResult::NeedsDialog;
  const std::filesystem::path file = app.currentDataFile;
  const std::string reason = WriteFileSafely(
      file, FormatSavedData(app.buffer.AllLines(), app.buffer.AllCount(), app.options[7]));
  if (!reason.empty()) {
    ReportWriteFailure(app.ui, file, reason);
    return SaveResult::Failed;
  }
  return SaveResult::Saved;
}

std::optional<SaveDialogSetup> PrepareSaveAs(Application& app) {
  if (app.buffer.AllCount() == 0) {
    app.ui.ShowMessage(MessageIcon::Exclamation, "Information", kNoDataToSave);
    return std::nullopt;
  }
  SaveDialogSetup setup;
  setup.folder = app.folder;
  setup.fileName = DefaultSaveName(app.cal.StartDateText);
  return setup;
}

bool SaveDataAs(Application& app, const std::filesystem::path& file) {
  if (app.buffer.AllCount() == 0) {
    app.ui.ShowMessage(MessageIcon::Exclamation, "Information", kNoDataToSave);
    return false;
  }
  const std::string reason = WriteFileSafely(
      file, FormatSavedData(app.buffer.AllLines(), app.buffer.AllCount(), app.options[7]));
  if (!reason.empty()) {
    ReportWriteFailure(app.ui, file, reason);
    return false;
  }
  app.currentDataFile = file.string();
  return true;
}

PrintPrepared PreparePrintPage(Application& app) {
  if (app.buffer.ViewCount() == 0) return PrintPrepared::Nothing;
  return WritePrintLines(app, app.buffer.ViewLines(), app.buffer.ViewCount());
}

PrintPrepared PreparePrintData(Application& app) {
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

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::optional<PrintText> LoadPrintFile(Application& app) {
  const auto file = app.File(kPrintFileName);
  std::string raw;
  const std::string reason = ReadWholeFile(file, raw);
  if (!reason.empty()) {
    app.ui.ShowMessage(MessageIcon::Critical, "Warning!",
                       "Cannot read the file " + file.string() + ": " + reason + ".");
    return std::nullopt;
  }
  const std::vector<std::string> lines = SplitLines(raw);
  PrintText result;
  result.sizeClass = PrintSizeClass(lines, app.options);
  try {
    for (const auto& line : lines) {
      result.text += line;
      result.text += kCrLf;
    }
  } catch (const std::bad_alloc&) {
    app.ui.ShowMessage(MessageIcon::Critical, "Warning!", kOutOfMemoryPrint);
    result.text.resize(result.text.size() > 50 ? result.text.size() - 50 : 0);
  }
  return result;
}

bool WritePrintFile(Application& app, std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  for (const auto& line : SplitLines(text)) {
    out += line;
    out += kCrLf;
  }
  const auto file = app.File(kPrintFileName);
  const std::string reason = WriteFileSafely(file, out);
  if (!reason.empty()) {
    ReportWriteFailure(app.ui, file, reason);
    return false;
  }
  return true;
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

std::optional<PrintJob> PreparePrintJob(Application& app, std::string_view editedText,
                                        int16_t sizeClass) {
  app.ui.SetBusy(true);
  std::optional<PrintJob> job;
  if (WritePrintFile(app, editedText)) {
    std::string raw;
    const auto file = app.File(kPrintFileName);
    const std::string reason = ReadWholeFile(file, raw);
    if (reason.empty()) {
      job.emplace();
      job->pointSize = PrintPointSize(sizeClass);
      job->pages = PaginatePrintLines(SplitLines(raw), app.options[8]);
    } else {
      app.ui.ShowMessage(MessageIcon::Critical, "Warning!",
                         "Cannot read the file " + file.string() + ": " + reason + ".");
    }
  }
  app.ui.SetBusy(false);
  return job;
}

}  // namespace novastra
