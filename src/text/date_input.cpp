#include "text/date_input.h"

#include <charconv>
#include <cmath>
#include <vector>

#include "text/text_format.h"

namespace novastra {

namespace {

// Splits on `sep`; every part must be 1..maxDigits decimal digits (no sign:
// from_chars alone would take "-1").
std::optional<std::vector<int>> Numbers(std::string_view text, char sep,
                                        std::initializer_list<size_t> maxDigits) {
  std::vector<int> out;
  size_t begin = 0;
  for (size_t limit : maxDigits) {
    size_t end = text.find(sep, begin);
    const bool last = out.size() + 1 == maxDigits.size();
    if (last) {
      if (end != std::string_view::npos) return std::nullopt;
      end = text.size();
    } else if (end == std::string_view::npos) {
      return std::nullopt;
    }
    const std::string_view part = text.substr(begin, end - begin);
    if (part.empty() || part.size() > limit) return std::nullopt;
    for (const char c : part)
      if (c < '0' || c > '9') return std::nullopt;
    int value = 0;
    const auto [ptr, ec] = std::from_chars(part.data(), part.data() + part.size(), value);
    if (ec != std::errc() || ptr != part.data() + part.size()) return std::nullopt;
    out.push_back(value);
    begin = end + 1;
  }
  return out;
}

bool Fail(std::string* why, std::string text) {
  if (why) *why = std::move(text);
  return false;
}

}  // namespace

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month == 2 && year % 4 == 0 && (year % 100 != 0 || year % 400 == 0)) return 29;
  return kDays[(month - 1) % 12];
}

std::optional<CivilDate> ParseDateInput(std::string_view text, std::string* why) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  CivilDate d;
  if (auto iso = Numbers(text, '-', {4, 2, 2}); iso && text.size() == 10) {
    d = {(*iso)[0], (*iso)[1], (*iso)[2]};
  } else if (auto mdy = Numbers(text, '/', {2, 2, 4})) {
    d = {(*mdy)[2], (*mdy)[0], (*mdy)[1]};
  } else {
    Fail(why, "expected M/D/YYYY or YYYY-MM-DD, e.g. 1/5/2009 or 2009-01-05");
    return std::nullopt;
  }
  if (d.year < kFirstYear || d.year > kLastYear)
    Fail(why, "year must be 1800 to 2100");
  else if (d.month < 1 || d.month > 12)
    Fail(why, "month must be 1 to 12");
  else if (d.day < 1 || d.day > DaysInMonth(d.year, d.month))
    Fail(why, "no such day in that month");
  else
    return d;
  return std::nullopt;
}

std::string IsoDate(double rowJD) {
  const CivilDate d = ParseDateText(DateTextFromJulianDay(rowJD));
  return FormatFixed(d.year, 4, 0) + "-" + Fmt00(d.month) + "-" + Fmt00(d.day);
}

std::optional<int> ParseTimeInput(std::string_view text, std::string* why) {
  auto parts = Numbers(text, ':', {2, 2, 2});
  if (!parts) {
    parts = Numbers(text, ':', {2, 2});
    if (parts) parts->push_back(0);
  }
  if (!parts) {
    Fail(why, "expected HH:MM or HH:MM:SS, e.g. 06:30");
    return std::nullopt;
  }
  const int h = (*parts)[0], m = (*parts)[1], s = (*parts)[2];
  if (h > 23 || m > 59 || s > 59) {
    Fail(why, "hours must be 0 to 23, minutes and seconds 0 to 59");
    return std::nullopt;
  }
  return h * 3600 + m * 60 + s;
}

}  // namespace novastra

namespace novastra {

std::string IsoInstant(double jd) {
  // Whole seconds from the preceding midnight (JD n - 0.5).
  const double midnight = std::floor(jd - 0.5) + 0.5;
  long long seconds = std::llround((jd - midnight) * 86400.0);
  double day = midnight + 0.5;
  if (seconds >= 86400) {
    seconds -= 86400;
    day += 1;
  }
  const int h = static_cast<int>(seconds / 3600), m = static_cast<int>(seconds / 60 % 60),
            s = static_cast<int>(seconds % 60);
  return IsoDate(day) + "T" + Fmt00(h) + ":" + Fmt00(m) + ":" + Fmt00(s) + "Z";
}

}  // namespace novastra
