// A running hash of bytes, word by word.
#include "report_transform/byte_fingerprint.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace varistellar::report_transform {

void ByteFingerprint::mix(std::uint64_t& hash, std::uint64_t word) {
  hash = (std::rotl(hash, 23) ^ word) * multiplier;
}

void ByteFingerprint::add(std::string_view bytes) {
  std::size_t held = bytes_ % pending_.size();
  bytes_ += bytes.size();
  if (held != 0) {
    const std::size_t taken = std::min(pending_.size() - held, bytes.size());
    std::memcpy(pending_.data() + held, bytes.data(), taken);
    bytes.remove_prefix(taken);
    held += taken;
    if (held < pending_.size()) return;
    std::uint64_t word = 0;
    std::memcpy(&word, pending_.data(), sizeof word);
    mix(hash_, word);
  }
  while (bytes.size() >= sizeof(std::uint64_t)) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes.data(), sizeof word);
    mix(hash_, word);
    bytes.remove_prefix(sizeof word);
  }
  std::memcpy(pending_.data(), bytes.data(), bytes.size());
}

Fingerprint ByteFingerprint::value() const {
  std::uint64_t hash = hash_;
  // The bytes of an unfinished word, then the count, which tells the zeros
  // that fill that word from bytes that were read.
  std::array<char, 8> last{};
  std::memcpy(last.data(), pending_.data(), bytes_ % pending_.size());
  std::uint64_t word = 0;
  std::memcpy(&word, last.data(), sizeof word);
  mix(hash, word);
  mix(hash, bytes_);
  return {bytes_, hash};
}

}  // namespace varistellar::report_transform
