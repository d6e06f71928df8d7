// Line writers over the channel's buffer.
#include "textio/line_files.h"

#include <new>

namespace varistellar::textio {
namespace {

constexpr std::size_t lineFileBufferSize = 65536;

// Gives an opened file its buffer and channel; the failure when it could
// not be opened or no buffer could be had. TABs stay TABs: a TAB separates
// values here, and its column is the one an editor shows.
Failure connect(const platform::OpenResult& openResult, bool truncateAtFirstWrite,
                LineChannel& file) {
  if (openResult.error != 0) return {.systemError = openResult.error};
  file.buffer.reset(new (std::nothrow) char[lineFileBufferSize]);
  if (!file.buffer) {
    (void)platform::closeFile(openResult.handle);
    return {.ownMessage = bufferAllocationFailed};
  }
  file.handle = openResult.handle;
  file.channel =
      std::make_unique<Channel>(0, file.handle, false, truncateAtFirstWrite,
                                std::span<char>{file.buffer.get(), lineFileBufferSize}, 0);
  return {};
}

}  // namespace

std::string describeFailure(const Failure& failure) {
  if (!failure.ownMessage.empty()) return std::string{failure.ownMessage};
  return platform::systemErrorMessage(failure.systemError);
}

LineWriter::LineWriter(const platform::OpenResult& opened, bool cutToWritten)
    : failure_{connect(opened,
                       cutToWritten && opened.error == 0 && platform::isDiskFile(opened.handle),
                       file_)} {}

LineWriter::~LineWriter() {
  if (file_.channel) (void)file_.channel->close();
}

void LineWriter::write(std::string_view line) {
  if (!file_.channel || failure_.happened()) return;
  durable_ = false;
  failure_ = file_.channel->writeRecord(line);
  // A large file is written out as it grows: the closing flushToDisk then
  // waits for its last part only.
  if (file_.channel->bytesWritten() - writtenOut_ >= writeOutStep) {
    writtenOut_ = file_.channel->bytesWritten();
    platform::startWritingOut(file_.handle);
  }
}

void LineWriter::flushToDisk() {
  if (!file_.channel || durable_) return;
  if (!failure_.happened()) failure_ = file_.channel->flush();
  if (!failure_.happened()) {
    if (const platform::SystemError error = platform::flushToDisk(file_.handle)) {
      failure_ = {.systemError = error};
    }
  }
  durable_ = !failure_.happened();
}

void LineWriter::finish() {
  if (!file_.channel) return;
  flushToDisk();
  const Failure closed = file_.channel->close();
  if (!failure_.happened()) failure_ = closed;
  finalBytes_ = file_.channel->bytesWritten();
  file_.channel.reset();
  file_.handle = platform::invalidHandle;
}

}  // namespace varistellar::textio
