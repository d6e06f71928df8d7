#include "check_star/ensemble_agreement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace varistellar::check_star {
namespace {

// The counts a star of magnitude m gives on a frame of zero point 25.
double countsOf(double magnitude) { return std::pow(10.0, -0.4 * (magnitude - 25.0)); }

EnsembleAgreement agreement(const std::vector<double>& catalogue) {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < catalogue.size(); ++i) names.push_back("C" + std::to_string(i + 2));
  return EnsembleAgreement{names, catalogue};
}

TEST(EnsembleAgreement, StarsAtTheirCatalogueMagnitudesAgree) {
  const std::vector<double> catalogue{12.0, 12.5, 13.41, 13.0};
  auto ensemble = agreement(catalogue);
  for (int row = 0; row < 10; ++row) {
    std::vector<double> counts;
    for (const double m : catalogue) counts.push_back(countsOf(m) * (1.0 + 0.001 * row));
    ASSERT_EQ(ensemble.add(counts).size(), 4U);
  }
  for (std::size_t i = 0; i < 4; ++i) EXPECT_NEAR(ensemble.meanDifference(i), 0.0, 1e-9);
  EXPECT_TRUE(ensemble.findings().empty());
}

TEST(EnsembleAgreement, AStarFainterThanItsCatalogueMagnitude) {
  const std::vector<double> catalogue{12.0, 12.5, 13.41, 13.0};
  for (const double off : {0.18, 0.09}) {
    auto ensemble = agreement(catalogue);
    std::vector<double> counts;
    for (const double m : catalogue) counts.push_back(countsOf(m));
    counts[2] = countsOf(13.41 + off);
    ensemble.add(counts);
    ensemble.add(counts);
    // The others are measured against a star that is fainter too, by less.
    EXPECT_NEAR(ensemble.meanDifference(2), off, 0.001);
    const auto found = ensemble.findings();
    if (off < 0.1) {
      EXPECT_TRUE(found.empty());
      continue;
    }
    ASSERT_EQ(found.size(), 1U);
    EXPECT_EQ(found[0],
              "quality: comparison star C4 measures 0.18 fainter than its catalogue magnitude "
              "13.410 against the others: a variable or misidentified star? Leave it out with "
              "comparison lines");
  }
}

TEST(EnsembleAgreement, AStarThatScattersMoreThanThreeTimesTheOthers) {
  const std::vector<double> catalogue{12.0, 12.0, 12.0, 12.0, 12.0};
  for (const double wobble : {0.04, 0.01}) {
    auto ensemble = agreement(catalogue);
    for (int row = 0; row < 20; ++row) {
      std::vector<double> counts;
      for (std::size_t i = 0; i < catalogue.size(); ++i) {
        const double noise = (row + static_cast<int>(i)) % 2 == 0 ? 0.004 : -0.004;
        counts.push_back(
            countsOf(12.0 + noise + (i == 0 ? (row % 2 == 0 ? wobble : -wobble) : 0.0)));
      }
      ensemble.add(counts);
    }
    const auto found = ensemble.findings();
    if (wobble < 0.03) {
      EXPECT_TRUE(found.empty()) << found.front();
      continue;
    }
    ASSERT_EQ(found.size(), 1U);
    EXPECT_EQ(found[0].rfind("quality: comparison star C2 scatters ", 0), 0U) << found[0];
  }
}

TEST(EnsembleAgreement, ARowWithACountNotAbove0IsPassedOver) {
  auto ensemble = agreement({12.0, 12.5});
  EXPECT_TRUE(ensemble.add(std::vector<double>{100.0, 0.0}).empty());
  EXPECT_TRUE(ensemble.add(std::vector<double>{100.0, std::nan("")}).empty());
  EXPECT_EQ(ensemble.rows(), 0U);
  EXPECT_TRUE(ensemble.findings().empty());
}

}  // namespace
}  // namespace varistellar::check_star
