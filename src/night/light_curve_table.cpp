// The light-curve table, read strictly.
#include "night/light_curve_table.h"

#include <array>
#include <memory>
#include <optional>
#include <string_view>

#include "aeff/plain_decimal.h"
#include "diagnostics/quoted.h"
#include "night/input_file.h"
#include "night/series_outlet.h"
#include "textio/fields.h"
#include "textio/line_reader.h"

namespace varistellar::night {
namespace {

constexpr std::size_t valuesPerLine = 10;
constexpr std::array<std::string_view, valuesPerLine> columnNames = {
    "JDHEL", "V-C", "s1", "V-K1", "s2", "C1-K1", "s3", "HELCOR", "AIRMASS", "ALTITUDE"};

// The findings that can repeat on every line of a table that is not one.
constexpr diagnostics::FindingKind notPlainDecimal{"more value is not a plain decimal number",
                                                   "more values are not plain decimal numbers"};
constexpr diagnostics::FindingKind wrongValueCount{
    "more line holds another number of values than ten",
    "more lines hold another number of values than ten"};

bool isSeparator(char byte) { return byte == ' ' || byte == '\t'; }

// MAGNIVEX writes 99.999 for a magnitude it could not measure: a V-C above
// this was not measured and is dropped, a C1-K1 above it leaves the check
// star unmeasured.
constexpr double notMeasuredAbove = 90.0;

// A value's text and the column it starts in, from 1.
struct Token {
  std::string_view text;
  std::uint64_t column = 0;
};

class TableReader {
 public:
  explicit TableReader(const SeriesOutlet& out) : out_{out} {}

  bool read() {
    textio::LineReader reader{out_.file};
    if (const auto fault = unreadableAsLines(out_.file, reader, lightCurveTable)) {
      out_.error(0, 0, *fault);
      return false;
    }
    std::string_view line;
    while (!stopped_ && reader.next(line)) {
      const std::uint64_t number = reader.lineNumber();
      if (number == 1 && !line.starts_with("JDHEL")) {
        out_.warning(1, 0,
                     "the first header line does not begin with JDHEL; is this a MAGNIVEX "
                     "light-curve table?");
      }
      if (number <= 2) continue;
      observationLine(line, number);
    }
    if (const auto fault = readingFault(reader, lightCurveTable)) {
      out_.error(fault->line, 0, fault->text);
      return false;
    }
    if (!stopped_ && reader.lineNumber() < 2) {
      out_.error(
          0, 0,
          reader.lineNumber() == 0
              ? "the table is empty; it needs two header lines, then one observation per line"
              : "the table ends after its first line; it needs two header lines, then one "
                "observation per line");
    }
    return !stopped_ && out_.counts.errors == 0;
  }

  // The values of a line that holds plain decimal numbers only, at most ten
  // of them, read in one pass over its bytes; how many there are. Nothing for
  // any other line, whose faults reportFaults then names.
  static std::optional<std::size_t> readPlainValues(std::string_view line,
                                                    std::array<double, valuesPerLine>& values);

 private:
  // Stops the reading when the sink cannot take the observation or the line
  // shows that the file is no text.
  void observationLine(std::string_view line, std::uint64_t number) {
    std::array<double, valuesPerLine> values{};
    const std::optional<std::size_t> count = readPlainValues(line, values);
    if (!count.has_value()) {
      if (line.find('\0') != std::string_view::npos) {
        out_.error(number, 0, nulByteMessage(lightCurveTable));
        stopped_ = true;
        return;
      }
      ++out_.counts.observationLines;
      reportFaults(line, number);
      return;
    }
    if (*count == 0) return;  // a blank line
    ++out_.counts.observationLines;
    if (*count != valuesPerLine) {
      reportValueCount(number, *count);
      return;
    }
    // JDHEL V-C s1 V-K1 s2 C1-K1 s3 HELCOR AIRMASS ALTITUDE
    const double V_C = values[1];
    const double C1_K1 = values[5];
    if (V_C > notMeasuredAbove) {
      ++out_.counts.dropped;
      return;
    }
    ++out_.counts.kept;
    Measurement measurement{.HJD = values[0],
                            .HELCOR = values[7],
                            .difference = V_C,
                            .error = values[2],
                            .checkError = values[6],
                            .AIRMASS = values[8],
                            .line = number};
    if (!(C1_K1 > notMeasuredAbove)) measurement.checkDifference = -C1_K1;
    stopped_ = !out_.sink.take(measurement);
  }

