#pragma once
// An application on a fresh folder holding the supplied data files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "shell/application.h"

namespace novastra::testing {

inline std::filesystem::path MakeTempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "novastra-ephem-XXXXXX").string();
  char* made = mkdtemp(pattern.data());
  if (!made) throw std::runtime_error("mkdtemp failed");
  return made;
}

inline std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

class RunFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = MakeTempFolder();
    for (const auto& entry : std::filesystem::directory_iterator(NOVASTRA_DATA_DIR)) {
      auto ext = entry.path().extension().string();
      if (ext == ".DAT" || ext == ".OPT" || ext == ".MAS")
        std::filesystem::copy_file(entry.path(), folder_ / entry.path().filename());
    }
    app_ = std::make_unique<Application>(ui_, folder_);
    ASSERT_TRUE(app_->LoadFiles());
    ui_.events.clear();
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }

  // Sets the Input window's choices for a run.
  void Choose(const std::string& month, const std::string& day, const std::string& year,
              int days, bool fullMonth, InstantChoice instant = InstantChoice::Midnight) {
    RunParameters& p = app_->params;
    p.StartMonth = month;
    p.StartDay = day;
    p.StartYear = year;
    p.NumberOfDays = static_cast<int16_t>(days);
    p.DaysText = std::to_string(days);
    p.FullMonth = fullMonth;
    p.Instant = instant;
    p.Coords = Coordinates::Geocentric;
    p.ZodiacMode = Zodiac::Tropical;
    p.MoonNodes = NodeMode::True;
    p.Output = DataOutput::Longitude;
    p.SaveData = false;
  }

  const PageLines& Table(ColumnSet set) const {
    return app_->ephemeris.tables[static_cast<int>(set)];
  }

  // Rows of a table (lines after the header that are not blank).
  std::vector<std::string> Rows(ColumnSet set) const {
    std::vector<std::string> rows;
    const PageLines& t = Table(set);
    for (int i = 7; i < t.nextFree; ++i)
      if (!t.lines[i].empty()) rows.push_back(t.lines[i]);
    return rows;
  }

  // A table as the Data Window's text holds it: lines 0..nextFree with CRLF.
  std::string TableText(ColumnSet set) const {
    std::string text;
    const PageLines& t = Table(set);
    for (int i = 0; i <= t.nextFree; ++i) text += t.lines[i] + "\r\n";
    return text;
  }

  HeadlessUi ui_;
  std::filesystem::path folder_;
  std::unique_ptr<Application> app_;
};

}  // namespace novastra::testing
