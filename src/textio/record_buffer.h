// The record buffer: the bytes of the line being read, growing as needed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace varistellar::textio {

// Holds one record. It only grows, in whole steps of 8192 bytes, and lasts
// for the whole run; a failed growth is reported, never a crash.
class RecordBuffer {
 public:
  static constexpr std::size_t growthStep = 8192;
  // No record may be longer than this, whatever memory there is.
  static constexpr std::size_t maxRecordLength = 2147483647;

  RecordBuffer() = default;
  RecordBuffer(const RecordBuffer&) = delete;
  RecordBuffer& operator=(const RecordBuffer&) = delete;
  ~RecordBuffer();

  void clear() { length_ = 0; }
  // False when the buffer cannot grow to take the bytes.
  [[nodiscard]] bool append(std::string_view bytes);
  [[nodiscard]] bool appendBlanks(std::size_t count);
  [[nodiscard]] std::size_t length() const { return length_; }
  [[nodiscard]] std::string_view view() const { return {bytes_, length_}; }

 private:
  [[nodiscard]] bool reserve(std::size_t needed);

  char* bytes_ = nullptr;
  std::size_t length_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace varistellar::textio
