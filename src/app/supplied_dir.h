#pragma once
// The folder of the supplied files: series data, help documents, OPTIONS.MAS,
// the first OPTIONS.OPT and the EPHEMERI font. They are read from where they
// were installed; only OPTIONS.OPT is copied into the user's folder.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace novastra {

// Name of the file that a build tree writes next to its programs; its one line
// is the path of the source tree's data folder.
inline constexpr const char* kBuildTreeDataFile = "novastra-data-dir.txt";

// The folder of the running executable (/proc/self/exe); the current folder
// when that cannot be read.
std::filesystem::path ExecutableDir();

// The places searched for the supplied folder, in order: ../share/novastra
// beside the program (an installed tree, wherever it was moved), the program's
// own folder, the folder named by the build tree's file next to the program,
// then <dir>/novastra for every dir of $XDG_DATA_DIRS (default
// /usr/local/share:/usr/share). The build tree comes before $XDG_DATA_DIRS so
// that a program being developed never reads an older installed copy.
std::vector<std::filesystem::path> SuppliedDirCandidates(const std::filesystem::path& programDir);

// True when the folder holds the supplied files (it holds OPTIONS.MAS and the
// series files, of whatever type: whether each can be read is told when it is
// read).
bool IsSuppliedDir(const std::filesystem::path& dir);

// The first candidate that holds the supplied files. When none does, a folder
// given by --home or $NOVASTRA_HOME that holds them serves (a self-contained
// folder); else nullopt and *error names the places searched.
std::optional<std::filesystem::path> LocateSuppliedDir(
    const std::filesystem::path& programDir, const std::optional<std::filesystem::path>& home,
    std::string* error);

// Both folders a program needs: the supplied folder found as above, then the
// application folder chosen by ResolveAppFolder (app_folder.h).
struct ProgramFolders {
  std::filesystem::path app;
  std::filesystem::path supplied;
};
std::optional<ProgramFolders> ResolveProgramFolders(
    const std::optional<std::filesystem::path>& home, const std::filesystem::path& programDir,
    std::string* error);

}  // namespace novastra
