#pragma once
// Number masks used by every page: "00", "00.0", "00.00", "#0", "#0.0",
// "#######.0". A mask rounds half away from zero, so 59.96 with "00.0" gives
// "60.0".
#include <string>

namespace novastra {

// At least minIntDigits integer digits (leading zeros), exactly `decimals`
// decimals; "-" before negative values that do not round to zero.
std::string FormatFixed(double value, int minIntDigits, int decimals);
// The same text appended to `out` (no temporary string).
void AppendFixed(std::string& out, double value, int minIntDigits, int decimals);

inline std::string Fmt00(double v) { return FormatFixed(v, 2, 0); }
inline std::string Fmt00_0(double v) { return FormatFixed(v, 2, 1); }
inline std::string Fmt00_00(double v) { return FormatFixed(v, 2, 2); }
inline std::string FmtHash0(double v) { return FormatFixed(v, 1, 0); }
inline std::string FmtHash0_0(double v) { return FormatFixed(v, 1, 1); }
// "#######.0": no leading zeros at all (0.5 gives ".5").
std::string FmtJulianDay(double v);

}  // namespace novastra
