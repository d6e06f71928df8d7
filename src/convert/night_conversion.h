// One night's measurements turned into report records as they are read: the
// value step, the record's form, the findings about observations that are
// left out or do not fit, and the night's counts and dates.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "check_star/ring_queue.h"
#include "check_star/scatter_window.h"
#include "convert/comparison_watch.h"
#include "convert/observation_listener.h"
#include "diagnostics/diagnostic.h"
#include "night/measurement.h"
#include "night/parameter_file.h"
#include "night/series_reader.h"
#include "night/table_format.h"
#include "report/record_forms.h"
#include "run/run_context.h"
#include "transform/night_transforms.h"

namespace varistellar::convert {

// The form of the command line's records: trimmed, with the check star's
// magnitudes when asked for or when the comparison is an ensemble.
[[nodiscard]] std::unique_ptr<report::RecordForm> commandLineRecordForm(
    bool withCheckStar, const night::NightParameters& parameters);
// The form of a transformed night's records (`transform`: none for a filter
// that is not transformed).
[[nodiscard]] std::unique_ptr<report::RecordForm> transformedRecordForm(
    const transform::FilterTransform* transform, const night::NightParameters& parameters);

// The finding of an observation whose MERR is 1.0 or more: it is left out.
void reportLeftOut(double MERR, const std::string& tableFile, std::uint64_t line,
                   diagnostics::DiagnosticSink& findings);

// Reports each number of an observation's record that does not fit its
// field, at the observation's table line, in the words of the table's
// format; true when there was none.
bool recordFits(const report::UnfitFields& unfit, const std::string& tableFile, std::uint64_t line,
                diagnostics::DiagnosticSink& findings, const night::TableWords& words);
// The same, the format told by the table's content when there is a fault.
bool recordFits(const report::UnfitFields& unfit, const std::string& tableFile, std::uint64_t line,
                diagnostics::DiagnosticSink& findings);

// MERR widened by the check star's scatter, sqrt(MERR^2 + scatter^2), and
// its source named, when there is a scatter; false when there is none.
bool widenedByScatter(report::ObservationValues& values, std::optional<double> scatter,
                      std::string_view errorSource);
// The one warning of a filter whose observations, `count` of them, kept the
// table's error for want of measured check stars nearby.
void warnUnscattered(const std::string& tableFile, std::uint64_t count, std::uint64_t firstLine,
                     std::size_t width, diagnostics::DiagnosticSink& findings);

class NightConversion final : public night::MeasurementSink {
 public:
  // Where `buildsRecords` is false, the records are made later, by whoever
  // keeps the observations, and the listener gets none. A night that builds
  // its records is transformed alone by `transform`, when there is one.
  NightConversion(std::size_t night, std::string tableFile,
                  const night::NightParameters& parameters, run::DateKind date, bool withCheckStar,
                  bool buildsRecords, diagnostics::DiagnosticSink& findings,
                  ObservationListener& written,
                  const transform::FilterTransform* transform = nullptr,
                  std::unique_ptr<night::SeriesReader> reader = nullptr);

  // MERR from the check star's scatter over the `width` observations
  // nearest in time (--merr check-scatter); only for a night that builds
  // its records.
  void scatterErrors(std::size_t width);
  // Reads the night's table through its reader; false as the reader says.
  [[nodiscard]] bool read();
  bool take(const night::Measurement& measurement) override;

  [[nodiscard]] const std::string& tableFile() const { return tableFile_; }
  // The table's format, told by its content.
  [[nodiscard]] const night::TableFormat& format() const { return format_; }
  [[nodiscard]] const night::NightParameters& parameters() const { return parameters_; }
  [[nodiscard]] const night::SeriesCounts& counts() const { return counts_; }
  [[nodiscard]] std::uint64_t leftOut() const { return leftOut_; }
  [[nodiscard]] std::uint64_t written() const { return written_; }
  // Observations kept when read that the transformation then left out.
  void leaveOutAfterwards(std::uint64_t count) {
    leftOut_ += count;
    written_ -= count;
  }
  [[nodiscard]] double firstDate() const { return firstDate_; }
  [[nodiscard]] double lastDate() const { return lastDate_; }
  // The Julian date of the first record written, and of the earliest one.
  [[nodiscard]] double firstJulianDate() const { return firstJulianDate_; }
  [[nodiscard]] double earliestJulianDate() const { return earliestJulianDate_; }
  // Measures an ensemble's comparison stars against each other as the night
  // is read, and keeps them for the picture when `forPicture`; nothing for a
  // night whose table gives no ensemble with its stars' magnitudes.
  void watchComparisons(bool forPicture);
  [[nodiscard]] const ComparisonWatch* comparisons() const {
    return comparisons_ ? &*comparisons_ : nullptr;
  }

 private:
  // What writing an observation needs of its measurement beside its values.
  struct Measured {
    std::uint64_t line = 0;
    double HJD = 0.0;
    double HELCOR = 0.0;
    double checkError = 0.0;
    Measured() = default;
    explicit Measured(const night::Measurement& measurement)
        : line{measurement.line},
          HJD{measurement.HJD},
          HELCOR{measurement.HELCOR},
          checkError{measurement.checkError} {}
  };
  // An observation whose window of neighbours is not yet whole.
  struct Waiting {
    Measured measured;
    report::ObservationValues values;
  };
  // Holds the observation until its window is whole, then writes every one
  // that is.
  void holdForScatter(const night::Measurement& measurement, report::ObservationValues& values);
  void writeWaiting();
  // The observation's record, to the listener; its MERR widened by the
  // check star's scatter when there is one.
  void write(const Measured& measured, report::ObservationValues& values,
             std::optional<double> scatter = std::nullopt);
  // The night's transformation alone; false when it leaves the observation out.
  bool transformAlone(const night::Measurement& measurement, report::ObservationValues& values);

  std::size_t night_;
  std::string tableFile_;
  const night::TableFormat& format_;
  const night::NightParameters& parameters_;
  run::DateKind date_;
  diagnostics::DiagnosticSink& findings_;
  ObservationListener& written_listener_;
  const transform::FilterTransform* transform_;
  std::unique_ptr<night::SeriesReader> reader_;  // prepared; none: opened to read
  std::unique_ptr<report::RecordForm> form_;
  report::RecordValues values_;
  std::string record_;
  night::SeriesCounts counts_;
  std::uint64_t leftOut_ = 0;
  std::uint64_t written_ = 0;
  double firstDate_ = std::numeric_limits<double>::infinity();
  double lastDate_ = -std::numeric_limits<double>::infinity();
  double firstJulianDate_ = 0.0;
  double earliestJulianDate_ = 0.0;
  std::optional<check_star::ScatterWindow> scatter_;
  check_star::RingQueue<Waiting> waiting_;
  std::string errorSource_;  // "KC21"
  // The observations whose windows held too few measured check stars.
  std::uint64_t unscattered_ = 0;
  std::uint64_t firstUnscatteredLine_ = 0;
  std::uint64_t lastLine_ = 0;
  bool outOfOrder_ = false;
  std::optional<ComparisonWatch> comparisons_;
};

}  // namespace varistellar::convert
