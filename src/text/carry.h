#pragma once
// Carrying a rounded 60 into the next unit. A minute or second shown with a
// number mask rounds; 59.96 seconds shown with one decimal would read "60.0".
// These helpers round the part first and, when it reaches 60, show it as 0 and
// add one to the unit above, so "12 Aries 59.97'" reads "13 Aries 00.0'".
#include <cmath>

namespace novastra {

// A unit and its sixtieths (degrees and minutes, minutes and seconds).
struct Sexagesimal {
  int whole = 0;
  double part = 0;
};

// The part rounded as a mask with `decimals` decimals rounds it (half away
// from zero); a part that rounds to 60 becomes 0 and the whole grows by one.
inline Sexagesimal CarrySixty(int whole, double part, int decimals) {
  double scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  if (std::round(std::fabs(part) * scale) >= 60 * scale) return {whole + 1, 0.0};
  return {whole, part};
}

}  // namespace novastra
