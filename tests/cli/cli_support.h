#pragma once
// Shared set-up of the command-line tests: the series tables, a folder with
// the supplied files, and running novastra-cli.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "astro/series.h"
#include "support/sky.h"
#include "support/support.h"

namespace novastra::testing_support {

inline const SeriesTables& Tables() { return SuppliedTables(); }

// A temporary application folder with the series data and option files.
class HomeFolder : public TempFolder {
 public:
  HomeFolder() { CopySuppliedFiles(path()); }
};

// Runs `novastra-cli ARGS` through the shell in the environment `env`
// (standard error dropped unless ARGS redirects it); collects standard output.
inline CliResult CliShell(const std::string& args, const std::string& env = "LANG=C LC_ALL=") {
  const std::string command = "env " + env + " " + std::string(NOVASTRA_CLI) + " " + args;
  CliResult r;
  FILE* pipe = popen(command.c_str(), "r");
  char buf[65536];
  for (size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;) r.out.append(buf, n);
  const int status = pclose(pipe);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

}  // namespace novastra::testing_support
