#pragma once
// How a run ended.
namespace novastra {

enum class RunOutcome {
  Done,          // computed, shown and (when asked) saved
  InputRefused,  // the input check refused the start date; nothing ran
  SaveFailed,    // computed and shown, but a saved data file could not be written
  Cancelled,     // stopped on request; nothing shown or saved
};

}  // namespace novastra
