#pragma once
// Shared set-up of the command-line tests: the series tables, a folder with
// the supplied files, and running novastra-cli through the shell.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "support/sky.h"
#include "support/support.h"

namespace novastra::testing_support {

inline const SeriesTables& Tables() { return SuppliedTables(); }

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

// Runs novastra-cli on a fresh folder of supplied files: Run("ephemeris ...").
class CliHome : public ::testing::Test {
 protected:
  HomeFolder home;
  std::string Home() const { return "--home '" + home.path().string() + "' "; }
  CliResult Run(const std::string& args, const std::string& env = "LANG=C LC_ALL=") const {
    return CliShell(Home() + args, env);
  }
};

}  // namespace novastra::testing_support
