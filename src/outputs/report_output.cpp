// An output's temporary file and its rename into place.
#include "outputs/report_output.h"

#include "outputs/temporary_files.h"

namespace varistellar::outputs {

using textio::describeFailure;

namespace {

constexpr unsigned attempts = 100;

}  // namespace

ReportOutput::ReportOutput(std::string file) : file_{std::move(file)} {}

ReportOutput::~ReportOutput() {
  writer_.reset();
  if (!committed_ && !temporaryFile_.empty()) {
    (void)platform::removeFile(temporaryFile_);
    platform::stopWatching(temporaryFile_);
  }
}

std::optional<std::string> ReportOutput::open() {
  switch (platform::outputKind(file_)) {
    case platform::OutputKind::folder: return "it is a folder";
    case platform::OutputKind::stream:
      stream_ = true;
      writer_ = std::make_unique<textio::LineWriter>(platform::openStreamForWriting(file_), false);
      if (!writer_->opened()) return describeFailure(writer_->failure());
      return std::nullopt;
    case platform::OutputKind::missing:
    case platform::OutputKind::file: break;
  }
  return openTemporary();
}

std::optional<std::string> ReportOutput::openTemporary() {
  // An unnamed file needs nothing removed, even after SIGKILL; it is used
  // where the system can read it back for the check and name it later.
  const platform::OpenResult unnamed = platform::createUnnamedFile(folderOf(file_));
  if (unnamed.error == 0) {
    const platform::OpenResult probe = platform::openAgainForReading(unnamed.handle);
    if (probe.error == 0) {
      (void)platform::closeFile(probe.handle);
      unnamed_ = true;
    } else {
      (void)platform::closeFile(unnamed.handle);
    }
  }
  platform::OpenResult opened = unnamed;
  if (!unnamed_) {
    // A name of this process's own, so that two runs never share one; a
    // name that is taken (a file, a link, dangling or not) is passed over.
    for (unsigned attempt = 0; attempt < attempts; ++attempt) {
      std::string candidate = temporaryName(file_, {platform::processId(), freshTemporaryTag()});
      opened = platform::createExclusive(candidate);
      if (opened.error == 0) {
        temporaryFile_ = std::move(candidate);
        (void)platform::removeIfStopped(temporaryFile_);
        break;
      }
      if (!platform::isNameTaken(opened.error)) break;
    }
    if (opened.error != 0) {
      return "cannot create a file beside it: " + platform::systemErrorMessage(opened.error);
    }
  }
  // A replaced file keeps who may read and write it.
  if (const platform::SystemError error = platform::copyPermissions(file_, opened.handle)) {
    (void)platform::closeFile(opened.handle);
    return "cannot give it the old file's permissions: " + platform::systemErrorMessage(error);
  }
  writer_ = std::make_unique<textio::LineWriter>(opened, false);
  if (!writer_->opened()) return describeFailure(writer_->failure());
  return std::nullopt;
}

platform::OpenResult ReportOutput::openForChecking() const {
  if (unnamed_) return platform::openAgainForReading(writer_->handle());
  return platform::openForReading(temporaryFile_);
}

std::optional<std::string> ReportOutput::finishWriting() {
  if (finished_) return std::nullopt;
  finished_ = true;
  writer_->flushToDisk();
  if (writer_->failure().happened()) return describeFailure(writer_->failure());
  // An unnamed file stays open, without a name, until it is put in place:
  // a run killed before then leaves nothing behind.
  if (unnamed_) return std::nullopt;
  return closeWriter();
}

std::optional<std::string> ReportOutput::closeWriter() {
  writer_->finish();
  if (writer_->failure().happened()) return describeFailure(writer_->failure());
  return std::nullopt;
}

// The finished unnamed file gets a temporary name beside the output, from
// which it is renamed into place in one step.
std::optional<std::string> ReportOutput::nameTemporary() {
  platform::SystemError error = 0;
  for (unsigned attempt = 0; attempt < attempts; ++attempt) {
    std::string candidate = temporaryName(file_, {platform::processId(), freshTemporaryTag()});
    error = platform::nameUnnamedFile(writer_->handle(), candidate);
    if (error == 0) {
      temporaryFile_ = std::move(candidate);
      (void)platform::removeIfStopped(temporaryFile_);
      return std::nullopt;
    }
    if (!platform::isNameTaken(error)) break;
  }
  return "cannot give it a name beside its place: " + platform::systemErrorMessage(error);
}

std::optional<std::string> ReportOutput::commit() {
  if (auto failure = finishWriting()) return failure;
  if (stream_) {
    committed_ = true;
    return std::nullopt;
  }
  if (unnamed_ && temporaryFile_.empty()) {
    if (auto failure = nameTemporary()) return failure;
    if (auto failure = closeWriter()) return failure;
  }
  if (const platform::SystemError error = platform::replaceFile(temporaryFile_, file_)) {
    return "cannot put it in place: " + platform::systemErrorMessage(error);
  }
  committed_ = true;
  platform::stopWatching(temporaryFile_);
  return std::nullopt;
}

}  // namespace varistellar::outputs
