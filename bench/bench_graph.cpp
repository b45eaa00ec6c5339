// Graphic ephemeris of a year (2009, all eleven bodies, 45-degree dial, two
// fixed points) at 1600 x 1000 pixels: the positions, the model, and the
// drawing into an image. The whole chart must take under 200 ms.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "astro/calendar.h"
#include "chart/chart_model.h"
#include "chart/chart_painter.h"
#include "chart/engine_series.h"

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

chart::EphemerisSeries Year() {
  chart::SeriesRequest r;
  r.firstDayJD = JulianDayNumber(2009, 1, 1);
  r.lastDayJD = JulianDayNumber(2009, 12, 31);
  r.bodies = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
  return chart::ComputeSeries(r, Tables());
}

chart::ChartOptions Options() {
  chart::ChartOptions o;
  o.dial = 45;
  o.fixedPoints = {15.5, 120};
  return o;
}

void BM_GraphYearPositions(benchmark::State& state) {
  Tables();
  for (auto _ : state) benchmark::DoNotOptimize(Year());
}
BENCHMARK(BM_GraphYearPositions)->Unit(benchmark::kMillisecond);

void BM_GraphYearModel(benchmark::State& state) {
  const auto series = Year();
  for (auto _ : state) benchmark::DoNotOptimize(chart::BuildChart(series, Options()));
}
BENCHMARK(BM_GraphYearModel)->Unit(benchmark::kMillisecond);

// Positions, model and painting: what a redraw of a new range costs.
void BM_GraphYearChart(benchmark::State& state) {
  QImage image(1600, 1000, QImage::Format_RGB32);
  for (auto _ : state) {
    const auto series = Year();
    QPainter p(&image);
    chart::PaintChart(p, chart::BuildChart(series, Options()));
  }
}
BENCHMARK(BM_GraphYearChart)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
