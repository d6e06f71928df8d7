// The command line's line reader.
#include "textio/line_reader.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace varistellar::textio {

LineReader::LineReader(const std::string& name, std::size_t longestLine)
    : longestLine_{longestLine},
      bufferSize_{longestLine <= maxLineLength ? bufferSize : longestLine + bufferSize} {
  const platform::OpenResult file = platform::openForReading(name);
  if (file.error != 0) {
    failure_ = {.systemError = file.error};
    return;
  }
  buffer_.reset(new (std::nothrow) char[bufferSize_]);
  if (!buffer_) {
    (void)platform::closeFile(file.handle);
    failure_ = {.ownMessage = bufferAllocationFailed};
    return;
  }
  handle_ = file.handle;
}

LineReader::~LineReader() {
  if (opened()) (void)platform::closeFile(handle_);
}

bool LineReader::fill() {
  started_ = true;
  if (begin_ != 0) {
    std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  // A long-line buffer is read into a usual buffer's worth at a time, so that
  // its pages are touched only as far as the longest line needs.
  const std::size_t room = std::min(bufferSize_ - end_, bufferSize);
  const platform::TransferResult got = platform::readSome(handle_, {buffer_.get() + end_, room});
  if (got.error != 0) {
    failure_ = {.systemError = got.error};
    return false;
  }
  if (got.bytes == 0) atEndOfFile_ = true;
  end_ += got.bytes;
  return true;
}

std::string_view LineReader::beginning() {
  if (!opened() || failure_.happened()) return {};
  if (!started_ && !fill()) return {};
  return {buffer_.get(), end_};
}

std::string_view LineReader::take(std::size_t stop) {
  char* const line = buffer_.get() + begin_;
  const std::size_t length = stop - begin_;
  begin_ = stop;
  // Subtle: the CRs are squeezed out where the line stands; those bytes are
  // taken, so nothing else needs them.
  const auto* firstCr = static_cast<const char*>(std::memchr(line, '\r', length));
  if (firstCr == nullptr) return {line, length};
  char* const kept = std::remove(line + (firstCr - line), line + length, '\r');
  return {line, static_cast<std::size_t>(kept - line)};
}

bool LineReader::next(std::string_view& line) {
  if (!opened() || failure_.happened() || longLine_) return false;
  for (;;) {
    const std::size_t waiting = end_ - begin_;
    const auto* lf = static_cast<const char*>(std::memchr(buffer_.get() + begin_, '\n', waiting));
    const std::size_t length =
        lf == nullptr ? waiting : static_cast<std::size_t>(lf - buffer_.get()) - begin_;
    if (length > longestLine_) {
      longLine_ = true;
      return false;
    }
    if (lf != nullptr) {
      line = take(begin_ + length);
      ++begin_;  // the LF
      ++lineNumber_;
      return true;
    }
    if (atEndOfFile_) {
      // Bytes after the last LF make one final line.
      if (waiting == 0) return false;
      line = take(end_);
      ++lineNumber_;
      return true;
    }
    if (!fill()) return false;
  }
}

}  // namespace varistellar::textio
