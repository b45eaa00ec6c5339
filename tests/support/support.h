#pragma once
// What every test program shares: a fresh temporary folder per test (removed
// afterwards), a folder holding the supplied data files, file bytes, CRLF
// text, running novastra-cli, and golden files (NOVASTRA_UPDATE_GOLDENS=1
// rewrites them after a deliberate change).
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
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

// Copies the supplied series data and option files into `folder`.
inline void CopySuppliedFiles(const std::filesystem::path& folder) {
#ifdef NOVASTRA_DATA_DIR
  for (const auto& e : std::filesystem::directory_iterator(NOVASTRA_DATA_DIR))
    if (auto ext = e.path().extension(); ext == ".DAT" || ext == ".OPT" || ext == ".MAS")
      std::filesystem::copy_file(e.path(), folder / e.path().filename(),
                                 std::filesystem::copy_options::overwrite_existing);
#endif
}

// A temporary folder holding the supplied series data and option files.
class HomeFolder : public TempFolder {
 public:
  HomeFolder() { CopySuppliedFiles(path()); }
};

// A shell word: the text in single quotes.
inline std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

struct CliResult {
  int status = -1;  // exit status, -1 when it did not exit normally
  std::string out;  // standard output
  std::string err;  // standard error
};

#ifdef NOVASTRA_CLI
// Runs novastra-cli with the arguments (each passed as one word).
inline CliResult RunCli(const std::vector<std::string>& args) {
  TempFolder io;
  std::string cmd = Quote(NOVASTRA_CLI);
  for (const auto& a : args) cmd += " " + Quote(a);
  cmd += " >" + Quote((io / "out").string()) + " 2>" + Quote((io / "err").string()) + " </dev/null";
  const int raw = std::system(cmd.c_str());
  CliResult r;
  r.status = raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = io.Read("out");
  r.err = io.Read("err");
  return r;
}
#endif

// Whether goldens are to be rewritten rather than compared.
inline bool UpdatingGoldens() {
  const char* v = std::getenv("NOVASTRA_UPDATE_GOLDENS");
  return v && std::string(v) == "1";
}

// Compares text with a golden file byte for byte (or rewrites the file when
// NOVASTRA_UPDATE_GOLDENS=1); on a difference shows the first differing line.
inline void ExpectGolden(const std::filesystem::path& golden, const std::string& text) {
  if (UpdatingGoldens()) {
    std::ofstream(golden, std::ios::binary | std::ios::trunc) << text;
    return;
  }
  const std::string expected = ReadBytes(golden);
  const size_t at =
      std::mismatch(text.begin(), text.end(), expected.begin(), expected.end()).first -
      text.begin();
  const size_t line = at == 0 ? 0 : text.rfind('\n', at - 1) + 1;  // npos + 1 is 0
  EXPECT_TRUE(!expected.empty() && text == expected)
      << golden.filename() << " differs at byte " << at
      << "\nwant: " << expected.substr(std::min(line, expected.size()), 140)
      << "\ngot:  " << text.substr(line, 140);
}

// Environment variables set for one test and put back as they were after it.
class EnvironmentGuard {
 public:
  EnvironmentGuard() = default;
  EnvironmentGuard(const EnvironmentGuard&) = delete;
  EnvironmentGuard& operator=(const EnvironmentGuard&) = delete;
  ~EnvironmentGuard() {
    for (const auto& [name, old] : saved_) Apply(name.c_str(), old);
  }
  // Sets the variable, or unsets it for nullopt.
  void Set(const char* name, const std::optional<std::string>& value) {
    if (const char* old = std::getenv(name); !saved_.count(name))
      saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
    Apply(name, value);
  }

 private:
  static void Apply(const char* name, const std::optional<std::string>& value) {
    value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
  }
  std::map<std::string, std::optional<std::string>> saved_;
};

}  // namespace novastra::testing_support
