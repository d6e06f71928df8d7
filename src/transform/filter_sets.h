// Which filters can be transformed, and together with which: each filter's
// equation, its coefficient and the filters it needs beside it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "aeff/vocabulary.h"

namespace varistellar::transform {

// The standard colour indices a coefficient may be taken against.
enum class ColourIndex : std::uint8_t { BV, VR, VI };

// "B-V", as --colour takes it.
[[nodiscard]] std::string_view indexName(ColourIndex index);
// "BVCOLOR": the NOTES subfield of the target's standard colour.
[[nodiscard]] std::string_view colourSubfield(ColourIndex index);
// The index's bluer and redder filter: B and V for B-V.
[[nodiscard]] char bluerOf(ColourIndex index);
[[nodiscard]] char redderOf(ColourIndex index);

// The standard filter a filter is transformed as (B for TB, V for "v").
using aeff::standardFilter;

// How one filter's standard magnitude is found.
enum class Equation : std::uint8_t {
  alone,       // its colour given: Xs = Xc + x + T (T - C)
  pairBluer,   // the bluer of two filters solved together
  pairRedder,  // the redder of them
  iFromBV,     // I with B and V at its time, through E
  rFromBVI,    // R with B, V and I at its time, through E
};

struct FilterRole {
  char filter = 'V';  // the standard filter
  Equation equation = Equation::alone;
  ColourIndex index = ColourIndex::BV;  // of its own coefficient
  // The filters whose values at its time its equation takes, B V R I order.
  std::vector<char> partners{};
};

// "Tv_bv": the coefficient of `filter` against `index`, as the coefficient
// files name it.
[[nodiscard]] std::string coefficientName(char filter, ColourIndex index);
// The coefficient of the role's own filter.
[[nodiscard]] std::string coefficientOf(const FilterRole& role);
// Every coefficient the role's equation takes (a pair takes both of its
// filters', since their difference divides).
[[nodiscard]] std::vector<std::string> coefficientsTakenBy(const FilterRole& role);

// A filter with its colour given.
[[nodiscard]] FilterRole aloneRole(char filter, ColourIndex index);

// The roles of the filters observed together, in their order; or, for a set
// that cannot be transformed together, the sentence that says which can.
using SetRoles = std::variant<std::vector<FilterRole>, std::string>;
[[nodiscard]] SetRoles rolesOfSet(std::span<const char> filters);

}  // namespace varistellar::transform
