// The record buffer.
#include "textio/record_buffer.h"

#include <cstdlib>
#include <cstring>

namespace varistellar::textio {

RecordBuffer::~RecordBuffer() { std::free(bytes_); }

bool RecordBuffer::reserve(std::size_t needed) {
  if (needed <= capacity_) return true;
  if (needed > maxRecordLength) return false;
  // Doubling keeps a very long line linear to read; the size stays a whole
  // number of steps.
  std::size_t wanted = capacity_ * 2 > needed ? capacity_ * 2 : needed;
  wanted = (wanted + growthStep - 1) / growthStep * growthStep;
  void* grown = std::realloc(bytes_, wanted);
  if (grown == nullptr) return false;
  bytes_ = static_cast<char*>(grown);
  capacity_ = wanted;
  return true;
}

bool RecordBuffer::append(std::string_view bytes) {
  if (bytes.empty()) return true;
  if (!reserve(length_ + bytes.size())) return false;
  std::memcpy(bytes_ + length_, bytes.data(), bytes.size());
  length_ += bytes.size();
  return true;
}

bool RecordBuffer::appendBlanks(std::size_t count) {
  if (count > maxRecordLength - length_) return false;
  if (!reserve(length_ + count)) return false;
  std::memset(bytes_ + length_, ' ', count);
  length_ += count;
  return true;
}

}  // namespace varistellar::textio
