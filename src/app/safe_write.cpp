#include "app/safe_write.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <mutex>
#include <set>
#include <string_view>

namespace novastra {

namespace fs = std::filesystem;

namespace {

constexpr const char* kTempPrefix = ".novastra-";
constexpr const char* kTempSuffix = ".tmp";
constexpr size_t kTempRandomChars = 8;
constexpr int kTempAttempts = 100;
constexpr int kMaxLinkDepth = 40;
constexpr time_t kStaleWithoutLocks = 3600;  // seconds

std::string ErrnoText(int err) { return std::strerror(err); }

// ---- removal of this process's temporary files when it is told to stop ----
//
// Every temporary file is entered in a fixed table from its creation to its
// rename or removal. On SIGINT, SIGTERM or SIGHUP the handler unlinks every
// file in the table (unlink and _exit are async-signal-safe) and ends the
// process with 128 + the signal number, as shells report it. A signal the
// process was started with ignored (nohup) stays ignored.
constexpr int kTrackedSlots = 64;
constexpr size_t kTrackedPathMax = 4096;
char g_trackedPath[kTrackedSlots][kTrackedPathMax];
std::atomic<bool> g_trackedUsed[kTrackedSlots];
std::mutex g_trackedMutex;
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void RemoveTempFilesAndExit(int sig) {
  for (int i = 0; i < kTrackedSlots; ++i)
    if (g_trackedUsed[i].load()) ::unlink(g_trackedPath[i]);
  ::_exit(128 + sig);
}

void InstallSignalCleanup() {
  static std::once_flag once;
  std::call_once(once, [] {
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
      struct sigaction old {};
      if (::sigaction(sig, nullptr, &old) != 0 || old.sa_handler != SIG_DFL) continue;
      struct sigaction sa {};
      sa.sa_handler = RemoveTempFilesAndExit;
      sigemptyset(&sa.sa_mask);
      for (int other : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&sa.sa_mask, other);
      ::sigaction(sig, &sa, nullptr);
    }
  });
}

void Track(const fs::path& temp) {
  InstallSignalCleanup();
  const std::string& s = temp.native();
  if (s.size() >= kTrackedPathMax) return;
  const std::lock_guard lock(g_trackedMutex);
  for (int i = 0; i < kTrackedSlots; ++i) {
    if (g_trackedUsed[i].load()) continue;
    std::memcpy(g_trackedPath[i], s.c_str(), s.size() + 1);
    g_trackedUsed[i].store(true);
    return;
  }
}

void Untrack(const fs::path& temp) {
  const std::lock_guard lock(g_trackedMutex);
  for (int i = 0; i < kTrackedSlots; ++i)
    if (g_trackedUsed[i].load() && temp.native() == g_trackedPath[i]) g_trackedUsed[i].store(false);
}

// One file of a set, from its target to its finished temporary file.
struct Pending {
  fs::path target;  // as given
  fs::path final;   // after following symbolic links
  bool exists = false;
  bool stream = false;  // a character device or FIFO, written directly
  struct stat st {};
  fs::path temp;  // the temporary file, once created
  int fd = -1;    // open on it, with its lock held, until it is renamed or removed
};

// A temporary file in use is marked by an exclusive lock (flock) held on it
// from its creation until it is renamed or removed, so that the start-up
// removal of killed saves' leftovers (RemoveStaleTempFiles) passes over the
// file of a save still running, such as a long export with -o into the
// application folder. Returns false when the name was removed before the lock
// was taken: the file is then no longer usable.
bool MarkInUse(int fd) {
  while (::flock(fd, LOCK_EX) != 0)
    if (errno != EINTR) return true;  // no locks on this file system: nothing to mark with
  struct stat st {};
  return ::fstat(fd, &st) != 0 || st.st_nlink > 0;
}

// Follows symbolic links from the target to the file that gets the text.
// With `streams`, a character device or a FIFO (/dev/null, a pipe) is
// accepted and p.stream set: it is written directly, as any Unix tool does.
std::string ResolveTarget(Pending& p, bool streams = false) {
  fs::path path = p.target;
  for (int depth = 0;; ++depth) {
    if (depth == kMaxLinkDepth) return ErrnoText(ELOOP);
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
      if (errno != ENOENT) return ErrnoText(errno);
      p.final = path;
      p.exists = false;
      return "";
    }
    if (!S_ISLNK(st.st_mode)) {
      p.final = path;
      p.exists = true;
      p.st = st;
      break;
    }
    // A link another user placed where others may write is not followed
    // (the rule of the kernel's protected_symlinks): its owner must be the
    // user or root, and in a sticky folder that everyone may write to (/tmp)
    // the user or the folder's owner.
    const uid_t me = ::geteuid();
    if (st.st_uid != me && st.st_uid != 0)
      return "it is a symbolic link owned by another user";
    struct stat folder {};
    const fs::path parent = path.has_parent_path() ? path.parent_path() : fs::path(".");
    if (::stat(parent.c_str(), &folder) == 0 && (folder.st_mode & S_ISVTX) &&
        (folder.st_mode & S_IWOTH) && st.st_uid != me && st.st_uid != folder.st_uid)
      return "it is a symbolic link in a folder everyone may write to, not owned by the user";
    std::error_code ec;
    const fs::path link = fs::read_symlink(path, ec);
    if (ec) return ec.message();
    path = link.is_absolute() ? link : path.parent_path() / link;
  }
  if (S_ISDIR(p.st.st_mode)) return "it is a folder";
  p.stream = streams && (S_ISCHR(p.st.st_mode) || S_ISFIFO(p.st.st_mode));
  if (p.stream) return "";
  if (!S_ISREG(p.st.st_mode)) return "it is not a regular file";
  if (::access(p.final.c_str(), W_OK) != 0) return ErrnoText(errno);
  // access() lets the superuser write anything; a file with every write bit
  // cleared is read-only by the user's own choice and stays as it is.
  if ((p.st.st_mode & 0222) == 0) return "the file is read-only";
  return "";
}

