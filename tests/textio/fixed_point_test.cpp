// The fixed-point field, byte for byte, and the digit string behind it.
#include "textio/fixed_point.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "textio/fields.h"

namespace varistellar::textio {
namespace {

std::string fixedField(double value, int width, int digits) {
  std::string field(static_cast<std::size_t>(width), '?');
  formatFixedField(value, width, digits, field.data());
  return field;
}

struct FixedCase {
  double value;
  int width;
  int digits;
  std::string_view text;
};

constexpr double largest = std::numeric_limits<double>::max();
constexpr double smallestNormal = std::numeric_limits<double>::min();
constexpr double smallestSubnormal = std::numeric_limits<double>::denorm_min();

TEST(FixedField, GoldenTable) {
  constexpr FixedCase cases[] = {
      {0.03856, 6, 3, " 0.039"},
      {-0.63823, 6, 3, "-0.638"},
      {1.32272, 6, 3, " 1.323"},
      {-0.5, 6, 3, "-0.500"},
      {12.3456, 6, 3, "12.346"},
      {99.9994, 6, 3, "99.999"},
      {99.9995, 6, 3, "******"},  // s = 9.99995000000000011... rounds up to 100.000
      {9.9995, 6, 3, " 9.999"},   // s = 9.99949999999999939...
      {-9.9995, 6, 3, "-9.999"},
      {1.0005, 6, 3, " 1.000"},
      {1.0015, 6, 3, " 1.002"},
      {0.0005, 6, 3, " 0.001"},
      {0.0004, 6, 3, " 0.000"},
      {-0.0004, 6, 3, " 0.000"},
      {-0.0, 6, 3, " 0.000"},
      {-10.5, 6, 3, "******"},
      {123.456, 6, 3, "******"},
      {-12.3, 6, 3, "******"},
      {-0.638, 5, 3, "-.638"},
      {0.638, 5, 3, "0.638"},
      {-0.0004, 5, 3, " .000"},
      {2456175.658734, 13, 5, "2456175.65873"},
      {2456175.65873, 13, 5, "2456175.65873"},
      {2456175.658735, 13, 5, "2456175.65873"},  // s = 2.4561756587349998...
      {2456175.658736, 13, 5, "2456175.65874"},
      {-2456175.65873, 13, 5, "*************"},
      {0.5, 13, 5, "      0.50000"},
      {2456175.658734, 20, 12, "2456175.658734000000"},
      // Carries through D1, raising r.
      {9.9996, 6, 3, "10.000"},
      {0.99996, 6, 3, " 1.000"},
      {99.9996, 6, 3, "******"},
      {-0.9996, 5, 3, "*****"},
      {0.6, 3, 0, " 1."},
      {-0.6, 3, 0, "-1."},
      // No integer digits wanted at all, and room = 0.
      {0.4, 3, 0, " 0."},
      {-0.4, 3, 0, " 0."},
      {-0.5, 5, 3, "-.500"},
      {0.0005, 5, 3, "0.001"},
      {-0.0005, 5, 3, "-.001"},
      // k capped at 17: never more than 16 significant digits.
      {0.7, 20, 18, "0.700000000000000000"},  // 0.69999999999999995559...
      {1.0 / 3.0, 20, 18, "0.333333333333333300"},
      {123456789012345678.0, 21, 2, "123456789012345700.00"},
      {1e22, 26, 2, "10000000000000000000000.00"},
      {1e23, 27, 2, "100000000000000000000000.00"},  // 99999999999999991611392: s rounds to 10
      // Subnormals are zero, but a negative one keeps its sign.
      {smallestSubnormal, 6, 3, " 0.000"},
      {-smallestSubnormal, 6, 3, "-0.000"},
      {smallestNormal, 6, 3, " 0.000"},
      {-smallestNormal, 6, 3, " 0.000"},
      {largest, 30, 2, "******************************"},
      {-largest, 6, 3, "******"},
      // NaN and infinity.
      {std::numeric_limits<double>::quiet_NaN(), 6, 3, "   NaN"},
      {-std::numeric_limits<double>::quiet_NaN(), 6, 3, "  -NaN"},
      {std::numeric_limits<double>::infinity(), 3, 1, "INF"},
      {-std::numeric_limits<double>::infinity(), 4, 1, "-INF"},
      {-std::numeric_limits<double>::infinity(), 3, 1, "***"},
      // Narrower than d + 2 columns: asterisks for numbers.
      {1.0, 4, 3, "****"},
      {std::numeric_limits<double>::quiet_NaN(), 4, 3, " NaN"},
  };
  for (const FixedCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.value << " in " << c.width << "." << c.digits);
    EXPECT_EQ(fixedField(c.value, c.width, c.digits), c.text);
  }
}

// The short way must write exactly what the digit string writes: over values
// of every size, near the rounding points above all, in every field shape.
TEST(FixedField, ShortWayWritesWhatTheDigitStringWrites) {
  std::mt19937_64 random{20261208};
  std::uniform_real_distribution<double> unit{0.0, 1.0};
  std::uniform_int_distribution<int> exponent{-8, 9};
  std::uniform_int_distribution<int> ulps{-3, 3};
  const auto shape = [](std::uint64_t i) {
    return std::pair{int(5 + i % 10), int(1 + i / 10 % 6)};
  };
  for (std::uint64_t i = 0; i < 3'000'000; ++i) {
    const auto [width, digits] = shape(i);
    double value = 0;
    switch (i % 3) {
      case 0:  // anywhere within a few orders of magnitude
        value = (unit(random) - 0.5) * std::pow(10.0, exponent(random));
        break;
      case 1: {  // a few units in the last place from a tie
        const double scale = std::pow(10.0, digits);
        const double tie = (std::floor(unit(random) * 2e5) + 0.5) / scale;
        value = tie;
        for (int u = ulps(random); u != 0; u += u < 0 ? 1 : -1) {
          value = std::nextafter(value, u < 0 ? 0.0 : 1e300);
        }
        if (i % 2 == 0) value = -value;
        break;
      }
      default:  // whole numbers of units, and just beside them
        value = std::floor(unit(random) * 1e6) / std::pow(10.0, digits) *
                (1.0 + (unit(random) - 0.5) * 1e-15);
    }
    std::string shortWay(static_cast<std::size_t>(width), '?');
    std::string byDigits(static_cast<std::size_t>(width), '?');
    formatFixedField(value, width, digits, shortWay.data());
    formatFixedFieldByDigits(value, width, digits, byDigits.data());
    ASSERT_EQ(shortWay, byDigits) << std::hexfloat << value << " " << width << "." << digits;
  }
}

TEST(FixedField, LargestDoubleFillsItsIntegerDigits) {
  const std::string field = fixedField(largest, 312, 2);
  EXPECT_EQ(field.substr(0, 20), "17976931348623150000");
  EXPECT_EQ(field.find_first_not_of('0', 16), 309U);
  EXPECT_EQ(field.substr(309), ".00");
}

struct DigitCase {
  double magnitude;
  std::string_view digits;
  int exponent;
};

TEST(DigitString, FirstSeventeenDigitsOfTheScaledValueCutOff) {
  constexpr DigitCase cases[] = {
      {0.0, "00000000000000000000", 0},
      {smallestSubnormal, "00000000000000000000", 0},
      {99.9995, "99999500000000001000", 2},
      {2456175.658735, "24561756587349998000", 7},
      {1.0, "10000000000000000000", 1},
      // 2^-877: the estimated exponent is one too high, so s lies just below 1.
      {0x1p-877, "09924161033296100000", -263},
      {largest, "17976931348623146000", 309},
  };
  for (const DigitCase& c : cases) {
    SCOPED_TRACE(c.magnitude);
    const DigitString digitString = makeDigitString(c.magnitude);
    EXPECT_EQ(std::string_view(digitString.digits.data(), DigitString::size), c.digits);
    EXPECT_EQ(digitString.exponent, c.exponent);
  }
}

TEST(PowerOfTen, ExactUpToTheTwentySecondAndInfiniteFromThe309th) {
  double exact = 1.0;
  for (int n = 0; n <= 22; ++n, exact *= 10.0) EXPECT_EQ(powerOfTen(n), exact) << n;
  EXPECT_EQ(powerOfTen(308), 1.0000000000000006e308);  // rounded on the way
  EXPECT_EQ(powerOfTen(309), std::numeric_limits<double>::infinity());
  EXPECT_EQ(powerOfTen(1000000), std::numeric_limits<double>::infinity());
}

}  // namespace
}  // namespace varistellar::textio
