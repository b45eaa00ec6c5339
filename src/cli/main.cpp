// novastra-cli: ephemerides, aspectarians, stations and positions on the
// command line. Exit status 0 done, 1 a file could not be read or written,
// 2 a usage error or input refused.
#include <clocale>
#include <iostream>

#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/empty_values.h"
#include "novastra_version.h"

int main(int argc, char** argv) {
  // Character set and character widths from the user's locale; numbers are
  // always written with a decimal point.
  std::setlocale(LC_ALL, "");
  std::setlocale(LC_NUMERIC, "C");

  namespace cli = novastra::cli;
  CLI::App app{
      "NOVASTRA command line: ephemerides, aspectarians and stations computed from the "
      "program's own series theories. Every instant is Universal Time."};
  app.name("novastra-cli");
  app.require_subcommand(1);
  app.set_version_flag("--version", std::string("novastra-cli ") + novastra::kVersion);
  app.footer(
      "Global options may come before or after the command. Run 'novastra-cli COMMAND --help' for "
      "a "
      "command's options.\nExit status: 0 done, 1 a file could not be read or written, 2 usage "
      "error or "
      "input refused.");
  cli::GlobalOptions global;
  app.add_option("--home", global.home,
                 "Application folder (default: $NOVASTRA_HOME or the usual one)")
      ->type_name("DIR");
  app.add_option("--encoding", global.encoding,
                 "Output text: utf8 or cp1252 (the program's own bytes); default: UTF-8 when the "
                 "locale's character set is UTF-8, else cp1252")
      ->check(CLI::IsMember({"utf8", "cp1252"}));
  app.add_option("--symbols", global.symbols,
                 "Symbols as unicode characters or ascii abbreviations")
      ->check(CLI::IsMember({"unicode", "ascii"}))
      ->capture_default_str();
  int status = 0;
  cli::AddRunCommands(app, global, status);
  cli::AddPositionsCommand(app, global, status);
  // graph keeps its own options (its --home after the command name).
  cli::CommonOptions graphCommon;
  cli::AddGraphCommand(app, graphCommon, status);
  cli::RefuseEmptyValues(app);
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    cli::PrintError(e.what());
    std::cerr << "Run 'novastra-cli --help' for usage.\n";
    return cli::kUsageError;
  }
  return status;
}
