// The command line's argument parser, with the commands it runs: arguments are
// the input split at NUL bytes and line breaks. The application folder is a
// private copy of the supplied files ($NOVASTRA_HOME), which is also the
// current folder; inputs naming another folder or any path are passed over, so
// a run never writes outside it.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/empty_values.h"
#include "fuzz_support.h"

using namespace novastra;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const auto& dir = fuzz::Scratch();
  for (const auto& e : std::filesystem::directory_iterator(NOVASTRA_DATA_DIR))
    if (e.is_regular_file())
      std::filesystem::copy_file(e.path(), dir / e.path().filename(),
                                 std::filesystem::copy_options::overwrite_existing);
  ::setenv("NOVASTRA_HOME", dir.c_str(), 1);
  // Output files named by the input (-o NAME) land in the private folder too.
  if (::chdir(dir.c_str()) != 0) std::abort();
  // The commands print their tables; only the findings matter here.
  std::freopen("/dev/null", "w", stdout);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> args{"novastra-cli"};
  std::string current;
  for (size_t i = 0; i <= size; ++i) {
    if (i == size || data[i] == 0 || data[i] == '\n') {
      if (!current.empty()) args.push_back(current);
      current.clear();
    } else {
      current.push_back(static_cast<char>(data[i]));
    }
  }
  for (const auto& a : args)
    if (a.find("home") != std::string::npos || a.find('/') != std::string::npos || a.size() > 200)
      return 0;
  if (args.size() > 24) return 0;
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  CLI::App app{"fuzz"};
  app.require_subcommand(1);
  cli::GlobalOptions global;
  int status = 0;
  cli::AddEphemerisCommand(app, global, status);
  cli::AddAspectarianCommand(app, global, status);
  cli::AddStationsCommand(app, global, status);
  cli::AddPositionsCommand(app, global, status);
  cli::AddEclipsesCommand(app, global, status);
  cli::AddChartCommand(app, global, status);
  cli::AddTransitsCommand(app, global, status);
  cli::RefuseEmptyValues(app);
  try {
    app.parse(static_cast<int>(args.size()), argv.data());
  } catch (const CLI::ParseError&) {
  }
  NOVASTRA_FUZZ_CHECK(status >= 0 && status <= 2);
  return 0;
}
