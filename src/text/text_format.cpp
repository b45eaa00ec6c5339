#include "text/text_format.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace novastra {

void AppendFixed(std::string& out, double value, int minIntDigits, int decimals) {
  double scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  // Round the scaled magnitude half away from zero, then place the point.
  double scaled = std::round(std::fabs(value) * scale);
  bool negative = value < 0 && scaled != 0;
  char buffer[400];
  char* end = buffer + sizeof buffer;
  char* p = end;
  if (scaled < 9007199254740992.0) {
    // Exact whole numbers below 2^53: digits by integer division (the tables
    // format thousands of numbers per run; snprintf would dominate).
    auto n = static_cast<unsigned long long>(scaled);
    do {
      *--p = static_cast<char>('0' + n % 10);
      n /= 10;
    } while (n != 0);
  } else {
    int len = std::snprintf(buffer, sizeof buffer - 1, "%.0f", scaled);
    if (len < 0) len = 0;
    if (len > static_cast<int>(sizeof buffer) - 80) len = static_cast<int>(sizeof buffer) - 80;
    p = end - len;
    std::memmove(p, buffer, static_cast<size_t>(len));
  }
  // Leading zeros up to the minimum width, then the point before the decimals.
  const int minDigits = decimals + minIntDigits;
  while (end - p < minDigits) *--p = '0';
  const int intDigits = static_cast<int>(end - p) - decimals;
  if (negative) out += '-';
  out.append(p, static_cast<size_t>(intDigits));
  if (decimals > 0) {
    out += '.';
    out.append(p + intDigits, static_cast<size_t>(decimals));
  }
}

std::string FormatFixed(double value, int minIntDigits, int decimals) {
  std::string s;
  AppendFixed(s, value, minIntDigits, decimals);
  return s;
}

std::string FmtJulianDay(double v) { return FormatFixed(v, 0, 1); }

}  // namespace novastra
