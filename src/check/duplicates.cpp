// Fingerprints of STARID, DATE and FILT in open-addressed tables.
#include "check/duplicates.h"

#include <algorithm>
#include <cstring>

namespace varistellar::check {

using aeff::Field;

namespace {

// Eight bytes with their small letters made capitals.
std::uint64_t capitals(std::uint64_t x) {
  constexpr std::uint64_t ones = 0x0101010101010101ull;
  constexpr std::uint64_t high = 0x80 * ones;
  const std::uint64_t low = x & ~high;
  const std::uint64_t fromA = low + (0x80 - 'a') * ones;      // high bit set from 'a' on
  const std::uint64_t pastZ = low + (0x80 - 'z' - 1) * ones;  // high bit set past 'z'
  return x ^ ((fromA & ~pastZ & ~x & high) >> 2);
}

std::uint64_t mixed(std::uint64_t h, std::uint64_t word) {
  h = (h ^ word) * 0x9E3779B97F4A7C15ull;
  return h ^ (h >> 32);
}

// A field's text without regard to case, eight bytes at a time, mixed into `h`.
std::uint64_t mixedText(std::uint64_t h, std::string_view text) {
  std::size_t at = 0;
  for (; at + 8 <= text.size(); at += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, text.data() + at, 8);
    h = mixed(h, capitals(word));
  }
  std::uint64_t tail = 0;
  for (; at < text.size(); ++at) tail = tail << 8 | static_cast<unsigned char>(text[at]);
  return mixed(mixed(h, capitals(tail)), text.size());
}

}  // namespace

Duplicates::Duplicates()
    : recent_(tableSize), older_(tableSize), recentLines_(tableSize), olderLines_(tableSize) {}

std::optional<std::uint64_t> Duplicates::earlier(const Row& row, FieldSet changed) {
  // STARID and FILT seldom change from row to row: their part is kept.
  if ((changed & fieldSet({Field::STARID, Field::FILT})) != 0) {
    starAndFilter_ = mixedText(mixedText(1469598103934665603ull, row[Field::STARID].text),
                               row[Field::FILT].text);
  }
  std::uint64_t print = mixedText(starAndFilter_, row[Field::DATE].text);
  print = print == 0 ? 1 : print;
  const auto find = [print](const std::vector<std::uint64_t>& table) {
    std::size_t at = print & (tableSize - 1);
    while (table[at] != 0 && table[at] != print) at = (at + 1) & (tableSize - 1);
    return at;
  };
  for (auto* pair : {&recent_, &older_}) {
    const std::size_t at = find(*pair);
    if ((*pair)[at] == print) return (pair == &recent_ ? recentLines_ : olderLines_)[at];
  }
  if (recentCount_ == window) {
    recent_.swap(older_);
    recentLines_.swap(olderLines_);
    std::fill(recent_.begin(), recent_.end(), 0);
    recentCount_ = 0;
  }
  const std::size_t at = find(recent_);
  recent_[at] = print;
  recentLines_[at] = row.line;
  ++recentCount_;
  return std::nullopt;
}

}  // namespace varistellar::check
