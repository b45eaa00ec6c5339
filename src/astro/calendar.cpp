// Civil calendar <-> Julian Day Number and date texts.
// Int(x) is the floor throughout; the integer algorithms run on doubles, which
// hold every value they produce exactly.
#include "astro/calendar.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace novastra {

namespace {

// Int(x) of the calendar formulas: the floor of x.
// Given:  x   any; Returns: the greatest whole number <= x
double Int(double x) { return std::floor(x); }

constexpr std::array<const char*, 12> kMonthAbbrev = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<const char*, 7> kWeekdayName = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                     "Thursday", "Friday", "Saturday"};

// A number as text, with a leading zero for 0..9.
// Given:  n   any; Returns: "05", "12", "123", "-3"
std::string TwoDigits(long n) {
  std::string s = std::to_string(n);
  return n >= 0 && n < 10 ? "0" + s : s;
}

// A text without the blanks and tabs at either end.
// Given:  s   any text; Returns: a view into s
std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// The whole text as a fixed-point decimal number (blanks around it and a
// leading '+' allowed).
// Given:  s   any text
// Returns:    the finite value, or nothing
std::optional<double> TextNumber(std::string_view s) {
  s = TrimBlanks(s);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  if (s.empty()) return std::nullopt;
  double v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::fixed);
  if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

// The leading digits of a text, as the input check reads them ("" -> 0); a
// plus sign before them is read as the check reads it ("+1999$" -> 1999).
// Given:  s   any text
// Returns:    a whole number >= 0
double LeadingDigits(std::string_view s) {
  s = TrimBlanks(s);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  double v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') break;
    v = v * 10 + (c - '0');
  }
  return v;
}

// A date field's value: its text as a number (or its leading digits), rounded
// to the nearest integer (ties to even) and held to the 16-bit range.
// Given:  text   a month, day or year field
// Returns:       -32768..32767
int16_t FieldValue(const std::string& text) {
  double v = TextNumber(text).value_or(LeadingDigits(text));
  v = std::nearbyint(v);
  if (v > std::numeric_limits<int16_t>::max()) v = std::numeric_limits<int16_t>::max();
  if (v < std::numeric_limits<int16_t>::min()) v = std::numeric_limits<int16_t>::min();
  return static_cast<int16_t>(v);
}

// The calendar date an M/D/YYYY text denotes, by way of its Julian Day
// Number, so that days past a month's end roll over into the next month.
// Given:  mdy   "M/D/Y" text
// Returns:      the Gregorian date (the zero date's roll-over for bad text)
CivilDate Normalised(const std::string& mdy) {
  CivilDate d = ParseDateText(mdy);
  return ParseDateText(DateTextFromJulianDay(JulianDayNumber(d.year, d.month, d.day)));
}

}  // namespace

// The Julian Day Number (the Julian Day at noon) of a civil date: the day
// count of the Julian calendar from the month count a = 12 (year + 4800) +
// month - 3, with the Gregorian correction (-Int(a / 1200) + Int(a / 4800)
// + 38) for a Julian count above 2299171 (after 15 October 1582). Day
// numbers past a month's end count on.
// Given:  year, month, day   whole numbers, Julian calendar before the
//                            reform, Gregorian after
// Returns:                   the Julian Day Number (JD at 12h UT)
// Source: integer day-count arithmetic; gives the Julian Days of Meeus,
//         Astronomical Algorithms 2nd ed., ch. 7 (eq. 7.1), at 12h.
// Accuracy: exact (Example 7.a and the tests' dates); 1582 October 15 itself
//           is counted in the Julian calendar (2299171), as it always was.
double JulianDayNumber(double year, double month, double day) {
  double a = (year + 4800) * 12 + month - 3;
  double j = (2 * (a - 12 * Int(a / 12)) + 7 + 365 * a) / 12;
  j = Int(j) + day + Int(a / 48) - 32083;
  if (j > 2299171) j = j + Int(a / 4800) - Int(a / 1200) + 38;
  return j;
}

