// `varistellar transform` as a short sequence of phases: check that its files
// are distinct, read the coefficient file and the report (checked as `check`
// checks it) and write it in the same pass, plan each row's transformation,
// write the report again with the transformed rows rewritten when the one
// pass could not, check what was written, put it in place. The rows'
// results are worked out as they are written, never kept.
#include "report_transform/transform_command.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "aeff/format.h"
#include "aeff/row_fields.h"
#include "aeff/vocabulary.h"
#include "check_star/check_star_statistics.h"
#include "check_star/check_star_summary.h"
#include "console/console.h"
#include "console/console_findings.h"
#include "console/counted.h"
#include "diagnostics/quoted.h"
#include "outputs/distinct_files.h"
#include "outputs/report_file.h"
#include "outputs/temporary_files.h"
#include "platform/platform.h"
#include "report_transform/delimiter_clashes.h"
#include "report_transform/one_pass.h"
#include "report_transform/report_inputs.h"
#include "report_transform/report_lines.h"
#include "report_transform/report_plan.h"
#include "report_transform/report_source.h"
#include "report_transform/row_sets.h"
#include "report_transform/transformed_row.h"
#include "transform/coefficient_file.h"

namespace varistellar::report_transform {

std::string defaultOutputName(const std::string& report) {
  const std::size_t nameStart = outputs::folderOf(report).size();
  const std::size_t dot = report.rfind('.');
  // A name that is all extension (".txt") keeps it after the whole name, so
  // that the new name stays hidden and ends as the AAVSO's upload requires:
  // ".txt-transformed.txt".
  if (dot == nameStart) return report + "-transformed" + report.substr(dot);
  const std::size_t end = dot == std::string::npos || dot < nameStart ? report.size() : dot;
  return report.substr(0, end) + "-transformed" + report.substr(end);
}

namespace {

using outputs::Phase;

// How many rows of one kind, and the first one's line.
struct Tally {
  std::uint64_t count = 0;
  std::uint64_t firstLine = 0;
  void add(std::uint64_t line) {
    if (count++ == 0) firstLine = line;
  }
};

// The check star of one name in one standard filter, with one catalogue
// magnitude: its measured and its transformed standard magnitudes.
struct CheckStarSeries {
  std::string name;  // "000-AAA-002 V"
  double catalogue = 0.0;
  check_star::CheckStarStatistics measured;
  check_star::CheckStarStatistics transformed;
};

// "1 row is ..." or "3 rows are ...", then what became of them.
std::string keptText(std::uint64_t count, std::string_view singular, std::string_view plural) {
  const bool one = count == 1;
  return (one ? std::string{"1 row "} : std::to_string(count) + " rows ") +
         std::string{one ? singular : plural} +
         (one ? "; it is written as it was" : "; they are written as they were");
}

// What the rows written so far tell: counted again when the report is
// written a second time.
struct RowTallies {
  // A filter's rows that could be transformed, and the transformations they took.
  struct FilterCount {
    std::uint64_t rows = 0;
    std::uint64_t transformed = 0;
    std::vector<const transform::FilterTransform*> transforms;
  };
  std::uint64_t rowsRead = 0;
  std::uint64_t transformedRows = 0;
  std::array<Tally, 7> untransformable{};
  std::array<Tally, 6> fates{};
  std::array<FilterCount, 256> filters{};
  std::vector<CheckStarSeries> checkStars;
  diagnostics::DiagnosticList errors;  // rows that could not be written
};

// Rows held back beyond this are written with what is known of them (and
// most likely written again by the second pass).
constexpr std::size_t heldBytes = std::size_t{1} << 20;

class ReportTransformation final : private OnePassOutput {
 public:
  explicit ReportTransformation(const TransformOptions& options)
      : options_{options}, outFile_{options.output.value_or(defaultOutputName(options.report))} {}

  [[nodiscard]] int run() {
    if (checkFilesDistinct() == Phase::failed) return nothingWritten();
    if (readInputs() == Phase::failed) return nothingWritten();
    if (onePassHolds()) {
      output_->removeStaleTemporaries(options_.quiet);
      if (tellRowErrors() != 0) return nothingWritten();
    } else {
      startAgain();
      if (openOutput() == Phase::failed) return nothingWritten();
      if (writeReport() == Phase::failed) return nothingWritten();
    }
    findings_.printUnlisted();
    if (finishOutput() == Phase::failed) return nothingWritten();
    if (checkOutput() == Phase::failed) return 1;
    if (output_->commit(findings_) == Phase::failed) return nothingWritten();
    warnOfKeptRows();
    if (!options_.quiet) printSummary();
    output_->tellCheck();
    return 0;
  }

