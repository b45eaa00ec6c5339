#pragma once
// Every option that takes a value refuses an empty one ("--from ''", "-o ''",
// "--tz ''"): an empty word on a command line is a mistake in a script (an
// unset variable), never a request for the default.
#include <CLI/CLI.hpp>

namespace novastra::cli {

// Adds the check to every value option of `app` and of its subcommands; call
// once every command has registered its options.
void RefuseEmptyValues(CLI::App& app);

// Whole-number options take decimal digits only ("--days 0x10" and "1e1" are
// refused, not read as 16 and 10); decimal-number options decimal notation.
void RequireDecimalNumbers(CLI::App& app);

}  // namespace novastra::cli
