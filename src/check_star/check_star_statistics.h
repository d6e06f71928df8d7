// The check star's standard magnitude over a night: its mean, its standard
// deviation and the rows that stray furthest, gathered in one pass so that
// memory stays flat however long the night.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace varistellar::check_star {

// One measurement of the check star: its standard magnitude and the table
// line it came from.
struct CheckStarRow {
  double Kstd = 0.0;
  std::uint64_t line = 0;
};

// A row that strays from the mean by more than three standard deviations.
struct Deviation {
  CheckStarRow row{};
  double fromMean = 0.0;    // Kstd - mean
  double deviations = 0.0;  // |fromMean| in standard deviations
};

class CheckStarStatistics {
 public:
  static constexpr std::size_t listedDeviations = 5;

  void add(CheckStarRow row);

  [[nodiscard]] std::uint64_t count() const { return count_; }
  // The sum in table order divided by the count.
  [[nodiscard]] double mean() const;
  // With count - 1; 0 for a single row.
  [[nodiscard]] double standardDeviation() const;
  // The rows beyond three standard deviations, furthest first, at most five.
  [[nodiscard]] std::vector<Deviation> largestDeviations() const;

 private:
  // The five brightest and the five faintest rows: the rows furthest from
  // any mean are among them.
  using Extremes = std::array<CheckStarRow, listedDeviations>;
  static void keep(Extremes& extremes, std::size_t& kept, CheckStarRow row, bool faintest);

  std::uint64_t count_ = 0;
  double sum_ = 0.0;
  // Sums of the differences from the first row, for a deviation that keeps
  // its digits when the magnitudes are large and the scatter small.
  double shift_ = 0.0;
  double shiftedSum_ = 0.0;
  double shiftedSquares_ = 0.0;
  Extremes brightest_{};
  Extremes faintest_{};
  std::size_t brightestKept_ = 0;
  std::size_t faintestKept_ = 0;
};

// A number with that many decimals as the report's fixed-point fields write
// it, without blanks; signed: with a + before a number that is not negative.
[[nodiscard]] std::string decimalText(double value, int digits);
[[nodiscard]] std::string signedDecimalText(double value, int digits);

// "check star ID: N observations, mean M (catalogue R, difference +D),
// standard deviation S", the numbers with 3 decimals.
[[nodiscard]] std::string statisticsLine(std::string_view checkStarId,
                                         const CheckStarStatistics& statistics,
                                         double catalogueMagnitude);

}  // namespace varistellar::check_star
