// The free-form read of reals across records, and the conversion of value texts.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "textio/fields.h"

namespace varistellar::textio {
namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();

std::uint64_t bitsOf(double value) { return std::bit_cast<std::uint64_t>(value); }

struct ConversionCase {
  std::string_view text;
  double value;
};

TEST(ConvertRealText, ValueTexts) {
  constexpr ConversionCase cases[] = {
      {"1.5D2", 150.0},
      {"1.5-3", 0.0015},
      {"+7", 7.0},
      {".", 0.0},
      {"-0", -0.0},
      {"2456175.65873", 2456175.65873},
      {"12+3", 12000.0},
      {"1.2.3", 1.2},
      {"1.5Q3", 1.5},  // Q passes the check but is no exponent letter
      {"E5", 0.0},
      {"-", -0.0},
      {"", 0.0},
      {"+.5E-2", 0.005},
      {"00000000000000000000000001.5", 1.5},
      {"Inf", infinity},
      {"index", infinity},
      {"-inf", -infinity},
      // Documented inaccuracy of long mantissas: the 53 bits of M are cut off.
      {"3.14159265358979323846", 3.1415926535897927},
      {"1.000000000000000000000000000000000000001", 1.0},
      {"123456789012345678901234567890", 1.2345678901234568e+29},
      {"97364988744802700", 9.736498874480269e16},  // 17 digits of M, more than 53 bits
      // Mantissas that no longer fit in 64 bits: no later digit is gathered.
      {"18446744073709551615", 1.844674407370955e19},
      {"18446744073709551616", 1.844674407370955e19},
      {"18446744080000000000", 1.844674408e19},
      {"184467440737095516159", 1.8446744073709548e20},
      // Exponents near and beyond the range of doubles, and subnormals.
      {"1.7976931348623157e308", infinity},
      {"1e308", 1.0000000000000006e308},
      {"0.001e310", 1.0000000000000005e307},
      {"1e309", infinity},
      {"1e-308", 9.999999999999994e-309},
      {"0.1e-306", 9.999999999999995e-308},
      {"2.2250738585072014e-308", 2.2250738585072e-308},
      {"4.9406564584124654e-324", 5e-324},
      {"1e-400", 0.0},
      // Zero stays zero whatever its exponent; the exponent saturates.
      {"0e309", 0.0},
      {"-0e309", -0.0},
      {"1e99999999999", infinity},
      {"-1e99999999999", -infinity},
      {"1e-99999999999", 0.0},
  };
  for (const ConversionCase& c : cases) {
    const RealConversion conversion = convertRealText(c.text);
    EXPECT_TRUE(conversion.ok) << c.text;
    EXPECT_EQ(bitsOf(conversion.value), bitsOf(c.value)) << c.text << " gave " << conversion.value;
  }
}

TEST(ConvertRealText, WordsAndIllegalCharacters) {
  constexpr std::uint64_t notANumber = 0x7FFF0000FFFFFFFF;
  for (const std::string_view text : {"NaN", "Name", "n", "+nonsense"}) {
    EXPECT_EQ(bitsOf(convertRealText(text).value), notANumber) << text;
  }
  EXPECT_EQ(bitsOf(convertRealText("-NaN").value), notANumber | std::uint64_t{1} << 63);
  for (const std::string_view text : {"JD", "V-C", "1.5x", "2*3", "*5", "1 5", "--I", "0x10"}) {
    EXPECT_FALSE(convertRealText(text).ok) << text;
  }
}

// Up to 15 digits of M and |T| <= 22: M and the power of ten are exact, so
// only the last operation rounds and the result is the nearest double.
TEST(ConvertRealText, ShortTextsReadAsTheNearestDouble) {
  std::mt19937_64 random{20120911};
  for (int i = 0; i < 100000; ++i) {
    const auto digitCount = static_cast<int>(random() % 15) + 1;
    // First and last digit not zero, so that M has exactly `digitCount` digits.
    std::string digits = std::to_string(random() % 9 + 1);
    while (static_cast<int>(digits.size()) < digitCount - 1)
      digits += static_cast<char>('0' + random() % 10);
    if (digitCount > 1) digits += static_cast<char>('1' + random() % 9);
    const auto point = static_cast<std::size_t>(random() % (digits.size() + 1));
    const auto fractionDigits = static_cast<int>(digits.size() - point);
    const int exponent = static_cast<int>(random() % 45) - 22 + fractionDigits;
    const std::string text = std::string(random() % 3, '0') + digits.substr(0, point) + "." +
                             digits.substr(point) + std::string(random() % 3, '0') + "e" +
                             std::to_string(exponent);
    double expected = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), expected);
    ASSERT_EQ(bitsOf(convertRealText(text).value), bitsOf(expected)) << text;
  }
}

struct PrefixCase {
  std::string_view text;
  std::size_t length;  // 0: no plain decimal number begins the text
};

TEST(ReadPlainDecimalPrefix, TakesThePlainNumberAndReadsItAsConvertRealText) {
  constexpr PrefixCase cases[] = {
      {"2460600.28403 -0.98803", 13},
      {"-0.98803", 8},
      {"+.5", 3},
      {"7.", 2},
      {"-0", 2},
      {"1.2.3", 3},
      {"0,00655", 1},
      {"1.5D3", 3},
      {"97364988744802700", 17},
      {"3.14159265358979323846", 22},
      {".", 0},
      {"-", 0},
      {"+.", 0},
      {"", 0},
      {"nan", 0},
      {"e5", 0},
  };
  for (const PrefixCase& c : cases) {
    const PlainDecimalPrefix read = readPlainDecimalPrefix(c.text);
    EXPECT_EQ(read.ok, c.length != 0) << c.text;
    if (!read.ok) continue;
    EXPECT_EQ(read.length, c.length) << c.text;
    EXPECT_EQ(bitsOf(read.value), bitsOf(convertRealText(c.text.substr(0, c.length)).value))
        << c.text;
  }
}

