#pragma once
// novastra-cli: the program's runs for scripts and terminals.
#include <CLI/CLI.hpp>
#include <string>

#include "text/text_encoding.h"

namespace novastra::cli {

// Exit statuses.
inline constexpr int kDone = 0;
inline constexpr int kReadWriteFailure = 1;
inline constexpr int kUsageError = 2;

// Options every command accepts, before or after the command's name.
struct GlobalOptions {
  std::string home;                 // --home DIR
  std::string encoding;             // --encoding utf8|cp1252 ("" = from the locale)
  std::string symbols = "unicode";  // --symbols unicode|ascii
};

// The style of standard output and standard error from the options and the
// locale: UTF-8 whenever the locale's character set is UTF-8.
TextStyle OutputStyle(const GlobalOptions& global);

// Prints "novastra-cli: " and the message on standard error, control
// characters shown as \xHH (EscapeControls).
void PrintError(const std::string& message);
std::string EscapeControls(const std::string& text);

// Each command registers itself; its callback sets `status`.
void AddEphemerisCommand(CLI::App& app, const GlobalOptions& global, int& status);
void AddAspectarianCommand(CLI::App& app, const GlobalOptions& global, int& status);
void AddStationsCommand(CLI::App& app, const GlobalOptions& global, int& status);
void AddPositionsCommand(CLI::App& app, const GlobalOptions& global, int& status);
void AddEclipsesCommand(CLI::App& app, const GlobalOptions& global, int& status);
void AddChartCommand(CLI::App& app, const GlobalOptions& global, int& status);
void AddTransitsCommand(CLI::App& app, const GlobalOptions& global, int& status);

}  // namespace novastra::cli