// The Gregorian date of the civil day (0h to 24h) that holds Julian Day jd,
// as "MM/DD/YYYY" with the year's last four digits.
// Given:  jd   Julian Day
// Returns:     "MM/DD/YYYY", proleptic Gregorian for every day
// Source: Fliegel & Van Flandern, Communications of the ACM 11, 657 (1968).
// Accuracy: exact; every day 1800-2100 reads back to its Julian Day Number.
std::string DateTextFromJulianDay(double jd) {
  double l = Int(jd + 0.5) + 68569;
  double n = Int(4 * l / 146097);
  l = l - Int((146097 * n + 3) / 4);
  double i = Int(4000 * (l + 1) / 1461001);
  l = l - Int(1461 * i / 4) + 31;
  double k = Int(80 * l / 2447);
  double day = l - Int(2447 * k / 80);
  l = Int(k / 11);
  double month = k + 2 - 12 * l;
  double year = 100 * (n - 49) + i + l;
  std::string y = std::to_string(static_cast<long>(year));
  if (y.size() > 4) y = y.substr(y.size() - 4);
  return TwoDigits(static_cast<long>(month)) + "/" + TwoDigits(static_cast<long>(day)) + "/" + y;
}

// The three numbers of an "M/D/Y" text (blanks allowed around each). The
// date itself is not checked.
// Given:  mdy   any text
// Returns:      year, month, day, or nothing when there are not three
//               non-negative whole numbers of at most six characters
std::optional<CivilDate> TryParseDateText(const std::string& mdy) {
  std::array<int, 3> parts{};
  std::string_view rest(mdy);
  for (int k = 0; k < 3; ++k) {
    size_t slash = rest.find('/');
    if ((k < 2) != (slash != std::string_view::npos)) return std::nullopt;
    std::string_view field = TrimBlanks(rest.substr(0, slash));
    if (field.empty() || field.size() > 6) return std::nullopt;
    auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), parts[k]);
    if (ec != std::errc() || end != field.data() + field.size() || parts[k] < 0)
      return std::nullopt;
    if (k < 2) rest.remove_prefix(slash + 1);
  }
  return CivilDate{parts[2], parts[0], parts[1]};
}

// TryParseDateText, or the zero date for a text that is not M/D/Y.
// Given:  mdy   any text; Returns: year, month, day (0, 0, 0 when unread)
CivilDate ParseDateText(const std::string& mdy) {
  return TryParseDateText(mdy).value_or(CivilDate{});
}

// "DD Mmm" of a date text, e.g. "05 Jan", after roll-over (Normalised).
// Given:  mdy   "M/D/Y" text
std::string FormatDdMmm(const std::string& mdy) {
  CivilDate d = Normalised(mdy);
  return TwoDigits(d.day) + " " + kMonthAbbrev[d.month - 1];
}

// "DD Mmm YYYY" of a date text, after roll-over.
// Given:  mdy   "M/D/Y" text
std::string FormatDdMmmYyyy(const std::string& mdy) {
  CivilDate d = Normalised(mdy);
  return FormatDdMmm(mdy) + " " + std::to_string(d.year);
}

// The day of the week of a date text, from its Julian Day Number: JDN + 1
// is a multiple of 7 on Sundays.
// Given:  mdy   "M/D/Y" text
// Returns:      1 (Sunday) to 7 (Saturday)
// Source: Meeus, Astronomical Algorithms 2nd ed., ch. 7.
int WeekdayNumber(const std::string& mdy) {
  CivilDate d = ParseDateText(mdy);
  // JDN + 1 is a multiple of 7 on Sundays.
  long jdn = static_cast<long>(JulianDayNumber(d.year, d.month, d.day));
  return static_cast<int>(((jdn + 1) % 7 + 7) % 7) + 1;
}

// The English name of the day of the week of a date text.
// Given:  mdy   "M/D/Y" text; Returns: "Sunday" .. "Saturday"
std::string FormatWeekdayName(const std::string& mdy) {
  return kWeekdayName[WeekdayNumber(mdy) - 1];
}

// "MMDDYY" of a date text (data file names), after roll-over.
// Given:  mdy   "M/D/Y" text
std::string FormatMmddyy(const std::string& mdy) {
  CivilDate d = Normalised(mdy);
  return TwoDigits(d.month) + TwoDigits(d.day) + TwoDigits(d.year % 100);
}

// "MMDDYYYY" of a date text, after roll-over.
// Given:  mdy   "M/D/Y" text
std::string FormatMmddyyyy(const std::string& mdy) {
  CivilDate d = Normalised(mdy);
  return TwoDigits(d.month) + TwoDigits(d.day) + std::to_string(d.year);
}

// Whether the whole text (blanks around it allowed) is a decimal number.
// Given:  text   any; Returns: true for "12", " 3.5 ", "+7"
bool IsNumberText(const std::string& text) { return TextNumber(text).has_value(); }

// The value a date field's text stands for (FieldValue).
// Given:  text   a month, day or year field; Returns: -32768..32767
int16_t DateFieldValue(const std::string& text) { return FieldValue(text); }

}  // namespace novastra
