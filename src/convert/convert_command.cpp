// `varistellar convert`: the parameter file first, then the table in one
// pass, each kept observation's record written as it is read, so memory
// stays flat however long the night.
#include "convert/convert_command.h"

#include <algorithm>
#include <limits>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "aeff/format.h"
#include "check_star/check_star_statistics.h"
#include "check_star/check_star_summary.h"
#include "cli/console.h"
#include "convert/distinct_files.h"
#include "convert/own_check.h"
#include "convert/report_output.h"
#include "convert/temporary_files.h"
#include "diagnostics/diagnostic.h"
#include "diagnostics/listing_limit.h"
#include "plot/night_points.h"
#include "plot/svg_picture.h"
#include "run/report_layout.h"
#include "run/run.h"
#include "run/strict_reading.h"
#include "textio/fields.h"

namespace varistellar::convert {
namespace {

using diagnostics::Diagnostic;
using diagnostics::Severity;

// Prints each finding on standard error as it is made, up to a limit of each
// kind, and counts them all.
class ConsoleFindings final : public diagnostics::DiagnosticSink {
 public:
  void report(Diagnostic diagnostic) override {
    if (diagnostic.severity == Severity::error) ++errors_;
    if (listing_.admit(diagnostic)) cli::printErrorLine(diagnostics::formatDiagnostic(diagnostic));
  }
  // Says how many more there were of each kind past its limit.
  void printUnlisted() {
    for (const Diagnostic& summary : listing_.takeUnlisted()) {
      cli::printErrorLine(diagnostics::formatDiagnostic(summary));
    }
  }
  [[nodiscard]] std::size_t errors() const { return errors_; }

 private:
  diagnostics::ListingLimit listing_;
  std::size_t errors_ = 0;
};

// The findings of the records that can repeat on every line.
constexpr diagnostics::FindingKind leftOutObservation{
    "more observation with MERR of 1.0 or more is left out",
    "more observations with MERR of 1.0 or more are left out"};
constexpr diagnostics::FindingKind unfitField{"more value does not fit its report field",
                                              "more values do not fit their report fields"};

// A number as the report writes it, without its leading blanks.
std::string written(double value, int width, int digits) {
  std::string text(static_cast<std::size_t>(width), ' ');
  textio::formatFixedField(value, width, digits, text.data());
  text.erase(0, text.find_first_not_of(' '));
  return text;
}

// Turns each kept observation into its report record.
class RecordWriter final : public run::ObservationSink {
 public:
  RecordWriter(const run::RunContext& context, const run::ObserverParameters& parameters,
               diagnostics::DiagnosticSink& findings)
      : context_{context},
        parameters_{parameters},
        findings_{findings},
        records_{parameters, context.form, context.checkStar} {}

  void writeTo(ReportOutput* output) { output_ = output; }
  void gatherCheckStar(check_star::CheckStarStatistics* statistics) { checkStar_ = statistics; }
  void gatherPoints(plot::NightPoints* points) { points_ = points; }

