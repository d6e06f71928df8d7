// The format's word lists, looked up without regard to case.
#include "aeff/format.h"

#include <algorithm>

namespace varistellar::aeff {
namespace {

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

template <std::size_t N>
bool listed(const std::array<std::string_view, N>& list, std::string_view word) {
  return std::any_of(list.begin(), list.end(), [word](std::string_view w) { return sameWord(w, word); });
}

}  // namespace

bool sameWord(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return upper(x) == upper(y); });
}

bool isListedFilter(std::string_view filter) { return listed(listedFilters, filter); }

bool isKnownUnlistedFilter(std::string_view filter) { return listed(knownUnlistedFilters, filter); }

}  // namespace varistellar::aeff
