#pragma once
// The application the benchmarks share: the supplied files loaded once,
// geocentric choices.
#include <memory>

#include "app/application.h"

namespace novastra::bench {

inline Application& SharedApp() {
  struct Loaded {
    HeadlessUi ui;
    std::unique_ptr<Application> app;
    Loaded() : app(std::make_unique<Application>(ui, NOVASTRA_DATA_DIR)) {
      app->LoadFiles();
      app->EditParams([](RunParameters& p) { p.Coords = Coordinates::Geocentric; });
    }
  };
  static Loaded loaded;
  return *loaded.app;
}

}  // namespace novastra::bench
