// An AstroImageJ row's values, computed as AstroImageJ computes them.
#include "night/aij_rows.h"

#include <cmath>
#include <limits>

namespace varistellar::night {
namespace {

// Reads the values a row needs, remembering the first that is no number.
class RowValues {
 public:
  RowValues(const TableRow& row, std::size_t& faultColumn) : row_{row}, faultColumn_{faultColumn} {}

  // The number in `column`; nothing when it is missing or no number.
  std::optional<double> number(std::size_t column) {
    if (column == noColumn) return std::nullopt;
    const FieldNumber read = readFieldNumber(row_[column]);
    if (read.kind == FieldNumber::Kind::number) return read.value;
    if (read.kind == FieldNumber::Kind::notNumber && !faulty_) {
      faulty_ = true;
      faultColumn_ = column;
    }
    return std::nullopt;
  }
  std::optional<double> count(std::size_t column) {
    const std::optional<double> value = number(column);
    return value && *value > 0.0 ? value : std::nullopt;
  }
  // An error below 0 measures nothing.
  std::optional<double> error(std::size_t column) {
    const std::optional<double> value = number(column);
    return value && *value >= 0.0 ? value : std::nullopt;
  }
  [[nodiscard]] bool faulty() const { return faulty_; }

 private:
  const TableRow& row_;
  std::size_t& faultColumn_;
  bool faulty_ = false;
};

struct Difference {
  double value = 0.0;
  double error = 0.0;
};

// -2.5 log10 of a relative flux, and 2.5 log10(1 + its relative error);
// nothing where the numbers run past what a double holds.
std::optional<Difference> magnitudeOf(double ratio, double relativeError) {
  const Difference magnitude{-2.5 * std::log10(ratio), 2.5 * std::log10(1.0 + relativeError)};
  if (!std::isfinite(magnitude.value) || !std::isfinite(magnitude.error)) return std::nullopt;
  return magnitude;
}

std::optional<Difference> fromRelativeFlux(const AijStar& star, RowValues& values) {
  const std::optional<double> flux = values.count(star.relFlux);
  const std::optional<double> error = values.error(star.relFluxError);
  if (!flux || !error) return std::nullopt;
  return magnitudeOf(*flux, *error / *flux);
}

std::optional<Difference> fromCounts(const AijStar& star, const AijColumns& columns,
                                     RowValues& values) {
  const std::optional<double> flux = values.count(star.counts);
  const std::optional<double> error = values.error(star.countsError);
  double sum = 0.0;
  double squaredErrors = 0.0;
  bool measured = flux && error;
  for (const AijStar& comparison : columns.comparisons) {
    const std::optional<double> counts = values.count(comparison.counts);
    const std::optional<double> countsError = values.error(comparison.countsError);
    measured = measured && counts && countsError;
    if (counts && countsError) {
      sum += *counts;
      squaredErrors += *countsError * *countsError;
    }
  }
  if (!measured) return std::nullopt;
  const double relative =
      std::sqrt((*error / *flux) * (*error / *flux) + squaredErrors / (sum * sum));
  return magnitudeOf(*flux / sum, relative);
}

std::optional<Difference> difference(const AijStar& star, const AijColumns& columns,
                                     RowValues& values) {
  return columns.recomputed ? fromCounts(star, columns, values) : fromRelativeFlux(star, values);
}

}  // namespace

RowFate evaluateAijRow(const AijColumns& columns, const TableRow& row, AijRow& values,
                       std::size_t& faultColumn) {
  RowValues read{row, faultColumn};
  const std::optional<Difference> target = difference(columns.target, columns, read);
  std::optional<Difference> check;
  if (columns.check) check = difference(*columns.check, columns, read);
  const std::optional<double> magnitude = read.number(columns.targetMagnitude);
  const std::optional<double> flux = read.count(columns.targetRelFlux);
  values.HJD = read.number(columns.hjd);
  values.JD = read.number(columns.jd);
  if (values.JD) *values.JD += columns.jdOffset;
  // AstroImageJ writes -1, 0 or NaN when it has no coordinates.
  const FieldNumber airmass =
      readFieldNumber(columns.airmass == noColumn ? std::string_view{} : row[columns.airmass]);
  values.AIRMASS = airmass.kind == FieldNumber::Kind::number && airmass.value >= 1.0
                       ? airmass.value
                       : std::numeric_limits<double>::quiet_NaN();
  if (read.faulty()) return RowFate::fault;
  values.tableReference.reset();
  if (magnitude && flux) values.tableReference = *magnitude + 2.5 * std::log10(*flux);
  if (values.tableReference && !std::isfinite(*values.tableReference))
    values.tableReference.reset();
  if (!target || (!columns.fixedReference && !values.tableReference)) return RowFate::dropped;
  values.difference = target->value;
  values.error = target->error;
  values.checkDifference.reset();
  if (check) {
    values.checkDifference = check->value;
    values.checkError = check->error;
  }
  return RowFate::kept;
}

}  // namespace varistellar::night
