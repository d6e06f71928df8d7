// The command line's reading of the parameter file.
#include <array>
#include <optional>
#include <string_view>

#include "aeff/format.h"
#include "diagnostics/quoted.h"
#include "run/input_file.h"
#include "run/plain_number.h"
#include "run/strict_reading.h"
#include "textio/line_reader.h"

namespace varistellar::run {
namespace {

using diagnostics::DiagnosticSink;

constexpr std::size_t parameterLineCount = 12;
// Lines 11 and 12 (the check star) may be left out.
constexpr std::size_t requiredLineCount = 10;

bool isEdgeBlank(char byte) { return byte == ' ' || byte == '\t'; }

// A line's value without its edge blanks, and the column where it starts.
struct LineValue {
  std::string text;
  std::uint64_t column = 1;
  bool present = false;  // the file has the line
};

LineValue trimmed(std::string_view line) {
  std::size_t first = 0;
  while (first < line.size() && isEdgeBlank(line[first])) ++first;
  std::size_t last = line.size();
  while (last > first && isEdgeBlank(line[last - 1])) --last;
  return {std::string{line.substr(first, last - first)}, first + 1, true};
}

bool isPlaceholder(std::string_view text) {
  for (const std::string_view placeholder : {"na", "n/a", "xxx", "?"}) {
    if (text.size() != placeholder.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const char lower =
          text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] + 32) : text[i];
      same = same && lower == placeholder[i];
    }
    if (same) return true;
  }
  return false;
}

// One text line of the file: what it holds, its longest AAVSO value, and
// whether it may be empty.
struct TextLine {
  std::size_t number;
  std::string_view meaning;
  std::size_t limit;  // 0: none
  bool required;
};

class ParameterReader {
 public:
  ParameterReader(const std::string& file, DiagnosticSink& findings)
      : file_{file}, findings_{findings} {}

  bool read(ObserverParameters& parameters) {
    textio::LineReader reader{file_};
    if (const auto fault = unreadableAsLines(file_, reader, parameterFile)) {
      error(0, 0, *fault);
      return false;
    }
    std::string_view line;
    while (count_ < parameterLineCount && reader.next(line)) lines_[count_++] = trimmed(line);
    if (reader.failure().happened()) {
      error(0, 0, cannotReadMessage(parameterFile, reader.failure()));
      return false;
    }
    if (reader.stoppedAtLongLine()) {
      error(reader.lineNumber() + 1, 0, longLineMessage(parameterFile));
      return false;
    }
    if (count_ < requiredLineCount) {
      error(0, 0,
            "the parameter file ends after line " + std::to_string(count_) +
                "; it needs 4 header lines, then the observer code, the star, the comparison "
                "star, its magnitude, the filter, the chart, the check star and its magnitude");
      return false;
    }

    parameters.observerCode = text({5, "the observer code", 0, true});
    if (lines_[5 - 1].present && isPlaceholder(parameters.observerCode)) {
      error(5, lines_[5 - 1].column,
            "the observer code " + diagnostics::quoted(parameters.observerCode) +
                " is a placeholder; write your AAVSO observer code");
    }
    parameters.variableStarId =
        text({6, "the star's name", aeff::fieldFacts(aeff::Field::STARID).maxLength, true});
    if (isPlaceholder(parameters.variableStarId) && !parameters.variableStarId.empty()) {
      error(6, lines_[6 - 1].column, "the star's name is a placeholder; write the star's name");
    }
    parameters.comparisonStarId =
        text({7, "the comparison star", aeff::fieldFacts(aeff::Field::CNAME).maxLength, true});
    parameters.comparisonMagnitude = magnitude(8, "the comparison star's magnitude").value_or(0.0);
    const std::size_t errorsBeforeFilter = errors_;
    parameters.filterName = text({9, "the filter", 0, true});
    const std::string& filter = parameters.filterName;
    // One message for a filter: an unprintable byte in it was named already.
    if (errors_ == errorsBeforeFilter && !filter.empty() && !aeff::isListedFilter(filter) &&
        !aeff::isKnownUnlistedFilter(filter)) {
      // The AAVSO refuses any other filter name, such as Rc, Ic or Clear.
      error(9, lines_[9 - 1].column,
            "the filter " + diagnostics::quoted(filter) +
                " is not one of the AAVSO's: use U, B, V, R, I, J, H, K, TG, TB, TR, CV, CR, "
                "SZ, SU, SG, SR, SI, STU, STV, STB, STY, STHBW, STHBN, MA, MB, MI, ZS, Y, HA or "
                "HAC (Rc is R, Ic is I, a clear filter is CV)");
    }
    parameters.chartId =
        orNa(text({10, "the chart", aeff::fieldFacts(aeff::Field::CHART).maxLength, false}));
    parameters.checkStarId =
        orNa(text({11, "the check star", aeff::fieldFacts(aeff::Field::KNAME).maxLength, false}));
    const bool checkStar = parameters.checkStarId != "na";
    const LineValue& checkLine = lines_[12 - 1];
    if (checkStar || (!checkLine.text.empty() && !isPlaceholder(checkLine.text))) {
      parameters.checkMagnitude = magnitude(12, "the check star's magnitude").value_or(0.0);
    }
    return errors_ == 0;
  }

