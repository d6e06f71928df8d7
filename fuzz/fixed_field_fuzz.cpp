// Fuzzes the fixed-point and integer fields over arbitrary values and widths:
// every field is exactly w characters, and the text it shows is the value.
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "textio/fields.h"

namespace {

using namespace varistellar::textio;

constexpr char untouched = '\x7f';

void check(bool property, const char* what, std::string_view field) {
  if (!property) {
    std::fprintf(stderr, "property broken: %s in \"%.*s\"\n", what, static_cast<int>(field.size()),
                 field.data());
    std::abort();
  }
}

bool allAsterisks(std::string_view field) {
  return field.find_first_not_of('*') == std::string_view::npos;
}

void checkFixedField(double value, int width, int digits) {
  std::array<char, 64> buffer;
  buffer.fill(untouched);
  formatFixedField(value, width, digits, buffer.data());
  const auto columns = static_cast<std::size_t>(width);
  const std::string_view field{buffer.data(), columns};
  check(buffer[columns] == untouched && field.find(untouched) == std::string_view::npos,
        "exactly w characters", field);
  if (allAsterisks(field)) {
    // Only a value whose rounded integer digits need more room than there is.
    const int room = width - (std::signbit(value) ? 1 : 0) - digits - 1;
    check(!std::isfinite(value) || std::fabs(value) * (1 + 1e-14) + 0.5 * std::pow(10.0, -digits) >=
                                       std::pow(10.0, room),
          "asterisks only for a value too wide", field);
    return;
  }
  if (!std::isfinite(value)) return;
  const std::size_t first = field.find_first_not_of(' ');
  check(first != std::string_view::npos && field.find(' ', first) == std::string_view::npos,
        "blanks only before the number", field);
  double shown = 0.0;
  const auto result = std::from_chars(field.data() + first, field.data() + field.size(), shown);
  check(result.ptr == field.data() + field.size(), "a number throughout", field);
  // Rounded at d decimals, from at most 16 significant digits of a value
  // scaled by a power of ten that may be a few units off.
  const double tolerance = 0.5 * std::pow(10.0, -digits) * (1 + 1e-9) + std::fabs(value) * 1e-14 +
                           (std::fpclassify(value) == FP_SUBNORMAL ? 1e-300 : 0.0);
  check(std::fabs(shown - value) <= tolerance, "the value, rounded", field);
}

void checkIntegerField(std::int32_t value, int width) {
  std::array<char, 64> buffer;
  buffer.fill(untouched);
  formatIntegerField(value, width, buffer.data());
  const auto columns = static_cast<std::size_t>(width);
  const std::string_view field{buffer.data(), columns};
  check(buffer[columns] == untouched && field.find(untouched) == std::string_view::npos,
        "exactly w characters", field);
  std::array<char, 16> plain;
  const auto end = std::to_chars(plain.data(), plain.data() + plain.size(), value).ptr;
  const auto length = static_cast<std::size_t>(end - plain.data());
  if (length > columns) {
    check(allAsterisks(field), "asterisks for a number too long", field);
  } else {
    check(field.substr(columns - length) == std::string_view(plain.data(), length) &&
              field.find_first_not_of(' ') == columns - length,
          "the number, right-justified", field);
  }
}

}  // namespace

// Input: 8 bytes of a double, then a width and a digits byte, then 4 bytes of
// an integer; short inputs are padded with zeros.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::array<std::uint8_t, 14> bytes{};
  std::memcpy(bytes.data(), data, std::min(size, bytes.size()));
  std::uint64_t bits = 0;
  std::memcpy(&bits, bytes.data(), sizeof bits);
  std::uint32_t integerBits = 0;
  std::memcpy(&integerBits, bytes.data() + 10, sizeof integerBits);

  const double value = std::bit_cast<double>(bits);
  const int width = bytes[8] % 39 + 2;        // 2..40
  const int digits = bytes[9] % (width - 1);  // 0..w-2
  checkFixedField(value, width, digits);
  checkIntegerField(std::bit_cast<std::int32_t>(integerBits), width - 1);
  return 0;
}
