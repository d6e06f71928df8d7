// The standard magnitudes and the table they are kept in.
#include "run/run.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace varistellar::run {
namespace {

Observation withMagnitude(double V_C, double JDHEL = 0.0) {
  Observation observation;
  observation.JDHEL = JDHEL;
  observation.V_C = V_C;
  return observation;
}

TEST(StandardMagnitudes, AddTheComparisonMagnitudeToTheKeptObservations) {
  ObservationTable table;
  for (const double V_C : {-0.63823, 90.0, std::numeric_limits<double>::quiet_NaN()}) {
    ASSERT_TRUE(table.take(withMagnitude(V_C), 0));
  }
  computeStandardMagnitudes(table, 12.345);

  // The double nearest to the exact sum of the two doubles.
  EXPECT_EQ(table.STD(0), 11.70677);
  EXPECT_EQ(table.STD(1), 102.345);
  EXPECT_TRUE(std::isnan(table.STD(2)));
  EXPECT_EQ(table.V_C(0), -0.63823) << "no other column changes";
}

TEST(ObservationTable, GrowsAcrossBlocksKeepingFileOrder) {
  ObservationTable table;
  const std::size_t count = 3 * ObservationTable::blockSize + 5;
  for (std::size_t i = 0; i < count; ++i) {
    ASSERT_TRUE(
        table.take(withMagnitude(static_cast<double>(i), 2460000.0 + static_cast<double>(i)), 0));
  }
  ASSERT_EQ(table.n(), count);
  for (const std::size_t i :
       {std::size_t{0}, ObservationTable::blockSize - 1, ObservationTable::blockSize, count - 1}) {
    EXPECT_EQ(table.V_C(i), static_cast<double>(i));
    EXPECT_EQ(table.JDHEL(i), 2460000.0 + static_cast<double>(i));
  }
}

}  // namespace
}  // namespace varistellar::run