 private:
  void error(std::uint64_t line, std::uint64_t column, std::string text) {
    ++errors_;
    findings_.error(file_, line, column, std::move(text));
  }

  // Checks every value alike: no comma (the report's delimiter), printable
  // ASCII only, not empty where required, within the AAVSO's length.
  std::string text(const TextLine& expected) {
    const LineValue& value = lines_[expected.number - 1];
    const std::string& text = value.text;
    if (!value.present) return {};
    if (text.empty()) {
      if (expected.required) {
        error(expected.number, 0,
              "line " + std::to_string(expected.number) + " must hold " +
                  std::string{expected.meaning} + ", but it is empty");
      }
      return text;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
      const auto byte = static_cast<unsigned char>(text[i]);
      if (byte == ',') {
        error(expected.number, value.column + i,
              std::string{expected.meaning} + " " + diagnostics::quoted(text) +
                  " holds a comma, which separates the report's fields; leave it out");
        return text;
      }
      if (byte < 0x20 || byte > 0x7E) {
        error(expected.number, value.column + i,
              std::string{expected.meaning} + " holds a byte that is not printable ASCII (" +
                  describeByte(byte) + "); the AAVSO accepts ASCII only");
        return text;
      }
    }
    if (expected.limit != 0 && text.size() > expected.limit) {
      error(expected.number, value.column,
            std::string{expected.meaning} + " " + diagnostics::quoted(text) + " has " +
                std::to_string(text.size()) + " characters; the AAVSO takes at most " +
                std::to_string(expected.limit));
    }
    return text;
  }

  static std::string describeByte(unsigned char byte) {
    constexpr char digits[] = "0123456789ABCDEF";
    return std::string{"0x"} + digits[byte >> 4] + digits[byte & 15];
  }

  std::optional<double> magnitude(std::size_t number, std::string_view meaning) {
    const LineValue& value = lines_[number - 1];
    if (!value.present || value.text.empty()) {
      error(number, 0,
            "line " + std::to_string(number) + " must hold " + std::string{meaning} +
                " as a number such as 12.345, but it is " + (value.present ? "empty" : "missing"));
      return std::nullopt;
    }
    const std::optional<double> magnitudeRead = readPlainDecimal(value.text);
    if (!magnitudeRead) {
      error(number, value.column,
            std::string{meaning} + " " + diagnostics::quoted(value.text) +
                " is not a plain decimal number; write it like 12.345 (a point, no comma, "
                "nothing else on the line)");
    }
    return magnitudeRead;
  }

  static std::string orNa(const std::string& text) {
    return text.empty() ? std::string{"na"} : text;
  }

  const std::string& file_;
  DiagnosticSink& findings_;
  std::array<LineValue, parameterLineCount> lines_{};
  std::size_t count_ = 0;
  std::size_t errors_ = 0;
};

}  // namespace

bool readParameterLines(const std::string& file, ObserverParameters& parameters,
                        diagnostics::DiagnosticSink& findings) {
  ParameterReader reader{file, findings};
  return reader.read(parameters);
}

}  // namespace varistellar::run
