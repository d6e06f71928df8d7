// The format's word lists, looked up without regard to case.
#include "aeff/format.h"

#include <algorithm>

namespace varistellar::aeff {
namespace {

template <std::size_t N>
bool listed(const std::array<std::string_view, N>& list, std::string_view word) {
  return std::any_of(list.begin(), list.end(),
                     [word](std::string_view w) { return sameWord(w, word); });
}

}  // namespace

bool isListedFilter(std::string_view filter) { return listed(listedFilters, filter); }

bool isKnownUnlistedFilter(std::string_view filter) { return listed(knownUnlistedFilters, filter); }

bool isReportFileName(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  const std::string_view extension = dot == std::string_view::npos ? "" : name.substr(dot);
  return sameWord(extension, ".txt") || sameWord(extension, ".csv") || sameWord(extension, ".tsv");
}

}  // namespace varistellar::aeff
