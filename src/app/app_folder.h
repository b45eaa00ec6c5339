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
  std::function<const char*(const char* name)> variable = [](const char* name) { return std::getenv(name); };
  // Empty: the folder exists and the process may create files in it.
  std::function<bool(const std::filesystem::path& dir)> writable;
};

// Chooses the folder: `home` when given (--home DIR), else $NOVASTRA_HOME, else
// the folder holding the program when it holds the supplied data files and can
// be written, else a per-user folder ($XDG_DATA_HOME/novastra or
// ~/.local/share/novastra) seeded from the supplied files on first use.
// `programDir` is the folder of the running executable; `suppliedDir` the
// folder of the supplied data files (the build's data/ folder when run from a
// build tree). On failure returns nullopt and sets *error to a message.
std::optional<std::filesystem::path> ResolveAppFolder(
    const std::optional<std::filesystem::path>& home, const std::filesystem::path& programDir,
    const std::filesystem::path& suppliedDir, std::string* error, const FolderEnvironment& env = {});

// The folder of the running executable (the current folder when it cannot be told).
std::filesystem::path ProgramFolder();

// The supplied data folder compiled into the program (the source tree's data/).
std::filesystem::path DefaultSuppliedDir();

// Refuses a second running instance: holds an exclusive lock on a file in the
// folder for as long as the object lives.
class InstanceLock {
 public:
  explicit InstanceLock(const std::filesystem::path& folder);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;
  bool acquired() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace novastra
