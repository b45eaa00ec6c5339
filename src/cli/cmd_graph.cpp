// novastra-cli graph: the graphic ephemeris of a range of dates, written as an
// SVG, PNG or PDF file.
#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/app_folder.h"
#include "app/options.h"
#include "app/supplied_dir.h"
#include "astro/calendar.h"
#include "astro/engine.h"
#include "astro/minor_bodies.h"
#include "astro/minor_data.h"
#include "astro/series.h"
#include "chart/chart_choices.h"
#include "chart/chart_file.h"
#include "chart/engine_series.h"
#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/session.h"
#include "reports/events.h"
#include "text/date_input.h"

namespace novastra::cli {

namespace {

struct GraphValues {
  std::string from, to;
  std::string dial = "360";
  std::vector<std::string> bodies;
  std::vector<std::string> points;
  std::string output;
  std::string width = "1600", height = "1000";
  bool noon = false;
  std::string zodiac = "tropical";
  std::string ayanamsa;  // --ayanamsa NAME (with --zodiac sidereal)
  std::string node = "true";
  // Further lines over the same time axis (for instance a sky of transits)
  // join here: each adds its series to the chart before it is drawn.
  std::vector<std::string> sky;
};

int Refuse(const std::string& what, const std::string& why) {
  std::cerr << "novastra-cli graph: " << EscapeControls(what) << ": " << EscapeControls(why) << '\n';
  return 2;
}

// The value of a text of digits, or -1.
int WholeNumber(const std::string& text) {
  if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos)
    return -1;
  return std::stoi(text);
}

int RunGraph(const GraphValues& v, const std::vector<std::string>& extras,
             const CommonOptions& common) {
  using namespace chart;
  std::string why;
  if (!extras.empty())
    return Refuse("\"" + extras.front() + "\"", "not an option of graph (see --help)");
  if (v.from.empty()) return Refuse("--from", "a first date is required, e.g. --from 1/1/2009");
  if (v.to.empty()) return Refuse("--to", "a last date is required, e.g. --to 12/31/2009");
  const auto from = ParseDateInput(v.from, &why);
  if (!from) return Refuse("--from \"" + v.from + "\"", why);
  const auto to = ParseDateInput(v.to, &why);
  if (!to) return Refuse("--to \"" + v.to + "\"", why);
  const double firstJD = JulianDayNumber(from->year, from->month, from->day);
  const double lastJD = JulianDayNumber(to->year, to->month, to->day);
  if (lastJD <= firstJD)
    return Refuse("--to \"" + v.to + "\"", "the last date must come after the first");
  const auto dial = ParseDial(v.dial, why);
  if (!dial) return Refuse("--dial \"" + v.dial + "\"", why);
  const auto bodies =
      v.bodies.empty() ? std::optional(DefaultBodies()) : ParseBodies(v.bodies, why);
  if (!bodies) return Refuse("--bodies", why);
  const auto points = ParsePoints(v.points, why);
  if (!points) return Refuse("--points", why);
  if (v.output.empty())
    return Refuse("-o", "an output file ending in .svg, .png or .pdf is required");
  const auto format = FormatOf(v.output);
  if (!format)
    return Refuse("-o \"" + v.output + "\"", "the file name must end in .svg, .png or .pdf");
  const int width = WholeNumber(v.width), height = WholeNumber(v.height);
  if (width < 400 || width > 8000 || height < 300 || height > 8000)
    return Refuse("--width/--height", "the picture must be 400 to 8000 wide and 300 to 8000 high");
  if (v.zodiac != "tropical" && v.zodiac != "sidereal" && v.zodiac != "ayanamsa")
    return Refuse("--zodiac \"" + v.zodiac + "\"", "tropical, sidereal or ayanamsa");
  const AyanamsaChoice ayanamsa = ChooseAyanamsa(v.ayanamsa, v.zodiac);
  if (!ayanamsa.error.empty()) return Refuse("--ayanamsa \"" + v.ayanamsa + "\"", ayanamsa.error);
  if (v.node != "mean" && v.node != "true")
    return Refuse("--node \"" + v.node + "\"", "mean or true");

  std::string error;
  const auto folders = ResolveProgramFolders(common.home, ExecutableDir(), &error);
  if (!folders) {
    PrintError(error.empty() ? "no application folder" : error);
    return 1;
  }
  auto tables = std::make_unique<SeriesTables>();
  if (auto err = LoadSeriesTables(folders->supplied, *tables)) {
    std::cerr << "novastra-cli: " << err->Message() << " (in " << folders->supplied.string()
              << ")\n";
    return 1;
  }

  // Chiron, the asteroids and the Liliths come from MINOR.DAT, read only for them.
  auto minor = std::make_unique<MinorTables>();
  const bool anyMinor = std::any_of(bodies->begin(), bodies->end(), IsMinorEventBody);
  if (anyMinor) {
    if (lastJD + 0.5 > kMinorValidToJD) return Refuse("--bodies", kMinorRangeMessage);
    if (auto err = LoadMinorTables(folders->supplied, *minor)) {
      std::cerr << "novastra-cli: " << err->Message() << " (in " << folders->supplied.string()
                << ")\n";
      return 1;
    }
  }

  SeriesRequest request;
  if (anyMinor) request.minor = minor.get();
  request.firstDayJD = firstJD;
  request.lastDayJD = lastJD;
  request.dayFraction = v.noon ? 0.5 : 0.0;
  request.bodies = *bodies;
  request.choices.zodiac = v.zodiac == "sidereal"   ? Zodiac::Sidereal
                           : v.zodiac == "ayanamsa" ? Zodiac::Ayanamsa
                                                    : Zodiac::Tropical;
  request.choices.node = v.node == "mean" ? NodeMode::Mean : NodeMode::True;
  RunOptions options;
  if (ReadOptions(folders->app, options)) request.ayanamsa = options.Ayanamsa();
  if (request.choices.zodiac == Zodiac::Sidereal) request.ayanamsa.named = ayanamsa.named;
  const EphemerisSeries series = ComputeSeries(request, *tables);

  // Fonts and painting need the GUI application object; no window is opened.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int argc = 1;
  char name[] = "novastra-cli";
  char* argv[] = {name, nullptr};
  QGuiApplication qt(argc, argv);

  ChartOptions chartOptions;
  chartOptions.dial = *dial;
  chartOptions.fixedPoints = *points;
  chartOptions.width = width;
  chartOptions.height = height;
  const std::string failure = WriteChart(series, chartOptions, v.output, *format);
  if (!failure.empty()) {
    std::cerr << "novastra-cli graph: cannot write " << EscapeControls(v.output) << ": " << failure
              << '\n';
    return 1;
  }
  return 0;
}

}  // namespace