  // Names every value of the line that is not a plain decimal number; when
  // all are, the line has the wrong number of them.
  void reportFaults(std::string_view line, std::uint64_t number) {
    std::size_t count = 0;
    bool plain = true;
    for (std::size_t i = 0; i < line.size();) {
      if (isSeparator(line[i])) {
        ++i;
        continue;
      }
      std::size_t end = i;
      while (end < line.size() && !isSeparator(line[end])) ++end;
      const Token token{line.substr(i, end - i), i + 1};
      if (!aeff::isPlainDecimal(token.text)) {
        plain = false;
        std::string text = diagnostics::quoted(token.text);
        text.append(valueName(count));
        text.append(" is not a plain decimal number").append(hint(token.text));
        out_.error(number, token.column, std::move(text), &notPlainDecimal);
      }
      ++count;
      i = end;
    }
    if (plain) reportValueCount(number, count);
  }

  void reportValueCount(std::uint64_t number, std::size_t count) {
    out_.error(number, 0,
               "the line holds " + std::to_string(count) + (count == 1 ? " value" : " values") +
                   "; an observation line holds ten: JDHEL V-C s1 V-K1 s2 C1-K1 s3 HELCOR "
                   "AIRMASS ALTITUDE",
               &wrongValueCount);
  }

  static std::string valueName(std::size_t index) {
    std::string name{" (value "};
    name.append(std::to_string(index + 1));
    if (index < valuesPerLine) name.append(", ").append(columnNames[index]);
    return name.append(")");
  }

  // What the text most likely is, so that the user knows what to fix.
  static std::string hint(std::string_view text) {
    if (text.find(',') != std::string_view::npos) {
      return "; write a point for the decimals, not a comma";
    }
    if (text.find_first_of("+-", 1) != std::string_view::npos) {
      return "; two numbers run together? Put a blank between them";
    }
    return "";
  }

  SeriesOutlet out_;
  bool stopped_ = false;  // the sink is full, or the file is no text
};

std::optional<std::size_t> TableReader::readPlainValues(std::string_view line,
                                                        std::array<double, valuesPerLine>& values) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < line.size();) {
    if (isSeparator(line[i])) {
      ++i;
      continue;
    }
    const textio::PlainDecimalPrefix value = textio::readPlainDecimalPrefix(line.substr(i));
    i += value.length;
    if (!value.ok || (i < line.size() && !isSeparator(line[i])) || count == valuesPerLine) {
      return std::nullopt;
    }
    values[count++] = value.value;
  }
  return count;
}

// MAGNIVEX's own first line, or a line past the header of ten numbers.
bool isLightCurveTable(std::string_view beginning) {
  if (beginning.starts_with("JDHEL")) return true;
  std::size_t start = 0;
  for (std::uint64_t number = 1; start < beginning.size(); ++number) {
    std::size_t end = beginning.find('\n', start);
    if (end == std::string_view::npos) end = beginning.size();
    std::string_view line = beginning.substr(start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    std::array<double, valuesPerLine> values{};
    if (number > 2 && TableReader::readPlainValues(line, values) == valuesPerLine) return true;
    start = end + 1;
  }
  return false;
}

std::unique_ptr<SeriesReader> openLightCurveTable(std::string file) {
  return std::make_unique<LightCurveTableReader>(std::move(file));
}

constexpr std::array<std::string_view, 1> lightCurveTableNames = {"lightcurve.txt"};

}  // namespace

const TableFormat magnivexLightCurveTable{
    .program = magnivexProgram,
    .words = {.table = "light-curve table",
              .date = "JDHEL",
              .difference = "V-C",
              .checkDifference = "C1-K1",
              .airmass = "AIRMASS",
              .dropped = "V-C above 90",
              .checkUnmeasured = "C1-K1 above 90"},
    .fileNames = lightCurveTableNames,
    .identify = isLightCurveTable,
    .open = openLightCurveTable,
};

bool LightCurveTableReader::read(MeasurementSink& sink, diagnostics::DiagnosticSink& findings,
                                 SeriesCounts& counts) {
  TableReader reader{{file_, sink, findings, counts}};
  return reader.read();
}

}  // namespace varistellar::night
