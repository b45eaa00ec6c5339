#pragma once
// The Data Window's "Eclipses": the solar and lunar eclipses of the last
// aspectarian run's days, with their type, greatest eclipse, magnitudes and
// Saros series, appended to the view.
#include <string>

#include "app/run_context.h"

namespace novastra {

inline constexpr const char* kNoEclipseRun =
    "Calculate an aspectarian first: the eclipses are listed for its days.";

// The table of the run's eclipses as CRLF-separated lines ("" without a run).
std::string EclipsesText(RunContext& app);
// Appends EclipsesText to the view; without a run says kNoEclipseRun.
void ShowEclipses(RunContext& app);

}  // namespace novastra
