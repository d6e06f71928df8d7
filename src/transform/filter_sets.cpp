// The filter sets.
#include "transform/filter_sets.h"

#include <algorithm>

namespace varistellar::transform {
namespace {

char lower(char c) { return static_cast<char>(c - 'A' + 'a'); }

bool holds(std::span<const char> filters, char filter) {
  return std::find(filters.begin(), filters.end(), filter) != filters.end();
}

// The role each filter of a supported set plays.
std::optional<FilterRole> roleIn(std::span<const char> set, char filter) {
  const bool b = holds(set, 'B');
  const bool v = holds(set, 'V');
  const bool r = holds(set, 'R');
  const bool i = holds(set, 'I');
  const std::size_t count = set.size();
  if (count == 2 && b && v) {
    return filter == 'B' ? FilterRole{'B', Equation::pairBluer, ColourIndex::BV, {'V'}}
                         : FilterRole{'V', Equation::pairRedder, ColourIndex::BV, {'B'}};
  }
  if (count == 2 && v && r) {
    return filter == 'V' ? FilterRole{'V', Equation::pairBluer, ColourIndex::VR, {'R'}}
                         : FilterRole{'R', Equation::pairRedder, ColourIndex::VR, {'V'}};
  }
  if (count == 2 && v && i) {
    return filter == 'V' ? FilterRole{'V', Equation::pairBluer, ColourIndex::VI, {'I'}}
                         : FilterRole{'I', Equation::pairRedder, ColourIndex::VI, {'V'}};
  }
  if ((count == 3 && b && v && i) || (count == 4 && b && v && r && i)) {
    switch (filter) {
      case 'B': return FilterRole{'B', Equation::pairBluer, ColourIndex::BV, {'V'}};
      case 'V': return FilterRole{'V', Equation::pairRedder, ColourIndex::BV, {'B'}};
      case 'I': return FilterRole{'I', Equation::iFromBV, ColourIndex::VI, {'B', 'V'}};
      default: return FilterRole{'R', Equation::rFromBVI, ColourIndex::VI, {'B', 'V', 'I'}};
    }
  }
  return std::nullopt;
}

}  // namespace

std::string_view indexName(ColourIndex index) {
  switch (index) {
    case ColourIndex::BV: return "B-V";
    case ColourIndex::VR: return "V-R";
    case ColourIndex::VI: break;
  }
  return "V-I";
}

std::string_view colourSubfield(ColourIndex index) {
  switch (index) {
    case ColourIndex::BV: return "BVCOLOR";
    case ColourIndex::VR: return "VRCOLOR";
    case ColourIndex::VI: break;
  }
  return "VICOLOR";
}

char bluerOf(ColourIndex index) { return index == ColourIndex::BV ? 'B' : 'V'; }

char redderOf(ColourIndex index) {
  switch (index) {
    case ColourIndex::BV: return 'V';
    case ColourIndex::VR: return 'R';
    case ColourIndex::VI: break;
  }
  return 'I';
}

std::string coefficientName(char filter, ColourIndex index) {
  return std::string{'T', lower(filter), '_', lower(bluerOf(index)), lower(redderOf(index))};
}

std::string coefficientOf(const FilterRole& role) {
  return coefficientName(role.filter, role.index);
}

std::vector<std::string> coefficientsTakenBy(const FilterRole& role) {
  switch (role.equation) {
    case Equation::alone: return {coefficientOf(role)};
    case Equation::pairBluer:
      return {coefficientOf(role), coefficientName(redderOf(role.index), role.index)};
    case Equation::pairRedder:
      return {coefficientName(bluerOf(role.index), role.index), coefficientOf(role)};
    case Equation::iFromBV: return {"Tb_bv", "Tv_bv", "Ti_vi"};
    case Equation::rFromBVI: break;
  }
  return {"Tb_bv", "Tv_bv", "Tr_vi", "Ti_vi"};
}

FilterRole aloneRole(char filter, ColourIndex index) {
  return {filter, Equation::alone, index, {}};
}

SetRoles rolesOfSet(std::span<const char> filters) {
  std::vector<FilterRole> roles;
  for (const char filter : filters) {
    const auto role = roleIn(filters, filter);
    if (!role) {
      return std::string{
          "B and V, V and R, V and I, B, V and I, or B, V, R and I can be transformed together"};
    }
    roles.push_back(*role);
  }
  return roles;
}

}  // namespace varistellar::transform
