// A command's options as one table: the loop over the arguments reads it,
// and --help prints it, so an option is named, parsed and explained in one
// place.
#pragma once

#include <algorithm>

#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace varistellar::cli {

// What the options have made of the arguments so far.
template <typename Target>
struct ParsedArguments {
  Target target{};
  std::vector<std::string> operands{};  // the arguments that are no option
  std::set<std::string_view> given{};   // the names of the options given
  bool help = false;                    // --help or -h
};

template <typename Target>
struct Option {
  std::string_view name;       // "--table"
  std::string_view valueName;  // "FILE"; empty for an option without a value
  // Its lines in --help, apart by '\n'; empty when another option's entry
  // explains it too.
  std::string_view help;
  // Applies the option's value (none when it was not given); the usage
  // error when it is missing or wrong.
  std::optional<std::string> (*apply)(Target& target, const std::optional<std::string>& value);
  std::string_view label = {};  // what --help shows before the text; "NAME VALUE" when empty
};

// "--name=VALUE" or "--name VALUE": the name before any '='.
[[nodiscard]] std::string_view optionName(std::string_view argument);

// The help's entries: "  --table FILE        the light-curve table", a
// label too long for its column on a line of its own.
[[nodiscard]] std::string optionLines(std::span<const std::string_view> labels,
                                      std::span<const std::string_view> helps);

// An argument inside a usage error, in single quotes: no byte of it acts on
// the terminal, and a long one is cut.
[[nodiscard]] std::string shownArgument(std::string_view argument);

// A name that begins with '-' is still a file or folder when one of that
// name exists: a folder called "-dash" is converted, not refused.
[[nodiscard]] bool isExistingPath(std::string_view argument);

template <typename Target>
std::string optionsHelp(std::span<const Option<Target>> options) {
  std::vector<std::string> labels;
  std::vector<std::string_view> helps;
  for (const Option<Target>& option : options) {
    if (option.help.empty()) continue;
    labels.push_back(!option.label.empty() ? std::string{option.label}
                     : option.valueName.empty()
                         ? std::string{option.name}
                         : std::string{option.name} + " " + std::string{option.valueName});
    helps.push_back(option.help);
  }
  const std::vector<std::string_view> labelViews(labels.begin(), labels.end());
  return optionLines(labelViews, helps);
}

// Reads `arguments` with `command`'s `options`: "--" ends the options,
// --help or -h asks for help, and an unknown option that names no existing
// file is a usage error. Stops at the first usage error, its text.
template <typename Target>
std::optional<std::string> parseOptions(std::span<const std::string> arguments,
                                        std::span<const Option<Target>> options,
                                        std::string_view command, ParsedArguments<Target>& parsed) {
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (optionsEnded || argument.size() < 2 || argument.front() != '-') {
      parsed.operands.push_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      continue;
    }
    if (argument == "--help" || argument == "-h") {
      parsed.help = true;
      return std::nullopt;
    }
    const std::string_view name = optionName(argument);
    // An option without a value is only ever itself: "--quiet=x" is unknown.
    const auto found = std::find_if(options.begin(), options.end(), [&](const auto& known) {
      return known.valueName.empty() ? argument == known.name : name == known.name;
    });
    const Option<Target>* option = found == options.end() ? nullptr : &*found;
    if (option == nullptr) {
      if (!isExistingPath(argument)) {
        return "unknown option " + shownArgument(argument) + " for " + std::string{command};
      }
      parsed.operands.push_back(argument);
      continue;
    }
    std::optional<std::string> value;
    if (name.size() < argument.size()) {
      value = argument.substr(name.size() + 1);
    } else if (!option->valueName.empty() && i + 1 < arguments.size()) {
      value = arguments[++i];
    }
    parsed.given.insert(option->name);
    if (auto failure = option->apply(parsed.target, value)) return failure;
  }
  return std::nullopt;
}

}  // namespace varistellar::cli
