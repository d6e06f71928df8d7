// The report's record forms: the interactive run's fixed-width record, the
// command line's trimmed record, and the trimmed record with the check star,
// transformed or not.
// Each holds its own layout and takes its values by their names.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "report/record_values.h"
#include "textio/fields.h"

namespace varistellar::report {

// The numbers of a record that do not fit their fields (the interactive form
// writes those as asterisks).
struct UnfitFields {
  std::array<std::string_view, 8> names{};
  std::size_t count = 0;
};

// A check star's record laid out once: the texts that are the same in every
// record of a night, and between them the numbers that change.
class CheckStarLayout {
 public:
  // False when a number that is the same in every record does not fit its
  // field: the record must then be built whole each time.
  // `referenceByRecord`: CREFMAG changes from one record to the next.
  bool layOut(std::span<const textio::LayoutItem> layout, std::span<const RecordKey> keys,
              const RecordValues& values, std::string_view filter, std::string_view trans,
              std::string_view notesBeforeColour, bool referenceByRecord = false);
  UnfitFields build(const RecordValues& values, std::string& line) const;

 private:
  struct Piece {
    std::string text;  // before the number
    RecordKey key;
    std::string_view name;  // reported when it does not fit; empty: never
    textio::LayoutItem format;
    bool inNotes;  // a subfield: six asterisks when it does not fit
  };
  std::vector<Piece> pieces_;
  std::string last_;
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
// KMAGINS) has KMAG na and no KMAGINS or KREFMAG. In a transformed night, a
// transformed record (one with a COLOR) names the standard filter, says
// TRANS YES and ends its NOTES with the coefficient and the target's
// standard colour.
class CheckStarRecordForm final : public RecordForm {
 public:
  // `notesBeforeColour`: "|Tv_bv=-0.0467|Tv_bvERR=0.0070|BVCOLOR=" of a
  // transformed night's filter, which `standardFilter` names.
  // `referenceByRecord`: the comparison's catalogue magnitude (CREFMAG) is
  // given row by row, as an ensemble's is.
  explicit CheckStarRecordForm(std::string standardFilter = {}, std::string notesBeforeColour = {},
                               bool referenceByRecord = false);
  UnfitFields build(const RecordValues& values, std::string& line) override;

 private:
  // The record built field by field: when a fixed number does not fit.
  UnfitFields buildWhole(const RecordValues& values, std::string& line);

  std::string standardFilter_;
  std::string notesBeforeColour_;
  bool referenceByRecord_ = false;
  // Laid out for a check star unmeasured and measured, untransformed and
  // transformed.
  std::array<std::optional<CheckStarLayout>, 8> layouts_{};
  std::string notes_;
};

}  // namespace varistellar::report
