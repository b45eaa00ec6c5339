#pragma once
// The application as the desktop program drives it, without windows, on a
// fresh folder holding the supplied files.
#include <gtest/gtest.h>

#include <string>

#include "app/application.h"
#include "app/input_check.h"
#include "support/support.h"

namespace novastra::testing_support {

class AppRun : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(app.LoadFiles());
    ui.events.clear();
  }
  // The Input window's plain choices (geocentric, tropical, true node,
  // longitude, no saving) for a run from m/d/y.
  void Choose(const char* m, const char* d, const char* y, int days, bool fullMonth = false,
              InstantChoice instant = InstantChoice::Midnight) {
    RunParameters p;
    p.StartMonth = m, p.StartDay = d, p.StartYear = y;
    SetDaysText(p, std::to_string(days));
    p.FullMonth = fullMonth, p.Instant = instant;
    app.SetParams(p);
  }
  // The lines of the data window, as its text holds them (CRLF).
  std::string ViewText() const {
    std::string text;
    for (int k = 0; k < app.buffer().ViewCount(); ++k) text += app.buffer().ViewLines()[k] + "\r\n";
    return text;
  }

  HomeFolder home;
  HeadlessUi ui;
  Application app{ui, home.path()};
};

}  // namespace novastra::testing_support
