// The standard magnitudes: one addition per kept observation, nothing else.
#include "run/run.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace varistellar::run {
namespace {

TEST(StandardMagnitudes, AddTheComparisonMagnitudeToTheKeptObservations) {
  ObservationTable table;
  table.n = 3;
  table.V_C[0] = -0.63823;
  table.V_C[1] = 90.0;
  table.V_C[2] = std::numeric_limits<double>::quiet_NaN();
  table.V_C[3] = 1.0;  // not kept: beyond n
  addComparisonMagnitude(table, 12.345);

  // The double nearest to the exact sum of the two doubles.
  EXPECT_EQ(table.STD[0], 11.70677);
  EXPECT_EQ(table.STD[1], 102.345);
  EXPECT_TRUE(std::isnan(table.STD[2]));
  EXPECT_EQ(table.STD[3], 0.0) << "entries beyond n are left alone";
  EXPECT_EQ(table.V_C[0], -0.63823) << "no other column changes";
}

TEST(StandardMagnitudes, NothingToDoForNoObservations) {
  ObservationTable table;
  table.V_C[0] = 5.0;
  addComparisonMagnitude(table, 12.345);
  EXPECT_EQ(table.STD[0], 0.0);
}

}  // namespace
}  // namespace varistellar::run
