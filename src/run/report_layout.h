// The report's lines: its seven header lines and the observation record, in
// the interactive run's fixed-width form or the command line's trimmed form.
#pragma once

#include <array>
#include <cstdint>
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
}  // namespace layout
using layout::observationRecordLayout;

// The numbers of one record.
struct ReportValues {
  double DATE = 0.0;
  double MAG = 0.0;
  double MERR = 0.0;
  double AIRMASS = 0.0;
};

// The numbers of a record that do not fit their fields (the interactive form
// writes those as asterisks).
struct UnfitFields {
  std::array<std::string_view, 4> names{};
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
  ObservationRecords(const ObserverParameters& parameters, ReportForm form);

  UnfitFields build(const ReportValues& values, std::string& line);

 private:
  UnfitFields buildTrimmed(const ReportValues& values, std::string& line);

  const ObserverParameters& parameters_;
  ReportForm form_;
  bool laidOut_ = false;
  // The trimmed form: the texts before, between and after the four numbers,
  // the same for every observation, made with the first record.
  std::array<std::string, 5> trimmedTexts_;
};

// MERR as the report writes it, read back: what the AAVSO judges.
[[nodiscard]] double writtenMagnitudeError(double MERR);

}  // namespace varistellar::run
