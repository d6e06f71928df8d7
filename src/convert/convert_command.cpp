// `varistellar convert` as a short sequence of phases: check that its files
// are distinct, read the parameter files, open the outputs, convert the
// nights, finish the outputs, check the report, put everything in place. One
// night's records are written as its table is read, so memory stays flat
// however long the night; several nights are kept and merged in time order.
#include "convert/convert_command.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "aeff/format.h"
#include "check_star/check_star_summary.h"
#include "console/console.h"
#include "console/console_findings.h"
#include "console/counted.h"
#include "convert/night_agreement.h"
#include "convert/night_conversion.h"
#include "convert/night_store.h"
#include "convert/night_summary.h"
#include "convert/output_listeners.h"
#include "diagnostics/diagnostic.h"
#include "diagnostics/held_findings.h"
#include "diagnostics/quoted.h"
#include "night/parameter_lines.h"
#include "night/table_formats.h"
#include "outputs/distinct_files.h"
#include "outputs/drawn_file.h"
#include "outputs/output_list.h"
#include "outputs/report_file.h"
#include "platform/platform.h"
#include "plot/svg_picture.h"
#include "report/header_lines.h"
#include "transform/coefficient_file.h"
#include "transform/night_transforms.h"

namespace varistellar::convert {
namespace {

using outputs::Phase;

class Conversion {
 public:
  explicit Conversion(ConvertPlan plan) : plan_{std::move(plan)} {}

  [[nodiscard]] int run() {
    if (checkFilesDistinct() == Phase::failed) return nothingWritten();
    readParameters();
    openOutputs();
    convertNights();
    findings_.printUnlisted();
    if (finishOutputs() == Phase::failed) return nothingWritten();
    if (outputs_.check() == Phase::failed) return 1;
    const outputs::Committed committed = outputs_.commit(findings_);
    if (committed == outputs::Committed::none) return nothingWritten();
    printSummary();
    warnAboutQuality();
    report_.tellCheck();
    return committed == outputs::Committed::all ? 0 : partlyWrittenStatus;
  }

 private:
  [[nodiscard]] bool several() const { return plan_.nights.size() > 1; }
  [[nodiscard]] bool transforming() const { return !plan_.coefficientFile.empty(); }
  [[nodiscard]] bool scattering() const { return plan_.scatterWidth.has_value(); }

  // Nothing is opened for writing over an input or over another output.
  Phase checkFilesDistinct() {
    std::vector<outputs::FileRole> files;
    for (const NightFiles& night : plan_.nights) {
      files.push_back({"light-curve table", night.tableFile});
      files.push_back({"parameter file", night.parameterFile});
    }
    if (transforming()) files.push_back({"coefficient file", plan_.coefficientFile});
    files.push_back({"report", plan_.reportFile});
    if (!plan_.plotFile.empty()) files.push_back({"picture", plan_.plotFile});
    return outputs::reportSharedFiles(files, findings_) == 0 ? Phase::done : Phase::failed;
  }

  // Each night's parameter file, then whether they agree. A faulty file's
  // night is still read, so that every error is listed at once.
  void readParameters() {
    withCheckStar_ = plan_.checkStar || scattering();
    for (const NightFiles& files : plan_.nights) {
      night::ParameterReading reading = night::readParameterFile(files.parameterFile, findings_);
      // A check star the parameter file names, whether or not the table measures it.
      const bool checkStarNamed = reading.parameters.checkStar.has_value();
      reading.ok = prepareNight(files, reading.parameters) && reading.ok;
      // A transformed report carries the check star whenever there is one;
      // errors made from its scatter, always.
      const bool checkStarWritten =
          plan_.checkStar || scattering() || (transforming() && reading.parameters.checkStar);
      if (reading.ok && scattering() && !reading.parameters.checkStar) {
        reportNoCheckStarToScatter(files, checkStarNamed);
        reading.ok = false;
        withCheckStar_ = false;
      } else if (reading.ok && checkStarWritten &&
                 !check_star::checkStarParametersUsable(reading.parameters, files.parameterFile,
                                                        findings_)) {
        // Reported once here, not again on every row of the table.
        reading.ok = false;
        withCheckStar_ = false;
      }
      parametersGood_ = parametersGood_ && reading.ok;
      parameters_.push_back(std::move(reading.parameters));
    }
    if (parametersGood_ && several()) {
      parametersGood_ = nightsAgree(plan_.nights, parameters_, findings_);
    }
    if (transforming()) planTransformation();
  }

