#include "cli/empty_values.h"

#include <string>

namespace novastra::cli {

void RefuseEmptyValues(CLI::App& app) {
  const CLI::Validator nonEmpty(
      [](std::string& value) { return value.empty() ? std::string("an empty value") : ""; }, "",
      "non-empty");
  for (CLI::Option* option : app.get_options()) {
    // The calendar's lists refuse an empty list themselves, naming the item.
    const std::string name = option->get_name();
    if (name == "--kinds" || name == "--bodies") continue;
    if (option->get_type_size_max() > 0) option->check(nonEmpty);
  }
  for (CLI::App* sub : app.get_subcommands([](CLI::App*) { return true; })) RefuseEmptyValues(*sub);
}

}  // namespace novastra::cli
