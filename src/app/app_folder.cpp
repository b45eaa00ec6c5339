#include "app/app_folder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <vector>

#include "app/settings.h"
#include "app/text_file.h"

namespace novastra {

namespace fs = std::filesystem;

namespace {

constexpr const char* kLockFile = "NOVASTRA.LCK";

// The supplied files the user may change, copied into the per-user folder; the
// others are read where they were installed, so an upgrade takes effect at once.
constexpr const char* kUserFiles[] = {"OPTIONS.OPT"};

// Names of the regular files in the supplied folder (empty when unreadable).
std::vector<std::string> SuppliedFiles(const fs::path& suppliedDir) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(suppliedDir, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code fileEc;
    if (it->is_regular_file(fileEc)) names.push_back(it->path().filename().string());
  }
  return names;
}

bool IsWritableDir(const fs::path& dir) {
  std::error_code ec;
  return fs::is_directory(dir, ec) && ::access(dir.c_str(), W_OK | X_OK) == 0;
}

// A folder named by the user must exist; it is used as it is.
std::optional<fs::path> UseGivenFolder(const fs::path& dir, const char* what, std::string* error) {
  std::error_code ec;
  if (fs::is_directory(dir, ec)) return fs::absolute(dir, ec);
  if (error) *error = std::string(what) + " is not a folder: " + dir.string();
  return std::nullopt;
}

bool HoldsSuppliedFiles(const fs::path& dir, const std::vector<std::string>& supplied) {
  std::error_code ec;
  if (supplied.empty()) return false;
  for (const auto& name : supplied)
    if (!fs::is_regular_file(dir / name, ec)) return false;
  return true;
}

}  // namespace

std::optional<fs::path> ResolveAppFolder(const std::optional<fs::path>& home,
                                         const fs::path& programDir, const fs::path& suppliedDir,
                                         std::string* error, const FolderEnvironment& env) {
  if (home) return UseGivenFolder(*home, "--home", error);
  if (const char* value = env.variable("NOVASTRA_HOME"); value && *value)
    return UseGivenFolder(value, "NOVASTRA_HOME", error);

  const std::vector<std::string> supplied = SuppliedFiles(suppliedDir);
  const bool writable = env.writable ? env.writable(programDir) : IsWritableDir(programDir);
  if (!programDir.empty() && HoldsSuppliedFiles(programDir, supplied) && writable) {
    std::error_code ec;
    return fs::absolute(programDir, ec);
  }

  fs::path user;
  if (const char* xdg = env.variable("XDG_DATA_HOME"); xdg && *xdg == '/') {
    user = fs::path(xdg) / "novastra";
  } else if (const char* h = env.variable("HOME"); h && *h) {
    user = fs::path(h) / ".local" / "share" / "novastra";
  } else {
    if (error) *error = "No folder for the program's files: HOME is not set.";
    return std::nullopt;
  }
  std::error_code ec;
  fs::create_directories(user, ec);
  if (!fs::is_directory(user, ec)) {
    if (error) *error = "Cannot create the folder " + user.string();
    return std::nullopt;
  }
  // Seed the folder with the user's own supplied files it lacks; files already
  // there (the user's own options, settings and saved data) are never replaced.
  for (const std::string name : kUserFiles) {
    const fs::path target = user / name;
    if (fs::exists(target, ec) || !fs::exists(suppliedDir / name, ec)) continue;
    const auto bytes = ReadFileBytes(suppliedDir / name);
    if (!bytes || !WriteFileSafely(target, *bytes).empty()) {
      if (error) *error = "Cannot copy " + name + " into " + user.string();
      return std::nullopt;
    }
  }
  return user;
}

fs::path ProgramFolder() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::current_path(ec) : exe.parent_path();
}

InstanceLock::InstanceLock(const fs::path& folder, int waitMillis) {
  const fs::path file = folder / kLockFile;
  constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  int fd = ::open(file.c_str(), O_RDWR | O_CREAT | kFlags, 0644);
  // A symbolic link, FIFO or device under the lock file's name would leave
  // the program without its single-copy lock: the name is taken back for a
  // regular lock file (the link is removed, never followed). A folder stays.
  struct stat at {};
  bool replaced = false;
  if ((fd < 0 && errno == ELOOP) ||
      (fd >= 0 && ::fstat(fd, &at) == 0 && !S_ISREG(at.st_mode) && !S_ISDIR(at.st_mode))) {
    if (fd >= 0) ::close(fd);
    if (::lstat(file.c_str(), &at) == 0 && !S_ISREG(at.st_mode) && !S_ISDIR(at.st_mode) &&
        ::unlink(file.c_str()) == 0)
      replaced = true;
    fd = ::open(file.c_str(), O_RDWR | O_CREAT | kFlags, 0644);
  }
  // flock needs no write access: a lock file left by another user (a run with
  // sudo) or in a read-only folder still serves when it can be read.
  if (fd < 0 && (errno == EACCES || errno == EPERM || errno == EROFS))
    fd = ::open(file.c_str(), O_RDONLY | kFlags);
  if (fd < 0) {
    reason_ = errno == ELOOP
                  ? "the lock file " + file.string() + " is a symbolic link"
                  : "cannot open the lock file " + file.string() + ": " + std::strerror(errno);
    return;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    reason_ = "the lock file " + file.string() + " is not a regular file";
    ::close(fd);
    return;
  }
  for (int waited = 0;; waited += 50) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      fd_ = fd;
      state_ = State::Acquired;
      if (replaced) reason_ = "the lock file " + file.string() + " was not a regular file; replaced";
      return;
    }
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) {
      reason_ = "cannot lock " + file.string() + ": " + std::strerror(errno);
      ::close(fd);
      return;
    }
    if (waited >= waitMillis) break;
    ::usleep(50 * 1000);
  }
  state_ = State::HeldByOther;
  ::close(fd);
}

InstanceLock::~InstanceLock() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

}  // namespace novastra
