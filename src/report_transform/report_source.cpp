// Reading the report once, and keeping a copy of one that cannot be read again.
#include "report_transform/report_source.h"

#include <array>

namespace varistellar::report_transform {

namespace {

// Enough names for processes of one id that were stopped before they could
// remove their copies.
constexpr unsigned nameAttempts = 100;

}  // namespace

ReportSource::~ReportSource() {
  if (copy_ != platform::invalidHandle) (void)platform::closeFile(copy_);
  if (!copyName_.empty()) {
    (void)platform::removeFile(copyName_);
    platform::stopWatching(copyName_);
  }
}

std::optional<std::string> ReportSource::readOnce(
    const std::function<void(std::string_view)>& consume) {
  // A folder opens on some systems and fails only at its first read, with
  // a message that does not say what is wrong.
  if (platform::pathKind(path_) == platform::PathKind::directory) {
    return "cannot read the report: it is a folder, not a file";
  }
  const platform::OpenResult file = platform::openForReading(path_);
  if (file.error != 0) {
    return "cannot read the report: " + platform::systemErrorMessage(file.error);
  }
  std::optional<std::string> failure;
  const std::optional<std::uint64_t> size = platform::diskFileSize(file.handle);
  sizeAtOpen_ = size.value_or(0);
  if (!size) failure = startCopy();
  static std::array<char, std::size_t{64} * 1024> buffer;
  while (!failure) {
    const platform::TransferResult read = platform::readSome(file.handle, buffer);
    if (read.error != 0) {
      failure = "cannot read the report: " + platform::systemErrorMessage(read.error);
      break;
    }
    if (read.bytes == 0) break;
    const std::string_view bytes{buffer.data(), read.bytes};
    first_.add(bytes);
    if (copying_) {
      const platform::TransferResult written = platform::writeAll(copy_, bytes);
      if (written.error != 0) failure = copyFailure(written.error);
    }
    consume(bytes);
  }
  (void)platform::closeFile(file.handle);
  if (!failure && copying_) failure = finishCopy();
  return failure;
}

// The copy is a file without a name where the system makes one, so that
// nothing is left whatever ends the run; elsewhere a file of a name of its
// own, removed at the end or when the run is stopped.
std::optional<std::string> ReportSource::startCopy() {
  copying_ = true;
  const std::string folder = platform::temporaryFolder();
  const platform::OpenResult unnamed = platform::createUnnamedFile(folder);
  if (unnamed.error == 0) {
    copy_ = unnamed.handle;
    return std::nullopt;
  }
  const std::string stem = folder + platform::pathSeparator() + "varistellar-report-" +
                           std::to_string(platform::processId()) + "-";
  for (unsigned attempt = 0; attempt < nameAttempts; ++attempt) {
    const std::string name = stem + std::to_string(attempt) + ".tmp";
    const platform::OpenResult made = platform::createExclusive(name);
    if (made.error != 0 && platform::isNameTaken(made.error)) continue;
    if (made.error != 0) return copyFailure(made.error);
    copy_ = made.handle;
    copyName_ = name;
    if (!platform::removeIfStopped(name)) {
      return "cannot copy the report, which can be read only once, to the temporary file " + name +
             ": too many temporary files are open";
    }
    return std::nullopt;
  }
  return copyFailure(platform::createExclusive(stem + "0.tmp").error);
}

// The copy is complete: a named copy is closed (so that it can be opened
// again everywhere), an unnamed one stays open, its only way in.
std::optional<std::string> ReportSource::finishCopy() {
  if (copyName_.empty()) return std::nullopt;
  const platform::SystemError closed = platform::closeFile(copy_);
  copy_ = platform::invalidHandle;
  if (closed != 0) return copyFailure(closed);
  return std::nullopt;
}

std::string ReportSource::copyFailure(platform::SystemError error) const {
  return "cannot copy the report, which can be read only once, to a temporary file in " +
         platform::temporaryFolder() + ": " + platform::systemErrorMessage(error);
}

platform::OpenResult ReportSource::openAgain() const {
  if (!copying_) return platform::openForReading(path_);
  if (copyName_.empty()) return platform::openAgainForReading(copy_);
  return platform::openForReading(copyName_);
}

}  // namespace varistellar::report_transform
