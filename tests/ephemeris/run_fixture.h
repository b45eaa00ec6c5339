#pragma once
// An application on a fresh folder holding the supplied data files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "app/application.h"
#include "support/support.h"

namespace novastra::testing {

namespace fs = std::filesystem;

inline std::string Code(int c) { return std::string(1, static_cast<char>(c)); }

using testing_support::ReadBytes;

// A new temporary folder with the program's data and option files.
inline fs::path DataFolder() {
  std::string folder = (fs::temp_directory_path() / "novastra-ephem-XXXXXX").string();
  if (!mkdtemp(folder.data())) throw std::runtime_error("mkdtemp failed");
  testing_support::CopySuppliedFiles(folder);
  return folder;
}

const ColumnSet kAllSets[] = {ColumnSet::Longitude,      ColumnSet::Latitude,
                              ColumnSet::RightAscension, ColumnSet::Declination,
                              ColumnSet::HelioLongitude, ColumnSet::HelioLatitude};

class RunFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    app_ = std::make_unique<Application>(ui_, folder_);
    ASSERT_TRUE(app_->LoadFiles());
    ui_.events.clear();
  }
  void TearDown() override { fs::remove_all(folder_); }

  // The Input window's choices: geocentric, tropical, true node, longitude, no saving.
  void Choose(const char* month, const char* day, const char* year, int days, bool fullMonth,
              InstantChoice instant = InstantChoice::Midnight) {
    RunParameters p = app_->params();
    p.StartMonth = month, p.StartDay = day, p.StartYear = year;
    p.NumberOfDays = static_cast<int16_t>(days), p.DaysText = std::to_string(days);
    p.FullMonth = fullMonth, p.Instant = instant, p.Coords = Coordinates::Geocentric;
    p.ZodiacMode = Zodiac::Tropical, p.MoonNodes = NodeMode::True, p.Output = DataOutput::Longitude;
    p.SaveData = false;
    app_->SetParams(p);
  }

  const PageLines& Table(ColumnSet set) const {
    return app_->ephemeris().tables[static_cast<int>(set)];
  }

  // Rows of a table (lines after the header that are not blank).
  std::vector<std::string> Rows(ColumnSet set) const {
    std::vector<std::string> rows;
    for (int i = 7; i < Table(set).nextFree; ++i)
      if (!Table(set).lines[i].empty()) rows.push_back(Table(set).lines[i]);
    return rows;
  }

  HeadlessUi ui_;
  fs::path folder_ = DataFolder();
  std::unique_ptr<Application> app_;
};

}  // namespace novastra::testing