  void reportNoCheckStarToScatter(const NightFiles& files, bool named) {
    if (named) {
      // A table that measures no check star (a Siril light curve).
      findings_.error(files.tableFile, 0, 0,
                      "--merr check-scatter needs a check star, but the table measures none: "
                      "convert with --merr table");
      return;
    }
    const std::uint64_t line = night::lineNumber(night::ParameterLine::checkStar);
    findings_.error(files.parameterFile, line, 0,
                    "--merr check-scatter needs a check star, but line " + std::to_string(line) +
                        " names none: put the check star's name on line " + std::to_string(line) +
                        " and its catalogue magnitude on line " +
                        std::to_string(night::lineNumber(night::ParameterLine::checkMagnitude)) +
                        ", or convert with --merr table");
  }

  // The table's first look at its night (its titles, and where the date
  // hangs on every row, its dates), which may change the report's date and
  // the night's parameters: an ensemble, its magnitude, the table's chart.
  bool prepareNight(const NightFiles& files, night::NightParameters& parameters) {
    if (!files.tableProblem.empty()) {
      findings_.error(files.tableFile, 0, 0, files.tableProblem);
      readers_.push_back(nullptr);
      return false;
    }
    readers_.push_back(night::tableFormatOfFile(files.tableFile).open(files.tableFile));
    const std::optional<night::NightShape> shape =
        readers_.back()->prepare({parameters, files.parameterFile, plan_.date == run::DateKind::jd,
                                  plan_.dateGiven, plan_.checkStar},
                                 findings_);
    if (!shape) return false;
    if (shape->julianDate) plan_.date = run::DateKind::jd;
    parameters.ensemble = shape->ensemble;
    if (shape->reference) {
      parameters.comparisonMagnitude = *shape->reference;
      parameters.comparisonMagnitudeGiven = true;
      parameters.referenceByRow = true;
    }
    parameters.ensembleStars = shape->ensembleStars;
    if (!shape->checkStarMeasured) parameters.checkStar.reset();
    if (shape->chart && parameters.chartId == "na") parameters.chartId = *shape->chart;
    return true;
  }

  // The coefficient file, and how each night is transformed with it.
  void planTransformation() {
    if (parametersGood_ && parameters_.front().checkStar) withCheckStar_ = true;
    coefficients_ = transform::readCoefficientFile(plan_.coefficientFile, findings_);
    if (!coefficients_.ok || !parametersGood_) {
      parametersGood_ = false;
      return;
    }
    auto planned = transform::planTransforms(transformSetting(), plannedNights(), findings_);
    if (!planned) {
      parametersGood_ = false;
      return;
    }
    transforms_ = std::move(*planned);
  }

  [[nodiscard]] transform::TransformSetting transformSetting() const {
    return {coefficients_.file, plan_.coefficientFile, plan_.colour};
  }

  [[nodiscard]] std::vector<transform::PlannedNight> plannedNights() const {
    std::vector<transform::PlannedNight> nights;
    for (std::size_t i = 0; i < parameters_.size(); ++i) {
      nights.push_back({parameters_[i], plan_.nights[i].parameterFile});
    }
    return nights;
  }

  // A filter whose partners hold no observation at all is transformed alone
  // when --colour gives its colour, and written untransformed otherwise. A
  // filter without observations uses no coefficient: none is listed for it.
  [[nodiscard]] std::vector<const transform::FilterTransform*> transformsAfterReading(
      const NightStore& store) {
    std::vector<const transform::FilterTransform*> used;
    for (std::size_t i = 0; i < transforms_.size(); ++i) {
      if (!store.holdsObservations(i)) {
        used.push_back(nullptr);
        continue;
      }
      const auto& partners = transforms_[i].partnerNights;
      const bool partnersMissing =
          std::any_of(partners.begin(), partners.end(),
                      [&](std::size_t n) { return !store.holdsObservations(n); });
      if (!partnersMissing) {
        used.push_back(&transforms_[i]);
        continue;
      }
      const auto alone = transform::planAlone(transformSetting(), plannedNights()[i], findings_);
      used.push_back(alone ? &aloneTransforms_.emplace_back(*alone) : nullptr);
    }
    return used;
  }

