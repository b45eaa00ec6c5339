// NOVASTRA.INI: any bytes read without harm, and what is read, once written,
// reads back to the same values.
#include <cstdint>
#include <cstring>

#include "app/settings.h"
#include "fuzz_support.h"

using namespace novastra;

namespace {
bool Same(const Settings& a, const Settings& b) {
  return a.FontSize == b.FontSize && a.FontBold == b.FontBold && a.FontItalic == b.FontItalic &&
         a.MainTop == b.MainTop && a.MainLeft == b.MainLeft && a.MainHeight == b.MainHeight &&
         a.MainWidth == b.MainWidth && a.DataTop == b.DataTop && a.DataLeft == b.DataLeft &&
         a.DataHeight == b.DataHeight && a.DataWidth == b.DataWidth &&
         a.NumberOfDays == b.NumberOfDays;
}
bool Same(const RunParameters& a, const RunParameters& b) {
  return a.FullMonth == b.FullMonth && a.SaveData == b.SaveData && a.Instant == b.Instant &&
         a.Coords == b.Coords && a.MoonNodes == b.MoonNodes && a.ZodiacMode == b.ZodiacMode &&
         a.MoonSign == b.MoonSign && a.NumberOfDays == b.NumberOfDays && a.DaysText == b.DaysText;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto& dir = fuzz::Scratch();
  fuzz::WriteFile(dir / "NOVASTRA.INI", std::string(reinterpret_cast<const char*>(data), size));
  Settings first;
  RunParameters firstParams;
  ReadSettings(dir, first, firstParams);
  NOVASTRA_FUZZ_CHECK(WriteSettings(dir, first, firstParams));
  Settings second;
  RunParameters secondParams;
  ReadSettings(dir, second, secondParams);
  // A place above 0 that rounds to 0 ("DataTop=0.4") is applied as 0, and 0
  // written back reads as unset: the default comes back instead.
  const Settings defaults;
  if (first.DataTop == 0) first.DataTop = defaults.DataTop;
  if (first.DataHeight == 0) first.DataHeight = defaults.DataHeight;
  if (first.DataWidth == 0) first.DataWidth = defaults.DataWidth;
  NOVASTRA_FUZZ_CHECK(Same(first, second));
  NOVASTRA_FUZZ_CHECK(Same(firstParams, secondParams));
  return 0;
}
