#include "app/text_file.h"

#include <utility>

#include "app/safe_write.h"
#include "app/ui.h"
#include "astro/file_read.h"

namespace novastra {

std::vector<std::string> SplitTextLines(std::string_view bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n') continue;
    lines.emplace_back(bytes.substr(start, i - start));
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < bytes.size()) lines.emplace_back(bytes.substr(start));
  return lines;
}

std::optional<std::string> ReadFileBytes(const std::filesystem::path& file, std::string* reason,
                                         bool* missing) {
  FileRead read = ReadRegularFile(file);
  if (missing) *missing = read.status == FileRead::Missing;
  if (!read.ok()) {
    if (reason) *reason = read.reason;
    return std::nullopt;
  }
  return std::move(read.bytes);
}

std::string WriteFileSafely(const std::filesystem::path& target, std::string_view bytes) {
  return WriteFilesAsSet({{target, std::string(bytes)}}).reason;
}

void ReportWriteFailure(UserInterface& ui, const std::filesystem::path& file,
                        const std::string& reason) {
  ui.ShowMessage(MessageIcon::Critical, kWarningTitle,
                 "Cannot write the file " + file.string() + ": " + reason +
                     ".\r\n\r\nNothing was written; the data is still in the Data Window.");
}

bool WriteFileOrReport(UserInterface& ui, const std::filesystem::path& file,
                       std::string_view bytes) {
  const std::string reason = WriteFileSafely(file, bytes);
  if (reason.empty()) return true;
  ReportWriteFailure(ui, file, reason);
  return false;
}

void ReportSetWriteFailure(UserInterface& ui, const SetWriteResult& result, int total) {
  if (result.replaced == 0) {
    ReportWriteFailure(ui, result.file, result.reason);
    return;
  }
  ui.ShowMessage(MessageIcon::Critical, kWarningTitle,
                 "Cannot write the file " + result.file.string() + ": " + result.reason +
                     ".\r\n\r\n" + std::to_string(result.replaced) + " of the " +
                     std::to_string(total) +
                     " files already hold the new data; the others keep their old contents. "
                     "The data is still in the Data Window.");
}

std::string ReadFailureMessage(const std::string& name, const std::string& reason, bool missing) {
  return missing ? "File Not Found: " + name : "Cannot read " + name + ": " + reason + ".";
}

}  // namespace novastra