  void writeTransformLines(const std::vector<const transform::FilterTransform*>& used) {
    std::vector<transform::FilterTransform> listed;
    for (const transform::FilterTransform* transform : used) {
      if (transform != nullptr) listed.push_back(*transform);
    }
    for (const std::string& line :
         transform::transformCommentLines(listed, plan_.coefficientFile)) {
      report_.write(line);
    }
  }

  // The report is begun only for good parameter files; the picture's file
  // is opened all the same, so that a fault there is listed too.
  void openOutputs() {
    outputs_.add(report_);
    if (!plan_.plotFile.empty()) {
      outputs_.add(picture_.emplace(
          plan_.plotFile, "picture", [this] { return drawPicture(); },
          outputs::OutOfMemoryFinding{plan_.nights.back().tableFile, outOfMemoryForPicture}));
    }
    outputs_.removeStaleTemporaries(plan_.quiet);
    if (parametersGood_ && report_.open(findings_) == Phase::done) {
      for (const std::string& line : report::reportHeaderLines(
               parameters_.front().observerCode, run::ReportForm::aavso, plan_.date,
               night::tableFormatOfFile(plan_.nights.front().tableFile).program)) {
        report_.write(line);
      }
      // Every record of one night is transformed (one whose MERR would reach
      // 1.0 is left out): its coefficient is named once a record is written.
      if (transforming() && !several()) {
        reportLines_.holdForFirstRecord(
            transform::transformCommentLines({transforms_.front()}, plan_.coefficientFile));
      }
      written_.add(reportLines_);
      if (transforming()) {
        written_.add(transformedCheckStar_);
        written_.add(transformedQuality_);
      }
    }
    if (picture_) {
      if (transforming()) picturePoints_.showTransformation();
      written_.add(picturePoints_);
      (void)picture_->open(findings_);
    }
  }

  // Reads each night's table, each observation through the value step to its
  // record and on to the outputs: straight away for one night, after all
  // are read and in time order for several.
  void convertNights() {
    Fanout kept;
    // The check star is tallied in table order as the tables are read; but
    // when several nights are transformed, as written: the transformation
    // can still leave out an observation that was kept.
    Fanout& inTableOrder = several() && transforming() ? written_ : kept;
    if (withCheckStar_) inTableOrder.add(checkStar_);
    inTableOrder.add(quality_);
    std::vector<std::string> tableFiles;
    // cppcheck-suppress useStlAlgorithm ; a loop reads plainer than a transform
    for (const NightFiles& night : plan_.nights) tableFiles.push_back(night.tableFile);
    std::optional<NightStore> store;
    if (several()) {
      store.emplace(parameters_, tableFiles, withCheckStar_);
      if (scattering() && withCheckStar_ && parametersGood_)
        store->scatterErrors(*plan_.scatterWidth);
      kept.add(*store);
    } else {
      kept.add(written_);
    }
    try {
      if (store) {
        readNightsSideBySide(tableFiles, kept);
        handOnNights(*store);
      } else {
        nights_.push_back(std::make_unique<NightConversion>(
            0, tableFiles[0], parameters_[0], plan_.date, withCheckStar_, true, findings_, kept,
            transforms_.empty() ? nullptr : &transforms_.front(), std::move(readers_[0])));
        nights_.back()->watchComparisons(!plan_.plotFile.empty());
        if (scattering() && withCheckStar_ && parametersGood_)
          nights_.back()->scatterErrors(*plan_.scatterWidth);
        (void)nights_.back()->read();
      }
    } catch (const std::bad_alloc&) {
      findings_.error(plan_.nights.back().tableFile, 0, 0,
                      several() ? std::string{"out of memory for the nights' observations: "
                                              "convert fewer or shorter nights into one report"}
                                : outOfMemoryForPicture);
    }
  }

  // The kept observations of several nights to the outputs, transformed
  // when asked. Records that do not fit are found as they are made, whether
  // or not any is written.
  void handOnNights(NightStore& store) {
    ObservationListener* outputs = findings_.errors() == 0 ? &written_ : nullptr;
    if (transforms_.empty()) {
      handed_ = store.handOn(outputs, findings_);
      for (std::size_t i = 0; i < nights_.size(); ++i) {
        nights_[i]->leaveOutAfterwards(handed_.leftOut[i]);
      }
      return;
    }
    StoreTransformation transformation{
        transformsAfterReading(store), {plan_.pairWithinMinutes}, plan_.pairWithinText};
    outputs = findings_.errors() == 0 ? &written_ : nullptr;
    // Only the coefficients that transform a record are named.
    if (outputs != nullptr) writeTransformLines(store.transformsUsed(transformation));
    handed_ = store.handOn(outputs, findings_, &transformation);
    for (std::size_t i = 0; i < nights_.size(); ++i) {
      nights_[i]->leaveOutAfterwards(handed_.leftOut[i]);
    }
    usedTransforms_ = std::move(transformation.transforms);
  }

