#include "app/safe_write.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
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

std::string ErrnoText(int err) { return std::strerror(err); }

// One file of a set, from its target to its finished temporary file.
struct Pending {
  fs::path target;  // as given
  fs::path final;   // after following symbolic links
  bool exists = false;
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
std::string ResolveTarget(Pending& p) {
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
    std::error_code ec;
    const fs::path link = fs::read_symlink(path, ec);
    if (ec) return ec.message();
    path = link.is_absolute() ? link : path.parent_path() / link;
  }
  if (S_ISDIR(p.st.st_mode)) return "it is a folder";
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
        raw[i] = static_cast<unsigned char>((::getpid() * 2654435761u + clock() + i * 40503u) >> 3);
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

// The same with the text of the finished temporary file `from`.
std::string RewriteInPlaceFromFile(const fs::path& target, const fs::path& from) {
  const int in = ::open(from.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (in < 0) return ErrnoText(errno);
  struct stat st {};
  if (::fstat(in, &st) != 0) {
    const int err = errno;
    ::close(in);
    return ErrnoText(err);
  }
  const std::string reason = RewriteInPlace(target, st.st_size, [in](int out) -> std::string {
    std::string block(1 << 20, '\0');
    for (;;) {
      const ssize_t n = ::read(in, block.data(), block.size());
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return ErrnoText(errno);
      if (n == 0) return "";
      const std::string reason =
          WriteAll(out, std::string_view(block).substr(0, static_cast<size_t>(n)));
      if (!reason.empty()) return reason;
    }
  });
  ::close(in);
  return reason;
}

void SyncFolder(const fs::path& dir) {
  const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

SetWriteResult WriteFilesAsSet(const std::vector<std::pair<fs::path, std::string>>& files) {
  SetWriteResult result;
  std::vector<Pending> pending(files.size());
  auto removeTemps = [&pending] {
    for (Pending& p : pending) {
      if (!p.temp.empty()) ::unlink(p.temp.c_str());
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
  for (size_t i = 0; i < files.size(); ++i) {
    result.reason = WriteTemp(pending[i], files[i].second);
    if (!result.ok()) {
      result.file = files[i].first;
      removeTemps();
      return result;
    }
  }

  std::set<fs::path> folders;
  for (size_t i = 0; i < files.size(); ++i) {
    Pending& p = pending[i];
    if (p.exists && p.st.st_nlink > 1) {
      result.reason = RewriteInPlace(p.final, files[i].second);
      ::unlink(p.temp.c_str());
    } else if (::rename(p.temp.c_str(), p.final.c_str()) != 0) {
      result.reason = ErrnoText(errno);
    }
    if (!result.ok()) {
      result.file = files[i].first;
      for (size_t j = i; j < files.size(); ++j) {
        ::unlink(pending[j].temp.c_str());
        CloseTemp(pending[j]);
      }
      break;
    }
    CloseTemp(p);
    p.temp.clear();
    folders.insert(p.final.parent_path());
    ++result.replaced;
  }
  for (const fs::path& dir : folders) SyncFolder(dir);
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

int RemoveStaleTempFiles(const fs::path& folder) {
  int removed = 0;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return 0;
  const int dfd = ::dirfd(dir);
  while (const dirent* e = ::readdir(dir)) {
    if (!IsOwnTempName(e->d_name)) continue;
    struct stat st {};
    // Only regular files of the pattern; never follow a link.
    if (::fstatat(dfd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
    // A file whose save is still running holds its lock (MarkInUse): left alone.
    const int fd = ::openat(dfd, e->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
      ::close(fd);
      continue;
    }
    if (::unlinkat(dfd, e->d_name, 0) == 0) ++removed;
    if (fd >= 0) ::close(fd);
  }
  ::closedir(dir);
  return removed;
}

AtomicFile::AtomicFile(const fs::path& target) {
  Pending p;
  p.target = target;
  reason_ = target.filename().empty() ? "no file name" : ResolveTarget(p);
  if (!reason_.empty()) return;
  final_ = p.final;
  inPlace_ = p.exists && p.st.st_nlink > 1;
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
  if (reason_.empty() && ::fsync(fd_) != 0) reason_ = ErrnoText(errno);
  // The descriptor, and with it the lock that marks the file in use, is
  // kept until the file is in place.
  if (reason_.empty()) {
    if (inPlace_) {
      reason_ = RewriteInPlaceFromFile(final_, temp_);
    } else if (::rename(temp_.c_str(), final_.c_str()) != 0) {
      reason_ = ErrnoText(errno);
    } else {
      temp_.clear();
    }
  }
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
  ::close(fd_);
  fd_ = -1;
  if (reason_.empty()) SyncFolder(final_.parent_path());
  return reason_;
}

void AtomicFile::Abandon() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

}  // namespace novastra
