// novastra-cli: ephemerides, aspectarians, stations, positions and eclipses
// on the command line. Exit status 0 done, 1 a file could not be read or
// written, 2 a usage error or input refused. The graph and book commands draw
// with Qt, which the other commands never load: it is a program of its own (novastra-graph)
// that this one hands the command line to.
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "app/supplied_dir.h"
#include "cli/cli.h"
#include "cli/empty_values.h"
#include "novastra_version.h"

namespace {

namespace cli = novastra::cli;

// The command word of a command line: the first word that is neither an
// option nor the value of a global option that takes one; "" when there is none.
std::string CommandWord(int argc, char** argv) {
  static const std::set<std::string> kValued = {"--home", "--encoding", "--symbols"};
  for (int i = 1; i < argc; ++i) {
    std::string word = argv[i];
    if (kValued.contains(word)) {
      ++i;
      continue;
    }
    if (!word.empty() && word[0] == '-') continue;
    return word;
  }
  return "";
}

// The graph program: beside this one in a build tree, in ../libexec/novastra
// of an installed tree.
std::filesystem::path GraphProgram() {
  const std::filesystem::path dir = novastra::ExecutableDir();
  for (const auto& candidate :
       {dir / "novastra-graph", dir / ".." / "libexec" / "novastra" / "novastra-graph"})
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
  return {};
}

int RunGraph(char** argv) {
  const std::filesystem::path program = GraphProgram();
  if (program.empty()) {
    cli::PrintError("the graph and book commands need novastra-graph, which is not installed beside " +
                    novastra::ExecutableDir().string());
    return cli::kReadWriteFailure;
  }
  ::execv(program.c_str(), argv);
  cli::PrintError("cannot run " + program.string() + ": " + std::strerror(errno));
  return cli::kReadWriteFailure;
}

// Help and version texts are results too: a failed write is told.
int FinishStandardOutput(int status) {
  std::cout.flush();
  if (!std::cout || std::fflush(stdout) != 0) {
    cli::PrintError(std::string("cannot write standard output: ") + std::strerror(errno));
    return cli::kReadWriteFailure;
  }
  return status;
}

int Main(int argc, char** argv) {
  // Character set and character widths from the user's locale; numbers are
  // always written with a decimal point.
  std::setlocale(LC_ALL, "");
  std::setlocale(LC_NUMERIC, "C");

  CLI::App app{
      "NOVASTRA command line: ephemerides, aspectarians, stations and eclipses computed from the "
      "program's own series theories. Every instant is Universal Time."};
  app.name("novastra-cli");
  app.require_subcommand(1);
  app.set_version_flag("--version", std::string("novastra-cli ") + novastra::kVersion);
  app.footer(
      "Global options may come before or after the command. Run 'novastra-cli COMMAND --help' for "
      "a command's options.\nExit status: 0 done, 1 a file could not be read or written, 2 usage "
      "error or input refused.");
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
  cli::AddEphemerisCommand(app, global, status);
  cli::AddAspectarianCommand(app, global, status);
  cli::AddStationsCommand(app, global, status);
  cli::AddPositionsCommand(app, global, status);
  cli::AddEclipsesCommand(app, global, status);
  cli::AddChartCommand(app, global, status);
  cli::AddTransitsCommand(app, global, status);
  // Listed in the help; run by novastra-graph.
  app.add_subcommand("graph", "Graphic ephemeris of a range of dates as SVG, PNG or PDF");
  app.add_subcommand("book",
                     "A title page and one page per month of positions and phenomena, as PDF");
  cli::RefuseEmptyValues(app);
  cli::RequireDecimalNumbers(app);

  const std::string command = CommandWord(argc, argv);
  if (command == "graph" || command == "book") return RunGraph(argv);
  std::string names;
  bool known = false;
  for (const CLI::App* sub : app.get_subcommands([](CLI::App*) { return true; })) {
    names += (names.empty() ? "" : ", ") + sub->get_name();
    known = known || sub->get_name() == command;
  }
  if (!command.empty() && !known) {
    cli::PrintError("unknown command '" + command + "' (commands: " + names + ")");
    std::cerr << "Run 'novastra-cli --help' for usage.\n";
    return cli::kUsageError;
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return FinishStandardOutput(app.exit(e));
  } catch (const CLI::CallForAllHelp& e) {
    return FinishStandardOutput(app.exit(e));
  } catch (const CLI::CallForVersion& e) {
    return FinishStandardOutput(app.exit(e));
  } catch (const CLI::ParseError& e) {
    cli::PrintError(e.what());
    std::cerr << "Run 'novastra-cli --help' for usage.\n";
    return cli::kUsageError;
  }
  return status;
}

}  // namespace

// Anything the commands do not catch themselves (no memory left, a fault of
// the program) ends the run with a message and status 1 instead of an abort.
int main(int argc, char** argv) {
  try {
    return Main(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "novastra-cli: %s\n", e.what());
  } catch (...) {
    std::fputs("novastra-cli: the run stopped on an unexpected error\n", stderr);
  }
  return novastra::cli::kReadWriteFailure;
}
