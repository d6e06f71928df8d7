// Exact decimal reading and fixed notation, against golden rows and against
// the standard library's own correctly rounded conversions as oracles.
#include "textio/exact_decimal.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "textio/bit_pattern.h"

namespace varistellar::textio {
namespace {

std::string toCharsFixed(double value, int decimals) {
  char text[400];
  const auto written =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  return {text, written.ptr};
}

std::optional<double> fromChars(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0.0;
  const auto read = std::from_chars(text.data(), text.data() + text.size(), value);
  if (read.ec != std::errc{} || read.ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

struct FixedRow {
  double value;
  int decimals;
  std::string_view text;
};

TEST(FormatExactFixed, GoldenRows) {
  constexpr FixedRow rows[] = {
      {0.0, 0, "0"},
      {-0.0, 2, "-0.00"},
      {0.125, 2, "0.12"},  // an exact tie goes to the even digit
      {0.375, 2, "0.38"},
      {2.5, 0, "2"},
      {3.5, 0, "4"},
      {-1.005, 2, "-1.00"},  // 1.00499999999999989...
      {9.995, 2, "9.99"},    // 9.99499999999999921...
      {9.9951, 2, "10.00"},  // a carry into a new digit
      {2460600.28403, 5, "2460600.28403"},
      {0.1, 20, "0.10000000000000000555"},
      {1e22, 0, "10000000000000000000000"},
      {std::numeric_limits<double>::denorm_min(), 3, "0.000"},
      {std::numeric_limits<double>::infinity(), 2, "inf"},
      {-std::numeric_limits<double>::infinity(), 2, "-inf"},
  };
  for (const FixedRow& row : rows) {
    EXPECT_EQ(formatExactFixed(row.value, row.decimals), row.text)
        << row.value << " with " << row.decimals;
  }
  EXPECT_EQ(formatExactFixed(std::numeric_limits<double>::quiet_NaN(), 2), "nan");
}

TEST(FormatExactFixed, AgreesWithToCharsOnRandomDoubles) {
  std::mt19937_64 random{21};
  std::uniform_int_distribution<int> decimals{0, 8};
  for (int i = 0; i < 200000; ++i) {
    // Every bit pattern of a modest exponent, and values of a picture's size.
    const std::uint64_t bits = random();
    const double anyBits =
        doubleFromBits((bits & 0x800FFFFFFFFFFFFFULL) | ((0x3A0ULL + (bits >> 52) % 0xC0) << 52));
    const double picture = static_cast<double>(random() % 2000000) / 8.0;
    for (const double value : {anyBits, picture}) {
      const int d = decimals(random);
      ASSERT_EQ(formatExactFixed(value, d), toCharsFixed(value, d)) << value << " with " << d;
    }
  }
}

struct ReadRow {
  std::string_view text;
  std::optional<double> value;
};

TEST(ReadExactDecimal, GoldenRows) {
  const ReadRow rows[] = {
      {"0", 0.0},
      {"-0.000", -0.0},
      {"+1.5", 1.5},
      {"1.", 1.0},
      {".5", 0.5},
      {"2460600.2840312345678", 2460600.2840312345678},
      {"0.1000000000000000055511151231257827", 0.1},
      {"9007199254740993", 9007199254740992.0},  // a tie goes to the even significand
      {"9007199254740993.0000000000000001", 9007199254740994.0},
      {"", std::nullopt},
      {".", std::nullopt},
      {"1.2.3", std::nullopt},
      {"1e5", std::nullopt},
      {"--1", std::nullopt},
      {std::string_view{"0.000000000000000000000000000000000000000000000000000000000000000000000000"
                        "0000000000000000000000000000000000000000000000000000000000000000000000000"
                        "0000000000000000000000000000000000000000000000000000000000000000000000000"
                        "0000000000000000000000000000000000000000000000000000000000000000000000000"
                        "00000000000000000000000000000000000000000000000000000000001"},
       std::nullopt},  // becomes zero
  };
  for (const ReadRow& row : rows) {
    const auto read = readExactDecimal(row.text);
    ASSERT_EQ(read.has_value(), row.value.has_value()) << row.text;
    if (read) {
      EXPECT_EQ(bitsOf(*read), bitsOf(*row.value)) << row.text;
    }
  }
  EXPECT_FALSE(readExactDecimal(std::string(400, '9')));  // beyond the doubles
}

TEST(ReadExactDecimal, AgreesWithFromCharsOnLongDecimals) {
  std::mt19937_64 random{18};
  std::uniform_int_distribution<int> digit{0, 9};
  std::uniform_int_distribution<int> length{1, 40};
  for (int i = 0; i < 100000; ++i) {
    std::string text = random() % 2 == 0 ? "-" : "";
    const int before = length(random) % 12;
    const int after = length(random) - 1;
    for (int k = 0; k < before; ++k) text.push_back(static_cast<char>('0' + digit(random)));
    if (after > 0 || before == 0) text.push_back('.');
    for (int k = 0; k < std::max(after, before == 0 ? 1 : 0); ++k) {
      text.push_back(static_cast<char>('0' + digit(random)));
    }
    const auto ours = readExactDecimal(text);
    const auto oracle = fromChars(text);
    ASSERT_EQ(ours.has_value(), oracle.has_value()) << text;
    if (ours) {
      ASSERT_EQ(bitsOf(*ours), bitsOf(*oracle)) << text;
    }
  }
  // Around the subnormals and the largest double.
  for (const std::string_view text :
       {"0.0000000000000000000000000000000000000000000000000000000000000000000000000000000000"
        "00000000000000000000000000000000000000000000000000000000000000000000000000000000000"
        "00000000000000000000000000000000000000000000000000000000000000000000000000000000000"
        "000000000000000000000000000000000000000000000000000000000000000000000000000000000494"
        "0656458412465441765687928682213723651",
        "0.0000000000000000000000000000000000000000000000000000000000000000000000000000000000"
        "00000000000000000000000000000000000000000000000000000000000000000000000000000000000"
        "00000000000000000000000000000000000000000000000000000000000000000000000000000000000"
        "0000000000000000000000000000000000000000000000000000000000000000000000000000000024703"
        "282292062327208828439643411068618252990130716238221279284125033775364"}) {
    const auto ours = readExactDecimal(text);
    const auto oracle = fromChars(text);
    ASSERT_EQ(ours.has_value(), oracle.has_value()) << text;
    if (ours) {
      EXPECT_EQ(bitsOf(*ours), bitsOf(*oracle)) << text;
    }
  }
  const std::string largest = toCharsFixed(std::numeric_limits<double>::max(), 0);
  EXPECT_EQ(readExactDecimal(largest), std::numeric_limits<double>::max());
}

TEST(ReadExactDecimalWithExponent, GoldenRows) {
  const ReadRow rows[] = {
      {"-4.67e-2", -0.0467},
      {"-4.67E-2", -0.0467},
      {"1e3", 1000.0},
      {"+1.5E+2", 150.0},
      {".5e1", 5.0},
      {"5.e-1", 0.5},
      {"0.0467", 0.0467},  // no exponent
      {"00012.5e-3", 0.0125},
      {"1000e-3", 1.0},
      {"-0e999999999999999999999", -0.0},
      {"1e308", 1e308},
      {"1.7976931348623157e308", std::numeric_limits<double>::max()},
      {"4.9406564584124654e-324", std::numeric_limits<double>::denorm_min()},
      {"1e309", std::nullopt},                    // beyond the doubles
      {"1.7976931348623159e308", std::nullopt},   // rounds to infinity
      {"2e-324", std::nullopt},                   // becomes zero
      {"1e-99999999999999999999", std::nullopt},  // an exponent past any limit
      {"1e99999999999999999999", std::nullopt},
  };
  for (const ReadRow& row : rows) {
    EXPECT_TRUE(isDecimalWithExponent(row.text)) << row.text;
    const auto read = readExactDecimalWithExponent(row.text);
    ASSERT_EQ(read.has_value(), row.value.has_value()) << row.text;
    if (read) {
      EXPECT_EQ(bitsOf(*read), bitsOf(*row.value)) << row.text;
    }
  }
  for (const std::string_view text :
       {"", "e5", "1e", "1e+", "1e-", "1e2.5", "1e2e3", "1,5e2", ".e1", "1 e2", "1e 2", "--1e2",
        "1E+-2", "0x1p3", "inf", "nan"}) {
    EXPECT_FALSE(isDecimalWithExponent(text)) << text;
    EXPECT_FALSE(readExactDecimalWithExponent(text)) << text;
  }
}

TEST(ReadExactDecimalWithExponent, AgreesWithFromChars) {
  std::mt19937_64 random{19};
  std::uniform_int_distribution<int> digit{0, 9};
  std::uniform_int_distribution<int> length{0, 20};
  std::uniform_int_distribution<int> exponent{-340, 330};
  for (int i = 0; i < 30000; ++i) {
    std::string text = random() % 2 == 0 ? "-" : "";
    const int before = length(random);
    const int after = before == 0 ? length(random) + 1 : length(random);
    for (int k = 0; k < before; ++k) text.push_back(static_cast<char>('0' + digit(random)));
    if (after > 0) text.push_back('.');
    for (int k = 0; k < after; ++k) text.push_back(static_cast<char>('0' + digit(random)));
    text.append(random() % 2 == 0 ? "e" : "E").append(std::to_string(exponent(random)));
    const auto ours = readExactDecimalWithExponent(text);
    auto oracle = fromChars(text);
    // The standard library gives a zero for a text of zeros, and nothing for
    // a value that becomes zero; so does our reading.
    ASSERT_EQ(ours.has_value(), oracle.has_value()) << text;
    if (ours) {
      ASSERT_EQ(bitsOf(*ours), bitsOf(*oracle)) << text;
    }
  }
}

}  // namespace
}  // namespace varistellar::textio
