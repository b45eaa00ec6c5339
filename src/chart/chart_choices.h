#pragma once
// Reading the chart's choices from text: dial, bodies and fixed points (dates
// are read by text/date_input.h, as everywhere in the program).
// Each reader returns the value, or nullopt with the reason in `why`.
#include <optional>
#include <string>
#include <vector>

namespace novastra::chart {

// "360", "90", "45" or "30".
std::optional<int> ParseDial(const std::string& text, std::string& why);

// Body names, any case, separated by commas or given one by one: sun, moon,
// mercury .. pluto, node (or "north node"), or "all" (the eleven), and chiron,
// ceres, pallas, juno, vesta, lilith, osc-lilith (event body numbers 12 .. 18,
// reports/minor_events.h). Order kept, repeats dropped.
std::optional<std::vector<int>> ParseBodies(const std::vector<std::string>& items,
                                            std::string& why);

// Degrees 0 <= x < 360 separated by commas or given one by one, e.g. "15.5,120".
std::optional<std::vector<double>> ParsePoints(const std::vector<std::string>& items,
                                               std::string& why);

// The bodies drawn when none are chosen: the Sun and Mercury to Pluto and the
// node (the Moon, which crosses the whole chart every month, is left out).
std::vector<int> DefaultBodies();

}  // namespace novastra::chart
