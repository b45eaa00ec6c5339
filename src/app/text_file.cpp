#include "app/text_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/ui.h"

namespace novastra {

namespace {
std::string ErrnoText(int err) { return std::strerror(err); }
}  // namespace

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

std::optional<std::string> ReadFileBytes(const std::filesystem::path& file, std::string* reason) {
  std::error_code ec;
  if (std::filesystem::is_directory(file, ec)) {
    if (reason) *reason = "it is a folder";
    return std::nullopt;
  }
  std::FILE* f = std::fopen(file.c_str(), "rb");
  if (!f) {
    if (reason) *reason = ErrnoText(errno);
    return std::nullopt;
  }
  std::string out;
  char chunk[65536];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) out.append(chunk, n);
  const bool bad = std::ferror(f) != 0;
  const int err = errno;
  std::fclose(f);
  if (bad) {
    if (reason) *reason = ErrnoText(err);
    return std::nullopt;
  }
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

}  // namespace novastra