 private:
  Phase checkFilesDistinct() {
    const std::vector<outputs::FileRole> files{{"report to transform", options_.report},
                                               {"coefficient file", options_.coefficientFile},
                                               {"transformed report", outFile_}};
    return outputs::reportSharedFiles(files, findings_) == 0 ? Phase::done : Phase::failed;
  }

  // The coefficient file and the report, both read whatever either holds,
  // so that every error is listed at once; then each row's plan.
  Phase readInputs() {
    coefficients_ = transform::readCoefficientFile(options_.coefficientFile, findings_);
    setting_.emplace(
        transform::TransformSetting{coefficients_.file, options_.coefficientFile, options_.colour});
    // A stream cannot be written twice, nor its first writing taken back.
    const platform::OutputKind kind = platform::outputKind(outFile_);
    if (coefficients_.ok &&
        (kind == platform::OutputKind::file || kind == platform::OutputKind::missing)) {
      OnePassOutput& writer = *this;
      onePass_.emplace(*setting_, transform::PairingWindow{options_.pairWithinMinutes}, writer,
                       heldBytes);
    }
    diagnostics::DiagnosticList checked;
    reading_ = readReportInputs(source_, checked, onePass_ ? &*onePass_ : nullptr);
    if (!reading_.check.readable) {
      findings_.error(options_.report, 0, 0, reading_.check.readFailure);
      return Phase::failed;
    }
    // The report's own faults are what `check` says of them.
    for (const diagnostics::Diagnostic& d : checked.all()) {
      if (d.severity == diagnostics::Severity::error) findings_.report(d);
    }
    for (const diagnostics::Diagnostic& d : reading_.inputs.warnings) findings_.report(d);
    if (reading_.inputs.tooManyLines) {
      findings_.error(options_.report, 0, 0,
                      "the report has more than 4294967295 lines, more than can be transformed");
    }
    if (reading_.inputs.tooManyStars) {
      findings_.error(options_.report, 0, 0,
                      "the report's star names take more than 4 GiB, more than can be transformed");
    }
    if (!coefficients_.ok || findings_.errors() != 0) return Phase::failed;
    sets_ = arrangeRows(reading_.inputs);
    plan_ = ReportPlan::make(reading_.inputs, sets_, *setting_, {options_.pairWithinMinutes},
                             findings_);
    if (!plan_) return Phase::failed;
    return reportDelimiterClashes(reading_.inputs, plan_->transforms(), options_.report,
                                  findings_) == 0
               ? Phase::done
               : Phase::failed;
  }

  // Whether the one pass wrote what the whole report's plan would: every
  // row solved alike, and the same #TRANSFORM lines.
  [[nodiscard]] bool onePassHolds() const {
    if (onePass_ && onePass_->wroteAll() && output_ && onePass_->exact()) {
      return onePass_->transformLines() == linesOfTaken();
    }
    if (!onePass_ || !onePass_->wroteAll() || !output_) return false;
    if (onePass_->transformLines() !=
        transform::transformCommentLines(plan_->usedTransforms(), options_.coefficientFile)) {
      return false;
    }
    ByteFingerprint planned;
    const RowStore& rows = reading_.inputs.rows;
    for (std::uint32_t i = onePass_->firstUnsettled(); i < rows.size(); ++i) {
      if (rows[i].why == Untransformable::none) addResult(planned, plan_->solve(i));
    }
    return planned.value() == onePass_->results();
  }

  // The #TRANSFORM lines of the transformations the one pass's rows took,
  // in the order of the whole report's plan.
  [[nodiscard]] std::vector<std::string> linesOfTaken() const {
    std::vector<transform::FilterTransform> taken;
    std::copy_if(plan_->transforms().begin(), plan_->transforms().end(), std::back_inserter(taken),
                 [this](const transform::FilterTransform& t) { return onePass_->took(t.role); });
    return transform::transformCommentLines(taken, options_.coefficientFile);
  }

  // What the one pass wrote and counted is given up for the second pass.
  void startAgain() {
    output_.reset();
    tallies_ = RowTallies{};
    transformLinesWritten_ = false;
    transformLines_ =
        transform::transformCommentLines(plan_->usedTransforms(), options_.coefficientFile);
  }

