// The report's temporary file and its rename into place.
#include "convert/report_output.h"

#include "platform/platform.h"

namespace varistellar::convert {

using textio::describeFailure;

ReportOutput::ReportOutput(std::string reportFile) : reportFile_{std::move(reportFile)} {}

ReportOutput::~ReportOutput() {
  writer_.reset();
  if (!committed_ && !temporaryFile_.empty()) (void)platform::removeFile(temporaryFile_);
}

std::optional<std::string> ReportOutput::open() {
  switch (platform::pathKind(reportFile_)) {
    case platform::PathKind::directory: return "it is a folder";
    case platform::PathKind::other:
      // A device has no content to keep: it is written directly.
      writer_ =
          std::make_unique<textio::LineWriter>(reportFile_, textio::LineWriter::Mode::existing);
      if (!writer_->opened()) return describeFailure(writer_->failure());
      return std::nullopt;
    case platform::PathKind::missing:
    case platform::PathKind::file: break;
  }
  // A name of this process's own, so that two runs never share one; a name
  // left by a killed run is passed over.
  const std::string stem = reportFile_ + "." + std::to_string(platform::processId());
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string candidate = stem + (attempt == 0 ? "" : "-" + std::to_string(attempt)) + ".tmp";
    writer_ = std::make_unique<textio::LineWriter>(candidate, textio::LineWriter::Mode::createNew);
    if (writer_->opened()) {
      temporaryFile_ = std::move(candidate);
      return std::nullopt;
    }
    if (platform::pathKind(candidate) == platform::PathKind::missing) break;
  }
  return "cannot create a file beside it: " + describeFailure(writer_->failure());
}

std::optional<std::string> ReportOutput::finishWriting() {
  writer_->finish();
  if (writer_->failure().happened()) return describeFailure(writer_->failure());
  return std::nullopt;
}

std::optional<std::string> ReportOutput::commit() {
  if (auto failure = finishWriting()) return failure;
  if (temporaryFile_.empty()) {
    committed_ = true;
    return std::nullopt;
  }
  if (const platform::SystemError error = platform::replaceFile(temporaryFile_, reportFile_)) {
    return "cannot put it in place: " + platform::systemErrorMessage(error);
  }
  committed_ = true;
  return std::nullopt;
}

const std::string& ReportOutput::writtenFile() const {
  return temporaryFile_.empty() ? reportFile_ : temporaryFile_;
}

}  // namespace varistellar::convert
