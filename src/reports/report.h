#pragma once
// The two side channels of every report: a progress callback and a cancel flag.
#include <atomic>
#include <functional>

namespace novastra {

struct ReportControl {
  // Called once per step with the step's index (see each report).
  std::function<void(int step)> progress;
  // When set and true, the report stops after the current step and says so.
  const std::atomic<bool>* cancel = nullptr;

  void Step(int step) const {
    if (progress) progress(step);
  }
  bool Cancelled() const { return cancel && cancel->load(std::memory_order_relaxed); }
};

}  // namespace novastra
