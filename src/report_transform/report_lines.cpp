// Reading the report again, a line of any length at a time.
#include "report_transform/report_lines.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace varistellar::report_transform {

ReportLines::~ReportLines() {
  if (handle_ != platform::invalidHandle) (void)platform::closeFile(handle_);
}

bool ReportLines::fill() {
  if (begin_ != 0) {
    std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
    end_ -= begin_;
    searched_ -= begin_;
    begin_ = 0;
  }
  if (end_ == size_) {
    // A line longer than the buffer: twice the room, the line moved along.
    const std::size_t larger = size_ == 0 ? firstBufferSize : size_ * 2;
    std::unique_ptr<char[]> grown{larger > size_ ? new (std::nothrow) char[larger] : nullptr};
    if (!grown) {
      failure_ = "line " + std::to_string(lineNumber_ + 1) +
                 " is longer than the memory this computer gives for it (" + std::to_string(end_) +
                 " bytes read of it)";
      return false;
    }
    if (end_ != 0) std::memcpy(grown.get(), buffer_.get(), end_);
    buffer_ = std::move(grown);
    size_ = larger;
  }
  const platform::TransferResult got =
      platform::readSome(handle_, {buffer_.get() + end_, size_ - end_});
  if (got.error != 0) {
    failure_ = platform::systemErrorMessage(got.error);
    return false;
  }
  if (got.bytes == 0) atEndOfFile_ = true;
  fingerprint_.add({buffer_.get() + end_, got.bytes});
  end_ += got.bytes;
  return true;
}

std::string_view ReportLines::take(std::size_t stop) {
  char* const line = buffer_.get() + begin_;
  const std::size_t length = stop - begin_;
  // Subtle: the CRs are squeezed out where the line stands; those bytes are
  // taken, so nothing else needs them.
  const auto* firstCr = static_cast<const char*>(std::memchr(line, '\r', length));
  if (firstCr == nullptr) return {line, length};
  char* const kept = std::remove(line + (firstCr - line), line + length, '\r');
  return {line, static_cast<std::size_t>(kept - line)};
}

bool ReportLines::next(std::string_view& line) {
  if (handle_ == platform::invalidHandle || failure_) return false;
  for (;;) {
    const auto* lf = size_ == 0 ? nullptr
                                : static_cast<const char*>(std::memchr(buffer_.get() + searched_,
                                                                       '\n', end_ - searched_));
    if (lf != nullptr) {
      const auto stop = static_cast<std::size_t>(lf - buffer_.get());
      line = take(stop);
      begin_ = searched_ = stop + 1;  // past the LF
      ++lineNumber_;
      return true;
    }
    searched_ = end_;
    if (atEndOfFile_) {
      // Bytes after the last LF make one final line.
      if (begin_ == end_) return false;
      line = take(end_);
      begin_ = end_;
      ++lineNumber_;
      return true;
    }
    if (!fill()) return false;
  }
}

}  // namespace varistellar::report_transform
