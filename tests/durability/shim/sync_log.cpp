// Preloaded into the program under test (LD_PRELOAD): records, in the order
// the program makes them, its fsync, fdatasync and rename calls into the file
// named by NOVASTRA_SYNC_LOG, one line each ("fsync PATH", "rename FROM TO"),
// then makes the real call. With NOVASTRA_DIE_AFTER_RENAMES=N the process is
// killed (SIGKILL) right after its N-th rename, as a power cut or kill -9
// between the renames of a set would leave it.
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>

namespace {

void Record(const char* what, const char* a, const char* b) {
  const char* log = std::getenv("NOVASTRA_SYNC_LOG");
  if (log == nullptr) return;
  const int fd = ::open(log, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return;
  ::dprintf(fd, "%s %s %s\n", what, a, b);
  ::close(fd);
}

void RecordDescriptor(const char* what, int fd) {
  char link[64], path[PATH_MAX] = {};
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t n = ::readlink(link, path, sizeof path - 1);
  path[n > 0 ? n : 0] = '\0';
  Record(what, path, "");
}

template <class Fn>
Fn Next(const char* name) {
  return reinterpret_cast<Fn>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" int fsync(int fd) {
  RecordDescriptor("fsync", fd);
  static const auto real = Next<int (*)(int)>("fsync");
  return real(fd);
}

extern "C" int fdatasync(int fd) {
  RecordDescriptor("fsync", fd);
  static const auto real = Next<int (*)(int)>("fdatasync");
  return real(fd);
}

extern "C" int rename(const char* from, const char* to) {
  Record("rename", from, to);
  static const auto real = Next<int (*)(const char*, const char*)>("rename");
  const int result = real(from, to);
  static int done = 0;
  const char* dieAfter = std::getenv("NOVASTRA_DIE_AFTER_RENAMES");
  if (dieAfter != nullptr && ++done == std::atoi(dieAfter)) ::kill(::getpid(), SIGKILL);
  return result;
}