std::string RandomChars() {
  static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  unsigned char raw[kTempRandomChars];
  size_t got = 0;
  while (got < sizeof raw) {
    const ssize_t n = ::getrandom(raw + got, sizeof raw - got, 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      // No entropy source: fall back on the clock and process number.
      for (size_t i = got; i < sizeof raw; ++i)
        raw[i] = static_cast<unsigned char>(
            (static_cast<unsigned long>(static_cast<unsigned>(::getpid()) * 2654435761u) +
             clock() + i * 40503u) >> 3);
      break;
    }
    got += static_cast<size_t>(n);
  }
  std::string s;
  for (unsigned char c : raw) s.push_back(kAlphabet[c % (sizeof kAlphabet - 1)]);
  return s;
}

std::string WriteAll(int fd, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return ErrnoText(errno);
    }
    done += static_cast<size_t>(n);
  }
  return "";
}

// Creates the temporary file of one target, with the target's owner and
// permission bits when it exists; the open descriptor goes to *fd.
std::string CreateTemp(Pending& p, int* fd) {
  fs::path dir = p.final.parent_path();
  if (dir.empty()) dir = ".";
  *fd = -1;
  for (int attempt = 0; attempt < kTempAttempts && *fd < 0; ++attempt) {
    const fs::path temp = dir / (kTempPrefix + RandomChars() + kTempSuffix);
    *fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (*fd >= 0 && !MarkInUse(*fd)) {
      ::close(*fd);
      *fd = -1;
    } else if (*fd >= 0) {
      p.temp = temp;
      Track(temp);
    } else if (errno != EEXIST) {
      return ErrnoText(errno);
    }
  }
  if (*fd < 0) return ErrnoText(EEXIST);
  if (p.exists) {
    // Keep the owner where allowed (the group alone when the owner cannot
    // be given away), then the permission bits, which chown may clear.
    if (::fchown(*fd, p.st.st_uid, p.st.st_gid) != 0)
      (void)!::fchown(*fd, static_cast<uid_t>(-1), p.st.st_gid);
    if (::fchmod(*fd, p.st.st_mode & 07777) != 0) return ErrnoText(errno);
  }
  return "";
}