void AddGraphCommand(CLI::App& app, CommonOptions& common, int& status) {
  auto v = std::make_shared<GraphValues>();
  CLI::App* sub =
      app.add_subcommand("graph", "Graphic ephemeris of a range of dates as SVG, PNG or PDF");
  // Values are checked in the callback, so that every refusal has status 2.
  sub->add_option("--from", v->from, "First date, M/D/YYYY or YYYY-MM-DD (1800..2100), required");
  sub->add_option("--to", v->to, "Last date, M/D/YYYY or YYYY-MM-DD (1800..2100), required");
  sub->add_option("--dial", v->dial, "Dial in degrees: 360 (default), 90, 45 or 30");
  sub->add_option(
         "--bodies", v->bodies,
         "Bodies: sun moon mercury venus mars jupiter saturn uranus neptune pluto node, or all "
         "(default: all but the Moon), and chiron ceres pallas juno vesta lilith osc-lilith")
      ->expected(1, -1);
  sub->add_option("--points", v->points, "Fixed points in degrees, e.g. 15.5,120")->expected(1, -1);
  sub->add_option("-o,--output", v->output, "Output file: .svg, .png or .pdf, required");
  sub->add_option("--width", v->width, "Picture width for SVG and PNG (default 1600)");
  sub->add_option("--height", v->height, "Picture height for SVG and PNG (default 1000)");
  sub->add_flag("--noon", v->noon, "Positions at 12h UT (default 0h UT)");
  sub->add_option("--zodiac", v->zodiac, "tropical, sidereal or ayanamsa");
  sub->add_option(
      "--ayanamsa", v->ayanamsa,
      "With --zodiac sidereal: a standard ayanamsa by name, one of " + AyanamsaNamesText());
  sub->add_option("--node", v->node, "Lunar node: mean or true");
  sub->add_option("--home", "Application folder (default: $NOVASTRA_HOME or the usual one)")
      ->each([&common](const std::string& dir) { common.home = std::filesystem::path(dir); });
  // Unknown words reach the callback too, to be refused with status 2.
  sub->allow_extras();
  sub->callback([v, sub, &common, &status] { status = RunGraph(*v, sub->remaining(), common); });
}

}  // namespace novastra::cli
