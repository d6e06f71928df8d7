// One night, read and converted.
#include "convert/night_conversion.h"

#include <algorithm>
#include <cmath>

#include "night/table_formats.h"
#include "report/number_text.h"
#include "transform/transformed_values.h"

namespace varistellar::convert {
namespace {

// The findings of the records that can repeat on every line.
constexpr diagnostics::FindingKind leftOutObservation{
    "more observation with MERR of 1.0 or more is left out",
    "more observations with MERR of 1.0 or more are left out"};
constexpr diagnostics::FindingKind unfitField{"more value does not fit its report field",
                                              "more values do not fit their report fields"};

// What the user can do about a number that does not fit its field, in the
// words of the table's columns.
std::string unfitAdvice(std::string_view field, const night::TableWords& words) {
  const std::string check{words.checkDifference};
  const std::string difference{words.difference};
  if (field == "DATE") {
    return "it takes at most 7 digits before the point; check " + std::string{words.date};
  }
  if (field == "MAG") return "the standard magnitude must lie above -10 and below 100";
  if (field == "AIRMASS") {
    return "it must lie above -10 and below 100; check " + std::string{words.airmass};
  }
  if (field == "KMAG") return "-(" + check + ") must lie above -10 and below 100; check " + check;
  if (field == "VMAGINS") {
    return difference + " must lie above -10 and below 100; check " + difference;
  }
  return "it must lie below 100";
}

}  // namespace

bool recordFits(const report::UnfitFields& unfit, const std::string& tableFile, std::uint64_t line,
                // cppcheck-suppress constParameter ; findings are added to it
                diagnostics::DiagnosticSink& findings, const night::TableWords& words) {
  for (std::size_t i = 0; i < unfit.count; ++i) {
    findings.error(tableFile, line, 0,
                   std::string{unfit.names[i]} + " does not fit the report's field (" +
                       unfitAdvice(unfit.names[i], words) + ")",
                   &unfitField);
  }
  return unfit.count == 0;
}

bool recordFits(const report::UnfitFields& unfit, const std::string& tableFile, std::uint64_t line,
                diagnostics::DiagnosticSink& findings) {
  if (unfit.count == 0) return true;
  return recordFits(unfit, tableFile, line, findings, night::tableFormatOfFile(tableFile).words);
}

std::unique_ptr<report::RecordForm> transformedRecordForm(
    const transform::FilterTransform* transform, const night::NightParameters& parameters) {
  if (transform == nullptr) {
    return std::make_unique<report::CheckStarRecordForm>(std::string{}, std::string{},
                                                         parameters.referenceByRow);
  }
  return std::make_unique<report::CheckStarRecordForm>(
      transform->reportedFilter, transform->notesBeforeColour, parameters.referenceByRow);
}

void reportLeftOut(double MERR, const std::string& tableFile, std::uint64_t line,
                   // cppcheck-suppress constParameter ; findings are added to it
                   diagnostics::DiagnosticSink& findings) {
  findings.warning(tableFile, line, 0,
                   "MERR " + report::shownNumber(MERR, 3) +
                       " is 1.0 or more, which the AAVSO does not accept: the "
                       "observation is left out of the report",
                   &leftOutObservation);
}

std::unique_ptr<report::RecordForm> commandLineRecordForm(
    bool withCheckStar, const night::NightParameters& parameters) {
  // An ensemble's records carry its magnitudes in NOTES always.
  if (withCheckStar || parameters.ensemble) {
    return std::make_unique<report::CheckStarRecordForm>(std::string{}, std::string{},
                                                         parameters.referenceByRow);
  }
  return std::make_unique<report::TrimmedRecordForm>();
}

NightConversion::NightConversion(std::size_t night, std::string tableFile,
                                 const night::NightParameters& parameters, run::DateKind date,
                                 bool withCheckStar, bool buildsRecords,
                                 diagnostics::DiagnosticSink& findings,
                                 ObservationListener& written,
                                 const transform::FilterTransform* transform,
                                 std::unique_ptr<night::SeriesReader> reader)
    : night_{night},
      tableFile_{std::move(tableFile)},
      format_{night::tableFormatOfFile(tableFile_)},
      parameters_{parameters},
      date_{date},
      findings_{findings},
      written_listener_{written},
      transform_{buildsRecords ? transform : nullptr},
      reader_{std::move(reader)},
      form_{!buildsRecords          ? nullptr
            : transform_ != nullptr ? transformedRecordForm(transform_, parameters)
                                    : commandLineRecordForm(withCheckStar, parameters)},
      values_{report::nightRecordTexts(parameters)} {}

void NightConversion::scatterErrors(std::size_t width) {
  scatter_.emplace(width);
  errorSource_ = "KC" + std::to_string(width);
}

bool NightConversion::read() {
  if (!reader_) reader_ = format_.open(tableFile_);
  const bool read = reader_->read(*this, findings_, counts_);
  if (scatter_) {
    scatter_->end();
    writeWaiting();
    warnUnscattered(tableFile_, unscattered_, firstUnscatteredLine_, scatter_->width(), findings_);
  }
  return read;
}

void warnUnscattered(const std::string& tableFile, std::uint64_t count, std::uint64_t firstLine,
                     std::size_t width,
                     // cppcheck-suppress constParameter ; findings are added to it
                     diagnostics::DiagnosticSink& findings) {
  if (count == 0) return;
  findings.warning(tableFile, firstLine, 0,
                   (count == 1 ? std::string{"1 observation has"}
                               : std::to_string(count) + " observations have") +
                       " fewer than " + std::to_string(check_star::leastScatterCount) +
                       " measured check stars among the " + std::to_string(width) +
                       " observations nearest in time: " + (count == 1 ? "it keeps" : "they keep") +
                       " the table's error as MERR");
}

bool widenedByScatter(report::ObservationValues& values, std::optional<double> scatter,
                      std::string_view errorSource) {
  if (!scatter) return false;
  values.MERR = std::sqrt(values.MERR * values.MERR + *scatter * *scatter);
  values.errorSource = errorSource;
  return true;
}

void NightConversion::watchComparisons(bool forPicture) {
  if (parameters_.ensembleStars.size() >= 2)
    comparisons_.emplace(parameters_.ensembleStars, forPicture);
}

bool NightConversion::take(const night::Measurement& measurement) {
  if (comparisons_ && !measurement.comparisonCounts.empty()) {
    const double date =
        date_ == run::DateKind::jd ? measurement.HJD - measurement.HELCOR : measurement.HJD;
    comparisons_->add(date, measurement.comparisonCounts);
  }
  report::ObservationOutcome outcome = report::observationValues(measurement, parameters_, date_);
  if (const auto* tooLarge = std::get_if<report::ErrorTooLarge>(&outcome)) {
    ++leftOut_;
    reportLeftOut(tooLarge->MERR, tableFile_, measurement.line, findings_);
    return true;
  }
  auto& values = std::get<report::ObservationValues>(outcome);
  if (transform_ != nullptr && !transformAlone(measurement, values)) return true;
  if (scatter_ && !outOfOrder_) {
    holdForScatter(measurement, values);
  } else {
    write(Measured{measurement}, values);
  }
  return true;
}

void NightConversion::holdForScatter(const night::Measurement& measurement,
                                     report::ObservationValues& values) {
  // A transformed night's errors are widened by its transformed check star.
  const std::optional<double>& Kstd = transform_ != nullptr ? values.transformedKstd : values.Kstd;
  if (!scatter_->add(values.DATE, Kstd.value_or(std::numeric_limits<double>::quiet_NaN()))) {
    // The window needs the table in time order; records keep the table's.
    outOfOrder_ = true;
    findings_.error(tableFile_, measurement.line, 0,
                    "--merr check-scatter needs the table in time order, but this observation "
                    "comes before the one on line " +
                        std::to_string(lastLine_) +
                        ": sort the table by time, or convert with --merr table");
    scatter_->end();
    writeWaiting();
    write(Measured{measurement}, values);
    return;
  }
  lastLine_ = measurement.line;
  waiting_.push_back({Measured{measurement}, values});
  writeWaiting();
}

void NightConversion::writeWaiting() {
  while (scatter_->ready()) {
    const std::optional<double> scatter = scatter_->take();
    Waiting& waiting = waiting_.front();
    if (!scatter && unscattered_++ == 0) firstUnscatteredLine_ = waiting.measured.line;
    write(waiting.measured, waiting.values, scatter);
    waiting_.pop_front();
  }
}

void NightConversion::write(const Measured& measured, report::ObservationValues& values,
                            std::optional<double> scatter) {
  if (widenedByScatter(values, scatter, errorSource_) &&
      report::writtenMagnitudeError(values.MERR) >= 1.0) {
    ++leftOut_;
    reportLeftOut(values.MERR, tableFile_, measured.line, findings_);
    return;
  }
  if (form_) {
    report::setObservationValues(values, values_);
    if (!recordFits(form_->build(values_, record_), tableFile_, measured.line, findings_,
                    format_.words)) {
      return;
    }
  }
  const double julianDate = measured.HJD - measured.HELCOR;
  if (written_ == 0) firstJulianDate_ = julianDate;
  if (values.DATE < firstDate_) earliestJulianDate_ = julianDate;
  firstDate_ = std::min(firstDate_, values.DATE);
  lastDate_ = std::max(lastDate_, values.DATE);
  ++written_;
  written_listener_.take({night_, values, record_, static_cast<float>(measured.checkError),
                          measured.line, measured.HJD});
}

bool NightConversion::transformAlone(const night::Measurement& measurement,
                                     report::ObservationValues& values) {
  // A filter alone transforms its check star only with the check star's colour.
  const bool checkKnown = measurement.checkDifference && transform_->checkColourDifference;
  transform::EquationValues at;
  transform::putOwn(
      at, transform_->role.filter,
      {{measurement.difference, measurement.error},
       checkKnown ? *measurement.checkDifference : std::numeric_limits<double>::quiet_NaN()});
  const auto tooLarge = transform::transformValues(
      *transform_, at, measurement.reference.value_or(parameters_.comparisonMagnitude), values);
  if (tooLarge) {
    ++leftOut_;
    reportLeftOut(tooLarge->MERR, tableFile_, measurement.line, findings_);
    return false;
  }
  return true;
}

}  // namespace varistellar::convert
