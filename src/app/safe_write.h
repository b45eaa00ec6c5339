#pragma once
// Writing files so that a target is always either its old contents or the
// complete new ones, however the write ends (full disk, a kill, a power cut).
//
// Rules, for every file the program writes:
//  - The new text goes to a temporary file beside the target, named
//    ".novastra-XXXXXXXX.tmp" with eight random characters (created with
//    O_EXCL and a new name on a clash), written, synced, then renamed over
//    the target, and the folder is synced so the rename itself is durable.
//    The temporary name is short whatever the target's name, so a target
//    name of any allowed length (255 bytes) saves.
//  - A target the user may not write (no write permission, or every write
//    bit cleared: a read-only file) is refused with a message; so is
//    anything that is not a regular file (a folder, a FIFO, a device).
//  - An existing target keeps its permission bits, and its owner and group
//    where the user may set them.
//  - A symbolic link is written through: the file it finally points to gets
//    the new text and the link stays a link. A dangling link creates the file
//    it names.
//  - Hard links are kept by the saves: a target with more than one name is
//    rewritten in place (space reserved first) once its new text is safely
//    on disk beside it, so every name sees the new text. A command's output
//    (AtomicFile) must be whole or absent, so it refuses such a target.
//  - A symbolic link owned by another user than the user or root is not
//    followed, nor, in a sticky folder everyone may write to, one owned by
//    another user than the user or the folder's owner.
//  - SIGINT, SIGTERM and SIGHUP remove the process's temporary files and end
//    it with status 128 + the signal number.
//  - Several files written as a set (the six files of an ephemeris) are all
//    written to temporary files before any is renamed; if any of them fails,
//    every temporary file is removed and no target changes. Before the first
//    rename a journal of the renames is synced to disk, so that a process
//    killed between them leaves a set the next start-up or save completes.
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace novastra {

struct SetWriteResult {
  std::string reason;          // "" when every file was written
  std::filesystem::path file;  // the file that failed
  int replaced = 0;            // targets already holding their new text
  bool ok() const { return reason.empty(); }
};

// Writes every (target, bytes) pair as one set, by the rules above.
SetWriteResult WriteFilesAsSet(
    const std::vector<std::pair<std::filesystem::path, std::string>>& files);

// Finishes the renames of a set that a killed save left half done in the
// folder, from the journal written before them, and removes the journal
// (see WriteFilesAsSet). Returns how many files it put in place.
int RollForwardSet(const std::filesystem::path& folder);

// True for a name of the program's own temporary pattern.
bool IsOwnTempName(const std::string& name);

// Removes temporary files of the program's own pattern left in the folder by
// a save that was killed. Only to be called while holding the folder's lock,
// so that no save of another copy of the program is under way there; a
// temporary file still being written (by a command-line export that takes no
// folder lock) is known by the lock its writer holds on it and left alone.
// Beside a command's output file (folderLocked false) a file is taken for a
// leftover only when its lock can be taken (its writer has ended), or, on a
// file system without locks, when it has not changed for an hour.
// Returns how many were removed.
int RemoveStaleTempFiles(const std::filesystem::path& folder, bool folderLocked = true);

// A file written piece by piece (a command's output of any size) by the same
// rules as a single-file set: the target is checked first, the text goes to a
// temporary file of the program's own pattern, and Commit puts it in place.
// Dropped without Commit (or after a failed write) the temporary file is
// removed and the target stays as it was.
// A character device or FIFO target (/dev/null, a pipe) is written directly.
class AtomicFile {
 public:
  explicit AtomicFile(const std::filesystem::path& target);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // False once any write has failed (see Reason).
  bool Write(std::string_view bytes);
  // Syncs, closes and puts the file in place; "" on success, else the reason.
  std::string Commit();
  // Removes the temporary file; the target stays as it was.
  void Abandon();
  const std::string& Reason() const { return reason_; }

 private:
  std::filesystem::path final_;  // the target after following symbolic links
  std::filesystem::path temp_;
  bool stream_ = false;  // a device or FIFO written directly
  int fd_ = -1;
  std::string reason_;
};

}  // namespace novastra
