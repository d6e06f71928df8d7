#include "transform/filter_order.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace varistellar::transform {
namespace {

TEST(FilterRank, StandardFiltersInTheOrderBVRI) {
  static_assert(filterRank('B') == 0 && filterRank('V') == 1 && filterRank('R') == 2 &&
                filterRank('I') == 3);
  for (std::size_t rank = 0; rank < filterOrder.size(); ++rank) {
    EXPECT_EQ(filterRank(filterOrder[rank]), rank);
  }
}

struct NameCase {
  std::string name;
  std::optional<std::size_t> rank;
};

TEST(FilterRankOfName, ColourChannelsAsTheirStandardFiltersCaseIgnored) {
  const std::vector<NameCase> cases = {
      {"B", 0},
      {"V", 1},
      {"R", 2},
      {"I", 3},
      {"b", 0},
      {"i", 3},
      {"TB", 0},
      {"TG", 1},
      {"TR", 2},
      {"tg", 1},
      {"Tr", 2},
      {"SG", std::nullopt},
      {"CV", std::nullopt},
      {"", std::nullopt},
      {"BV", std::nullopt},
      {"TI", std::nullopt},
  };
  for (const NameCase& c : cases) EXPECT_EQ(filterRankOfName(c.name), c.rank) << c.name;
}

}  // namespace
}  // namespace varistellar::transform
