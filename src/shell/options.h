#pragma once
// The twelve numeric options of OPTIONS.OPT.
#include <array>
#include <filesystem>
#include <string>

#include "astro/engine.h"

namespace novastra {

struct RunOptions {
  std::array<float, 13> value{};  // value[1]..value[12]; value[0] unused
  float operator[](int k) const { return value[k]; }
  float& operator[](int k) { return value[k]; }
  AyanamsaOption Ayanamsa() const;  // options 1 to 4
};

// Reads "OPTIONS.OPT" from the folder into options; options past the last line
// read keep their values. Returns false when the file cannot be opened.
bool ReadOptions(const std::filesystem::path& folder, RunOptions& options);

}  // namespace novastra
