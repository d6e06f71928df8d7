// What a reader of a report's contents hears while the checker reads it:
// each '#' line and each observation line of fifteen fields, as the rules
// read them, so that one pass over the file both checks and reads it.
#pragma once

#include "check/line_scanner.h"
#include "check/row.h"

namespace varistellar::check {

class ReportListener {
 public:
  // A line that starts with '#': a parameter, the column-title line or a comment.
  virtual void commentLine(const ScannedLine& line) = 0;
  // An observation line of fifteen fields, after its rules were applied.
  // `changed` holds the fields whose bytes differ from the previous row's;
  // the others keep their texts and numbers.
  virtual void observation(const Row& row, FieldSet changed) = 0;

 protected:
  ~ReportListener() = default;
};

}  // namespace varistellar::check
