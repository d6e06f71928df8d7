// Siril's light curve, read strictly.
#include "night/siril_light_curve.h"

#include <array>
#include <cmath>
#include <limits>
#include <memory>

#include "aeff/format.h"
#include "diagnostics/quoted.h"
#include "night/input_file.h"
#include "night/parameter_lines.h"
#include "night/series_outlet.h"
#include "night/table_row.h"
#include "textio/line_reader.h"

namespace varistellar::night {
namespace {

constexpr InputFile sirilTable{"the Siril light curve", "a Siril light curve",
                               "the light curve that Siril saves"};

constexpr std::array<std::string_view, 3> columnWords = {"JD_UT", "V-C", "err"};

constexpr diagnostics::FindingKind notNumber{"more value is not a number",
                                             "more values are not numbers"};
constexpr diagnostics::FindingKind wrongCount{
    "more line holds another number of values than three",
    "more lines hold another number of values than three"};

// Siril writes 9.999 for a failed measurement's error.
constexpr double failedErrorAbove = 9.99;
constexpr double notMeasuredAbove = 90.0;

bool isBlank(char byte) { return byte == ' ' || byte == '\t'; }

bool isAlphanumeric(char byte) {
  return (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') ||
         (byte >= 'a' && byte <= 'z');
}

// Up to eight blank-separated words of a line.
struct Words {
  std::array<std::string_view, 8> words{};
  std::size_t count = 0;
};

Words wordsOf(std::string_view line) {
  Words words;
  for (std::size_t i = 0; i < line.size();) {
    if (isBlank(line[i])) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < line.size() && !isBlank(line[end])) ++end;
    if (words.count == words.words.size()) {
      ++words.count;  // more than it holds
      break;
    }
    words.words[words.count++] = line.substr(i, end - i);
    i = end;
  }
  return words;
}

std::unique_ptr<SeriesReader> openSirilLightCurve(std::string file) {
  return std::make_unique<SirilLightCurveReader>(std::move(file));
}

constexpr std::array<std::string_view, 1> sirilNames = {"light_curve.dat"};

}  // namespace

void readSirilHeaderLine(std::string_view line, SirilHeader& header) {
  line.remove_prefix(1);  // the '#'
  const Words words = wordsOf(line);
  const auto& w = words.words;
  if (words.count >= 3 && w[0] == "JD_UT" && w[1] == "(+") {
    std::string_view number = w[2];
    if (number.ends_with(')')) number.remove_suffix(1);
    const FieldNumber offset = readFieldNumber(number);
    if (offset.kind == FieldNumber::Kind::number) header.offset = offset.value;
  }
  const std::size_t after = words.count >= 3 && w[1] == "(+" ? 3 : 1;
  if (words.count == after + 2 && w[0] == "JD_UT" && w[after] == "V-C" && w[after + 1] == "err") {
    header.titled = true;
  }
  constexpr std::string_view chartWords = "AAVSO chart ";
  const std::size_t chart = line.find(chartWords);
  if (chart != std::string_view::npos) {
    // The chart's ID is letters and digits; what follows it (a bracket, a
    // comma) is the sentence's.
    const std::string_view named = line.substr(chart + chartWords.size());
    const std::size_t longest = aeff::fieldFacts(aeff::Field::CHART).maxLength;
    std::size_t end = 0;
    while (end < named.size() && end < longest && isAlphanumeric(named[end])) ++end;
    if (end != 0) header.chart = std::string{named.substr(0, end)};
  }
}

bool isSirilLightCurveBeginning(std::string_view beginning) {
  SirilHeader header;
  std::size_t start = 0;
  while (start < beginning.size() && beginning[start] == '#') {
    std::size_t end = beginning.find('\n', start);
    if (end == std::string_view::npos) end = beginning.size();
    std::string_view line = beginning.substr(start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    readSirilHeaderLine(line, header);
    if (header.titled) return true;
    start = end + 1;
  }
  return false;
}

std::optional<NightShape> SirilLightCurveReader::prepare(const NightRequest& request,
                                                         diagnostics::DiagnosticSink& findings) {
  const NightParameters& parameters = request.parameters;
  bool good = noApertureLines(request, "Siril", findings);
  if (!parameters.comparisonMagnitudeGiven) {
    findings.error(request.parameterFile, lineNumber(ParameterLine::comparisonMagnitude), 0,
                   "line 8 must hold the catalogue magnitude V-C was measured against (the "
                   "comparison star's, or the ensemble's as Siril was given it)");
    good = false;
  }
  if (request.dateGiven && !request.julianDate) {
    findings.error(file_, 0, 0, "--date HJD: the Siril light curve has JD_UT only, no HJD");
    good = false;
  }
  if (request.checkStar) {
    findings.error(file_, 0, 0, "--check-star: the Siril light curve measures no check star");
    good = false;
  } else if (parameters.checkStar) {
    findings.warning(request.parameterFile, lineNumber(ParameterLine::checkStar), 0,
                     "the check star " + parameters.checkStar->id +
                         " is not in the Siril light curve, which measures none: KNAME and "
                         "KMAG are na");
  }
  if (!good) return std::nullopt;
  textio::LineReader reader{file_};
  SirilHeader header;
  std::string_view line;
  while (reader.next(line) && line.starts_with('#')) readSirilHeaderLine(line, header);
  return NightShape{.julianDate = true,
                    .ensemble = parameters.comparisonStarId == ensembleName,
                    .checkStarMeasured = false,
                    .chart = header.chart};
}

namespace {

class SirilReader {
 public:
  explicit SirilReader(const SeriesOutlet& out) : out_{out} {}

  bool read() {
    textio::LineReader reader{out_.file};
    if (const auto fault = unreadableAsLines(out_.file, reader, sirilTable)) {
      out_.error(0, 0, *fault);
      return false;
    }
    std::string_view line;
    bool taken = true;
    while (taken && reader.next(line)) {
      if (line.starts_with('#')) {
        readSirilHeaderLine(line, header_);
        continue;
      }
      if (line.find('\0') != std::string_view::npos) {
        out_.error(reader.lineNumber(), 0, nulByteMessage(sirilTable));
        return false;
      }
      taken = dataLine(line, reader.lineNumber());
    }
    if (const auto fault = readingFault(reader, sirilTable)) {
      out_.error(fault->line, 0, fault->text);
      return false;
    }
    return taken && out_.counts.errors == 0;
  }

 private:
  bool dataLine(std::string_view line, std::uint64_t number) {
    const Words words = wordsOf(line);
    if (words.count == 0) return true;
    ++out_.counts.observationLines;
    if (words.count != columnWords.size()) {
      out_.error(number, 0,
                 "the line holds " + std::to_string(words.count) +
                     (words.count > words.words.size() ? " or more values" : " values") +
                     "; a data line holds three: JD_UT V-C err",
                 &wrongCount);
      return true;
    }
    std::array<double, 3> values{};
    bool good = true;
    bool missing = false;
    for (std::size_t i = 0; i < values.size(); ++i) {
      const FieldNumber value = readFieldNumber(words.words[i]);
      if (value.kind == FieldNumber::Kind::notNumber) {
        out_.error(number, static_cast<std::uint64_t>(words.words[i].data() - line.data()) + 1,
                   diagnostics::quoted(words.words[i]) + " (" + std::string{columnWords[i]} +
                       ") is not a number",
                   &notNumber);
        good = false;
      }
      missing = missing || value.kind == FieldNumber::Kind::missing;
      values[i] = value.value;
    }
    if (!good) return true;
    // A missing value (NaN) leaves the row unmeasured.
    if (missing) {
      ++out_.counts.dropped;
      return true;
    }
    return take(values, number);
  }

  bool take(const std::array<double, 3>& values, std::uint64_t number) {
    const auto [date, difference, differenceError] = values;
    const double julianDate = date < 2400000.0 ? date + header_.offset : date;
    if (difference > notMeasuredAbove || differenceError > failedErrorAbove ||
        !std::isfinite(julianDate)) {
      ++out_.counts.dropped;
      return true;
    }
    ++out_.counts.kept;
    return out_.sink.take(Measurement{.HJD = julianDate,
                                      .difference = difference,
                                      .error = differenceError,
                                      .AIRMASS = std::numeric_limits<double>::quiet_NaN(),
                                      .line = number});
  }

  SeriesOutlet out_;
  SirilHeader header_;
};

}  // namespace

bool SirilLightCurveReader::read(MeasurementSink& sink, diagnostics::DiagnosticSink& findings,
                                 SeriesCounts& counts) {
  SirilReader reader{{file_, sink, findings, counts}};
  return reader.read();
}

const TableFormat sirilLightCurve{
    .program = "Siril",
    .words = {.table = "Siril light curve",
              .date = "JD_UT",
              .difference = "V-C",
              .checkDifference = "V-C",
              .airmass = "AIRMASS",
              .dropped = "V-C above 90 or err above 9.99",
              .checkUnmeasured = "no check star in the light curve"},
    .fileNames = sirilNames,
    .identify = isSirilLightCurveBeginning,
    .open = openSirilLightCurve,
};

}  // namespace varistellar::night
