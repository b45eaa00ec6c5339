// The year's book: `novastra-cli book` for twelve months from exec to exit
// (positions, phenomena on two threads, drawing and the PDF written), and the
// drawing alone of twelve months computed beforehand. The whole command must
// take under 2 s.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QGuiApplication>
#include <filesystem>
#include <string>
#include <vector>

#include "app/range_run.h"
#include "astro/calendar.h"
#include "chart/month_book.h"
#include "reports/stations.h"
#include "text/date_input.h"

namespace {

using namespace novastra;

const SeriesTables& Tables() {
  static const SeriesTables tables = [] {
    SeriesTables t;
    if (auto err = LoadSeriesTables(NOVASTRA_DATA_DIR, t)) std::abort();
    return t;
  }();
  return tables;
}

bool RunOnce(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return false;
  int status = 0;
  return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_BookYearCommand(benchmark::State& state) {
  const std::string out = (std::filesystem::temp_directory_path() / "novastra-bench-book.pdf").string();
  const std::vector<std::string> args = {NOVASTRA_CLI_PROGRAM, "--home", NOVASTRA_DATA_DIR, "book",
                                         "--from", "2027-01", "--to", "2027-12", "--tz",
                                         "America/New_York", "-o", out};
  while (state.KeepRunning()) {
    if (!RunOnce(args)) {
      state.SkipWithError("novastra-cli book failed");
      return;
    }
  }
  std::filesystem::remove(out);
}
BENCHMARK(BM_BookYearCommand)->Unit(benchmark::kMillisecond)->UseRealTime();

// The months of 2027 as the command computes them, in Universal Time.
std::vector<chart::MonthInput> Months() {
  std::vector<chart::MonthInput> months;
  for (int m = 1; m <= 12; ++m) {
    chart::MonthInput in;
    in.year = 2027;
    in.month = m;
    in.zodiacText = "Tropical";
    in.skyText = "design sky";
    in.instantText = "0h UT";
    EphemerisRequest e;
    e.tables = &Tables();
    e.startJD = JulianDayNumber(2027, m, 1);
    e.dayCount = DaysInMonth(2027, m);
    in.ephemeris = BuildEphemeris(e);
    AspectarianRequest a;
    a.sky.tables = &Tables();
    a.startJD = e.startJD;
    a.dayCount = e.dayCount;
    a.findEclipses = true;
    RunZonedAspectarianRange(a, in.zone, RangeControl{}, [&in](const AspectarianReport& piece) {
      in.aspectarian = piece;
      return true;
    });
    RefineStationEvents(a.sky, in.aspectarian.events);
    months.push_back(std::move(in));
  }
  return months;
}

void BM_BookYearDraw(benchmark::State& state) {
  const auto months = Months();
  chart::PageFonts fonts;
  fonts.symbols = chart::AddSymbolFont(std::filesystem::path(NOVASTRA_DATA_DIR) / "EPHEMERI.TTF");
  size_t bytes = 0;
  while (state.KeepRunning()) {
    QByteArray pdf;
    if (!chart::DrawBook(months, chart::Paper::A4, fonts, pdf).empty()) {
      state.SkipWithError("the book could not be drawn");
      return;
    }
    bytes = static_cast<size_t>(pdf.size());
  }
  state.counters["pdf_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_BookYearDraw)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
