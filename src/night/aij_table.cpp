// The AstroImageJ measurement table, read strictly.
#include "night/aij_table.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <span>
#include <vector>

#include "diagnostics/quoted.h"
#include "night/aij_rows.h"
#include "night/input_file.h"
#include "night/series_outlet.h"
#include "night/table_row.h"
#include "textio/exact_decimal.h"
#include "textio/line_reader.h"

namespace varistellar::night {
namespace {

// Tables of many apertures run to tens of kilobytes a row.
constexpr std::size_t longestRow = 1U << 20U;

constexpr InputFile aijTable{"the AstroImageJ table", "an AstroImageJ measurement table",
                             "the measurement table that AstroImageJ saves"};

constexpr diagnostics::FindingKind notNumber{"more value is not a number",
                                             "more values are not numbers"};

bool isPassedOver(std::string_view line) {
  const std::size_t first = line.find_first_not_of(" \t");
  return first == std::string_view::npos || line[first] == '#';
}

// Reads up to the column-title line; its line number, 0 when there is none.
std::uint64_t toTitleLine(textio::LineReader& reader, std::string_view& line) {
  while (reader.next(line)) {
    if (!isPassedOver(line)) return reader.lineNumber();
  }
  return 0;
}

std::string shown(double value) { return textio::formatExactFixed(value, 3); }

std::unique_ptr<SeriesReader> openAijTable(std::string file) {
  return std::make_unique<AijTableReader>(std::move(file));
}

constexpr std::array<std::string_view, 0> aijTableNames = {};

}  // namespace

bool isAijTableBeginning(std::string_view beginning) {
  std::size_t start = 0;
  while (start < beginning.size()) {
    std::size_t end = beginning.find('\n', start);
    // A title line cut by the end of the beginning is looked at as far as it goes.
    if (end == std::string_view::npos) end = beginning.size();
    std::string_view line = beginning.substr(start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (!isPassedOver(line)) return areAijTitles(columnTitles(line));
    start = end + 1;
  }
  return false;
}

std::optional<NightShape> AijTableReader::prepare(const NightRequest& request,
                                                  diagnostics::DiagnosticSink& findings) {
  textio::LineReader reader{file_, longestRow};
  if (const auto fault = unreadableAsLines(file_, reader, aijTable)) {
    findings.error(file_, 0, 0, *fault);
    return std::nullopt;
  }
  std::string_view line;
  titleLine_ = toTitleLine(reader, line);
  if (titleLine_ == 0) {
    findings.error(file_, 0, 0, "the table holds no column-title line");
    return std::nullopt;
  }
  const std::vector<std::string> titles = columnTitles(line);
  columns_ = aijColumns(titles, separatorOf(line), titleLine_, request, file_, findings);
  if (!columns_) return std::nullopt;
  const FirstLook look = lookAtRows(!request.julianDate && columns_->hjd != noColumn);
  if (!chooseDate(request, look, findings)) return std::nullopt;
  compareReferences(look, findings);
  NightShape shape{.julianDate = julianDate_, .ensemble = columns_->ensemble()};
  shape.reference = columns_->fixedReference ? columns_->fixedReference : look.tableReference;
  shape.ensembleStars = ensembleStars(look);
  countsWanted_ = !shape.ensembleStars.empty();
  return shape;
}

std::vector<EnsembleStar> AijTableReader::ensembleStars(const FirstLook& look) const {
  const AijColumns& columns = *columns_;
  const std::vector<double>& magnitudes = columns.comparisonMagnitudes.empty()
                                              ? look.comparisonMagnitudes
                                              : columns.comparisonMagnitudes;
  std::vector<EnsembleStar> stars;
  if (!columns.ensemble() || magnitudes.size() != columns.comparisons.size()) return stars;
  for (std::size_t i = 0; i < magnitudes.size(); ++i) {
    stars.push_back({columns.comparisons[i].aperture, magnitudes[i]});
  }
  return stars;
}

namespace {

// The comparison stars' entered magnitudes on a row, when each is a number.
std::vector<double> enteredMagnitudes(const AijColumns& columns, const TableRow& row) {
  std::vector<double> magnitudes;
  for (const AijStar& star : columns.comparisons) {
    if (star.catalogue == noColumn) return {};
    const FieldNumber magnitude = readFieldNumber(row[star.catalogue]);
    if (magnitude.kind != FieldNumber::Kind::number) return {};
    magnitudes.push_back(magnitude.value);
  }
  return magnitudes;
}

// The last column a first look reads: the night's, and the entered magnitudes.
std::size_t lastColumnLookedAt(const AijColumns& columns) {
  std::size_t last = columns.lastColumn;
  for (const AijStar& star : columns.comparisons) {
    if (star.catalogue != noColumn) last = std::max(last, star.catalogue);
  }
  return last;
}

}  // namespace

AijTableReader::FirstLook AijTableReader::lookAtRows(bool wantHJD) const {
  FirstLook look;
  textio::LineReader reader{file_, longestRow};
  std::string_view line;
  if (toTitleLine(reader, line) == 0) return look;
  TableRow row{columns_->separator, lastColumnLookedAt(*columns_)};
  // Past the first kept row only the HJD column is split out, and a row
  // without it is read whole only then.
  TableRow dates{columns_->separator, wantHJD ? columns_->hjd : 0};
  AijRow values;
  std::size_t faultColumn = 0;
  while (reader.next(line)) {
    if (isPassedOver(line)) continue;
    if (look.firstKept != 0) {
      if (!wantHJD) break;
      dates.split(line);
      if (readFieldNumber(dates[columns_->hjd]).kind == FieldNumber::Kind::number) continue;
    }
    row.split(line);
    if (evaluateAijRow(*columns_, row, values, faultColumn) != RowFate::kept) continue;
    if (look.firstKept == 0) {
      look.firstKept = reader.lineNumber();
      look.tableReference = values.tableReference;
      look.comparisonMagnitudes = enteredMagnitudes(*columns_, row);
    }
    if (wantHJD && !values.HJD) {
      look.withoutHJD = reader.lineNumber();
      break;
    }
  }
  return look;
}

// HJD when every kept row has one, else JD with a note that says why.
bool AijTableReader::chooseDate(const NightRequest& request, const FirstLook& look,
                                diagnostics::DiagnosticSink& findings) {
  const AijColumns& columns = *columns_;
  std::string why;
  if (!request.julianDate) {
    if (columns.hjd == noColumn) {
      why = "the table has no HJD_UTC or HJD_MOBS column";
    } else if (look.withoutHJD != 0) {
      why = "line " + std::to_string(look.withoutHJD) + ", a kept row, has no " +
            columns.title(columns.hjd);
    }
  }
  julianDate_ = request.julianDate || !why.empty();
  if (!why.empty() && request.dateGiven) {
    findings.error(file_, 0, 0, "--date HJD needs an HJD on every kept row, but " + why);
    return false;
  }
  if (julianDate_ && columns.jd == noColumn) {
    findings.error(file_, titleLine_, 0,
                   (why.empty() ? std::string{"--date JD"} : why) +
                       ": the report's date would be JD, but the table has no JD_UTC, JD_MOBS or "
                       "J.D.-2400000 column");
    return false;
  }
  if (!why.empty()) {
    findings.report({file_, 0, 0, diagnostics::Severity::note,
                     why + ": the report's dates are JD, from " + columns.title(columns.jd)});
  }
  return true;
}

void AijTableReader::compareReferences(const FirstLook& look,
                                       diagnostics::DiagnosticSink& findings) const {
  const AijColumns& columns = *columns_;
  if (!columns.comparedReference || !look.tableReference ||
      std::fabs(*columns.comparedReference - *look.tableReference) <= 0.001) {
    return;
  }
  const std::string given = columns.recomputed ? "the comparison lines of the parameter file give "
                                               : "line 8 of the parameter file gives ";
  findings.warning(file_, look.firstKept, 0,
                   given + "the comparison's magnitude as " + shown(*columns.comparedReference) +
                       ", but the table's own ensemble magnitude (Source_AMag_" +
                       columns.target.aperture + " + 2.5 log10(rel_flux_" +
                       columns.target.aperture + ")) is " + shown(*look.tableReference) +
                       " on its first kept row");
}

namespace {

// The rows, one line at a time, each split once into the one row of fields.
class RowReader {
 public:
  RowReader(const SeriesOutlet& out, const AijColumns& columns, bool julianDate, bool countsWanted)
      : out_{out},
        columns_{columns},
        julianDate_{julianDate},
        comparisonCounts_(countsWanted ? columns.comparisons.size() : 0),
        row_{columns.separator, columns.lastColumn} {}

  bool read() {
    textio::LineReader reader{out_.file, longestRow};
    std::string_view line;
    if (toTitleLine(reader, line) == 0) return false;
    bool taken = true;
    while (taken && reader.next(line)) {
      if (isPassedOver(line)) continue;
      if (line.find('\0') != std::string_view::npos) {
        error(reader.lineNumber(), nulByteMessage(aijTable));
        return false;
      }
      taken = rowLine(line, reader.lineNumber());
    }
    if (const auto fault = readingFault(reader, aijTable)) {
      error(fault->line, fault->line == 0 ? fault->text
                                          : "the line is longer than a mebibyte, so the file "
                                            "does not look like an AstroImageJ table; it is "
                                            "read no further");
      return false;
    }
    warnDropped();
    return taken && out_.counts.errors == 0;
  }

 private:
  bool rowLine(std::string_view line, std::uint64_t number) {
    ++out_.counts.observationLines;
    row_.split(line);
    std::size_t faultColumn = 0;
    switch (evaluateAijRow(columns_, row_, values_, faultColumn)) {
      case RowFate::fault:
        error(number,
              diagnostics::quoted(row_[faultColumn]) + " in column " + columns_.title(faultColumn) +
                  " is not a number",
              &notNumber);
        return true;
      case RowFate::dropped: drop(number); return true;
      case RowFate::kept: break;
    }
    const std::optional<double> date = julianDate_ ? values_.JD : values_.HJD;
    if (!date) {
      drop(number);
      return true;
    }
    ++out_.counts.kept;
    Measurement measurement{
        .HJD = *date,
        .HELCOR = !julianDate_ && values_.JD ? *values_.HJD - *values_.JD : 0.0,
        .difference = values_.difference,
        .error = values_.error,
        .checkDifference = values_.checkDifference,
        .checkError = values_.checkError,
        .AIRMASS = values_.AIRMASS,
        .reference = columns_.fixedReference ? columns_.fixedReference : values_.tableReference,
        .comparisonCounts = readComparisonCounts(),
        .line = number};
    return out_.sink.take(measurement);
  }

  // Each comparison star's net counts on the row split last; NaN for one
  // that is not a number.
  std::span<const double> readComparisonCounts() {
    for (std::size_t i = 0; i < comparisonCounts_.size(); ++i) {
      const FieldNumber counts = readFieldNumber(row_[columns_.comparisons[i].counts]);
      comparisonCounts_[i] = counts.kind == FieldNumber::Kind::number
                                 ? counts.value
                                 : std::numeric_limits<double>::quiet_NaN();
    }
    return comparisonCounts_;
  }

  void drop(std::uint64_t number) {
    if (out_.counts.dropped++ == 0) firstDropped_ = number;
  }

  void warnDropped() {
    if (out_.counts.dropped == 0) return;
    out_.warning(firstDropped_, 0,
                 std::to_string(out_.counts.dropped) +
                     (out_.counts.dropped == 1 ? " row was" : " rows were") +
                     " dropped, this the first: a value the night needs is NaN or empty, or "
                     "a count is not above 0");
  }

  // The rows' errors name their line only.
  void error(std::uint64_t line, std::string text, const diagnostics::FindingKind* kind = nullptr) {
    out_.error(line, 0, std::move(text), kind);
  }

  SeriesOutlet out_;
  const AijColumns& columns_;
  bool julianDate_;
  std::vector<double> comparisonCounts_;
  TableRow row_;
  AijRow values_;
  std::uint64_t firstDropped_ = 0;
};

}  // namespace

bool AijTableReader::read(MeasurementSink& sink, diagnostics::DiagnosticSink& findings,
                          SeriesCounts& counts) {
  if (!columns_) return false;  // prepare said why
  RowReader reader{{file_, sink, findings, counts}, *columns_, julianDate_, countsWanted_};
  return reader.read();
}

const TableFormat aijMeasurementTable{
    .program = "AstroImageJ",
    .words = {.table = "AstroImageJ table",
              .date = "JD_UTC",
              .difference = "rel_flux_T1",
              .checkDifference = "rel_flux_T2",
              .airmass = "AIRMASS",
              .dropped = "a needed value NaN, empty or a count not above 0",
              .checkUnmeasured = "rel_flux_T2 NaN or empty"},
    .fileNames = aijTableNames,
    .identify = isAijTableBeginning,
    .open = openAijTable,
};

}  // namespace varistellar::night
