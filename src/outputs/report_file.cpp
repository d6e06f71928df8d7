#include "outputs/report_file.h"

#include "aeff/format.h"
#include "console/console.h"
#include "diagnostics/quoted.h"

namespace varistellar::outputs {

ReportFile::ReportFile(std::string file, std::string_view command, check::FieldSet copied)
    : FileOutput{std::move(file), "report"}, command_{command}, copied_{copied} {}

Phase ReportFile::open(diagnostics::DiagnosticSink& findings) {
  if (FileOutput::open(findings) == Phase::failed) return Phase::failed;
  if (!output().isStream() && !aeff::isReportFileName(file())) {
    // The report's own check would refuse it; the name is the user's to change.
    findings.error(file(), 0, 0,
                   "the report's name must end in .txt, .csv or .tsv, as the AAVSO's upload "
                   "requires");
    return Phase::failed;
  }
  // The check runs beside the writing; a stream's on each line it is sent.
  output().checkWith(output().isStream()
                         ? &ownCheck_.emplace(file(), copied_)
                         : &ownCheck_.emplace(output().openForChecking(), file(), copied_));
  return Phase::done;
}

Phase ReportFile::check() {
  if (!ownCheck_) return Phase::done;
  result_ = ownCheck_->finish(output().bytesWritten());
  if (result_.passed) return Phase::done;
  // The temporary file goes with the output; the old one stays.
  printOwnCheck(result_, command_);
  return Phase::failed;
}

void ReportFile::tellCheck() const { printOwnCheck(result_, command_); }

void ReportFile::tellNothingWritten(std::size_t errors) {
  const std::string count = std::to_string(errors) + (errors == 1 ? " error" : " errors");
  output().sendBuffered();
  if (output().isStream() && output().bytesWritten() != 0) {
    console::printErrorLine("varistellar: " + count + "; the report sent to " +
                            diagnostics::shownName(file()) + " is incomplete");
  } else {
    console::printErrorLine("varistellar: " + count + "; nothing was written");
  }
}

}  // namespace varistellar::outputs
