#include "transform/paired_values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace varistellar::transform {
namespace {

constexpr double unmeasured = std::numeric_limits<double>::quiet_NaN();

struct Case {
  std::string name;
  Partner partner;
  Reading first;
  Reading second;
  Instrumental target;  // expected in the partner's place
  double check;         // expected check value in the partner's place (NaN: none)
  bool checkComplete;
};

// The observation is V (own check measured); its partner is B.
const std::vector<Case> cases = {
    {"interpolated a quarter of the way",
     {0, 1, 0.25},
     {{1.0, 0.04}, 2.0},
     {{2.0, 0.08}, 3.0},
     {1.25, std::sqrt(0.75 * 0.75 * (0.04 * 0.04) + 0.25 * 0.25 * (0.08 * 0.08))},
     2.25,
     true},
    {"the nearest alone, the second not read",
     {1, 1, 0.0},
     {{1.5, 0.03}, -0.5},
     {{unmeasured, unmeasured}, unmeasured},
     {1.5, 0.03},
     -0.5,
     true},
    {"the nearest without its check star",
     {0, 0, 0.0},
     {{1.5, 0.03}, unmeasured},
     {{1.5, 0.03}, unmeasured},
     {1.5, 0.03},
     unmeasured,
     false},
    {"interpolated, the second without its check star",
     {0, 1, 0.5},
     {{1.0, 0.0}, 2.0},
     {{3.0, 0.0}, unmeasured},
     {2.0, 0.0},
     unmeasured,
     false},
    {"interpolated, the first without its check star",
     {0, 1, 0.5},
     {{1.0, 0.0}, unmeasured},
     {{3.0, 0.0}, 2.0},
     {2.0, 0.0},
     unmeasured,
     false},
};

TEST(PutPartner, WeighsTargetAndCheckAlike) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EquationValues values;
    putOwn(values, 'V', {{0.5, 0.01}, 0.7});
    putPartner(values, 'B', c.partner, c.first, c.second);
    EXPECT_DOUBLE_EQ(values.target[0].value, c.target.value);
    EXPECT_DOUBLE_EQ(values.target[0].error, c.target.error);
    if (std::isnan(c.check)) {
      EXPECT_TRUE(std::isnan(values.check[0].value));
    } else {
      EXPECT_DOUBLE_EQ(values.check[0].value, c.check);
    }
    EXPECT_EQ(values.check[0].error, 0.0);
    EXPECT_EQ(values.checkComplete, c.checkComplete);
    // The observation's own values stay in its own place.
    EXPECT_EQ(values.target[1].value, 0.5);
    EXPECT_EQ(values.target[1].error, 0.01);
    EXPECT_EQ(values.check[1].value, 0.7);
  }
}

TEST(PutOwn, WithoutPartnersTheCheckStarIsCompleteWhenMeasured) {
  EquationValues values;
  putOwn(values, 'I', {{0.3, 0.02}, 1.1});
  EXPECT_EQ(values.target[3].value, 0.3);
  EXPECT_EQ(values.target[3].error, 0.02);
  EXPECT_EQ(values.check[3].value, 1.1);
  EXPECT_TRUE(values.checkComplete);
  putOwn(values, 'I', {{0.3, 0.02}, unmeasured});
  EXPECT_FALSE(values.checkComplete);
}

TEST(PutPartner, ALaterPartnerKeepsAnEarlierGap) {
  // R with B, V and I: a partner without its check star leaves it out
  // however the others were measured.
  EquationValues values;
  putOwn(values, 'R', {{0.1, 0.01}, 0.2});
  putPartner(values, 'B', {0, 0, 0.0}, {{1.0, 0.01}, unmeasured}, {{1.0, 0.01}, unmeasured});
  putPartner(values, 'V', {0, 0, 0.0}, {{1.0, 0.01}, 0.4}, {{1.0, 0.01}, 0.4});
  EXPECT_FALSE(values.checkComplete);
  EXPECT_EQ(values.check[1].value, 0.4);
}

}  // namespace
}  // namespace varistellar::transform
