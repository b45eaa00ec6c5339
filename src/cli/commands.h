#pragma once
// novastra-cli: the same runs as the desktop program, printed to the terminal.
#include <CLI/CLI.hpp>
#include <filesystem>
#include <optional>
#include <string>

namespace novastra::cli {

// Options every command shares.
struct CommonOptions {
  std::optional<std::filesystem::path> home;  // --home DIR
  std::string encoding;                       // --encoding utf8|cp1252 ("" = by terminal)
};

// graph registers itself; its callback sets the process exit status in
// `status` (0 ok, 1 run failure, 2 input refused).
void AddGraphCommand(CLI::App& app, CommonOptions& common, int& status);

struct GlobalOptions;
// book: a title page and a page per month as PDF, drawn like the graph.
void AddBookCommand(CLI::App& app, const GlobalOptions& global, int& status);

}  // namespace novastra::cli
