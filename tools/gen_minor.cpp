// gen_minor: integrates the orbits of Chiron, Ceres, Pallas, Juno and Vesta
// from their JPL elements and writes MINOR.DAT, Chebyshev series of them and
// of the Earth for 1799-2101.
//
//   gen_minor <data_dir> <vsop87a_dir> <out_file>
//
// Reads the planetary series files from <data_dir> (for the Earth's series
// in the file) and the complete VSOP87A planets from <vsop87a_dir> (the
// perturbers). The main-belt bodies are integrated together with the twelve
// further asteroids of JPL's perturber model (SB441-N16), all sixteen
// perturbing each other; Chiron on its own. Each body's series is fitted to
// the integrated positions at its intervals' Chebyshev nodes, then checked
// against the integration at other instants and against the file's load
// check.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "astro/minor_data.h"
#include "astro/minor_orbit.h"
#include "astro/series.h"
#include "astro/vsop87a.h"

namespace fs = std::filesystem;
using namespace novastra;

namespace {

// States of the system's bodies at `times` (any order), integrating from the
// epoch backwards to the earlier ones and forwards to the later ones.
std::vector<std::vector<PositionVelocity>> StatesAt(const OrbitSystem& system,
                                                    const std::vector<PositionVelocity>& y0,
                                                    double epoch,
                                                    const std::vector<double>& times) {
  std::vector<size_t> order(times.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return times[a] < times[b]; });
  std::vector<double> before, after;
  std::vector<size_t> beforeIdx, afterIdx;
  for (auto it = order.rbegin(); it != order.rend(); ++it)
    if (times[*it] < epoch) before.push_back(times[*it]), beforeIdx.push_back(*it);
  for (size_t i : order)
    if (times[i] >= epoch) after.push_back(times[i]), afterIdx.push_back(i);
  std::vector<std::vector<PositionVelocity>> out(times.size());
  auto back = IntegrateOrbits(system, y0, epoch, before);
  for (size_t k = 0; k < back.size(); ++k) out[beforeIdx[k]] = std::move(back[k]);
  // An instant at the epoch itself is the starting state.
  std::vector<double> fwd;
  std::vector<size_t> fwdIdx;
  for (size_t k = 0; k < after.size(); ++k) {
    if (after[k] == epoch) out[afterIdx[k]] = y0;
    else fwd.push_back(after[k]), fwdIdx.push_back(afterIdx[k]);
  }
  auto ahead = IntegrateOrbits(system, y0, epoch, fwd);
  for (size_t k = 0; k < ahead.size(); ++k) out[fwdIdx[k]] = std::move(ahead[k]);
  return out;
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: gen_minor <data_dir> <vsop87a_dir> <out_file>\n");
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  SeriesTables tables;
  if (auto err = LoadSeriesTables(argv[1], tables)) {
    std::fprintf(stderr, "gen_minor: %s\n", err->Message().c_str());
    return 1;
  }
  const double first = kMinorFirstJD, last = kMinorFirstJD + kMinorSpanDays;
  std::array<Vsop87aBody, 8> planets;
  if (auto err = LoadVsop87aPerturbers(argv[2], planets)) {
    std::fprintf(stderr, "gen_minor: %s\n", err->c_str());
    return 1;
  }
  const Perturbers perturbers(
      [&](int p, double jd) { return Vsop87aPosition(planets[p], jd); }, first - 64, last + 64);
  std::fprintf(stderr, "planets fitted in %.1f s\n", Seconds(start));

  MinorTables out;
  auto intervals = [](const MinorSeriesLayout& l) {
    return static_cast<int>(kMinorSpanDays / l.intervalDays);
  };
  {
    const MinorSeriesLayout& l = kMinorLayouts[0];
    out[MinorSeries::Earth] =
        FitChebyshev([&](double jd) { return SeriesPlanetJ2000(tables, 2, jd); }, first,
                     l.intervalDays, intervals(l), l.coefficients);
  }

  const auto& el = SuppliedElements();
  const double epoch = el[0].epochJD;
  // Chiron on its own; the main belt with the sixteen asteroids of JPL's
  // perturber model, of which the first four (Ceres .. Vesta) are fitted.
  struct Group {
    OrbitSystem system;
    std::vector<PositionVelocity> start;
    std::vector<int> fitted;  // indices into SuppliedElements, in state order
  };
  Group chiron;
  chiron.system.masses = {0};
  chiron.system.perturbers = &perturbers;
  chiron.start = {StateFromElements(el[0])};
  chiron.fitted = {0};
  const Group groups[] = {chiron, {MainBeltSystem(&perturbers), MainBeltStartStates(), {1, 2, 3, 4}}};
  std::mt19937 rng(2060);
  for (const Group& g : groups) {
    const auto t0 = std::chrono::steady_clock::now();
    // Every body of a group shares its layout.
    const MinorSeriesLayout& l = kMinorLayouts[g.fitted[0] + 1];
    const std::vector<double> nodes =
        ChebyshevNodes(first, l.intervalDays, intervals(l), l.coefficients);
    const auto states = StatesAt(g.system, g.start, epoch, nodes);
    // Other instants, to check the fits between the nodes.
    std::uniform_real_distribution<double> any(first, last);
    std::vector<double> probes(400);
    for (double& t : probes) t = any(rng);
    const auto probeStates = StatesAt(g.system, g.start, epoch, probes);
    for (size_t k = 0; k < g.fitted.size(); ++k) {
      std::vector<Vector3> values(nodes.size());
      for (size_t i = 0; i < nodes.size(); ++i) values[i] = states[i][k].position;
      ChebyshevTable& t = out.series[g.fitted[k] + 1];
      t = FitChebyshevFromNodes(values, first, l.intervalDays, intervals(l), l.coefficients);
      double worst = 0;
      for (size_t i = 0; i < probes.size(); ++i)
        worst = std::max(worst, Length(t.Position(probes[i]) - probeStates[i][k].position));
      std::fprintf(stderr, "%-7s largest fit error %.2g AU\n", el[g.fitted[k]].name.c_str(), worst);
    }
    std::fprintf(stderr, "integrated in %.1f s\n", Seconds(t0));
  }

  if (auto bad = CheckMinorTables(out)) {
    std::fprintf(stderr, "gen_minor: the result fails its own check: %s\n", bad->c_str());
    return 1;
  }
  // Written aside, then moved into place: never a half file.
  const fs::path target = argv[3];
  const fs::path temp = target.string() + ".tmp";
  {
    std::ofstream file(temp, std::ios::binary);
    file << WriteMinorTables(out);
    if (!file.flush()) {
      std::fprintf(stderr, "gen_minor: cannot write %s\n", temp.c_str());
      return 1;
    }
  }
  // The written text must load back as it is.
  MinorTables back;
  std::ifstream in(temp, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), {}};
  if (auto err = LoadMinorTablesFromText(text, back)) {
    std::fprintf(stderr, "gen_minor: %s\n", err->Message().c_str());
    return 1;
  }
  fs::rename(temp, target);
  std::fprintf(stderr, "wrote %s (%zu bytes) in %.1f s\n", target.c_str(), text.size(),
               Seconds(start));
  return 0;
}
