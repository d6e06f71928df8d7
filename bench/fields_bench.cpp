// Per value: fixed-point fields and value texts of a night's light curve,
// ours against std::to_chars / std::from_chars and snprintf / strtod.
#include <benchmark/benchmark.h>

#include <array>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "textio/fields.h"

namespace {

using varistellar::textio::convertRealText;
using varistellar::textio::formatFixedField;

constexpr std::size_t valueCount = 1000;  // one full light-curve table

// Heliocentric Julian dates a few minutes apart (13.5), or magnitudes and
// their differences between -2 and 15 (6.3); both with five decimals, as the
// light-curve table writes them.
std::vector<double> makeValues(bool julianDates) {
  std::mt19937_64 random{2456175};
  std::vector<double> values;
  for (std::size_t i = 0; i < valueCount; ++i) {
    const auto hundredThousandths = static_cast<double>(
        julianDates ? 245617565873 + 347 * i + random() % 100 : random() % 1700000);
    values.push_back(julianDates ? hundredThousandths / 1e5 : hundredThousandths / 1e5 - 2.0);
  }
  return values;
}

struct FieldShape {
  int width;
  int digits;
};
constexpr FieldShape julianDateField{13, 5};
constexpr FieldShape magnitudeField{6, 3};

std::vector<std::string> makeTexts(bool julianDates) {
  std::vector<std::string> texts;
  for (const double value : makeValues(julianDates)) {
    std::array<char, 32> text{};
    const auto result =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, 5);
    texts.emplace_back(text.data(), result.ptr);
  }
  return texts;
}

void countValues(benchmark::State& state) {
  state.counters["ns_per_value"] = benchmark::Counter(
      static_cast<double>(valueCount),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Times `formatOne(value, shape, field)` over the values of one kind: the
// three formatters differ only in that call.
template <typename Format>
void timeFormatting(benchmark::State& state, bool julianDates, Format formatOne) {
  const std::vector<double> values = makeValues(julianDates);
  const FieldShape shape = julianDates ? julianDateField : magnitudeField;
  std::array<char, 32> field{};
  for (auto _ : state) {
    for (const double value : values) {
      formatOne(value, shape, field);
      benchmark::DoNotOptimize(field.data());
      benchmark::ClobberMemory();
    }
  }
  countValues(state);
}

// Times `convertOne(text)` over the value texts of one kind.
template <typename Convert>
void timeReading(benchmark::State& state, bool julianDates, Convert convertOne) {
  const std::vector<std::string> texts = makeTexts(julianDates);
  for (auto _ : state) {
    for (const std::string& text : texts) benchmark::DoNotOptimize(convertOne(text));
  }
  countValues(state);
}

template <bool julianDates>
void formatOurs(benchmark::State& state) {
  timeFormatting(state, julianDates, [](double value, FieldShape shape, auto& field) {
    formatFixedField(value, shape.width, shape.digits, field.data());
  });
}

template <bool julianDates>
void formatToChars(benchmark::State& state) {
  timeFormatting(state, julianDates, [](double value, FieldShape shape, auto& field) {
    const auto result = std::to_chars(field.data(), field.data() + field.size(), value,
                                      std::chars_format::fixed, shape.digits);
    benchmark::DoNotOptimize(result.ptr);
  });
}

template <bool julianDates>
void formatSnprintf(benchmark::State& state) {
  timeFormatting(state, julianDates, [](double value, FieldShape shape, auto& field) {
    benchmark::DoNotOptimize(
        std::snprintf(field.data(), field.size(), "%*.*f", shape.width, shape.digits, value));
  });
}

template <bool julianDates>
void convertOurs(benchmark::State& state) {
  timeReading(state, julianDates, [](const std::string& text) { return convertRealText(text); });
}

template <bool julianDates>
void convertFromChars(benchmark::State& state) {
  timeReading(state, julianDates, [](const std::string& text) {
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
  });
}

template <bool julianDates>
void convertStrtod(benchmark::State& state) {
  timeReading(state, julianDates,
              [](const std::string& text) { return std::strtod(text.c_str(), nullptr); });
}

BENCHMARK_TEMPLATE(formatOurs, true)->Name("format/julian_date_13.5/ours");
BENCHMARK_TEMPLATE(formatToChars, true)->Name("format/julian_date_13.5/to_chars");
BENCHMARK_TEMPLATE(formatSnprintf, true)->Name("format/julian_date_13.5/snprintf");
BENCHMARK_TEMPLATE(formatOurs, false)->Name("format/magnitude_6.3/ours");
BENCHMARK_TEMPLATE(formatToChars, false)->Name("format/magnitude_6.3/to_chars");
BENCHMARK_TEMPLATE(formatSnprintf, false)->Name("format/magnitude_6.3/snprintf");
BENCHMARK_TEMPLATE(convertOurs, true)->Name("read/julian_date/ours");
BENCHMARK_TEMPLATE(convertFromChars, true)->Name("read/julian_date/from_chars");
BENCHMARK_TEMPLATE(convertStrtod, true)->Name("read/julian_date/strtod");
BENCHMARK_TEMPLATE(convertOurs, false)->Name("read/magnitude/ours");
BENCHMARK_TEMPLATE(convertFromChars, false)->Name("read/magnitude/from_chars");
BENCHMARK_TEMPLATE(convertStrtod, false)->Name("read/magnitude/strtod");

}  // namespace

BENCHMARK_MAIN();