// Creates, fills and syncs the temporary file of one target. It is kept
// open, and so locked, until it is renamed or removed (CloseTemp).
std::string WriteTemp(Pending& p, const std::string& bytes) {
  std::string reason = CreateTemp(p, &p.fd);
  if (reason.empty()) reason = WriteAll(p.fd, bytes);
  if (reason.empty() && ::fsync(p.fd) != 0) reason = ErrnoText(errno);
  return reason;
}

void CloseTemp(Pending& p) {
  if (p.fd >= 0) ::close(p.fd);
  p.fd = -1;
}

// A target with several names: its new text is copied into it in place,
// after reserving the space, so that a full disk fails before any byte of
// the old text changes. `fill` writes the text to the open target.
template <class Fill>
std::string RewriteInPlace(const fs::path& target, off_t size, Fill&& fill) {
  const int fd = ::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return ErrnoText(errno);
  std::string reason;
  if (size > 0) {
    const int err = ::posix_fallocate(fd, 0, size);
    if (err != 0 && err != EOPNOTSUPP && err != EINVAL) reason = ErrnoText(err);
  }
  if (reason.empty()) reason = fill(fd);
  if (reason.empty() && ::ftruncate(fd, size) != 0) reason = ErrnoText(errno);
  if (reason.empty() && ::fsync(fd) != 0) reason = ErrnoText(errno);
  if (::close(fd) != 0 && reason.empty()) reason = ErrnoText(errno);
  return reason;
}

std::string RewriteInPlace(const fs::path& target, const std::string& bytes) {
  return RewriteInPlace(target, static_cast<off_t>(bytes.size()),
                        [&bytes](int fd) { return WriteAll(fd, bytes); });
}

void RemoveTemp(const fs::path& temp) {
  if (temp.empty()) return;
  ::unlink(temp.c_str());
  Untrack(temp);
}

void SyncFolder(const fs::path& dir) {
  const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// ---- the journal of a set's renames ----
//
// Before the first rename of a set, each folder gets a journal listing its
// temporary->final name pairs (file names only, one pair a line) and a last
// line "end", written and synced under a temporary name and renamed into
// place. A process that dies between the renames leaves it behind; the next
// start-up in the folder or the next save there finishes the renames (rolls
// forward) and removes it. A journal without its last line was cut short
// before any rename, so the old set is whole: it is only removed.
constexpr const char* kJournalName = ".novastra-set.jnl";
constexpr const char* kJournalEnd = "end";

bool WriteJournal(const fs::path& dir, const std::vector<const Pending*>& members) {
  std::string text;
  for (const Pending* p : members)
    text += p->temp.filename().string() + "\t" + p->final.filename().string() + "\n";
  text += std::string(kJournalEnd) + "\n";
  Pending j;
  j.final = dir / kJournalName;
  std::string reason = WriteTemp(j, text);
  if (reason.empty() && ::rename(j.temp.c_str(), j.final.c_str()) != 0) reason = ErrnoText(errno);
  if (reason.empty()) Untrack(j.temp);
  else RemoveTemp(j.temp);
  CloseTemp(j);
  if (reason.empty()) SyncFolder(dir);
  return reason.empty();
}

// The journals of a set's folders that have more than one file to rename;
// returns the folders that got one.
std::set<fs::path> WriteJournals(const std::set<fs::path>& folders,
                                 const std::vector<Pending>& pending) {
  std::set<fs::path> journaled;
  for (const fs::path& dir : folders) {
    std::vector<const Pending*> members;
    for (const Pending& p : pending)
      if (p.final.parent_path() == dir && !(p.exists && p.st.st_nlink > 1)) members.push_back(&p);
    if (members.size() > 1 && WriteJournal(dir, members)) journaled.insert(dir);
  }
  return journaled;
}

void RemoveJournal(const fs::path& dir) {
  if (::unlink((dir / kJournalName).c_str()) == 0) SyncFolder(dir);
}

}  // namespace

