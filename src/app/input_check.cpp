#include "app/input_check.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "app/ui.h"

namespace novastra {

namespace {

constexpr const char* kInputErrorText = "Error in input data section. Please correct.";

void ReportInputError(UserInterface& ui) {
  ui.ShowMessage(MessageIcon::Information, kWarningTitle, kInputErrorText);
}

}  // namespace

double LeadingNumber(const std::string& text) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Digits and one decimal point, always ".", whatever the locale.
  const size_t begin = i;
  bool seenPoint = false, seenDigit = false, nonZeroInteger = false;
  for (; i < n; ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      seenDigit = true;
      if (!seenPoint && c != '0') nonZeroInteger = true;
    } else if (c == '.' && !seenPoint) {
      seenPoint = true;
    } else {
      break;
    }
  }
  if (!seenDigit) return 0;
  double value = 0;
  const auto [ptr, ec] =
      std::from_chars(text.data() + begin, text.data() + i, value, std::chars_format::fixed);
  if (ec == std::errc::result_out_of_range)
    value = nonZeroInteger ? std::numeric_limits<double>::infinity() : 0.0;
  else if (ec != std::errc())
    value = 0;
  return negative ? -value : value;
}

bool RoundToInt16(double value, int16_t& out) {
  if (!std::isfinite(value) || value < -32768.5 || value > 32767.5) return false;
  const double r = std::nearbyint(value);  // default rounding mode: halves to even
  if (r < -32768 || r > 32767) return false;
  out = static_cast<int16_t>(r);
  return true;
}

bool CheckRunInput(const RunParameters& params, UserInterface& ui) {
  const double month = LeadingNumber(params.StartMonth);
  const double day = LeadingNumber(params.StartDay);
  const double year = LeadingNumber(params.StartYear);
  bool ok = true;

  if (month == 0 || day == 0 || year == 0) {
    ReportInputError(ui);
    ok = false;
  }
  if (params.StartMonth.empty() || params.StartDay.empty() || params.StartYear.empty()) {
    ReportInputError(ui);
    ok = false;
  }
  // The window only lets digits in; texts from elsewhere may carry a sign or a
  // fraction, which no date can have, so those fail the range check as well.
  auto whole = [](double v) { return v == std::floor(v); };
  if (month > 12 || day > 31 || year > 2100 || year < 1800 || month < 0 || day < 0 ||
      !whole(month) || !whole(day) || !whole(year)) {
    ReportInputError(ui);
    ok = false;
  }
  return ok;
}

void SetDaysText(RunParameters& params, const std::string& text) {
  params.DaysText = text;
  const double value = LeadingNumber(text);
  int16_t days = 0;
  if (!RoundToInt16(value, days)) {
    // Too large (or too negative) even for the 16-bit field.
    days = value > 0 ? std::numeric_limits<int16_t>::max() : 0;
  }
  if (days >= 1 && days <= kMaxDays) {
    params.NumberOfDays = days;
  } else if (days > kMaxDays) {
    // Assigned as a whole string: g++ 12 reports a false -Wrestrict on
    // assigning a short literal here (GCC bug 105329).
    params.DaysText = std::string("366");
    params.NumberOfDays = kMaxDays;
  } else {
    params.DaysText = std::string("1");
    params.NumberOfDays = 1;
  }
}

}  // namespace novastra