  // The rows that could not be written, said once their writing is final.
  std::size_t tellRowErrors() {
    for (const diagnostics::Diagnostic& d : tallies_.errors.all()) findings_.report(d);
    return tallies_.errors.all().size();
  }

  // A report with errors is refused, and what was written of it dropped: the
  // fields its rows copy are free of errors whenever the own check counts,
  // and are not asked the error rules again.
  bool start(const std::vector<std::string>& transformLines) override {
    output_.emplace(outFile_, "transform", copiedFields);
    diagnostics::DiagnosticList unsaid;  // said by the second pass's opening
    if (output_->open(unsaid) == Phase::failed) {
      output_.reset();
      return false;
    }
    transformLines_ = transformLines;
    return true;
  }

  void copyLine(std::string_view text, bool title) override {
    output_->write(text);
    if (title) writeTransformLines();
  }

  void putRow(const ReportInputs& inputs, std::uint32_t index, std::string_view text,
              char delimiter, const RowResult* result) override {
    writeTransformLines();  // before the first row when there is no title line
    writeRow(inputs, index, text, delimiter, result);
  }

  void abandon() override { output_.reset(); }

  Phase openOutput() {
    output_.emplace(outFile_, "transform", copiedFields);
    output_->removeStaleTemporaries(options_.quiet);
    return output_->open(findings_);
  }

  void writeTransformLines() {
    if (transformLinesWritten_) return;
    transformLinesWritten_ = true;
    for (const std::string& text : transformLines_) output_->write(text);
  }

  // The report read again, line by line: each row in its place, rewritten
  // when it is transformed.
  Phase writeReport() {
    const platform::OpenResult again = source_.openAgain();
    if (again.error != 0) {
      findings_.error(options_.report, 0, 0,
                      "cannot read the report again: " + platform::systemErrorMessage(again.error));
      return Phase::failed;
    }
    ReportLines reader{again.handle};
    const ReportInputs& inputs = reading_.inputs;
    std::size_t next = 0;       // the next row
    std::size_t delimiter = 0;  // the delimiter change in force
    std::string_view text;
    while (reader.next(text)) {
      const std::uint64_t number = reader.lineNumber();
      if (next == inputs.rows.size() || inputs.rows[next].line != number) {
        copyLine(text, number == inputs.titleLine);
        continue;
      }
      while (delimiter + 1 < inputs.delimiters.size() &&
             inputs.delimiters[delimiter + 1].line <= number) {
        ++delimiter;
      }
      const auto index = static_cast<std::uint32_t>(next);
      const bool transformable = inputs.rows[index].why == Untransformable::none;
      const std::optional<RowResult> result =
          transformable ? std::optional{plan_->solve(index)} : std::nullopt;
      putRow(inputs, index, text, inputs.delimiters[delimiter].delimiter,
             result ? &*result : nullptr);
      ++next;
    }
    tellRowErrors();
    return secondReadingAgrees(reader, next) ? Phase::done : Phase::failed;
  }

  // Whether the second reading read what the first did, byte for byte: a
  // report changed on the disk in between would give rows whose fields
  // disagree. False, with an error, when it did not.
  bool secondReadingAgrees(const ReportLines& reader, std::size_t rowsFound) {
    if (const auto& failure = reader.failure()) {
      findings_.error(options_.report, 0, 0, "cannot read the report again: " + *failure);
      return false;
    }
    if (reader.fingerprint() != source_.firstReading()) {
      findings_.error(options_.report, 0, 0,
                      source_.copied()
                          ? "the copy of the report changed while it was being transformed"
                          : "the report changed while it was being transformed: it no longer "
                            "holds what was read and checked; transform it again once it is "
                            "complete");
      return false;
    }
    if (rowsFound != reading_.inputs.rows.size()) {
      findings_.error(options_.report, 0, 0,
                      "the report read again holds " + std::to_string(rowsFound) + " of its " +
                          std::to_string(reading_.inputs.rows.size()) +
                          " observations where they were first read");
      return false;
    }
    return findings_.errors() == 0;
  }

