#pragma once
// The one reader of dates typed by the user: M/D/YYYY (as the Input window
// shows them) or ISO 8601 YYYY-MM-DD, years 1800 to 2100.
#include <optional>
#include <string>
#include <string_view>

#include "astro/calendar.h"

namespace novastra {

inline constexpr int kFirstYear = 1800;
inline constexpr int kLastYear = 2100;

// The date, or nullopt with the reason in *why ("expected M/D/YYYY or
// YYYY-MM-DD", "month must be 1 to 12", "2/30/2009 is not a day of the
// calendar", ...). A day past the month's end is refused.
std::optional<CivilDate> ParseDateInput(std::string_view text, std::string* why = nullptr);

// Days in a month of the Gregorian calendar.
int DaysInMonth(int year, int month);

// "YYYY-MM-DD" of the day holding a (noon-based) Julian Day Number.
std::string IsoDate(double rowJD);

// A time of day HH:MM or HH:MM:SS (00:00:00 to 23:59:59) as seconds past
// midnight, or nullopt with the reason in *why.
std::optional<int> ParseTimeInput(std::string_view text, std::string* why = nullptr);

}  // namespace novastra

namespace novastra {

// ISO 8601 UT instant "YYYY-MM-DDTHH:MM:SSZ" of a Julian Day, to the nearest second.
std::string IsoInstant(double jd);

}  // namespace novastra
