// OPTIONS.OPT: any bytes read without harm; the editor's text saved unchanged
// reads back to the same twelve options.
#include <cstdint>

#include "app/options.h"
#include "app/ui.h"
#include "fuzz_support.h"

using namespace novastra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto& dir = fuzz::Scratch();
  fuzz::WriteFile(dir / "OPTIONS.OPT", std::string(reinterpret_cast<const char*>(data), size));
  RunOptions first;
  NOVASTRA_FUZZ_CHECK(ReadOptions(dir, first));
  const auto text = LoadOptionsText(dir);
  NOVASTRA_FUZZ_CHECK(text.has_value());
  HeadlessUi ui;
  RunOptions second;
  NOVASTRA_FUZZ_CHECK(SaveOptionsText(dir, *text, second, ui));
  NOVASTRA_FUZZ_CHECK(first.value == second.value);
  return 0;
}
