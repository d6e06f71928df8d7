// A report a command writes (convert's, transform's): a file output whose
// name must end as the AAVSO's upload requires, checked by `check`'s rules
// beside its writing, and put in place only when that check passes.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "outputs/file_output.h"
#include "outputs/own_check.h"

namespace varistellar::outputs {

class ReportFile final : public FileOutput {
 public:
  // `command` is the command that writes it, whose defect a failed own
  // check would be. The fields in `copied` of its observation lines are
  // copied byte for byte from a report found free of errors (OwnCheck).
  ReportFile(std::string file, std::string_view command, check::FieldSet copied = 0);

  // Opens the report and starts its own check; fails on a file whose name
  // the own check would refuse.
  Phase open(diagnostics::DiagnosticSink& findings) override;
  void write(std::string_view line) { output().write(line); }
  // Awaits the own check; a report that `check` rejects is never put in
  // place, and what the check found is said.
  Phase check() override;
  // The errors and warnings the passed own check found, once the report is
  // in place; its notes are for `check` to tell.
  void tellCheck() const;
  // The closing line of a run that failed with `errors` errors: nothing was
  // written, or (a stream cannot be taken back) what went out is incomplete.
  void tellNothingWritten(std::size_t errors);

 private:
  std::string_view command_;
  check::FieldSet copied_;
  std::optional<OwnCheck> ownCheck_;
  OwnCheckResult result_;
};

}  // namespace varistellar::outputs
