// The report's lines: its seven header lines and the observation record, in
// the interactive run's fixed-width form or the command line's trimmed form.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "run/observations.h"
#include "run/run_context.h"
#include "textio/fields.h"

namespace varistellar::run {

namespace layout {
using textio::fixedField;
using textio::literalText;
using textio::textField;

// One observation: fifteen AAVSO fields, 105 columns in the interactive form.
inline constexpr std::array observationRecordLayout = {
    textField(11, "STARID"),     literalText(","),         //
    fixedField(13, 5, "DATE"),   literalText(","),         //
    fixedField(6, 3, "MAG"),     literalText(","),         //
    fixedField(6, 3, "MERR"),    literalText(","),         //
    textField(6, "FILT"),        literalText(",NO,STD,"),  // TRANS, MTYPE
    textField(11, "CNAME"),      literalText(",na,"),      // CMAG
    textField(11, "KNAME"),      literalText(",na,"),      // KMAG
    fixedField(6, 3, "AIRMASS"), literalText(",na,"),      // GROUP
    textField(8, "CHART"),       literalText(",na"),       // NOTES
};

// The same record with the check star's magnitudes: CMAG, KMAG and the
// instrumental and catalogue magnitudes in NOTES. Written trimmed only.
inline constexpr std::array checkStarRecordLayout = {
    textField(11, "STARID"),     literalText(","),         //
    fixedField(13, 5, "DATE"),   literalText(","),         //
    fixedField(6, 3, "MAG"),     literalText(","),         //
    fixedField(6, 3, "MERR"),    literalText(","),         //
    textField(6, "FILT"),        literalText(",NO,STD,"),  // TRANS, MTYPE
    textField(11, "CNAME"),      literalText(","),         //
    fixedField(6, 3, "CMAG"),    literalText(","),         //
    textField(11, "KNAME"),      literalText(","),         //
    fixedField(6, 3, "KMAG"),    literalText(","),         //
    fixedField(6, 3, "AIRMASS"), literalText(",na,"),      // GROUP
    textField(8, "CHART"),       literalText(","),         //
    textField(0, "NOTES"),
};
}  // namespace layout
using layout::checkStarRecordLayout;
using layout::observationRecordLayout;

// The numbers of one record.
struct ReportValues {
  double DATE = 0.0;
  double MAG = 0.0;
  double MERR = 0.0;
  double AIRMASS = 0.0;
  // With the check star: V-C, and -(C1-K1) when the check star was measured.
  double VMAGINS = 0.0;
  std::optional<double> KMAGINS{};
};

// The numbers of a record that do not fit their fields (the interactive form
// writes those as asterisks).
struct UnfitFields {
  std::array<std::string_view, 8> names{};
  std::size_t count = 0;
};

// The seven header lines, without line ends.
[[nodiscard]] std::array<std::string, 7> reportHeaderLines(const ObserverParameters& parameters,
                                                           ReportForm form, DateKind date);

// Builds the observation records of one report. In the interactive form the
// first record is laid out whole and every later one only rewrites its four
// numbers, since the text columns are the same for every observation.
class ObservationRecords {
 public:
  ObservationRecords(const ObserverParameters& parameters, ReportForm form,
                     bool withCheckStar = false);

  UnfitFields build(const ReportValues& values, std::string& line);

 private:
  UnfitFields buildTrimmed(const ReportValues& values, std::string& line);
  UnfitFields buildWithCheckStar(const ReportValues& values, std::string& line) const;

  const ObserverParameters& parameters_;
  ReportForm form_;
  bool withCheckStar_ = false;
  bool laidOut_ = false;
  // The trimmed form: the texts before, between and after the four numbers,
  // the same for every observation, made with the first record.
  std::array<std::string, 5> trimmedTexts_;
};

// A number as a fixed-point field of width.digits writes it, without its
// leading blanks; nullopt when the field would hold asterisks, NaN or INF.
[[nodiscard]] std::optional<std::string> trimmedNumber(double value, int width, int digits);

// MERR as the report writes it, read back: what the AAVSO judges.
[[nodiscard]] double writtenMagnitudeError(double MERR);

}  // namespace varistellar::run
