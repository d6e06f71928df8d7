// One file a command writes, through its whole life: opened apart from its
// name, written, finished (written out and made durable), checked, and put
// in place (committed); removed if it never is, whether the object dies or
// the process is stopped. Each failure is said the same way for every
// command: "cannot write the WHAT: REASON".
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "diagnostics/diagnostic.h"
#include "outputs/phase.h"
#include "outputs/report_output.h"

namespace varistellar::outputs {

class FileOutput {
 public:
  // `what` names the output in what the user is told: "report", "picture".
  FileOutput(std::string file, std::string_view what);
  FileOutput(const FileOutput&) = delete;
  FileOutput& operator=(const FileOutput&) = delete;
  virtual ~FileOutput() = default;

  [[nodiscard]] const std::string& file() const { return file_; }
  [[nodiscard]] std::string_view what() const { return what_; }

  // Removes the temporary files that stopped runs left beside the output,
  // and notes each removed or left on standard error unless `quiet`.
  void removeStaleTemporaries(bool quiet) const;
  // Opens where the output is written until it is complete.
  virtual Phase open(diagnostics::DiagnosticSink& findings);
  // Writes the output out and makes it durable, still apart from its name.
  virtual Phase finish(diagnostics::DiagnosticSink& findings);
  // Whether the finished output may be put in place; says why not.
  virtual Phase check() { return Phase::done; }
  // Puts the output in place. `inPlace` says what was put in place before
  // it ("the report NAME was written"), for a failure to tell.
  Phase commit(diagnostics::DiagnosticSink& findings, std::string_view inPlace = {});
  [[nodiscard]] bool committed() const { return committed_; }

 protected:
  [[nodiscard]] ReportOutput& output() { return output_; }
  [[nodiscard]] const ReportOutput& output() const { return output_; }
  // Reports "cannot write the WHAT: `failure`" and fails.
  Phase cannotWrite(diagnostics::DiagnosticSink& findings, const std::string& failure) const;

 private:
  std::string file_;
  std::string_view what_;
  ReportOutput output_{file_};
  bool committed_ = false;
};

}  // namespace varistellar::outputs
