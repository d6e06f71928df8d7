// The report's record forms: the interactive run's fixed-width record, the
// command line's trimmed record, and the trimmed record with the check star.
// Each holds its own layout and takes its values by their names.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "report/record_values.h"

namespace varistellar::report {

// The numbers of a record that do not fit their fields (the interactive form
// writes those as asterisks).
struct UnfitFields {
  std::array<std::string_view, 8> names{};
  std::size_t count = 0;
};

// One form of the observation record. Within one report, every value but the
// numbers is the same in every record (one star, one filter, one chart), so
// a form may lay out those texts once, with the first record.
class RecordForm {
 public:
  RecordForm() = default;
  RecordForm(const RecordForm&) = delete;
  RecordForm& operator=(const RecordForm&) = delete;
  virtual ~RecordForm() = default;

  // The record of `values` into `line`, replacing what it held.
  virtual UnfitFields build(const RecordValues& values, std::string& line) = 0;
};

// 105 columns: each field in its width, texts blank-padded or cut. The first
// record is laid out whole; every later one rewrites only its four numbers.
class InteractiveRecordForm final : public RecordForm {
 public:
  UnfitFields build(const RecordValues& values, std::string& line) override;

 private:
  bool laidOut_ = false;
};

// The same fields, each without the blanks at its ends and each text whole.
class TrimmedRecordForm final : public RecordForm {
 public:
  UnfitFields build(const RecordValues& values, std::string& line) override;

 private:
  bool laidOut_ = false;
  // The texts before, between and after the four numbers.
  std::array<std::string, 5> texts_;
};

// The trimmed record with the check star: the comparison at CMAG 0.000 and
// the check star at -(C1-K1) on the same zero point, so that KMAG - CMAG +
// CREFMAG is the check star's standard magnitude; NOTES with the
// instrumental and catalogue magnitudes. An unmeasured check star (no
// KMAGINS) has KMAG na and no KMAGINS or KREFMAG.
class CheckStarRecordForm final : public RecordForm {
 public:
  UnfitFields build(const RecordValues& values, std::string& line) override;

 private:
  std::string notes_;
};

// The check star's record of a transformed night. A transformed record
// (one with a COLOR) names the standard filter, says TRANS YES and ends its
// NOTES with the coefficient and the target's standard colour; any other
// is the check star's record as it stands.
class TransformedRecordForm final : public RecordForm {
 public:
  // `notesBeforeColour`: "|Tv_bv=-0.0467|Tv_bvERR=0.0070|BVCOLOR=".
  TransformedRecordForm(std::string standardFilter, std::string notesBeforeColour);
  UnfitFields build(const RecordValues& values, std::string& line) override;

 private:
  std::string standardFilter_;
  std::string notesBeforeColour_;
  std::string notes_;
};

}  // namespace varistellar::report
