#include "astro/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace novastra {

// The bytes of a regular file of at most maxBytes, or why not: missing, a
// folder, not a regular file (a FIFO is never waited on), too large, or a
// read error. Never blocks and never returns part of a file.
// Given:  file       path
//         maxBytes   the largest size accepted, bytes
// Returns:           Ok with the bytes, or Missing / Unreadable with the
//                    reason and no bytes
// Source: POSIX open, fstat and read; no published source.
FileRead ReadRegularFile(const std::filesystem::path& file, std::size_t maxBytes) {
  FileRead r;
  // O_NONBLOCK: opening a FIFO with no writer would otherwise wait forever.
  const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    const int err = errno;
    r.status = err == ENOENT || err == ENOTDIR ? FileRead::Missing : FileRead::Unreadable;
    r.reason = std::strerror(err);
    return r;
  }
  struct stat st {};
  r.status = FileRead::Unreadable;
  if (::fstat(fd, &st) != 0) {
    r.reason = std::strerror(errno);
  } else if (S_ISDIR(st.st_mode)) {
    r.reason = "it is a folder";
  } else if (!S_ISREG(st.st_mode)) {
    r.reason = "it is not a regular file";
  } else if (static_cast<unsigned long long>(st.st_size) > maxBytes) {
    r.reason = "it is too large";
  } else {
    // A regular file never blocks; clear the flag anyway for a plain read.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    r.bytes.reserve(static_cast<std::size_t>(st.st_size));
    char chunk[65536];
    for (;;) {
      const ssize_t n = ::read(fd, chunk, sizeof chunk);
      if (n < 0) {
        if (errno == EINTR) continue;
        r.reason = std::strerror(errno);
        break;
      }
      if (n == 0) {
        r.status = FileRead::Ok;
        break;
      }
      // The file may grow while it is read: the limit holds all the same.
      if (r.bytes.size() + static_cast<std::size_t>(n) > maxBytes) {
        r.reason = "it is too large";
        break;
      }
      r.bytes.append(chunk, static_cast<std::size_t>(n));
    }
    if (!r.ok()) r.bytes.clear();
  }
  ::close(fd);
  return r;
}

}  // namespace novastra
