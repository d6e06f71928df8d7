// The parameter file, read strictly.
#include "night/parameter_file.h"

#include <array>
#include <optional>
#include <string_view>

#include "aeff/format.h"
#include "aeff/plain_decimal.h"
#include "aeff/vocabulary.h"
#include "diagnostics/quoted.h"
#include "night/aperture_lines.h"
#include "night/input_file.h"
#include "night/parameter_lines.h"
#include "textio/line_reader.h"

namespace varistellar::night {
namespace {

using diagnostics::DiagnosticSink;

// The check star's two lines may be left out.
constexpr std::size_t requiredLineCount = lineNumber(ParameterLine::chart);

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

// One text line of the file: which it is, its longest AAVSO value, and
// whether it may be empty.
struct TextLine {
  ParameterLine line;
  std::size_t limit;  // 0: none
  bool required;
};

class ParameterReader {
 public:
  ParameterReader(const std::string& file, DiagnosticSink& findings)
      : file_{file}, findings_{findings} {}

  bool read(NightParameters& parameters) {
    textio::LineReader reader{file_};
    if (const auto fault = unreadableAsLines(file_, reader, parameterFile)) {
      error(0, 0, *fault);
      return false;
    }
    std::string_view line;
    while (count_ < parameterLineCount && reader.next(line)) lines_[count_++] = trimmed(line);
    while (count_ == parameterLineCount && reader.next(line)) {
      apertureLine(line, reader.lineNumber(), parameters);
    }
    if (const auto fault = readingFault(reader, parameterFile)) {
      error(fault->line, 0, fault->text);
      return false;
    }
    if (count_ < requiredLineCount) {
      error(0, 0,
            "the parameter file ends after line " + std::to_string(count_) +
                "; it needs 4 header lines, then the observer code, the star, the comparison "
                "star, its magnitude, the filter, the chart, the check star and its magnitude");
      return false;
    }

    using enum ParameterLine;
    parameters.observerCode = text({observerCode, 0, true});
    if (valueOf(observerCode).present && aeff::isPlaceholder(parameters.observerCode)) {
      error(lineNumber(observerCode), valueOf(observerCode).column,
            "the observer code " + diagnostics::quoted(parameters.observerCode) +
                " is a placeholder; write your AAVSO observer code");
    }
    parameters.variableStarId = text({star, aeff::fieldFacts(aeff::Field::STARID).maxLength, true});
    if (aeff::isPlaceholder(parameters.variableStarId) && !parameters.variableStarId.empty()) {
      error(lineNumber(star), valueOf(star).column,
            "the star's name is a placeholder; write the star's name");
    }
    parameters.comparisonStarId =
        text({comparisonStar, aeff::fieldFacts(aeff::Field::CNAME).maxLength, true});
    if (parameters.comparisonStarId == ensembleName &&
        isEmptyOrNa(valueOf(comparisonMagnitude).text)) {
      // The table gives an ensemble's magnitude row by row.
      parameters.comparisonMagnitudeGiven = false;
    } else {
      parameters.comparisonMagnitude = magnitude(comparisonMagnitude).value_or(0.0);
    }
    const std::size_t errorsBeforeFilter = errors_;
    parameters.filterName = text({filter, 0, true});
    const std::string& filterName = parameters.filterName;
    // One message for a filter: an unprintable byte in it was named already.
    if (errors_ == errorsBeforeFilter && !filterName.empty() && !aeff::isListedFilter(filterName) &&
        !aeff::isKnownUnlistedFilter(filterName)) {
      // The AAVSO refuses any other filter name, such as Rc, Ic or Clear.
      error(lineNumber(filter), valueOf(filter).column,
            "the filter " + diagnostics::quoted(filterName) + " is not one of the AAVSO's: use " +
                aeff::filterListText() + " (Rc is R, Ic is I, a clear filter is CV)");
    }
    parameters.chartId = orNa(text({chart, aeff::fieldFacts(aeff::Field::CHART).maxLength, false}));
    const std::string checkStarId =
        text({checkStar, aeff::fieldFacts(aeff::Field::KNAME).maxLength, false});
    const bool named = !checkStarId.empty() && !aeff::isPlaceholder(checkStarId);
    const LineValue& magnitudeLine = valueOf(checkMagnitude);
    if (named || (!magnitudeLine.text.empty() && !aeff::isPlaceholder(magnitudeLine.text))) {
      const double catalogue = this->magnitude(checkMagnitude).value_or(0.0);
      if (named) parameters.checkStar = CheckStar{checkStarId, catalogue};
    }
    return errors_ == 0;
  }

