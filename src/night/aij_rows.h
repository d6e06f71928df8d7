// One row of an AstroImageJ table turned into the night's values: the
// target against the ensemble, the check star the same way, the table's own
// ensemble magnitude, the dates and the airmass.
#pragma once

#include <cstddef>
#include <optional>

#include "night/aij_columns.h"
#include "night/table_row.h"

namespace varistellar::night {

struct AijRow {
  double difference = 0.0;  // v - c
  double error = 0.0;       // s1
  std::optional<double> checkDifference{};
  double checkError = 0.0;
  // Source_AMag + 2.5 log10(rel_flux) of the target: the ensemble's
  // magnitude as the table has it.
  std::optional<double> tableReference{};
  std::optional<double> HJD{};
  std::optional<double> JD{};
  double AIRMASS = 0.0;  // NaN: none
};

// Kept; dropped (a needed value is NaN, empty, or a count not above 0); or
// a fault: text that is not a number where one is needed, in `faultColumn`.
enum class RowFate { kept, dropped, fault };

[[nodiscard]] RowFate evaluateAijRow(const AijColumns& columns, const TableRow& row, AijRow& values,
                                     std::size_t& faultColumn);

}  // namespace varistellar::night
