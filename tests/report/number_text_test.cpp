// Numbers inside messages: never asterisks, never equal-looking to the
// limit they are compared with.
#include "report/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace varistellar::report {
namespace {

struct ShownCase {
  double value;
  int digits;
  std::string expected;
};

class ShownNumberTest : public ::testing::TestWithParam<ShownCase> {};

TEST_P(ShownNumberTest, HoldsTheWholeNumber) {
  EXPECT_EQ(shownNumber(GetParam().value, GetParam().digits), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ShownNumberTest,
                         ::testing::Values(ShownCase{0.039, 3, "0.039"},
                                           ShownCase{-0.0467, 4, "-0.0467"},
                                           // Too wide for MERR's 6.3 and a coefficient's 12.4.
                                           ShownCase{1234.5, 3, "1234.500"},
                                           ShownCase{-123456789012.0, 4, "-123456789012.0000"},
                                           ShownCase{1e20, 1, "100000000000000000000.0"}));

struct BesideCase {
  double value;
  double limit;
  std::string expected;
};

class ShownNumberBesideTest : public ::testing::TestWithParam<BesideCase> {};

TEST_P(ShownNumberBesideTest, DiffersVisiblyFromTheLimit) {
  EXPECT_EQ(shownNumberBeside(GetParam().value, 4, GetParam().limit), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, ShownNumberBesideTest,
    ::testing::Values(BesideCase{0.3, 0.5, "0.3000"}, BesideCase{0.49996, 0.5, "0.49996"},
                      BesideCase{-0.4999912, -0.5, "-0.49999"},
                      BesideCase{std::nextafter(0.5, 0.0), 0.5, "0.4999999999999999"},
                      // Equal to the limit: nothing more to show.
                      BesideCase{0.5, 0.5, "0.5000"}));

}  // namespace
}  // namespace varistellar::report
