#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "novastra_version.h"

int main(int argc, char** argv) {
  CLI::App app{"NOVASTRA command line: ephemerides, aspectarians and stations"};
  app.name("novastra-cli");
  app.set_version_flag("-V,--version", std::string("novastra-cli ") + novastra::kVersion);
  app.require_subcommand(1);
  novastra::cli::CommonOptions common;
  int status = 0;
  novastra::cli::AddPositionsCommand(app, common, status);
  novastra::cli::AddEphemerisCommand(app, common, status);
  novastra::cli::AddAspectarianCommands(app, common, status);
  novastra::cli::AddGraphCommand(app, common, status);
  CLI11_PARSE(app, argc, argv);
  return status;
}
