// `transform` in one pass: the report's lines written as the checker reads
// them, each row as soon as no row still to come can change it, in the
// file's order; rows are held back only while a partner may still come.
// The #TRANSFORM lines are foreseen from the filters read when the first
// row is written. When every row was written settled (or at the end), each
// was solved as the whole report's plan solves it, and what was written
// holds if the transformations the rows took name the foreseen #TRANSFORM
// lines, in the whole plan's order. A row
// written unsettled, to hold no more than a bound, may have been solved
// otherwise: the caller then compares `results()` with the whole report's
// plan. Otherwise the report is written again in a second pass.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "report_transform/byte_fingerprint.h"
#include "report_transform/report_inputs.h"
#include "report_transform/report_plan.h"
#include "report_transform/streaming_plan.h"

namespace varistellar::report_transform {

// Where the one pass writes.
class OnePassOutput {
 public:
  // Opens the output, whose #TRANSFORM lines will be `transformLines`;
  // false when it cannot be (the second pass then says why).
  virtual bool start(const std::vector<std::string>& transformLines) = 0;
  // A line that is no row; `title` for the column-title line.
  virtual void copyLine(std::string_view text, bool title) = 0;
  // Row `index`, its result when it could be transformed.
  virtual void putRow(const ReportInputs& inputs, std::uint32_t index, std::string_view text,
                      char delimiter, const RowResult* result) = 0;
  // What was written is given up: the second pass writes it all.
  virtual void abandon() = 0;

 protected:
  ~OnePassOutput() = default;
};

// What a row's result writes and tells, as one value of the fingerprint.
void addResult(ByteFingerprint& fingerprint, const RowResult& result);

class OnePass final : public ReadingFollower {
 public:
  // Rows held back beyond `heldBytes` are written with what is known.
  OnePass(const transform::TransformSetting& setting, transform::PairingWindow window,
          OnePassOutput& output, std::size_t heldBytes)
      : setting_{setting}, plan_{setting, window}, output_{output}, heldBytes_{heldBytes} {}

  void checked(std::string_view bytes, const ReportInputs& inputs) override;
  void ended(const ReportInputs& inputs) override;

  // Whether every line was written in this pass.
  [[nodiscard]] bool wroteAll() const { return going_ && ended_; }
  // Whether every row was solved with all that could change it read.
  [[nodiscard]] bool exact() const { return exact_; }
  // Whether a row written took `role`'s transformation.
  [[nodiscard]] bool took(const transform::FilterRole& role) const;
  // The first row written unsettled, when not exact().
  [[nodiscard]] std::uint32_t firstUnsettled() const { return firstUnsettled_; }
  // The results of the transformable rows from firstUnsettled() on, in the
  // file's order (those before it were exact).
  [[nodiscard]] Fingerprint results() const { return results_.value(); }
  [[nodiscard]] const std::vector<std::string>& transformLines() const { return transformLines_; }

 private:
  static constexpr std::uint32_t noRow = 0xFFFFFFFF;
  struct HeldLine {
    std::uint32_t row = noRow;  // the row's index, or noRow
    bool title = false;
    std::size_t length = 0;
  };

  void endLine(const ReportInputs& inputs);
  void write(const ReportInputs& inputs, bool ending);
  [[nodiscard]] bool mayStart(const ReportInputs& inputs, bool ending) const;
  [[nodiscard]] bool writeHead(const ReportInputs& inputs);
  void abandon();
  [[nodiscard]] bool overfull() const { return held_.size() - heldStart_ > heldBytes_; }

  const transform::TransformSetting& setting_;
  StreamingPlan plan_;
  OnePassOutput& output_;
  std::size_t heldBytes_;
  // The lines held back, one after the other, CRs dropped; the last one
  // not ended yet.
  std::string held_;
  std::size_t heldStart_ = 0;  // the first held line's first byte
  std::size_t lineStart_ = 0;  // the line being read's first byte
  bool lineBegun_ = false;     // a byte of it was read
  std::deque<HeldLine> lines_;
  std::uint64_t lineNumber_ = 0;
  std::size_t nextRow_ = 0;    // the next row, among the inputs
  std::size_t delimiter_ = 0;  // the delimiter change in force
  std::uint32_t firstToTransform_ = noRow;
  std::uint32_t firstUnsettled_ = 0;
  std::vector<std::string> transformLines_;
  std::vector<const transform::FilterTransform*> used_;  // by the rows written, each once
  ByteFingerprint results_;
  bool started_ = false;
  bool going_ = true;
  bool ended_ = false;
  bool exact_ = true;
};

}  // namespace varistellar::report_transform
