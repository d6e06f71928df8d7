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

std::uint32_t StarNames::index(std::string_view starId) {
  key_.assign(starId);
  std::transform(key_.begin(), key_.end(), key_.begin(), capital);
  const auto found = indices_.find(key_);
  if (found != indices_.end()) return found->second;
  const auto next = static_cast<std::uint32_t>(names_.size());
  indices_.emplace(key_, next);
  names_.emplace_back(starId);
  return next;
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