 private:
  void apertureLine(std::string_view text, std::uint64_t number, NightParameters& parameters) {
    ApertureLineReading reading = readApertureLine(text, number);
    if (auto* aperture = std::get_if<ApertureLine>(&reading)) {
      parameters.apertures.push_back(std::move(*aperture));
    } else if (auto* fault = std::get_if<ApertureLineFault>(&reading)) {
      error(number, 0, std::move(fault->text));
    }
  }

  static bool isEmptyOrNa(std::string_view text) {
    return text.empty() || text == "na" || text == "NA";
  }

  void error(std::uint64_t line, std::uint64_t column, std::string text) {
    ++errors_;
    findings_.error(file_, line, column, std::move(text));
  }

  const LineValue& valueOf(ParameterLine which) const {
    return lines_[static_cast<std::size_t>(lineNumber(which) - 1)];
  }

  // Checks every value alike: no comma (the report's delimiter), printable
  // ASCII only, not empty where required, within the AAVSO's length.
  std::string text(const TextLine& expected) {
    const LineValue& value = valueOf(expected.line);
    const std::uint64_t number = lineNumber(expected.line);
    const std::string_view meaning = parameterLine(expected.line).meaning;
    const std::string& text = value.text;
    if (!value.present) return {};
    if (text.empty()) {
      if (expected.required) {
        error(number, 0,
              "line " + std::to_string(number) + " must hold " + std::string{meaning} +
                  ", but it is empty");
      }
      return text;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
      const auto byte = static_cast<unsigned char>(text[i]);
      if (byte == ',') {
        error(number, value.column + i,
              std::string{meaning} + " " + diagnostics::quoted(text) +
                  " holds a comma, which separates the report's fields; leave it out");
        return text;
      }
      if (byte < 0x20 || byte > 0x7E) {
        error(number, value.column + i,
              std::string{meaning} + " holds a byte that is not printable ASCII (" +
                  aeff::byteName(byte) + "); the AAVSO accepts ASCII only");
        return text;
      }
    }
    if (expected.limit != 0 && text.size() > expected.limit) {
      error(number, value.column,
            std::string{meaning} + " " + diagnostics::quoted(text) + " has " +
                std::to_string(text.size()) + " characters; the AAVSO takes at most " +
                std::to_string(expected.limit));
    }
    return text;
  }

  std::optional<double> magnitude(ParameterLine which) {
    const LineValue& value = valueOf(which);
    const std::uint64_t number = lineNumber(which);
    const std::string_view meaning = parameterLine(which).meaning;
    if (!value.present || value.text.empty()) {
      error(number, 0,
            "line " + std::to_string(number) + " must hold " + std::string{meaning} +
                " as a number such as 12.345, but it is " + (value.present ? "empty" : "missing"));
      return std::nullopt;
    }
    const std::optional<double> magnitudeRead = aeff::readPlainDecimal(value.text);
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

ParameterReading readParameterFile(const std::string& file, diagnostics::DiagnosticSink& findings) {
  ParameterReader reader{file, findings};
  ParameterReading reading;
  reading.ok = reader.read(reading.parameters);
  return reading;
}

std::string_view checkStarName(const NightParameters& parameters) {
  return parameters.checkStar ? std::string_view{parameters.checkStar->id} : "na";
}

bool isParameterFileBeginning(std::string_view beginning) {
  constexpr std::size_t fewestLines = parameterLineCount - 2;
  constexpr std::size_t mostLines = 64;
  constexpr std::size_t longestLine = 100;
  std::size_t lines = 0;
  std::size_t start = 0;
  while (start < beginning.size()) {
    std::size_t end = beginning.find('\n', start);
    if (end == std::string_view::npos) end = beginning.size();
    if (end - start > longestLine || ++lines > mostLines) return false;
    start = end + 1;
  }
  return lines >= fewestLines;
}

}  // namespace varistellar::night