  bool take(const run::Observation& observation, std::uint64_t line) override {
    run::ReportValues values{
        context_.date == run::DateKind::jd ? observation.JDHEL - observation.HELCOR
                                           : observation.JDHEL,
        run::standardMagnitude(observation.V_C, parameters_.comparisonMagnitude), observation.s1,
        observation.AIRMASS};
    const bool checkStarMeasured = !(observation.C1_K1 > run::droppedMagnitude);
    if (context_.checkStar) {
      values.VMAGINS = observation.V_C;
      if (checkStarMeasured) values.KMAGINS = -observation.C1_K1;
    }
    // A MERR below 0.999 is never written as 1.000: only the others need
    // writing out to tell.
    if (values.MERR >= 0.999 && run::writtenMagnitudeError(values.MERR) >= 1.0) {
      ++leftOut_;
      findings_.warning(context_.tableFile, line, 0,
                        "MERR " + written(values.MERR, 6, 3) +
                            " is 1.0 or more, which the AAVSO does not accept: the "
                            "observation is left out of the report",
                        &leftOutObservation);
      return true;
    }
    const run::UnfitFields unfit = records_.build(values, record_);
    for (std::size_t i = 0; i < unfit.count; ++i) {
      findings_.error(context_.tableFile, line, 0,
                      std::string{unfit.names[i]} + " does not fit the report's field (" +
                          describe(unfit.names[i], values) + ")",
                      &unfitField);
    }
    if (unfit.count != 0) return true;
    firstDate_ = std::min(firstDate_, values.DATE);
    lastDate_ = std::max(lastDate_, values.DATE);
    ++writtenCount_;
    if (output_ != nullptr) output_->write(record_);
    // The check star's standard magnitude, on the comparison's catalogue one.
    const double Kstd = parameters_.comparisonMagnitude - observation.C1_K1;
    if (checkStar_ != nullptr && checkStarMeasured) checkStar_->add({Kstd, line});
    if (points_ != nullptr) {
      const bool drawCheck = checkStarMeasured && parameters_.checkStarId != "na";
      points_->add({values.DATE, static_cast<float>(values.MAG), static_cast<float>(values.MERR),
                    drawCheck ? static_cast<float>(Kstd - parameters_.checkMagnitude)
                              : std::numeric_limits<float>::quiet_NaN(),
                    static_cast<float>(observation.s3), static_cast<float>(values.AIRMASS)});
      if (writtenCount_ == 1) firstJulianDate_ = observation.JDHEL - observation.HELCOR;
    }
    return true;
  }

  [[nodiscard]] std::uint64_t leftOut() const { return leftOut_; }
  [[nodiscard]] std::uint64_t writtenCount() const { return writtenCount_; }
  [[nodiscard]] double firstDate() const { return firstDate_; }
  [[nodiscard]] double lastDate() const { return lastDate_; }
  [[nodiscard]] double firstJulianDate() const { return firstJulianDate_; }

 private:
  static std::string describe(std::string_view field, const run::ReportValues& values) {
    if (field == "DATE") return "it takes at most 7 digits before the point; check JDHEL";
    if (field == "MAG") return "the standard magnitude must lie above -10 and below 100";
    if (field == "AIRMASS") return "it must lie above -10 and below 100; check AIRMASS";
    if (field == "KMAG") return "-(C1-K1) must lie above -10 and below 100; check C1-K1";
    if (field == "VMAGINS") return "V-C must lie above -10 and below 100; check V-C";
    (void)values;
    return "it must lie below 100";
  }

