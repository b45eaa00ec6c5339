#include "cli/empty_values.h"

#include <regex>
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

void RequireDecimalNumbers(CLI::App& app) {
  static const std::regex kWhole("[+-]?[0-9]+");
  static const std::regex kDecimal("[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?");
  const CLI::Validator whole(
      [](std::string& value) {
        return std::regex_match(value, kWhole) ? "" : std::string("expected decimal digits");
      },
      "", "decimal");
  const CLI::Validator decimal(
      [](std::string& value) {
        return std::regex_match(value, kDecimal) ? "" : std::string("expected a decimal number");
      },
      "", "decimal");
  for (CLI::Option* option : app.get_options()) {
    const std::string type = option->get_type_name();
    // The name may carry its checks' descriptions after a colon ("INT:INT in [1 - 366]").
    const std::string base = type.substr(0, type.find(':'));
    if (base == "INT" || base == "UINT") option->check(whole);
    if (base == "FLOAT") option->check(decimal);
  }
  for (CLI::App* sub : app.get_subcommands([](CLI::App*) { return true; }))
    RequireDecimalNumbers(*sub);
}

}  // namespace novastra::cli