  // Several nights are read at once, each but the first on a thread of its
  // own: their records can be written only once all are read, and reading
  // is most of the work. Each night's findings are held back and reported
  // in the order of the FOLDERs, as if the nights had been read one by one.
  void readNightsSideBySide(const std::vector<std::string>& tableFiles, Fanout& kept) {
    const std::size_t count = tableFiles.size();
    std::vector<diagnostics::HeldFindings> held(count);
    for (std::size_t i = 0; i < count; ++i) {
      // The first night is reported as it is read.
      diagnostics::DiagnosticSink* findings = &held[i];
      if (i == 0) findings = &findings_;
      nights_.push_back(std::make_unique<NightConversion>(
          i, tableFiles[i], parameters_[i], plan_.date, withCheckStar_, false, *findings, kept,
          nullptr, std::move(readers_[i])));
      nights_.back()->watchComparisons(!plan_.plotFile.empty());
    }
    // Each night's outputs (its check star's statistics, its kept
    // observations) are its own, so the nights share nothing as they are read.
    std::vector<std::unique_ptr<platform::WorkerThread>> workers;
    std::vector<char> outOfMemory(count, 0);
    const auto readNight = [&](std::size_t i) {
      try {
        (void)nights_[i]->read();
      } catch (const std::bad_alloc&) {
        outOfMemory[i] = 1;
      }
    };
    std::vector<std::size_t> here{0};
    for (std::size_t i = 1; i < count; ++i) {
      workers.push_back(std::make_unique<platform::WorkerThread>());
      if (!workers.back()->start([&readNight, i] { readNight(i); })) here.push_back(i);
    }
    for (const std::size_t i : here) readNight(i);
    for (auto& worker : workers) worker->join();
    for (std::size_t i = 1; i < count; ++i) held[i].replayTo(findings_);
    if (std::find(outOfMemory.begin(), outOfMemory.end(), 1) != outOfMemory.end()) {
      throw std::bad_alloc{};
    }
  }

  // Every output is written in full and made durable before the first is put
  // in place, so that a full disk leaves every old file as it was; the report
  // first, so that the picture cannot take its room.
  Phase finishOutputs() {
    if (findings_.errors() != 0) return Phase::failed;
    return outputs_.finish(findings_);
  }

  // The picture, drawn once every observation is known.
  [[nodiscard]] std::string drawPicture() const {
    plot::PictureLabels labels{
        .star = parameters_.front().variableStarId,
        .observer = parameters_.front().observerCode,
        .comparison = parameters_.front().comparisonStarId,
        .checkStar = parameters_.front().checkStar ? parameters_.front().checkStar->id : "",
        .filters = {},
        .dateKind = plan_.date == run::DateKind::jd ? "JD" : "HJD",
        .observations = picturePoints_.points().size(),
        .firstJulianDate = firstJulianDate(),
        .transformed = transforming(),
        .checkTransformed = picturePoints_.checkTransformed(),
    };
    for (const night::NightParameters& parameters : parameters_) {
      labels.filters.push_back({parameters.filterName, parameters.comparisonMagnitude,
                                parameters.checkStar ? parameters.checkStar->magnitude : 0.0});
    }
    plot::Series series = picturePoints_.points().series(parameters_.size());
    series.comparisons = comparisonSeries();
    return plot::drawNightPicture(series, labels);
  }

  // Each ensemble's comparison stars against the others, named by their
  // apertures, and by their filters as well when several nights have them.
  [[nodiscard]] std::vector<plot::NamedSeries> comparisonSeries() const {
    const auto watched = std::count_if(nights_.begin(), nights_.end(),
                                       [](const auto& night) { return night->comparisons(); });
    std::vector<plot::NamedSeries> drawn;
    for (std::size_t i = 0; i < nights_.size(); ++i) {
      const ComparisonWatch* comparisons = nights_[i]->comparisons();
      if (comparisons == nullptr) continue;
      std::vector<plot::NamedSeries> stars =
          comparisons->series(watched > 1 ? " " + reportedFilter(i) : std::string{});
      drawn.insert(drawn.end(), std::make_move_iterator(stars.begin()),
                   std::make_move_iterator(stars.end()));
    }
    return drawn;
  }