  const run::RunContext& context_;
  const run::ObserverParameters& parameters_;
  diagnostics::DiagnosticSink& findings_;
  run::ObservationRecords records_;
  ReportOutput* output_ = nullptr;
  check_star::CheckStarStatistics* checkStar_ = nullptr;
  plot::NightPoints* points_ = nullptr;
  std::string record_;
  std::uint64_t leftOut_ = 0;
  std::uint64_t writtenCount_ = 0;
  double firstDate_ = std::numeric_limits<double>::infinity();
  double lastDate_ = -std::numeric_limits<double>::infinity();
  double firstJulianDate_ = 0.0;
};

// "1 observation line", "2 observation lines".
std::string counted(std::uint64_t count, std::string_view thing) {
  std::string text = std::to_string(count);
  text.append(" ").append(thing);
  if (count != 1) text.push_back('s');
  return text;
}

void printSummary(const run::RunContext& context, const run::ObserverParameters& parameters,
                  const run::TableCounts& counts, const RecordWriter& records) {
  cli::printLine(context.tableFile + ": " + counted(counts.observationLines, "observation line") +
                 ": " + std::to_string(records.writtenCount()) + " written, " +
                 std::to_string(counts.dropped) + " dropped (V-C above 90), " +
                 std::to_string(records.leftOut()) + " left out (MERR of 1.0 or more)");
  cli::printLine("star " + parameters.variableStarId + ", filter " + parameters.filterName +
                 ", observer " + parameters.observerCode + ", chart " + parameters.chartId);
  std::string stars = "comparison star " + parameters.comparisonStarId + " (" +
                      written(parameters.comparisonMagnitude, 6, 3) + ")";
  if (parameters.checkStarId != "na") {
    stars += ", check star " + parameters.checkStarId + " (" +
             written(parameters.checkMagnitude, 6, 3) + ")";
  } else {
    stars += ", no check star";
  }
  cli::printLine(stars);
  const std::string kind = context.date == run::DateKind::jd ? "JD" : "HJD";
  if (records.writtenCount() == 0) {
    cli::printLine("dates (" + kind + "): none");
  } else {
    cli::printLine("dates (" + kind + "): " + written(records.firstDate(), 13, 5) + " to " +
                   written(records.lastDate(), 13, 5));
  }
  cli::printLine("wrote " + context.reportFile + ": " +
                 counted(records.writtenCount(), "observation"));
}

// The picture of the night, written beside the report the same way: to a
// temporary file, renamed into place.
void writePicture(ReportOutput& output, const run::RunContext& context,
                  const run::ObserverParameters& parameters, const plot::NightPoints& points,
                  const RecordWriter& records) {
  plot::PictureLabels labels{
      parameters.variableStarId,
      parameters.filterName,
      parameters.observerCode,
      parameters.comparisonStarId,
      parameters.comparisonMagnitude,
      parameters.checkStarId == "na" ? std::string{} : parameters.checkStarId,
      parameters.checkMagnitude,
      context.date == run::DateKind::jd ? "JD" : "HJD",
      points.size(),
      records.firstJulianDate(),
  };
  const std::string picture = plot::drawNightPicture(points.series(), labels);
  std::string_view rest{picture};
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    output.write(rest.substr(0, end));
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
  }
}

// Removes the temporary files that stopped runs left beside `output`, and
// says so.
void removeStaleTemporariesOf(const std::string& output, bool quiet) {
  for (const std::string& removed : removeStaleTemporaries(output)) {
    if (!quiet) {
      cli::printErrorLine(removed +
                          ": note: removed: a temporary file left by a run of "
                          "varistellar that was stopped");
    }
  }
}

}  // namespace

