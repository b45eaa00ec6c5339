#include "app/supplied_dir.h"

#include <cstdlib>
#include <system_error>

#include "app/app_folder.h"
#include "app/text_file.h"

namespace novastra {

namespace fs = std::filesystem;

namespace {

// Files whose presence marks a supplied folder: the options master copy and
// the ten series data files.
constexpr const char* kMarkerFiles[] = {"OPTIONS.MAS", "MERCURY.DAT", "VENUS.DAT",   "EARTH.DAT",
                                        "EARTH_X.DAT", "MARS.DAT",    "JUPITER.DAT", "SATURN.DAT",
                                        "URANUS.DAT",  "NEPTUNE.DAT", "PLUTO.DAT"};

// The build tree's data folder, from the one-line file next to the program.
std::optional<fs::path> BuildTreeDataDir(const fs::path& programDir) {
  const auto bytes = ReadFileBytes(programDir / kBuildTreeDataFile);
  if (!bytes) return std::nullopt;
  std::string line = bytes->substr(0, bytes->find_first_of("\r\n"));
  if (line.empty()) return std::nullopt;
  return fs::path(line);
}

}  // namespace

fs::path ExecutableDir() {
  std::error_code ec;
  auto exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::current_path(ec) : exe.parent_path();
}

std::vector<fs::path> SuppliedDirCandidates(const fs::path& programDir) {
  std::vector<fs::path> dirs;
  if (!programDir.empty()) {
    // A helper program installed in PREFIX/libexec/novastra (novastra-graph)
    // reads the supplied files of PREFIX/share/novastra, as bin/ beside it does.
    const fs::path dir = programDir.lexically_normal();
    const fs::path named = dir.filename().empty() ? dir.parent_path() : dir;
    if (named.filename() == "novastra" && named.parent_path().filename() == "libexec")
      dirs.push_back((named / ".." / ".." / "share" / "novastra").lexically_normal());
    dirs.push_back((programDir / ".." / "share" / "novastra").lexically_normal());
    dirs.push_back(programDir);
    if (auto built = BuildTreeDataDir(programDir)) dirs.push_back(*built);
  }
  // XDG_DATA_DIRS: empty or unset means the default list;
  // relative entries are invalid and ignored.
  const char* env = std::getenv("XDG_DATA_DIRS");
  std::string list = env && *env ? env : "/usr/local/share/:/usr/share/";
  for (std::size_t start = 0; start <= list.size();) {
    std::size_t end = list.find(':', start);
    if (end == std::string::npos) end = list.size();
    const std::string dir = list.substr(start, end - start);
    if (!dir.empty() && dir.front() == '/')
      dirs.push_back((fs::path(dir) / "novastra").lexically_normal());
    start = end + 1;
  }
  return dirs;
}

bool IsSuppliedDir(const fs::path& dir) {
  std::error_code ec;
  if (dir.empty()) return false;
  // Every name present is enough: a damaged file (a FIFO, a folder, a link to
  // a device) is then refused by name when it is read, instead of the search
  // passing over this folder to an older copy elsewhere or saying that
  // nothing was found.
  for (const char* name : kMarkerFiles)
    if (!fs::exists(dir / name, ec)) return false;
  return true;
}

std::optional<fs::path> LocateSuppliedDir(const fs::path& programDir,
                                          const std::optional<fs::path>& home, std::string* error) {
  const auto candidates = SuppliedDirCandidates(programDir);
  for (const auto& dir : candidates)
    if (IsSuppliedDir(dir)) return dir;
  std::optional<fs::path> given = home;
  if (const char* env = std::getenv("NOVASTRA_HOME"); !given && env && *env) given = fs::path(env);
  if (given && IsSuppliedDir(*given)) return *given;
  if (error) {
    *error = "The program's supplied files (series data, OPTIONS.MAS) were not found. Looked in:";
    for (const auto& dir : candidates) *error += "\n  " + dir.string();
    *error += "\nInstall the program again, or give a folder that holds them with --home.";
  }
  return std::nullopt;
}

std::optional<ProgramFolders> ResolveProgramFolders(const std::optional<fs::path>& home,
                                                    const fs::path& programDir,
                                                    std::string* error) {
  auto supplied = LocateSuppliedDir(programDir, home, error);
  if (!supplied) return std::nullopt;
  auto app = ResolveAppFolder(home, programDir, *supplied, error);
  if (!app) return std::nullopt;
  return ProgramFolders{*app, *supplied};
}

}  // namespace novastra