  // A row as it is written, with its result when it could be transformed.
  void writeRow(const ReportInputs& inputs, std::uint32_t index, std::string_view line,
                char delimiter, const RowResult* solved) {
    const RowInputs& row = inputs.rows[index];
    ++tallies_.rowsRead;
    if (row.why != Untransformable::none) {
      tallies_.untransformable[static_cast<std::size_t>(row.why)].add(row.line);
      output_->write(line);
      // Its check star was measured all the same; a transformed row's KMAG
      // is no longer a measurement.
      if (row.why != Untransformable::alreadyTransformed) {
        tallyCheckStar(inputs, row, line, delimiter, nullptr);
      }
      return;
    }
    RowTallies::FilterCount& filter = tallies_.filters[row.filter];
    ++filter.rows;
    const RowResult& result = *solved;
    bool transformed = false;
    // A transformed row is split once, for its rewriting and its check star.
    std::optional<aeff::RowFields> fields;
    if (result.fate == Fate::transformed) fields = aeff::splitRow(line, delimiter);
    if (result.fate != Fate::transformed) {
      tallies_.fates[static_cast<std::size_t>(result.fate)].add(row.line);
      output_->write(line);
    } else if (!fields || !writeTransformedRow(line, *fields, delimiter, result, rewritten_)) {
      tallies_.errors.error(options_.report, row.line, 0,
                            "the transformed magnitude, MERR or colour does not fit its field");
    } else {
      output_->write(rewritten_);
      transformed = true;
      ++tallies_.transformedRows;
      ++filter.transformed;
      // Sets that share a coefficient name it once.
      if (std::none_of(filter.transforms.begin(), filter.transforms.end(),
                       [&](const transform::FilterTransform* t) {
                         return t->coefficientText == result.transform->coefficientText;
                       })) {
        filter.transforms.push_back(result.transform);
      }
    }
    tallyCheckStar(inputs, row, line, delimiter, transformed ? &result : nullptr,
                   fields ? &*fields : nullptr);
  }

  void tallyCheckStar(const ReportInputs& inputs, const RowInputs& row, std::string_view line,
                      char delimiter, const RowResult* transformed,
                      const aeff::RowFields* fields = nullptr) {
    const ComparisonReference& reference = inputs.references[row.reference];
    if (std::isnan(row.checkX) || std::isnan(reference.checkStar) ||
        std::isnan(reference.comparison)) {
      return;
    }
    constexpr std::size_t knameField = aeff::index(aeff::Field::KNAME);
    const std::string_view kname = fields != nullptr ? aeff::trimBlanks((*fields)[knameField])
                                                     : aeff::rowField(line, delimiter, knameField);
    if (kname.empty() || aeff::sameWord(kname, "na")) return;
    const std::optional<char> standard = standardFilterOf(row);
    if (!standard) return;
    const char filter = *standard;
    CheckStarSeries* series = nullptr;
    for (CheckStarSeries& s : tallies_.checkStars) {
      if (s.catalogue == reference.checkStar && s.name.size() == kname.size() + 2 &&
          s.name.back() == filter && s.name.compare(0, kname.size(), kname) == 0) {
        series = &s;
        break;
      }
    }
    if (series == nullptr) {
      series = &tallies_.checkStars.emplace_back();
      series->name.assign(kname).append(" ").push_back(filter);
      series->catalogue = reference.checkStar;
    }
    series->measured.add({reference.comparison + row.checkX, row.line});
    if (transformed != nullptr && transformed->checkOffset) {
      series->transformed.add({reference.comparison + *transformed->checkOffset, row.line});
    }
  }

  Phase finishOutput() { return output_->finish(findings_); }

  Phase checkOutput() { return output_->check(); }

  // One warning for each kind of row written as it was, at its first row.
  void warnOfKeptRows() {
    warnOfUntransformable();
    warnOfFates();
    for (const CheckStarSeries& series : tallies_.checkStars) {
      if (const auto moved = check_star::checkStarMovedAway(series.measured, series.transformed,
                                                            series.catalogue)) {
        findings_.warning(options_.report, 0, 0, *moved);
      }
    }
  }

  // Rows that could not be transformed, by why.
  void warnOfUntransformable() {
    static constexpr std::array<std::string_view, 7> whyTexts{
        "",
        "already transformed (TRANS YES)",
        "in a filter other than B, V, R and I (and a colour camera's TB, TG and TR)",
        "a fainter-than magnitude ('<')",
        "an ensemble (CNAME ENSEMBLE) without the ensemble's averages CREFMAG, CMAGINS and "
        "VMAGINS in NOTES",
        "no comparison magnitude: no CREFMAG in NOTES and no #CREFMAG= line above",
        "no MERR",
    };
    for (std::size_t why = 1; why < tallies_.untransformable.size(); ++why) {
      const Tally& tally = tallies_.untransformable[why];
      if (tally.count == 0) continue;
      const bool already = why == static_cast<std::size_t>(Untransformable::alreadyTransformed);
      const std::string reason =
          std::string{already ? "" : "cannot be transformed: "}.append(whyTexts[why]);
      findings_.warning(options_.report, tally.firstLine, 0,
                        keptText(tally.count, already ? "is " + reason : reason,
                                 already ? "are " + reason : reason));
    }
  }

