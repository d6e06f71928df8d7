// The lines of the observer's parameter file, VARISTELLAR-input.txt: four
// header lines, then one value a line. Every reader of the file (the
// interactive run's and the command line's) and every message about it
// takes its line numbers and widths from here.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace varistellar::night {

enum class ParameterLine : std::uint8_t {
  observerCode,
  star,
  comparisonStar,
  comparisonMagnitude,
  filter,
  chart,
  checkStar,
  checkMagnitude,
};

struct ParameterLineFacts {
  ParameterLine line;
  std::uint64_t number;          // from 1
  std::string_view meaning;      // "the observer code"
  std::size_t interactiveWidth;  // the text the interactive run keeps; 0 for a number
};

inline constexpr std::size_t parameterHeaderLines = 4;
inline constexpr std::array parameterLines = {
    ParameterLineFacts{ParameterLine::observerCode, 5, "the observer code", 4},
    ParameterLineFacts{ParameterLine::star, 6, "the star's name", 11},
    ParameterLineFacts{ParameterLine::comparisonStar, 7, "the comparison star", 11},
    ParameterLineFacts{ParameterLine::comparisonMagnitude, 8, "the comparison star's magnitude", 0},
    ParameterLineFacts{ParameterLine::filter, 9, "the filter", 6},
    ParameterLineFacts{ParameterLine::chart, 10, "the chart", 8},
    ParameterLineFacts{ParameterLine::checkStar, 11, "the check star", 11},
    ParameterLineFacts{ParameterLine::checkMagnitude, 12, "the check star's magnitude", 0},
};
inline constexpr std::size_t parameterLineCount = 12;

[[nodiscard]] constexpr const ParameterLineFacts& parameterLine(ParameterLine line) {
  return parameterLines[static_cast<std::size_t>(line)];
}
[[nodiscard]] constexpr std::uint64_t lineNumber(ParameterLine line) {
  return parameterLine(line).number;
}

// Each parameter line stands at its own index, after the header lines.
consteval bool parameterLinesInOrder() {
  std::size_t index = 0;
  for (const ParameterLineFacts& facts : parameterLines) {
    if (static_cast<std::size_t>(facts.line) != index ||
        facts.number != parameterHeaderLines + 1 + index) {
      return false;
    }
    ++index;
  }
  return parameterLines.size() + parameterHeaderLines == parameterLineCount;
}
static_assert(parameterLinesInOrder());

}  // namespace varistellar::night
