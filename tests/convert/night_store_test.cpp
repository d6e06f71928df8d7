// Several nights handed on in time order: by DATE, ties in the nights'
// order, then in each table's order, whatever order a table holds.
#include "convert/night_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varistellar::convert {
namespace {

class Recorder final : public ObservationListener {
 public:
  void take(const ConvertedObservation& observation) override {
    seen.push_back(std::to_string(observation.night) + "@" +
                   std::to_string(observation.values.DATE).substr(0, 5) + ":" +
                   std::string{observation.record.substr(observation.record.find(',', 14) + 1, 6)});
  }
  std::vector<std::string> seen;
};

TEST(NightStore, HandsOnInTimeOrderWithTiesInTheNightsOrder) {
  std::vector<night::NightParameters> nights{
      {"ABCD", "RR LYR", "C", 10.0, "B", "na", {}},
      {"ABCD", "RR LYR", "C", 20.0, "V", "na", {}},
  };
  const std::vector<std::string> tables{"b.txt", "v.txt"};
  NightStore store{nights, tables, false};
  std::uint64_t line = 2;
  const auto keep = [&](std::size_t night, double date, double difference) {
    const report::ObservationValues values{date, 0.0, 0.01, 1.0, difference, {}, {}};
    store.take({night, values, "", 0.0F, ++line});
  };
  // The B table is out of order, with two rows of one date.
  keep(0, 3.0, 0.3);
  keep(0, 1.0, 0.1);
  keep(0, 2.0, 0.21);
  keep(0, 2.0, 0.22);
  keep(1, 2.0, 0.5);
  keep(1, 4.0, 0.6);
  Recorder recorder;
  diagnostics::DiagnosticList findings;
  store.handOn(&recorder, findings);
  EXPECT_TRUE(findings.all().empty());
  EXPECT_EQ(recorder.seen,
            (std::vector<std::string>{"0@1.000:10.100", "0@2.000:10.210", "0@2.000:10.220",
                                      "1@2.000:20.500", "0@3.000:10.300", "1@4.000:20.600"}));
}

// B and V paired with each other; the coefficients as a plan gives them.
std::vector<transform::FilterTransform> pairedBV() {
  std::vector<transform::FilterTransform> transforms(2);
  transforms[0].role.filter = 'B';
  transforms[0].role.equation = transform::Equation::pairBluer;
  transforms[0].role.partners.push_back('V');
  transforms[0].partnerNights.push_back(1);
  transforms[1].role.equation = transform::Equation::pairRedder;
  transforms[1].role.partners.push_back('B');
  transforms[1].partnerNights.push_back(0);
  for (auto& transform : transforms) {
    transform.coefficients[0] = {0.1181, 0.0103};
    transform.coefficients[1] = {-0.0467, 0.0070};
  }
  return transforms;
}

// Whether each night's transformation is used, when B is at `bTime` and V
// at 1.0 and 1.5 (days).
std::vector<bool> usedWithBAt(double bTime) {
  std::vector<night::NightParameters> nights{
      {"ABCD", "RR LYR", "C", 10.0, "B", "na", {}},
      {"ABCD", "RR LYR", "C", 20.0, "V", "na", {}},
  };
  const std::vector<std::string> tables{"b.txt", "v.txt"};
  NightStore store{nights, tables, false};
  const auto keep = [&](std::size_t night, double time) {
    const report::ObservationValues values{time, 0.0, 0.01, 1.0, 0.5, {}, {}};
    store.take({night, values, "", 0.0F, 3, time});
  };
  keep(0, bTime);
  keep(1, 1.0);
  keep(1, 1.5);
  const auto transforms = pairedBV();
  const StoreTransformation transformation{{&transforms[0], &transforms[1]}, {10.0}, "10"};
  std::vector<bool> used;
  for (const auto* transform : store.transformsUsed(transformation)) {
    used.push_back(transform != nullptr);
  }
  return used;
}

TEST(NightStore, UsesATransformationOnlyWhenAnObservationFindsItsPartners) {
  // B 5 minutes after V's first: both transformed.
  EXPECT_EQ(usedWithBAt(1.0 + 5.0 / 1440.0), (std::vector<bool>{true, true}));
  // B 30 minutes after it: neither.
  EXPECT_EQ(usedWithBAt(1.0 + 30.0 / 1440.0), (std::vector<bool>{false, false}));
}

}  // namespace
}  // namespace varistellar::convert
