// The predicates of the observation-line rules: each says whether its rule
// holds on a row and, when the row is being described, in what words. The
// table in rules.h names each one beside its rule's ID.
#pragma once

#include <optional>
#include <string>

#include "check/row.h"

namespace varistellar::check::row_rules {

// Applied to each field of a row.
[[nodiscard]] std::optional<std::string> emptyField(const Row& row, aeff::Field f);
[[nodiscard]] std::optional<std::string> edgeBlanks(const Row& row, aeff::Field f);
[[nodiscard]] std::optional<std::string> paddedTooLong(const Row& row, aeff::Field f);
[[nodiscard]] std::optional<std::string> notANumber(const Row& row, aeff::Field f);

// Applied to a row as a whole; the finding names the field it points at.
[[nodiscard]] std::optional<RowFinding> starId(const Row& row);
[[nodiscard]] std::optional<RowFinding> starIdPrefix(const Row& row);
[[nodiscard]] std::optional<RowFinding> date(const Row& row);
[[nodiscard]] std::optional<RowFinding> dateRange(const Row& row);
[[nodiscard]] std::optional<RowFinding> datePrecision(const Row& row);
[[nodiscard]] std::optional<RowFinding> magnitude(const Row& row);
[[nodiscard]] std::optional<RowFinding> magnitudeRange(const Row& row);
[[nodiscard]] std::optional<RowFinding> merrLength(const Row& row);
[[nodiscard]] std::optional<RowFinding> merrLarge(const Row& row);
[[nodiscard]] std::optional<RowFinding> merrOdd(const Row& row);
[[nodiscard]] std::optional<RowFinding> filter(const Row& row);
[[nodiscard]] std::optional<RowFinding> unlistedFilter(const Row& row);
[[nodiscard]] std::optional<RowFinding> trans(const Row& row);
[[nodiscard]] std::optional<RowFinding> transNotes(const Row& row);
[[nodiscard]] std::optional<RowFinding> mtype(const Row& row);
[[nodiscard]] std::optional<RowFinding> differential(const Row& row);
[[nodiscard]] std::optional<RowFinding> absolute(const Row& row);
[[nodiscard]] std::optional<RowFinding> cnameLength(const Row& row);
[[nodiscard]] std::optional<RowFinding> ensembleCmag(const Row& row);
[[nodiscard]] std::optional<RowFinding> cmagLength(const Row& row);
[[nodiscard]] std::optional<RowFinding> singleComparisonCmag(const Row& row);
[[nodiscard]] std::optional<RowFinding> knameLength(const Row& row);
[[nodiscard]] std::optional<RowFinding> knameOdd(const Row& row);
[[nodiscard]] std::optional<RowFinding> kmagLength(const Row& row);
[[nodiscard]] std::optional<RowFinding> checkStarPair(const Row& row);
[[nodiscard]] std::optional<RowFinding> kmagRange(const Row& row);
[[nodiscard]] std::optional<RowFinding> airmassLength(const Row& row);
[[nodiscard]] std::optional<RowFinding> airmassRange(const Row& row);
[[nodiscard]] std::optional<RowFinding> group(const Row& row);
[[nodiscard]] std::optional<RowFinding> groupLength(const Row& row);
[[nodiscard]] std::optional<RowFinding> chartLength(const Row& row);
[[nodiscard]] std::optional<RowFinding> chartMissing(const Row& row);
[[nodiscard]] std::optional<RowFinding> notesLong(const Row& row);
[[nodiscard]] std::optional<RowFinding> notesVeryLong(const Row& row);
[[nodiscard]] std::optional<RowFinding> notesSubfields(const Row& row);
[[nodiscard]] std::optional<RowFinding> untransformable(const Row& row);

}  // namespace varistellar::check::row_rules
