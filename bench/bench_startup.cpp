// Start-up of the command line: one `novastra-cli positions` run from exec to
// exit (loading the program and its libraries, reading the options and the
// series files, one instant), with the child's peak resident memory.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

// Runs the program once with standard output on /dev/null; its peak resident
// set in kilobytes, or -1 when it failed.
long RunOnce(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return -1;
  return usage.ru_maxrss;
}

void BM_PositionsStartup(benchmark::State& state) {
  const std::vector<std::string> args = {NOVASTRA_CLI_PROGRAM, "--home", NOVASTRA_DATA_DIR,
                                         "positions", "--date", "2000-01-01"};
  long peak = 0;
  for (auto _ : state) {
    const long kb = RunOnce(args);
    if (kb < 0) {
      state.SkipWithError("novastra-cli positions failed");
      return;
    }
    peak = std::max(peak, kb);
  }
  state.counters["peak_rss_kB"] = static_cast<double>(peak);
}
BENCHMARK(BM_PositionsStartup)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
