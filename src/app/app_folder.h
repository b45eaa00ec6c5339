#pragma once
// The application folder: every file the program reads or writes is named from it.
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace novastra {

// What the choice of folder reads from outside: environment variables and
// whether a folder can be written. The defaults read the real ones.
struct FolderEnvironment {
  std::function<const char*(const char* name)> variable = [](const char* name) {
    return std::getenv(name);
  };
  // Empty: the folder exists and the process may create files in it.
  std::function<bool(const std::filesystem::path& dir)> writable;
};

// Chooses the folder: `home` when given (--home DIR), else $NOVASTRA_HOME, else
// the folder holding the program when it holds the supplied data files and can
// be written, else a per-user folder ($XDG_DATA_HOME/novastra or
// ~/.local/share/novastra) given a copy of OPTIONS.OPT on first use.
// `programDir` is the folder of the running executable; `suppliedDir` the
// folder of the supplied data files (see supplied_dir.h). On failure returns
// nullopt and sets *error to a message.
std::optional<std::filesystem::path> ResolveAppFolder(
    const std::optional<std::filesystem::path>& home, const std::filesystem::path& programDir,
    const std::filesystem::path& suppliedDir, std::string* error,
    const FolderEnvironment& env = {});

// The folder of the running executable (the current folder when it cannot be told).
std::filesystem::path ProgramFolder();

// Refuses a second running instance: holds an exclusive lock (flock) on
// "NOVASTRA.LCK" in the folder for as long as the object lives. Only a lock
// held by another running copy counts as a conflict; a lock file that cannot
// be created or opened (a read-only folder, a file of another user that
// cannot be read, a folder of that name) leaves the lock Unavailable with the
// reason, and the caller goes on without it. A symbolic link (never followed),
// FIFO or device of that name is replaced by a regular lock file, and
// reason() then says so.
class InstanceLock {
 public:
  enum class State { Acquired, HeldByOther, Unavailable };
  // waitMillis > 0 waits that long for another copy to let go.
  explicit InstanceLock(const std::filesystem::path& folder, int waitMillis = 0);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;
  bool acquired() const { return state_ == State::Acquired; }
  State state() const { return state_; }
  const std::string& reason() const { return reason_; }  // when Unavailable

 private:
  int fd_ = -1;
  State state_ = State::Unavailable;
  std::string reason_;
};

}  // namespace novastra
