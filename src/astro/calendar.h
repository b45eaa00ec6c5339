#pragma once
// Civil calendar <-> Julian Day, date texts and the time values of a run.
#include <cstdint>
#include <optional>
#include <string>

namespace novastra {

// Julian Day Number (the JD of 12h UT) of a Gregorian date; days past a month's
// end roll into the next month.
double JulianDayNumber(double year, double month, double day);

// "MM/DD/YYYY" of the day that contains JD (n - 0.5 <= JD < n + 0.5 gives day n).
std::string DateTextFromJulianDay(double jd);

// A month/day/year date read from a date text such as "1/5/2000" or "01/05/2000".
struct CivilDate {
  int year = 2000, month = 1, day = 1;
};
CivilDate ParseDateText(const std::string& mdy);
// Strict form: three '/'-separated whole numbers (blanks around them allowed);
// nullopt for anything else. ParseDateText gives 1/1/2000 for such a text.
std::optional<CivilDate> TryParseDateText(const std::string& mdy);

// True when the whole text (blanks around it allowed) is a decimal number.
bool IsNumberText(const std::string& text);
// A date field's text as a 16-bit whole number: the whole text as a number, or
// else its leading digits; rounded to the nearest (ties to even) and clamped.
int16_t DateFieldValue(const std::string& text);

// Fixed English calendar formatting of a date text (always month/day/year).
std::string FormatDdMmm(const std::string& mdy);        // "05 Jan"
std::string FormatDdMmmYyyy(const std::string& mdy);    // "05 Jan 2009"
std::string FormatWeekdayName(const std::string& mdy);  // "Monday"
int WeekdayNumber(const std::string& mdy);              // 1 = Sunday ... 7 = Saturday
std::string FormatMmddyy(const std::string& mdy);       // "010500"
std::string FormatMmddyyyy(const std::string& mdy);     // "01052000"

}  // namespace novastra
