#include "output/text_format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace novastra {

std::string FormatFixed(double value, int minIntDigits, int decimals) {
  double scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  // Round the scaled magnitude half away from zero, then place the point.
  double scaled = std::round(std::fabs(value) * scale);
  bool negative = value < 0 && scaled != 0;
  char digits[64];
  std::snprintf(digits, sizeof digits, "%.0f", scaled);
  std::string s = digits;
  while (static_cast<int>(s.size()) < decimals + minIntDigits) s.insert(s.begin(), '0');
  if (decimals > 0) s.insert(s.size() - decimals, ".");
  if (minIntDigits == 0 && s.size() > 1 && s[0] == '0' && s[1] == '.') s.erase(0, 1);
  return negative ? "-" + s : s;
}

std::string FmtJulianDay(double v) { return FormatFixed(v, 0, 1); }

std::string PlainNumber(double v) {
  char buf[64];
  for (int precision = 1; precision <= 17; ++precision) {
    std::snprintf(buf, sizeof buf, "%.*g", precision, v);
    if (std::strtod(buf, nullptr) == v) break;
  }
  return buf;
}

}  // namespace novastra
