// What the transformation needs of one observation line of a finished
// report, kept compact (48 bytes) so that a million rows fit in 48 MB: the
// row's text is kept only while it is held back for partners still to come,
// or the writer reads the file again.
#pragma once

#include <cstdint>
#include <limits>

namespace varistellar::report_transform {

// Why a row is written as it was.
enum class Untransformable : std::uint8_t {
  none,
  alreadyTransformed,       // TRANS YES
  filter,                   // a filter with no transformation (SG, CV, ...)
  fainterThan,              // a '<' magnitude
  ensembleWithoutAverages,  // CNAME ENSEMBLE without CREFMAG, CMAGINS and VMAGINS in NOTES
  noComparisonMagnitude,    // neither CREFMAG nor a #CREFMAG= line
  noError,                  // MERR na, or below 0
};

// MERR in units of 1e-5 mag: a MERR of at most six characters below 1.0 is
// exactly such a whole number.
inline constexpr double merrUnit = 1e-5;
inline constexpr std::int32_t noMerr = -1;

// Where GROUP says na: the row pairs in time.
inline constexpr std::uint32_t noGroup = 0;

struct RowInputs {
  double date = 0;  // JD or HJD as #DATE says; NaN for another kind of date
  // The target's instrumental difference from the comparison: VMAGINS -
  // CMAGINS, else MAG - Xc for MTYPE STD, else MAG.
  double x = 0;
  // The check star's: KMAGINS - CMAGINS, else KMAG - CMAG; NaN when unknown.
  double checkX = std::numeric_limits<double>::quiet_NaN();
  std::uint32_t line = 0;         // in the file, from 1
  std::int32_t merr = noMerr;     // sx, in merrUnit
  std::uint32_t star = 0;         // STARID, an index into the report's star names
  std::uint32_t group = noGroup;  // GROUP, an index into the report's groups
  std::uint32_t reference = 0;    // Xc and the check star's catalogue value
  std::uint8_t filter = 0;        // an index into aeff::listedFilters, then knownUnlistedFilters
  bool differential = false;      // MTYPE DIF
  bool ensemble = false;          // CNAME ENSEMBLE
  Untransformable why = Untransformable::none;

  [[nodiscard]] double sx() const { return merr * merrUnit; }
};
static_assert(sizeof(RowInputs) == 48, "a row's inputs stay within 48 bytes");

// The comparison's standard magnitude Xc and the check star's catalogue
// magnitude (NaN when unknown), shared by the rows that name the same ones.
struct ComparisonReference {
  double comparison = std::numeric_limits<double>::quiet_NaN();
  double checkStar = std::numeric_limits<double>::quiet_NaN();
};

}  // namespace varistellar::report_transform
