#pragma once
// The calendar choices of a run: the time zone and the void-of-course lines of
// the Input window, the station direction of option 13.
#include <optional>

#include "text/calendar_text.h"

namespace novastra {

struct RunContext;
class UserInterface;

// nullopt after showing a message when the zone name is not in the tz database.
std::optional<CalendarChoices> CalendarChoicesOf(const RunContext& app, UserInterface& ui);

}  // namespace novastra
