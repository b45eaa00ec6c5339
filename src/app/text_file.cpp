#include "app/text_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

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

AtomicFile::AtomicFile(const std::filesystem::path& target) : target_(target) {
  static std::atomic<unsigned> serial{0};
  if (target.filename().empty()) {
    reason_ = "no file name";
    return;
  }
  std::filesystem::path dir = target.parent_path();
  if (dir.empty()) dir = ".";
  temp_ = dir / ("." + target.filename().string() + ".tmp" + std::to_string(::getpid()) + "-" +
                 std::to_string(serial++));
  fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd_ < 0) reason_ = std::strerror(errno);
}

AtomicFile::~AtomicFile() { Abandon(); }

bool AtomicFile::Write(std::string_view bytes) {
  size_t done = 0;
  while (reason_.empty() && done < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      reason_ = std::strerror(errno);
      break;
    }
    done += static_cast<size_t>(n);
  }
  return reason_.empty();
}

std::string AtomicFile::Commit() {
  if (fd_ < 0) return reason_.empty() ? "already closed" : reason_;
  if (reason_.empty() && ::fsync(fd_) != 0) reason_ = std::strerror(errno);
  if (::close(fd_) != 0 && reason_.empty()) reason_ = std::strerror(errno);
  fd_ = -1;
  if (reason_.empty() && std::rename(temp_.c_str(), target_.c_str()) != 0)
    reason_ = std::strerror(errno);
  if (!reason_.empty()) ::unlink(temp_.c_str());
  return reason_;
}

void AtomicFile::Abandon() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
  ::unlink(temp_.c_str());
}

std::string ReadFailureMessage(const std::string& name, const std::string& reason, bool missing) {
  return missing ? "File Not Found: " + name : "Cannot read " + name + ": " + reason + ".";
}

}  // namespace novastra
