// Character conversion: single-byte codes to UTF-8 and back give the same
// bytes; any UTF-8 (valid or not) converts without harm.
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "text/charset.h"

using namespace novastra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  NOVASTRA_FUZZ_CHECK(FromUtf8(ToUtf8(bytes)) == bytes);
  const std::string codes = FromUtf8(bytes);
  NOVASTRA_FUZZ_CHECK(FromUtf8(ToUtf8(codes)) == codes);
  return 0;
}