// Lines handed out one after another, as a channel's reads would.
class LineSource final : public RecordSource {
 public:
  explicit LineSource(std::vector<std::string_view> lines) : lines_{std::move(lines)} {}
  bool nextRecord(InputRecord& record) override {
    if (next_ == lines_.size()) return false;
    record = {lines_[next_++], 0};
    return true;
  }

 private:
  std::vector<std::string_view> lines_;
  std::size_t next_ = 0;
};

constexpr double unchanged = -999.0;
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

struct FreeFormCase {
  std::vector<std::string_view> lines;
  std::size_t variableCount;
  FreeFormStatus status;
  std::vector<double> values;  // `unchanged` for a variable left as it was
};

TEST(ReadFreeFormReals, Statements) {
  const FreeFormCase cases[] = {
      {{"2456175.65873 -0.63823 0.03856 1.32272 0.02160 1.96095 0.03387 0.00569 1.45156 43.47"},
       8,
       FreeFormStatus::ok,
       {2456175.65873, -0.63823, 0.03856, 1.32272, 0.02160, 1.96095, 0.03387, 0.00569}},
      {{"1 2 3 4 5", "6 7 8 9 10"}, 8, FreeFormStatus::ok, {1, 2, 3, 4, 5, 6, 7, 8}},
      {{"", "12.345 V"}, 1, FreeFormStatus::ok, {12.345}},
      {{"JD     V-C"}, 2, FreeFormStatus::illegalCharacter, {unchanged, unchanged}},
      {{"Name 1"}, 1, FreeFormStatus::ok, {nan}},
      {{"-inf"}, 1, FreeFormStatus::ok, {-infinity}},
      {{"1,,3"}, 3, FreeFormStatus::ok, {1, unchanged, 3}},
      {{"1 / 5"}, 3, FreeFormStatus::ok, {1, unchanged, unchanged}},
      {{"3*2.5"}, 3, FreeFormStatus::ok, {2.5, 2.5, 2.5}},
      {{"4 , 5 6"}, 3, FreeFormStatus::ok, {4, 5, 6}},
      {{"1\t\t2,\t3"}, 3, FreeFormStatus::ok, {1, 2, 3}},
      {{"  ", "\t", "7"}, 1, FreeFormStatus::ok, {7}},
      // Two records: the first comma of the second line is a null value,
      // since "3" ended with blanks, not with its line.
      {{"1 2 2*3  ,", ",6,,8,2*"}, 8, FreeFormStatus::ok, {1, 2, 3, 3, unchanged, 6, unchanged, 8}},
      {{"1 2 2*3  ,", ",6,,8,2*"},
       9,
       FreeFormStatus::endOfFile,
       {1, 2, 3, 3, unchanged, 6, unchanged, 8, unchanged}},
      // A value that ended its line takes the next line's leading comma as its separator.
      {{"1", ",2"}, 2, FreeFormStatus::ok, {1, 2}},
      {{"1", ", ,2"}, 2, FreeFormStatus::ok, {1, unchanged}},
      {{"1", ",", "2"}, 2, FreeFormStatus::ok, {1, 2}},
      {{"1,", ",2"}, 3, FreeFormStatus::ok, {1, unchanged, 2}},
      // Repeat counts: null values, values on the next line, slashes.
      {{"2*,5"}, 3, FreeFormStatus::ok, {unchanged, unchanged, 5}},
      {{"2* 5"}, 2, FreeFormStatus::ok, {5, 5}},
      {{"2*", "7"}, 2, FreeFormStatus::ok, {7, 7}},
      {{"1 2*/ 5"}, 4, FreeFormStatus::ok, {1, unchanged, unchanged, unchanged}},
      {{"99999999999*1"}, 2, FreeFormStatus::ok, {1, 1}},
      // What is not a repeat count fails as an illegal character.
      {{"0*5 6"}, 2, FreeFormStatus::illegalCharacter, {unchanged, unchanged}},
      {{"1 a*5 6"}, 3, FreeFormStatus::illegalCharacter, {1, unchanged, unchanged}},
      {{"2*3*4"}, 2, FreeFormStatus::illegalCharacter, {unchanged, unchanged}},
      {{"*5"}, 1, FreeFormStatus::illegalCharacter, {unchanged}},
      {{"1 x 3"}, 3, FreeFormStatus::illegalCharacter, {1, unchanged, unchanged}},
      {{"1 2"}, 3, FreeFormStatus::endOfFile, {1, 2, unchanged}},
  };
  for (const FreeFormCase& c : cases) {
    SCOPED_TRACE(testing::Message() << '|' << c.lines.front() << "| " << c.variableCount);
    LineSource source{{c.lines.begin() + 1, c.lines.end()}};
    InputRecord record{c.lines.front(), 0};
    std::vector<double> values(c.variableCount, unchanged);
    std::vector<double*> variables;
    for (double& value : values) variables.push_back(&value);
    EXPECT_EQ(readFreeFormReals(record, source, variables), c.status);
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (std::isnan(c.values[i])) {
        EXPECT_TRUE(std::isnan(values[i])) << i;
      } else {
        EXPECT_EQ(values[i], c.values[i]) << i;
      }
    }
  }
}

}  // namespace
}  // namespace varistellar::textio
