// Judges each observation line of fifteen fields by the field and row rules
// of the table. A report repeats most of a row's bytes on the next row, so a
// rule whose fields are as on the previous row is, by default, not asked
// again: it holds exactly when it held there, and is only counted.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "check/findings.h"
#include "check/line_scanner.h"
#include "check/row.h"
#include "check/rules.h"

namespace varistellar::check {

// Whether a rule's verdict on the previous row is reused when its fields are
// unchanged (the findings are the same either way; off asks every rule anew).
enum class Memo : std::uint8_t { on, off };

// The field `i` of a line as the rules read it, written in place; its number
// is left to readNumber.
void fillField(const ScannedLine& line, std::size_t i, FieldText& field);

class RowJudge {
 public:
  // Judges by the rules whose findings are kept down to `least` severe.
  RowJudge(Memo memo, Severity least);
  // A line of fifteen fields, the `number`th row, read under `date`; what the
  // rules find goes to `findings`. Returns the fields whose bytes differ from
  // the previous row's (all of them when it is not at hand).
  FieldSet judge(const ScannedLine& line, std::uint64_t number, DateKind date,
                 double latestJulianDate, FileFindings& findings);
  // A parameter can change how rows are read: the next row is judged whole.
  void forget() { previousKept_ = false; }
  // The fields in `copied` are, on every row, bytes of a line already found
  // free of errors under the same parameters: the error rules that read
  // only them cannot hold, and are not asked.
  void trustCopied(FieldSet copied);
  // The row last judged.
  [[nodiscard]] const Row& lastRow() const { return row_; }

 private:
  // Fills the row from the line; returns the fields whose bytes differ from
  // the previous row's (all of them when that row is not at hand).
  FieldSet fillRow(const ScannedLine& line);
  void judgeFields(std::uint64_t line, FieldSet changed, FileFindings& findings);
  void judgeRow(std::uint64_t line, FieldSet changed, FileFindings& findings);

  Memo memo_;
  // The field rules and the row rules judged, one bit each in the table's order.
  std::uint64_t judgedFieldRules_ = 0;
  std::uint64_t judgedRowRules_ = 0;
  // For each field rule, the fields it is asked on.
  std::array<FieldSet, fieldRules.size()> fieldsAsked_{};
  // One row, reused from line to line: its fields are written in place.
  Row row_{};
  // The last row's line, when short; the row's fields point into it while
  // `previousKept_`.
  static constexpr std::size_t copyLimit = 1024;
  std::string lineCopy_;
  bool previousKept_ = false;
  // What the rules found on the last row: the fields each field rule held
  // on, and the field each row rule held on plus one (0: it did not hold).
  std::array<FieldSet, fieldRules.size()> fieldHeld_{};
  std::array<std::uint8_t, rowRules.size()> rowHeld_{};
  std::uint64_t rowHeldSet_ = 0;  // the row rules whose `rowHeld_` is not 0, one bit each
};

}  // namespace varistellar::check
