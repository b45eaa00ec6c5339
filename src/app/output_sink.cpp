#include "app/output_sink.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace novastra {

namespace {
constexpr size_t kBlock = 1 << 16;
}  // namespace

OutputSink::OutputSink(const std::optional<std::filesystem::path>& file, int stdoutFd)
    : path_(file), fd_(stdoutFd) {
  if (path_) {
    file_ = std::make_unique<AtomicFile>(*path_);
    reason_ = file_->Reason();
  }
}

std::string OutputSink::Name() const { return path_ ? path_->string() : "standard output"; }

bool OutputSink::Write(std::string_view bytes) {
  if (!reason_.empty()) return false;
  buffer_.append(bytes);
  return buffer_.size() < kBlock || Flush();
}

bool OutputSink::Flush() {
  if (!reason_.empty()) return false;
  if (file_) {
    if (!file_->Write(buffer_)) reason_ = file_->Reason();
  } else {
    size_t done = 0;
    while (done < buffer_.size()) {
      const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
      if (n < 0) {
        if (errno == EINTR) continue;
        reason_ = std::strerror(errno);
        break;
      }
      done += static_cast<size_t>(n);
    }
  }
  buffer_.clear();
  return reason_.empty();
}

std::string OutputSink::Finish() {
  Flush();
  if (file_) {
    if (reason_.empty())
      reason_ = file_->Commit();
    else
      file_->Abandon();
    file_.reset();
  }
  return reason_;
}

void OutputSink::Abandon() {
  buffer_.clear();
  if (file_) file_->Abandon();
  file_.reset();
}

}  // namespace novastra
