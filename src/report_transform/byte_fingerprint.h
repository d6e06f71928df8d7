// What a stream of bytes held, told in 16 bytes: how many there were and a
// 64-bit hash of them, the same however the stream was cut into pieces. Two
// readings of one report compare by their fingerprints.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace varistellar::report_transform {

struct Fingerprint {
  std::uint64_t bytes = 0;
  std::uint64_t hash = 0;
  bool operator==(const Fingerprint&) const = default;
};

// Eight bytes at a time: a multiply and a rotation per word keep it far
// cheaper than the reading it follows. Every step is a bijection of the
// running value, so two streams that differ in one word always differ.
class ByteFingerprint {
 public:
  void add(std::string_view bytes);
  [[nodiscard]] Fingerprint value() const;

 private:
  static constexpr std::uint64_t start = 0xcbf29ce484222325u;
  static constexpr std::uint64_t multiplier = 0x9e3779b97f4a7c15u;
  static void mix(std::uint64_t& hash, std::uint64_t word);

  std::uint64_t hash_ = start;
  std::uint64_t bytes_ = 0;
  std::array<char, 8> pending_{};  // the last bytes_ % 8 bytes, not yet a whole word
};

}  // namespace varistellar::report_transform
