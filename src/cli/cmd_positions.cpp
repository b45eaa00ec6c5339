// novastra-cli positions: the eleven bodies for one instant, as a plain table.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "astro/calendar.h"
#include "astro/engine.h"
#include "astro/series.h"
#include "cli/commands.h"
#include "app/options.h"
#include "app/supplied_dir.h"

namespace novastra::cli {

namespace {

struct PositionsValues {
  std::string date;
  bool noon = false;
  std::string zodiac = "tropical";
  std::string node = "true";
};

constexpr const char* kBodyNames[] = {"",        "Sun",    "Moon",   "Mercury", "Venus",     "Mars",
                                      "Jupiter", "Saturn", "Uranus", "Neptune", "Pluto", "North Node"};

// Checks the date as the Input window does: month 1..12, day 1..31, year
// 1800..2100 (a day past the month's end rolls into the next month).
std::optional<CivilDate> ParseCommandDate(const std::string& text, std::string& why) {
  if (text.empty()) {
    why = "a date M/D/YYYY is required, e.g. 1/5/2009";
    return std::nullopt;
  }
  auto d = TryParseDateText(text);
  if (!d) {
    why = "expected M/D/YYYY, e.g. 1/5/2009";
    return std::nullopt;
  }
  if (d->month < 1 || d->month > 12) why = "month must be 1 to 12";
  else if (d->day < 1 || d->day > 31) why = "day must be 1 to 31";
  else if (d->year < 1800 || d->year > 2100) why = "year must be 1800 to 2100";
  else return d;
  return std::nullopt;
}

std::string Degrees(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%15.8f", v);
  return buf;
}

int RunPositions(const PositionsValues& v, const CommonOptions& common) {
  std::string why;
  auto date = ParseCommandDate(v.date, why);
  if (!date) {
    std::cerr << "novastra-cli: --date \"" << v.date << "\": " << why << '\n';
    return 2;
  }

  std::string error;
  auto folders = ResolveProgramFolders(common.home, ExecutableDir(), &error);
  auto folder = folders ? std::optional<std::filesystem::path>(folders->app) : std::nullopt;
  if (!folder) {
    std::cerr << "novastra-cli: " << (error.empty() ? "no application folder" : error) << '\n';
    return 1;
  }
  auto tables = std::make_unique<SeriesTables>();
  if (auto err = LoadSeriesTables(folders->supplied, *tables)) {
    std::cerr << "novastra-cli: " << err->Message() << " (in " << folders->supplied.string() << ")\n";
    return 1;
  }

  EngineChoices choices;
  choices.zodiac = v.zodiac == "sidereal"   ? Zodiac::Sidereal
                   : v.zodiac == "ayanamsa" ? Zodiac::Ayanamsa
                                            : Zodiac::Tropical;
  choices.node = v.node == "mean" ? NodeMode::Mean : NodeMode::True;

  // The user's ayanamsa lives in the options file; without it the SVP-based one is used.
  AyanamsaOption ayanamsa;
  RunOptions options;
  if (ReadOptions(*folder, options)) {
    ayanamsa = options.Ayanamsa();
  } else if (choices.zodiac == Zodiac::Ayanamsa) {
    std::cerr << "novastra-cli: OPTIONS.OPT not readable in " << folder->string()
              << "; using the ayanamsa from the SVP\n";
  }

  const double rowJD = JulianDayNumber(date->year, date->month, date->day);
  const double dayFraction = v.noon ? 0.5 : 0.0;
  const InstantSetup instant = PrepareInstant(rowJD, dayFraction, ayanamsa);
  const BodyPositions p = ComputePositions(instant, *tables, choices);

  std::string out;
  out += DateTextFromJulianDay(rowJD) + " " + (v.noon ? "noon" : "midnight") + " UT, Julian Day " +
         [&] {
           char buf[32];
           std::snprintf(buf, sizeof buf, "%.1f", rowJD + dayFraction - 0.5);
           return std::string(buf);
         }() +
         ", " + ZodiacLabel(choices.zodiac) + "zodiac, " + v.node + " node\n";
  char line[256];
  std::snprintf(line, sizeof line, "%-11s%15s%15s%15s%15s%15s%15s\n", "Body", "Longitude", "Latitude",
                "RightAscension", "Declination", "HelioLongitude", "HelioLatitude");
  out += line;
  for (int b = kSun; b <= kNorthNode; ++b) {
    // The Sun's row carries the Earth's heliocentric place; the Moon and the
    // node have none.
    bool helio = b != kMoon && b != kNorthNode;
    out += std::string(kBodyNames[b]) + std::string(11 - std::string(kBodyNames[b]).size(), ' ') +
           Degrees(p.Longitude[b]) + Degrees(p.Latitude[b]) + Degrees(p.RightAscension[b]) +
           Degrees(p.Declination[b]) + (helio ? Degrees(p.HelioLongitude[b]) : std::string(14, ' ') + "-") +
           (helio ? Degrees(p.HelioLatitude[b]) : std::string(14, ' ') + "-") + "\n";
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
  return 0;
}

}  // namespace

void AddPositionsCommand(CLI::App& app, CommonOptions& common, int& status) {
  auto values = std::make_shared<PositionsValues>();
  CLI::App* sub = app.add_subcommand("positions", "Positions of the eleven bodies for one instant");
  // Checked in the callback, so a missing date is refused like a bad one (status 2).
  sub->add_option("--date", values->date, "Date M/D/YYYY (year 1800..2100), required");
  sub->add_flag("--noon", values->noon, "Positions at 12h UT (default 0h UT)");
  sub->add_option("--zodiac", values->zodiac, "tropical, sidereal or ayanamsa")
      ->check(CLI::IsMember({"tropical", "sidereal", "ayanamsa"}));
  sub->add_option("--node", values->node, "Lunar node: mean or true")->check(CLI::IsMember({"mean", "true"}));
  sub->add_option("--home", "Application folder (default: $NOVASTRA_HOME or the usual one)")
      ->each([&common](const std::string& dir) { common.home = std::filesystem::path(dir); });
  sub->callback([values, &common, &status] { status = RunPositions(*values, common); });
}

}  // namespace novastra::cli
