#pragma once
// The input check that guards every run, and the "# of Days" field rules.
#include <cstdint>
#include <string>

#include "app/run_parameters.h"

namespace novastra {

class UserInterface;

// Zero check, empty check, range check, in that order; each failing group
// shows "Error in input data section. Please correct." once. True when all pass.
bool CheckRunInput(const RunParameters& params, UserInterface& ui);

// The txtDays change handler: sets DaysText and NumberOfDays, 0 -> 1, over 366 -> 366.
void SetDaysText(RunParameters& params, const std::string& text);

// Leading decimal number of a text, as the input fields read it ("" -> 0).
double LeadingNumber(const std::string& text);

// Rounds to the nearest 16-bit integer (halves to even, as the window's integer
// fields do). False, leaving `out` alone, when the value does not fit.
bool RoundToInt16(double value, int16_t& out);

}  // namespace novastra
