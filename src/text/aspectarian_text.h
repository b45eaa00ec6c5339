#pragma once
// The aspectarian's lines from its typed events: one line per event, a day's
// lines with the date on the first only, the header, and the two-column view.
#include <string>
#include <vector>

#include "reports/aspectarian_report.h"
#include "text/ephemeris_tables.h"

namespace novastra {

// "  15 Mar  05:30  " and the event's glyphs and words, date shown. With
// carry, minutes that round to 60 move into the hour, and 24:00 is 00:00 of
// the next day (see text/carry.h).
std::string EventLine(const Event& event, Coordinates coords, bool carry = false);

// The event's glyphs and words, the part of its line after the time.
std::string EventText(const Event& event, Coordinates coords, bool carry = false);

// The day (noon Julian Day) under which an event is listed: with carry, the
// next day for an event that rounds to 24:00.
double ListedDay(const Event& event, bool carry);

// Header lines 0..5 then, per day, its lines and one empty line. With carry,
// an event that rounds to 24:00 opens the next day's list (after the last day,
// a list of its own).
std::vector<std::string> AspectarianLines(const AspectarianReport& report, const HeaderInfo& info,
                                          Coordinates coords, bool carry = false);

// Appends a day's lines: the date shows only on the first, and one empty line
// closes the day.
void AppendDay(std::vector<std::string>& out, const std::vector<std::string>& day);

// The two-column view of aspectarian lines (header 0..5 included).
std::vector<std::string> TwoColumnLines(const std::vector<std::string>& lines);

}  // namespace novastra
