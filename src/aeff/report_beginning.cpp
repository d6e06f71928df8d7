// Telling a report by its first lines.
#include "aeff/report_beginning.h"

#include <algorithm>
#include <cstddef>

#include "aeff/format.h"

namespace varistellar::aeff {
namespace {

std::string_view withoutBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// "#TYPE=Extended", "# obscode = X": a parameter line, its key in any case.
bool isParameterLine(std::string_view line) {
  line.remove_prefix(1);
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return false;
  const std::string_view key = withoutBlanks(line.substr(0, equals));
  return std::any_of(parameterKeys.begin(), parameterKeys.end(), [&](std::string_view known) {
    return known.size() == key.size() &&
           std::equal(known.begin(), known.end(), key.begin(), [](char a, char b) {
             return a == (b >= 'a' && b <= 'z' ? static_cast<char>(b - 'a' + 'A') : b);
           });
  });
}

bool holdsFields(std::string_view line, char delimiter) {
  return static_cast<std::size_t>(std::count(line.begin(), line.end(), delimiter)) + 1 ==
         fieldCount;
}

}  // namespace

bool isReportBeginning(std::string_view beginning) {
  bool comments = false;
  std::size_t start = 0;
  while (start < beginning.size()) {
    std::size_t end = beginning.find('\n', start);
    if (end == std::string_view::npos) end = beginning.size();
    const std::string_view line = withoutBlanks(beginning.substr(start, end - start));
    start = end + 1;
    if (line.empty()) continue;
    if (line.front() != '#') {
      return comments && (holdsFields(line, ',') || holdsFields(line, '\t'));
    }
    if (isParameterLine(line)) return true;
    comments = true;
  }
  return false;
}

}  // namespace varistellar::aeff