  // What a fate says of one row and of several.
  [[nodiscard]] std::pair<std::string, std::string> fateTexts(Fate fate) const {
    const auto either = [](std::string_view text) {
      return std::pair{std::string{text}, std::string{text}};
    };
    switch (fate) {
      case Fate::noDate:
        return either(
            "cannot be transformed: GROUP na and a DATE that is neither JD nor HJD, so no "
            "partner can be found in time");
      case Fate::unsupportedSet:
        return either(
            "cannot be transformed: its star's filters (or its GROUP's) are no set that "
            "transforms together: B and V, V and R, V and I, B, V and I, or B, V, R and I");
      case Fate::noColour:
        return either(
            "cannot be transformed: its filter has no partner filter (of its star, or of its "
            "GROUP) and no --colour gives the star's colour");
      case Fate::noPartner: {
        const std::string window = " within " + options_.pairWithinText + " minutes";
        return {"has no partner filter's row" + window, "have no partner filter's row" + window};
      }
      case Fate::errorTooLarge:
      case Fate::transformed: break;
    }
    return either("would have a transformed MERR of 1.0 or more");
  }

  // Rows that could have been transformed and were not, by fate.
  void warnOfFates() {
    for (std::size_t fate = 1; fate < tallies_.fates.size(); ++fate) {
      const Tally& tally = tallies_.fates[fate];
      if (tally.count == 0) continue;
      const auto [singular, plural] = fateTexts(static_cast<Fate>(fate));
      findings_.warning(options_.report, tally.firstLine, 0,
                        keptText(tally.count, singular, plural));
    }
  }

  void printSummary() const {
    console::printLine(diagnostics::shownName(options_.report) + ": " +
                       console::countOf(tallies_.rowsRead, "observation") + ": " +
                       std::to_string(tallies_.transformedRows) + " transformed, " +
                       std::to_string(tallies_.rowsRead - tallies_.transformedRows) +
                       " written as they were");
    console::printLine("wrote " + diagnostics::shownName(outFile_) + ": " +
                       console::countOf(tallies_.rowsRead, "observation"));
    for (std::size_t f = 0; f < tallies_.filters.size(); ++f) {
      const RowTallies::FilterCount& filter = tallies_.filters[f];
      if (filter.rows == 0) continue;
      std::string line = "transformed " + std::string{filterName(static_cast<std::uint8_t>(f))} +
                         ": " + std::to_string(filter.transformed) + " of " +
                         console::countOf(filter.rows, "observation");
      for (std::size_t i = 0; i < filter.transforms.size(); ++i) {
        line += (i == 0 ? ", with " : " and ") + filter.transforms[i]->coefficientText;
      }
      console::printLine(line);
    }
    for (const CheckStarSeries& series : tallies_.checkStars) {
      for (const std::string& line :
           check_star::checkStarSummaryLines(series.name, series.catalogue, series.measured,
                                             options_.report, &series.transformed)) {
        console::printLine(line);
      }
    }
  }

  int nothingWritten() {
    findings_.printUnlisted();
    if (!output_) output_.emplace(outFile_, "transform");
    output_->tellNothingWritten(findings_.errors());
    return 1;
  }

  const TransformOptions& options_;
  std::string outFile_;
  console::ConsoleFindings findings_;
  transform::CoefficientReading coefficients_;
  std::optional<transform::TransformSetting> setting_;
  ReportSource source_{options_.report};
  std::optional<OnePass> onePass_;
  ReportReading reading_;
  RowSets sets_;
  std::optional<ReportPlan> plan_;
  std::optional<outputs::ReportFile> output_;
  std::vector<std::string> transformLines_;
  bool transformLinesWritten_ = false;
  std::string rewritten_;  // the row being rewritten
  RowTallies tallies_;
};

}  // namespace

int runTransformCommand(const TransformOptions& options) {
  ReportTransformation transformation{options};
  return transformation.run();
}

}  // namespace varistellar::report_transform
