#pragma once
// Shared helpers: a fresh temporary folder per test (removed afterwards), file bytes, CRLF text.
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace novastra::testing_support {

inline std::string ReadBytes(const std::filesystem::path& file) {
  std::ostringstream s;
  s << std::ifstream(file, std::ios::binary).rdbuf();
  return s.str();
}

inline std::string Crlf(const std::vector<std::string>& lines) {
  std::string t;
  for (const auto& l : lines) t += l + "\r\n";
  return t;
}

class TempFolder {
 public:
  TempFolder() : path_(std::filesystem::temp_directory_path() / Name()) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ec;  // a test may have taken away write permission
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path_ / name, std::ios::binary | std::ios::trunc) << bytes;
  }
  std::string Read(const std::string& name) const { return ReadBytes(path_ / name); }
  int Entries() const {
    return static_cast<int>(std::distance(std::filesystem::directory_iterator(path_), {}));
  }

 private:
  static std::string Name() {
    static std::atomic<int> n{0};
    return "novastra-test-" + std::to_string(::getpid()) + "-" + std::to_string(n++);
  }
  std::filesystem::path path_;
};

}  // namespace novastra::testing_support