int RollForwardSet(const fs::path& folder) {
  const fs::path dir = folder.empty() ? fs::path(".") : folder;
  const fs::path journal = dir / kJournalName;
  const int fd = ::open(journal.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return 0;
  struct stat st {};
  std::string text;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size < (1 << 16)) {
    text.resize(static_cast<size_t>(st.st_size));
    const ssize_t n = ::read(fd, text.data(), text.size());
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
  }
  ::close(fd);
  std::vector<std::pair<std::string, std::string>> pairs;
  bool complete = false;
  for (size_t at = 0; at < text.size();) {
    const size_t end = text.find('\n', at);
    if (end == std::string::npos) break;  // a line cut short
    const std::string line = text.substr(at, end - at);
    at = end + 1;
    if (line == kJournalEnd) {
      complete = at == text.size();
      break;
    }
    const size_t tab = line.find('\t');
    if (tab == std::string::npos) break;
    pairs.emplace_back(line.substr(0, tab), line.substr(tab + 1));
    const auto& [temp, final] = pairs.back();
    // Names in this folder only, and only the program's own temporary files.
    if (!IsOwnTempName(temp) || final.empty() || final.find('/') != std::string::npos ||
        final == "." || final == "..")
      break;
  }
  int renamed = 0;
  if (complete) {
    for (const auto& [temp, final] : pairs) {
      struct stat t {};
      if (::lstat((dir / temp).c_str(), &t) != 0 || !S_ISREG(t.st_mode)) continue;  // done
      // A temporary file still locked belongs to a save under way: leave it be.
      const int tfd = ::open((dir / temp).c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
      const bool busy = tfd >= 0 && ::flock(tfd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
      if (tfd >= 0) ::close(tfd);
      if (busy) return 0;
      if (::rename((dir / temp).c_str(), (dir / final).c_str()) == 0) ++renamed;
    }
    SyncFolder(dir);
  }
  RemoveJournal(dir);
  return renamed;
}

SetWriteResult WriteFilesAsSet(const std::vector<std::pair<fs::path, std::string>>& files) {
  SetWriteResult result;
  std::vector<Pending> pending(files.size());
  auto removeTemps = [&pending] {
    for (Pending& p : pending) {
      RemoveTemp(p.temp);
      CloseTemp(p);
    }
  };

  // Every target is checked before anything is written.
  for (size_t i = 0; i < files.size(); ++i) {
    pending[i].target = files[i].first;
    if (files[i].first.filename().empty()) {
      result.reason = "no file name";
    } else {
      result.reason = ResolveTarget(pending[i]);
    }
    if (!result.ok()) {
      result.file = files[i].first;
      return result;
    }
  }
  std::set<fs::path> folders;
  for (const Pending& p : pending) folders.insert(p.final.parent_path());
  // A set a killed save left half renamed is finished first.
  for (const fs::path& dir : folders) RollForwardSet(dir);

  for (size_t i = 0; i < files.size(); ++i) {
    result.reason = WriteTemp(pending[i], files[i].second);
    if (!result.ok()) {
      result.file = files[i].first;
      removeTemps();
      return result;
    }
  }

  const std::set<fs::path> journaled = WriteJournals(folders, pending);
  for (size_t i = 0; i < files.size(); ++i) {
    Pending& p = pending[i];
    if (p.exists && p.st.st_nlink > 1) {
      result.reason = RewriteInPlace(p.final, files[i].second);
      RemoveTemp(p.temp);
    } else if (::rename(p.temp.c_str(), p.final.c_str()) != 0) {
      result.reason = ErrnoText(errno);
    }
    if (!result.ok()) {
      result.file = files[i].first;
      for (size_t j = i; j < files.size(); ++j) {
        RemoveTemp(pending[j].temp);
        CloseTemp(pending[j]);
      }
      break;
    }
    CloseTemp(p);
    Untrack(p.temp);
    p.temp.clear();
    ++result.replaced;
  }
  for (const fs::path& dir : folders) {
    SyncFolder(dir);
    if (journaled.contains(dir)) RemoveJournal(dir);
  }
  return result;
}

bool IsOwnTempName(const std::string& name) {
  const std::string prefix = kTempPrefix, suffix = kTempSuffix;
  if (name.size() != prefix.size() + kTempRandomChars + suffix.size()) return false;
  if (name.compare(0, prefix.size(), prefix) != 0) return false;
  if (name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) return false;
  for (size_t i = prefix.size(); i < prefix.size() + kTempRandomChars; ++i) {
    const char c = name[i];
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

int RemoveStaleTempFiles(const fs::path& folder, bool folderLocked) {
  // A set left half renamed is finished before its temporary files could be
  // taken for leftovers.
  if (folderLocked) RollForwardSet(folder);
  int removed = 0;
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return 0;
  const int dfd = ::dirfd(dir);
  const time_t now = ::time(nullptr);
  while (const dirent* e = ::readdir(dir)) {
    if (!IsOwnTempName(e->d_name)) continue;
    struct stat st {};
    // Only regular files of the pattern; never follow a link.
    if (::fstatat(dfd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
    // A file whose writer is still running holds its lock (MarkInUse): left
    // alone. Where the file system has no locks, a file beside an output file
    // is only taken for a leftover once it has not changed for an hour.
    const int fd = ::openat(dfd, e->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    const bool locked = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    const bool busy = fd >= 0 && !locked && errno == EWOULDBLOCK;
    const bool old = now - st.st_mtime > kStaleWithoutLocks;
    if (!busy && (locked || folderLocked || old) && ::unlinkat(dfd, e->d_name, 0) == 0) ++removed;
    if (fd >= 0) ::close(fd);
  }
  ::closedir(dir);
  return removed;
}

AtomicFile::AtomicFile(const fs::path& target) {
  Pending p;
  p.target = target;
  reason_ = target.filename().empty() ? "no file name" : ResolveTarget(p, true);
  if (!reason_.empty()) return;
  final_ = p.final;
  if (p.stream) {
    // A FIFO nobody reads would block the open: refused instead.
    fd_ = ::open(final_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
      reason_ = errno == ENXIO ? "no program is reading from it" : ErrnoText(errno);
      return;
    }
    ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
    stream_ = true;
    return;
  }
  // Rewriting a file with several names in place could be torn by a kill,
  // and replacing it would cut its other names off: refused.
  if (p.exists && p.st.st_nlink > 1) {
    reason_ = "it has " + std::to_string(p.st.st_nlink) +
              " hard links, and output is never written into a file in place; "
              "write to a new name";
    return;
  }
  // Leftovers of killed exports beside the target go before a new one starts.
  RemoveStaleTempFiles(final_.parent_path(), false);
  reason_ = CreateTemp(p, &fd_);
  temp_ = p.temp;
  if (!reason_.empty()) Abandon();
}

AtomicFile::~AtomicFile() { Abandon(); }

bool AtomicFile::Write(std::string_view bytes) {
  if (reason_.empty() && fd_ < 0) reason_ = "already closed";
  if (reason_.empty()) reason_ = WriteAll(fd_, bytes);
  return reason_.empty();
}

std::string AtomicFile::Commit() {
  if (fd_ < 0) return reason_.empty() ? "already closed" : reason_;
  if (stream_) {
    if (::close(fd_) != 0 && reason_.empty()) reason_ = ErrnoText(errno);
    fd_ = -1;
    return reason_;
  }
  if (reason_.empty() && ::fsync(fd_) != 0) reason_ = ErrnoText(errno);
  // The descriptor, and with it the lock that marks the file in use, is
  // kept until the file is in place.
  if (reason_.empty()) {
    if (::rename(temp_.c_str(), final_.c_str()) != 0) {
      reason_ = ErrnoText(errno);
    } else {
      Untrack(temp_);
      temp_.clear();
    }
  }
  RemoveTemp(temp_);
  temp_.clear();
  ::close(fd_);
  fd_ = -1;
  if (reason_.empty()) SyncFolder(final_.parent_path());
  return reason_;
}

void AtomicFile::Abandon() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  RemoveTemp(temp_);
  temp_.clear();
}

}  // namespace novastra
