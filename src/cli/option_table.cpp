// The options' table: the parts that do not depend on a command's options.
#include "cli/option_table.h"

#include "diagnostics/quoted.h"
#include "platform/platform.h"

namespace varistellar::cli {
namespace {
// The column where an option's explanation begins in --help.
constexpr std::size_t helpColumn = 22;
constexpr std::string_view labelIndent = "  ";
}  // namespace

std::string_view optionName(std::string_view argument) {
  return argument.substr(0, argument.find('='));
}

std::string optionLines(std::span<const std::string_view> labels,
                        std::span<const std::string_view> helps) {
  std::string text;
  for (std::size_t i = 0; i < labels.size() && i < helps.size(); ++i) {
    text.append(labelIndent).append(labels[i]);
    // A label needs two blanks after it, or it stands on a line of its own.
    const std::size_t used = labelIndent.size() + labels[i].size();
    if (used + 2 <= helpColumn) {
      text.append(helpColumn - used, ' ');
    } else {
      text.append("\n").append(helpColumn, ' ');
    }
    std::string_view help = helps[i];
    for (std::size_t end = help.find('\n'); end != std::string_view::npos; end = help.find('\n')) {
      text.append(help.substr(0, end)).append("\n").append(helpColumn, ' ');
      help.remove_prefix(end + 1);
    }
    text.append(help).append("\n");
  }
  return text;
}

std::string shownArgument(std::string_view argument) {
  return "'" + diagnostics::shownName(argument, diagnostics::argumentShownWhole) + "'";
}

bool isExistingPath(std::string_view argument) {
  return platform::pathKind(std::string{argument}) != platform::PathKind::missing;
}

}  // namespace varistellar::cli
