#pragma once
// Where a command's output goes: standard output, or a file written
// atomically through AtomicFile. Every write is checked; the first failure is
// kept with its reason and later writes are dropped.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/safe_write.h"

namespace novastra {

class OutputSink {
 public:
  // Standard output when `file` is empty.
  explicit OutputSink(const std::optional<std::filesystem::path>& file, int stdoutFd = 1);

  // Buffers the bytes and writes them out in large blocks; false once a write failed.
  bool Write(std::string_view bytes);
  // Writes what is buffered; for a file, completes it under its name. ""
  // on success, else the reason (the file is then left as it was).
  std::string Finish();
  // Drops the output: a file keeps its old contents.
  void Abandon();

  bool Failed() const { return !reason_.empty(); }
  const std::string& Reason() const { return reason_; }
  // "standard output" or the file's path, for messages.
  std::string Name() const;

 private:
  bool Flush();

  std::optional<std::filesystem::path> path_;
  std::unique_ptr<AtomicFile> file_;
  int fd_;
  std::string buffer_;
  std::string reason_;
};

}  // namespace novastra