int runConvertCommand(const run::ConvertOptions& options) {
  run::RunContext context = run::convertContext(options);
  ConsoleFindings findings;

  // Nothing is opened for writing over an input or over another output.
  std::vector<FileRole> files{{"light-curve table", context.tableFile},
                              {"parameter file", context.parameterFile},
                              {"report", context.reportFile}};
  if (!context.plotFile.empty()) files.push_back({"picture", context.plotFile});
  if (const std::size_t shared = reportSharedFiles(files, findings); shared != 0) {
    cli::printErrorLine("varistellar: " + std::to_string(shared) +
                        (shared == 1 ? " error" : " errors") + "; nothing was written");
    return 1;
  }

  run::ObserverParameters parameters;
  bool parametersRead = run::readParameterLines(context.parameterFile, parameters, findings);
  if (parametersRead && context.checkStar &&
      !check_star::checkStarParametersUsable(parameters, context.parameterFile, findings)) {
    // Reported once here, not again on every row of the table.
    parametersRead = false;
    context.checkStar = false;
  }

  // The report is begun only for a good parameter file; the table is read
  // all the same, so that every error is listed at once.
  ReportOutput output{context.reportFile};
  RecordWriter records{context, parameters, findings};
  // The report is checked as it is written, before it is put in place.
  std::optional<OwnCheck> ownCheck;
  removeStaleTemporariesOf(context.reportFile, context.quiet);
  if (!context.plotFile.empty()) removeStaleTemporariesOf(context.plotFile, context.quiet);
  if (parametersRead) {
    if (const auto failure = output.open()) {
      findings.error(context.reportFile, 0, 0, "cannot write the report: " + *failure);
    } else if (!output.isStream() && !aeff::isReportFileName(context.reportFile)) {
      // The report's own check would refuse it; the name is the user's to change.
      findings.error(context.reportFile, 0, 0,
                     "the report's name must end in .txt, .csv or .tsv, as the AAVSO's upload "
                     "requires");
    } else {
      // A report sent straight to a stream is no file to upload: it is not
      // checked.
      if (!output.isStream()) {
        output.checkWith(&ownCheck.emplace(output.openForChecking(), context.reportFile));
      }
      for (const std::string& line :
           run::reportHeaderLines(parameters, context.form, context.date)) {
        output.write(line);
      }
      records.writeTo(&output);
    }
  }
  check_star::CheckStarStatistics checkStar;
  if (context.checkStar) records.gatherCheckStar(&checkStar);
  plot::NightPoints points;
  std::optional<ReportOutput> picture;
  if (!context.plotFile.empty()) {
    records.gatherPoints(&points);
    picture.emplace(context.plotFile);
    if (const auto failure = picture->open()) {
      findings.error(context.plotFile, 0, 0, "cannot write the picture: " + *failure);
    }
  }

  run::TableCounts counts;
  const std::string outOfMemory =
      "out of memory for the picture's points: convert the night without --plot";
  try {
    (void)run::readTableLines(context.tableFile, records, findings, counts);
  } catch (const std::bad_alloc&) {
    findings.error(context.tableFile, 0, 0, outOfMemory);
  }
  findings.printUnlisted();

  // Every output is written in full and made durable before the first is
  // put in place, so that a full disk leaves every old file as it was; the
  // report first, so that the picture cannot take its room.
  if (findings.errors() == 0) {
    if (const auto failure = output.finishWriting()) {
      findings.error(context.reportFile, 0, 0, "cannot write the report: " + *failure);
    }
  }
  if (findings.errors() == 0 && picture) {
    try {
      writePicture(*picture, context, parameters, points, records);
      if (const auto failure = picture->finishWriting()) {
        findings.error(context.plotFile, 0, 0, "cannot write the picture: " + *failure);
      }
    } catch (const std::bad_alloc&) {
      findings.error(context.tableFile, 0, 0, outOfMemory);
    }
  }
  OwnCheckResult own;
  if (findings.errors() == 0) {
    if (ownCheck && (own = ownCheck->finish(output.bytesWritten()), !own.passed)) {
      // The temporary files go with `output` and `picture`; the old ones stay.
      printOwnCheck(own, context.quiet);
      return 1;
    }
    if (const auto failure = output.commit()) {
      findings.error(context.reportFile, 0, 0, "cannot write the report: " + *failure);
    }
  }
  if (findings.errors() != 0) {
    const std::size_t errors = findings.errors();
    const std::string count = std::to_string(errors) + (errors == 1 ? " error" : " errors");
    // A stream cannot be taken back: what went out is said truthfully.
    if (output.isStream() && output.bytesWritten() != 0) {
      cli::printErrorLine("varistellar: " + count + "; the report sent to " + context.reportFile +
                          " is incomplete");
    } else {
      cli::printErrorLine("varistellar: " + count + "; nothing was written");
    }
    return 1;
  }
  // The report is in place; the picture follows. Should it fail now, the
  // user is told which file is new and which is not.
  int status = 0;
  if (picture) {
    if (const auto failure = picture->commit()) {
      findings.error(context.plotFile, 0, 0,
                     "cannot write the picture: " + *failure + "; the report " +
                         context.reportFile + " was written, the picture was not");
      status = partlyWrittenStatus;
      picture.reset();
    }
  }
  if (context.checkStar && checkStar.count() == 0) {
    findings.warning(context.tableFile, 0, 0,
                     "the check star " + parameters.checkStarId +
                         " was not measured on any written line (C1-K1 above 90): KMAG is na "
                         "throughout");
  }
  if (!context.quiet) {
    printSummary(context, parameters, counts, records);
    if (context.checkStar) {
      for (const std::string& line :
           check_star::checkStarSummaryLines(parameters, checkStar, context.tableFile)) {
        cli::printLine(line);
      }
    }
    if (picture) {
      cli::printLine("drew " + context.plotFile + ": " + counted(points.size(), "observation"));
    }
  }
  printOwnCheck(own, context.quiet);
  return status;
}

}  // namespace varistellar::convert
