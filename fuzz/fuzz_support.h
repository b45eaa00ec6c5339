#pragma once
// Shared by the fuzz targets: a private scratch folder and a hard failure
// that libFuzzer reports as a finding.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace novastra::fuzz {

[[noreturn]] inline void Fail(const char* what) {
  std::fprintf(stderr, "fuzz finding: %s\n", what);
  std::abort();
}

#define NOVASTRA_FUZZ_CHECK(cond)               \
  do {                                          \
    if (!(cond)) ::novastra::fuzz::Fail(#cond); \
  } while (0)

// A folder of its own for this process, made once.
inline const std::filesystem::path& Scratch() {
  static const std::filesystem::path dir = [] {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "novastra-fuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) Fail("cannot make a scratch folder");
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(Scratch(), ec);
    });
    return std::filesystem::path(pattern);
  }();
  return dir;
}

inline void WriteFile(const std::filesystem::path& p, const std::string& bytes) {
  std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
}

inline std::string ReadFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace novastra::fuzz
