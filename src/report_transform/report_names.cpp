// Stars, groups and filters by index.
#include "report_transform/report_names.h"

#include <algorithm>

#include "aeff/format.h"
#include "transform/filter_sets.h"

namespace varistellar::report_transform {
namespace {

char capital(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

constexpr std::uint32_t ownValueLimit = 0x7FFFFFFEu;
constexpr std::uint32_t keptGroup = 0x80000000u;

}  // namespace

bool StarNames::index(std::string_view starId, std::uint32_t& star) {
  const std::string_view starName = starId.substr(0, longestName);
  if (slots_.empty() || (count_ + 1) * 5 > slots_.size() * 4) grow();
  std::size_t at = slotOf(hashOf(starName));
  for (; slots_[at] != 0; at = at + 1 == slots_.size() ? 0 : at + 1) {
    if (sameName(slots_[at] - 1, starName)) {
      star = slots_[at] - 1;
      return true;
    }
  }
  if (used_ + starName.size() + 1 > blockBytes) {
    // The last number must stay below 2^32 - 1, since a slot holds it + 1.
    if (blocks_.size() == (std::uint64_t{1} << 32) / blockBytes - 1) return false;
    blocks_.push_back(std::make_unique<char[]>(blockBytes));
    used_ = 0;
  }
  star = static_cast<std::uint32_t>((blocks_.size() - 1) * blockBytes + used_);
  char* const kept = blocks_.back().get() + used_;
  kept[0] = static_cast<char>(starName.size() + 1);
  std::copy(starName.begin(), starName.end(), kept + 1);
  used_ += starName.size() + 1;
  if (used_ < blockBytes) blocks_.back()[used_] = 0;
  slots_[at] = star + 1;
  ++count_;
  return true;
}

std::string_view StarNames::name(std::uint32_t star) const {
  const char* const kept = blocks_[star / blockBytes].get() + star % blockBytes;
  return {kept + 1, static_cast<std::size_t>(static_cast<unsigned char>(kept[0]) - 1)};
}

void StarNames::finishReading() { std::vector<std::uint32_t>{}.swap(slots_); }

std::uint64_t StarNames::hashOf(std::string_view name) const {
  std::uint64_t hash = 0xcbf29ce484222325u;  // FNV-1a, over the capitals
  // cppcheck-suppress useStlAlgorithm ; FNV-1a reads as a loop
  for (const char c : name) hash = (hash ^ static_cast<unsigned char>(capital(c))) * 0x100000001b3u;
  return hash;
}

// The hash's high half scaled to the table, which may have any size.
std::size_t StarNames::slotOf(std::uint64_t hash) const {
  return static_cast<std::size_t>(((hash >> 32) * slots_.size()) >> 32);
}

bool StarNames::sameName(std::uint32_t star, std::string_view name) const {
  return aeff::sameWord(this->name(star), name);
}

void StarNames::insert(std::uint32_t star) {
  std::size_t at = slotOf(hashOf(name(star)));
  while (slots_[at] != 0) at = at + 1 == slots_.size() ? 0 : at + 1;
  slots_[at] = star + 1;
}

// Half as many slots again (or enough for the names kept, after
// finishReading), the names put in again from the blocks. The table is
// between 8/15 and 4/5 full: 5 to 7.5 bytes a star.
void StarNames::grow() {
  std::size_t slots = slots_.empty() ? 1024 : slots_.size() + slots_.size() / 2;
  while ((count_ + 1) * 5 > slots * 4) slots += slots / 2;
  // The old table goes first: the blocks hold every name, and memory never
  // holds two tables.
  std::vector<std::uint32_t>{}.swap(slots_);
  slots_.assign(slots, 0);
  for (std::size_t b = 0; b < blocks_.size(); ++b) {
    const std::size_t end = b + 1 == blocks_.size() ? used_ : blockBytes;
    for (std::size_t at = 0; at < end && blocks_[b][at] != 0;
         at += static_cast<unsigned char>(blocks_[b][at])) {
      insert(static_cast<std::uint32_t>(b * blockBytes + at));
    }
  }
}

std::uint32_t Groups::index(std::string_view group) {
  if (aeff::sameWord(group, "na")) return 0;
  bool negative = false;
  if (!group.empty() && (group.front() == '+' || group.front() == '-')) {
    negative = group.front() == '-';
    group.remove_prefix(1);
  }
  while (group.size() > 1 && group.front() == '0') group.remove_prefix(1);
  if (group == "0") negative = false;
  if (!negative && group.size() <= 10) {
    std::uint64_t value = 0;
    bool digits = !group.empty();
    for (const char c : group) {
      digits = digits && c >= '0' && c <= '9';
      value = value * 10 + static_cast<unsigned char>(c - '0');
    }
    if (digits && value <= ownValueLimit) return static_cast<std::uint32_t>(value) + 1;
  }
  key_.assign(negative ? "-" : "");
  key_.append(group);
  const auto found = others_.find(key_);
  if (found != others_.end()) return found->second;
  const auto next = keptGroup | static_cast<std::uint32_t>(others_.size());
  others_.emplace(key_, next);
  return next;
}

std::uint8_t filterIndex(std::string_view filter) {
  for (std::size_t i = 0; i < aeff::listedFilters.size(); ++i) {
    if (aeff::sameWord(aeff::listedFilters[i], filter)) return static_cast<std::uint8_t>(i);
  }
  for (std::size_t i = 0; i < aeff::knownUnlistedFilters.size(); ++i) {
    if (aeff::sameWord(aeff::knownUnlistedFilters[i], filter))
      return static_cast<std::uint8_t>(aeff::listedFilters.size() + i);
  }
  return unknownFilter;
}

std::string_view filterName(std::uint8_t index) {
  if (index < aeff::listedFilters.size()) return aeff::listedFilters[index];
  const std::size_t unlisted = index - aeff::listedFilters.size();
  return unlisted < aeff::knownUnlistedFilters.size() ? aeff::knownUnlistedFilters[unlisted] : "";
}

bool isTransformableFilter(std::uint8_t index) {
  return transform::standardFilter(filterName(index)).has_value();
}

}  // namespace varistellar::report_transform
