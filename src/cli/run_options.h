#pragma once
// Run options shared by the commands that start a run (ephemeris, aspectarian),
// and the helpers that set up an Application for the command line and print
// what the Data Window would show.
#include <CLI/CLI.hpp>
#include <memory>
#include <string>

#include "app/app_folder.h"
#include "app/application.h"
#include "app/ui.h"
#include "cli/commands.h"

namespace novastra::cli {

// What the user typed; empty / -1 means "not given: keep the saved settings".
struct RunOptionValues {
  std::string start;        // --start M/D/YYYY
  std::string days;         // --days N
  int fullMonth = -1;       // --full-month 1, --no-full-month 0
  int noon = -1;            // --noon 1, --midnight 0
  int helio = -1;           // --helio 1, --geo 0
  std::string zodiac;       // --zodiac tropical|sidereal|ayanamsa
  std::string node;         // --node mean|true
  std::string table;        // --table longitude|latitude|ra|declination
  int save = -1;            // --save 1, --no-save 0
  std::string home;         // --home DIR (copied into CommonOptions)
};

// Registers the run options, --encoding and --home on a subcommand.
void AddRunOptions(CLI::App* sub, RunOptionValues& values, CommonOptions& common);

// A headless application for one command: the folder resolved, its files loaded.
// Prints a message box's title and text on standard error.
void PrintMessage(const HeadlessUi::Event& e);

struct CliSession {
  HeadlessUi ui;
  std::unique_ptr<Application> app;
  std::unique_ptr<InstanceLock> lock;  // held while the run saves files
};

// Resolves the application folder (--home, $NOVASTRA_HOME, ...), builds the
// Application and loads options, settings and series tables; from here on every
// message goes to standard error. Prints the reason and returns false on failure.
bool OpenSession(const CommonOptions& common, CliSession& session);

// Applies the given options over the loaded settings, as if typed into the
// Input window. A malformed value prints a message on standard error and
// returns false, leaving the parameters as they were.
bool ApplyRunOptions(const RunOptionValues& values, Application& app);

// When the run will save files, takes the folder's lock as the desktop
// program does, waiting a few seconds for another saving copy to finish, so
// that two saves into one folder never mix their files; then removes stale
// temporary files of killed saves. Prints the reason and returns false when
// another copy keeps the folder; a folder that cannot hold a lock is used
// without it.
bool LockFolderForSave(CliSession& session);

// True when output should be UTF-8: --encoding utf8, or no choice and standard
// output is a terminal.
bool WantUtf8(const CommonOptions& common);

// Converts program text (single-byte codes) for printing.
std::string ForOutput(const std::string& bytes, bool utf8);

// Prints the Data Window's text on standard output: the view lines and the
// empty spare entry after them, one per line.
void PrintView(const Application& app, bool utf8);

// Exit status after a run: 0 ok, 2 when the input check refused it, 1 otherwise.
int RunStatus(RunOutcome outcome);

// Sends every message of the session's interface to standard error as it happens.
void EchoMessages(CliSession& session, bool utf8);

}  // namespace novastra::cli
