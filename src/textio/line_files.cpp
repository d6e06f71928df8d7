// Line readers and writers over the channel's buffer.
#include "textio/line_files.h"

#include <new>

namespace varistellar::textio {
namespace {

constexpr std::size_t lineFileBufferSize = 65536;

}  // namespace

LineReader::LineReader(const std::string& name) {
  const platform::OpenResult openResult = platform::openForReading(name);
  if (openResult.error != 0) {
    failure_ = {.systemError = openResult.error};
    return;
  }
  buffer_.reset(new (std::nothrow) char[lineFileBufferSize]);
  if (!buffer_) {
    (void)platform::closeFile(openResult.handle);
    failure_ = {.ownMessage = bufferAllocationFailed};
    return;
  }
  handle_ = openResult.handle;
  // A TAB separates values here; its column is the one an editor shows.
  channel_ = std::make_unique<Channel>(0, handle_, false, false,
                                       std::span<char>{buffer_.get(), lineFileBufferSize}, 0);
}

LineReader::~LineReader() {
  if (channel_) (void)channel_->close();
}

bool LineReader::next(std::string_view& line) {
  if (!channel_ || failure_.happened()) return false;
  const RecordResult result = channel_->readRecord(record_);
  if (result.status == RecordStatus::failed) {
    failure_ = result.failure;
    return false;
  }
  if (result.status == RecordStatus::endOfFile) return false;
  ++lineNumber_;
  line = record_.view();
  return true;
}

LineWriter::LineWriter(const std::string& name, Mode mode) {
  const platform::OpenResult openResult =
      mode == Mode::createNew ? platform::createExclusive(name) : platform::openExistingFile(name);
  if (openResult.error != 0) {
    failure_ = {.systemError = openResult.error};
    return;
  }
  buffer_.reset(new (std::nothrow) char[lineFileBufferSize]);
  if (!buffer_) {
    (void)platform::closeFile(openResult.handle);
    failure_ = {.ownMessage = bufferAllocationFailed};
    return;
  }
  handle_ = openResult.handle;
  const bool isDevice = !platform::isDiskFile(handle_);
  channel_ = std::make_unique<Channel>(0, handle_, false, !isDevice,
                                       std::span<char>{buffer_.get(), lineFileBufferSize}, 0);
}

LineWriter::~LineWriter() {
  if (channel_) (void)channel_->close();
}

void LineWriter::write(std::string_view line) {
  if (!channel_ || failure_.happened()) return;
  failure_ = channel_->writeRecord(line);
}

void LineWriter::finish() {
  if (!channel_) return;
  if (!failure_.happened()) failure_ = channel_->flush();
  if (!failure_.happened()) {
    if (const platform::SystemError error = platform::flushToDisk(handle_)) {
      failure_ = {.systemError = error};
    }
  }
  const Failure closed = channel_->close();
  if (!failure_.happened()) failure_ = closed;
  channel_.reset();
}

}  // namespace varistellar::textio