  // The Julian date of the report's first record: the first one written of
  // one night, the earliest of several.
  [[nodiscard]] double firstJulianDate() const {
    if (!several()) return nights_.front()->firstJulianDate();
    const NightConversion* first = nullptr;
    for (const auto& night : nights_) {
      if (night->written() == 0) continue;
      if (first == nullptr || night->firstDate() < first->firstDate()) first = night.get();
    }
    return first == nullptr ? 0.0 : first->earliestJulianDate();
  }

  void printSummary() {
    for (std::size_t i = 0; i < nights_.size(); ++i) {
      const night::NightParameters& parameters = parameters_[i];
      if (withCheckStar_ && checkStar_.of(i).count() == 0) {
        const std::string none = noneWritten(i);
        std::string text = "the check star " + parameters.checkStar->id;
        if (none.empty()) {
          text.append(" was not measured on any written line (")
              .append(nights_[i]->format().words.checkUnmeasured)
              .append("): KMAG is na throughout");
        } else {
          text.append(" was not measured, as ").append(none);
        }
        findings_.warning(nights_[i]->tableFile(), 0, 0, text);
      }
      if (withCheckStar_) warnIfCheckStarMovedAway(i);
    }
    if (plan_.quiet) return;
    std::vector<const NightConversion*> nights;
    // cppcheck-suppress useStlAlgorithm ; a loop reads plainer than a transform
    for (const auto& night : nights_) nights.push_back(night.get());
    for (const std::string& line : summaryLines(nights, plan_.date, plan_.reportFile)) {
      console::printLine(line);
    }
    if (transforming()) printTransformedCounts();
    if (withCheckStar_) {
      for (std::size_t i = 0; i < nights_.size(); ++i) {
        const night::NightParameters& parameters = parameters_[i];
        const std::string name =
            parameters.checkStar->id +
            (several() || transforming() ? " " + reportedFilter(i) : std::string{});
        for (const std::string& line : check_star::checkStarSummaryLines(
                 name, parameters.checkStar->magnitude, checkStar_.of(i), nights_[i]->tableFile(),
                 &transformedCheckStar_.of(i), noneWritten(i))) {
          console::printLine(line);
        }
      }
    }
    if (picture_ && picture_->committed()) {
      console::printLine("drew " + diagnostics::shownName(plan_.plotFile) + ": " +
                         console::countOf(picturePoints_.points().size(), "observation"));
    }
  }

  // The night's quality, after the summary: each kind of warning in turn,
  // for each filter in the order of the FOLDERs. A transformed filter is
  // judged on its transformed check star.
  void warnAboutQuality() {
    using Warning = std::optional<std::string> (*)(const check_star::CheckStarQuality&,
                                                   const check_star::QualityNames&);
    const Warning warnings[] = {
        [](const check_star::CheckStarQuality& quality, const check_star::QualityNames& names) {
          return check_star::awayFromCatalogue(quality.statistics(), names);
        },
        check_star::errorsUnderstated,
        [](const check_star::CheckStarQuality& quality, const check_star::QualityNames& names) {
          return check_star::driftWithAirmass(quality.trend(), names);
        },
    };
    for (const Warning warning : warnings) {
      // The scatter is in the errors already.
      if (scattering() && warning == check_star::errorsUnderstated) continue;
      for (std::size_t i = 0; i < nights_.size(); ++i) {
        const auto& checkStar = parameters_[i].checkStar;
        if (!checkStar) continue;
        const std::string filter = reportedFilter(i);
        const check_star::QualityNames names{checkStar->id, filter, checkStar->magnitude};
        const bool judgedTransformed =
            transforming() && transformedQuality_.of(i).statistics().count() != 0;
        const auto& quality = judgedTransformed ? transformedQuality_.of(i) : quality_.of(i);
        if (const auto text = warning(quality, names)) {
          findings_.warning(nights_[i]->tableFile(), 0, 0, *text);
        }
      }
    }
    for (const auto& night : nights_) {
      if (const ComparisonWatch* comparisons = night->comparisons()) {
        for (const std::string& text : comparisons->agreement().findings()) {
          findings_.warning(night->tableFile(), 0, 0, text);
        }
      }
    }
  }

