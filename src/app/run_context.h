#pragma once
// What a run, a save or a print may read and change of the application's
// state. Only the run controller makes one, from the application's private
// state; the windows never see it.
#include <atomic>
#include <filesystem>
#include <optional>
#include <string>

#include "app/aspectarian_run.h"
#include "app/data_buffer.h"
#include "app/ephemeris_run.h"
#include "app/options.h"
#include "app/run_calendar.h"
#include "app/run_parameters.h"
#include "app/ui.h"
#include "astro/series.h"

namespace novastra {

struct RunContext {
  UserInterface& ui;
  const std::filesystem::path& folder;    // the user's files
  const std::filesystem::path& supplied;  // the supplied read-only files
  const RunOptions& options;
  const SeriesTables& series;
  RunParameters& params;  // a run may fix the start date it was given
  CalendarState& cal;
  EphemerisState& ephemeris;
  AspectarianState& aspectarian;
  DataBuffer& buffer;
  int16_t& RunKind;  // 1 ephemeris, 0 aspectarian
  std::string& currentDataFile;
  const bool& CarrySixty;
  std::atomic<bool>& cancelRequested;
  std::optional<MinorTables>& minor;  // read when first asked for

  std::filesystem::path File(const std::string& name) const { return folder / name; }
  std::filesystem::path SuppliedFile(const std::string& name) const { return supplied / name; }
  void RequestCancel() { cancelRequested.store(true); }
};

}  // namespace novastra
