// The standard filter each filter name stands for, in any case.
#include "aeff/vocabulary.h"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>

namespace varistellar::aeff {
namespace {

struct FilterCase {
  std::string_view name;
  std::optional<char> standard;
};

TEST(StandardFilter, IgnoresCaseAndTakesTheColourChannelsAsTheirFilters) {
  const FilterCase cases[] = {
      {"B", 'B'},  {"V", 'V'},  {"R", 'R'},  {"I", 'I'}, {"v", 'V'}, {"b", 'B'},  {"TG", 'V'},
      {"tg", 'V'}, {"Tb", 'B'}, {"tR", 'R'}, {"SG", {}}, {"CV", {}}, {"", {}},    {"VV", {}},
      {"T", {}},   {"Rc", {}},  {"Ic", {}},  {"U", {}},  {"V ", {}}, {"TGX", {}},
  };
  for (const FilterCase& c : cases) EXPECT_EQ(standardFilter(c.name), c.standard) << c.name;
}

}  // namespace
}  // namespace varistellar::aeff
