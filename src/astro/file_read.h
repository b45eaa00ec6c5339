#pragma once
// Reading a whole input file safely: only a regular file is read (a FIFO, a
// device or a folder in its place is refused, never waited on), up to a size
// limit, and a file that exists but cannot be read is told apart from a
// missing one.
#include <cstddef>
#include <filesystem>
#include <string>

namespace novastra {

// Larger than any file the program reads (the biggest, a saved aspectarian,
// is well under 1 MB).
inline constexpr std::size_t kMaxInputFileBytes = 16u << 20;

struct FileRead {
  enum Status { Ok, Missing, Unreadable } status = Missing;
  std::string bytes;   // the contents when Ok
  std::string reason;  // why not, in words ("it is not a regular file", ...)
  bool ok() const { return status == Ok; }
};

// Opens without blocking (O_NONBLOCK, then fstat), follows symbolic links to
// their final file, and reads at most maxBytes.
FileRead ReadRegularFile(const std::filesystem::path& file,
                         std::size_t maxBytes = kMaxInputFileBytes);

}  // namespace novastra
