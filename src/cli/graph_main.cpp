// novastra-graph: the graphic ephemeris as SVG, PNG or PDF and the book of
// months as PDF. It draws with Qt, so it is a program of its own; novastra-cli
// hands it "novastra-cli graph ..." and "novastra-cli book ...".
#include <clocale>
#include <cstdio>
#include <cstring>
#include <exception>
#include <iostream>

#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/empty_values.h"
#include "novastra_version.h"

int main(int argc, char** argv) {
  namespace cli = novastra::cli;
  try {
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
    CLI::App app{"NOVASTRA command line: the graphic ephemeris and the book of months."};
    app.name("novastra-cli");
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("novastra-cli ") + novastra::kVersion);
    cli::GlobalOptions global;
    app.add_option("--home", global.home, "Application folder")->type_name("DIR");
    app.add_option("--encoding", global.encoding, "Output text: utf8 or cp1252")
        ->check(CLI::IsMember({"utf8", "cp1252"}));
    app.add_option("--symbols", global.symbols, "Symbols as unicode characters or ascii")
        ->check(CLI::IsMember({"unicode", "ascii"}));
    int status = 0;
    cli::CommonOptions common;
    cli::AddGraphCommand(app, common, status);
    cli::AddBookCommand(app, global, status);
    cli::RefuseEmptyValues(app);
    try {
      app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
      status = app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
      status = app.exit(e);
    } catch (const CLI::CallForVersion& e) {
      status = app.exit(e);
    } catch (const CLI::ParseError& e) {
      cli::PrintError(e.what());
      std::cerr << "Run 'novastra-cli " << (app.got_subcommand("book") ? "book" : "graph")
                << " --help' for usage.\n";
      return cli::kUsageError;
    }
    std::cout.flush();
    if (!std::cout || std::fflush(stdout) != 0) {
      cli::PrintError(std::string("cannot write standard output: ") + std::strerror(errno));
      return cli::kReadWriteFailure;
    }
    return status;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "novastra-cli: %s\n", e.what());
  }
  return cli::kReadWriteFailure;
}