  // Why night `i` wrote no line to measure the check star on; nothing when
  // it wrote some.
  [[nodiscard]] std::string noneWritten(std::size_t i) const {
    if (nights_[i]->written() != 0) return {};
    if (nights_[i]->counts().observationLines == 0) return "the table holds no observation";
    return "no observation was written: every one was dropped (" +
           std::string{nights_[i]->format().words.dropped} + ") or left out (MERR of 1.0 or more)";
  }

  // The night's transformation, if it had one.
  [[nodiscard]] const transform::FilterTransform* transformOf(std::size_t night) const {
    if (!transforming()) return nullptr;
    if (!several()) return transforms_.empty() ? nullptr : &transforms_.front();
    return night < usedTransforms_.size() ? usedTransforms_[night] : nullptr;
  }

  // The filter as the report names it: B for a transformed TB.
  [[nodiscard]] std::string reportedFilter(std::size_t night) const {
    const transform::FilterTransform* transform = transformOf(night);
    return transform != nullptr ? transform->reportedFilter : parameters_[night].filterName;
  }

  // How many of each filter's observations were transformed.
  void printTransformedCounts() const {
    for (std::size_t i = 0; i < nights_.size(); ++i) {
      const std::uint64_t written = nights_[i]->written();
      const std::uint64_t untransformed = several() ? handed_.untransformed[i] : 0;
      std::string line = "transformed " + parameters_[i].filterName + ": " +
                         std::to_string(written - untransformed) + " of " +
                         console::countOf(written, "observation");
      if (const transform::FilterTransform* transform = transformOf(i)) {
        line += ", with " + transform->coefficientText;
      }
      console::printLine(line);
    }
  }

  // The transformation is tried on the check star too: moving it away
  // from its catalogue magnitude points at the coefficients or the colours.
  void warnIfCheckStarMovedAway(std::size_t night) {
    if (const auto moved =
            check_star::checkStarMovedAway(checkStar_.of(night), transformedCheckStar_.of(night),
                                           parameters_[night].checkStar->magnitude)) {
      findings_.warning(nights_[night]->tableFile(), 0, 0, *moved);
    }
  }

  int nothingWritten() {
    report_.tellNothingWritten(findings_.errors());
    return 1;
  }

  static constexpr const char* outOfMemoryForPicture =
      "out of memory for the picture's points: convert the night without --plot";

  ConvertPlan plan_;
  console::ConsoleFindings findings_;
  std::vector<night::NightParameters> parameters_;
  bool parametersGood_ = true;
  bool withCheckStar_ = false;
  // Each night's reader, prepared before the outputs are opened (none where
  // FOLDER holds no table); handed to its night's conversion.
  std::vector<std::unique_ptr<night::SeriesReader>> readers_;
  std::vector<std::unique_ptr<NightConversion>> nights_;
  // The transformation: the coefficients, each night's plan, the plans of
  // filters found alone after reading, and what each night was given.
  transform::CoefficientReading coefficients_;
  std::vector<transform::FilterTransform> transforms_;
  std::deque<transform::FilterTransform> aloneTransforms_;
  std::vector<const transform::FilterTransform*> usedTransforms_;
  HandedOn handed_;
  // The outputs, in the order they are put in place, and the fan-out that
  // hands them the written observations.
  outputs::ReportFile report_{plan_.reportFile, "convert"};
  std::optional<outputs::DrawnFile> picture_;
  outputs::OutputList outputs_;
  ReportLines reportLines_{report_};
  CheckStarTally checkStar_{plan_.nights.size(), CheckStarTally::Magnitude::measured};
  CheckStarTally transformedCheckStar_{plan_.nights.size(), CheckStarTally::Magnitude::transformed};
  QualityTally quality_{plan_.nights.size(), CheckStarTally::Magnitude::measured};
  QualityTally transformedQuality_{plan_.nights.size(), CheckStarTally::Magnitude::transformed};
  PicturePoints picturePoints_{parameters_};
  Fanout written_;
};

}  // namespace

int runConvertCommand(const ConvertOptions& options) {
  Conversion conversion{convertPlan(options)};
  return conversion.run();
}

}  // namespace varistellar::convert
