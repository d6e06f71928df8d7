// The command line's reading of the parameter file: text values whole,
// without the blanks and TABs at their ends; magnitudes plain decimal
// numbers; every fault reported with its line and column.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "diagnostics/diagnostic.h"

namespace varistellar::night {

struct CheckStar {
  std::string id;
  double magnitude = 0.0;  // catalogue
};

// One aperture line after line 12, for an AstroImageJ table: which of the
// table's apertures is the target, the check star, or a comparison star of
// the ensemble (with its catalogue magnitude).
struct ApertureLine {
  enum class Role : std::uint8_t { target, check, comparison };
  Role role = Role::target;
  std::string aperture;    // upper case: "T1", "C2"
  double magnitude = 0.0;  // a comparison star's
  std::uint64_t line = 0;
};

// A comparison star of an ensemble: its aperture and catalogue magnitude.
struct EnsembleStar {
  std::string aperture;
  double magnitude = 0.0;
};

// What the parameter file says about one filter's night. An empty chart is
// "na"; an empty check star is none.
struct NightParameters {
  std::string observerCode;
  std::string variableStarId;
  std::string comparisonStarId;
  double comparisonMagnitude = 0.0;  // catalogue, in this filter
  std::string filterName;
  std::string chartId;
  std::optional<CheckStar> checkStar{};
  std::vector<ApertureLine> apertures{};
  // What the table tells of the night (set once it is looked at): the
  // comparison is an ensemble (CNAME ENSEMBLE, CMAG na, KMAG the check
  // star's standard magnitude, NOTES on every record), and its catalogue
  // magnitude is given row by row.
  bool ensemble = false;
  bool referenceByRow = false;
  // The ensemble's comparison stars with their catalogue magnitudes, where
  // the table or the comparison lines give every one: each can then be
  // measured against the others.
  std::vector<EnsembleStar> ensembleStars{};
  // False where line 7 is ENSEMBLE and line 8 empty or na: the table must
  // give the ensemble's magnitude.
  bool comparisonMagnitudeGiven = true;
};

// The comparison star's name that stands for an ensemble of them.
inline constexpr std::string_view ensembleName = "ENSEMBLE";

// What was read of a parameter file, and whether all of it was good (each
// fault is reported as it is found). What was read of a faulty file still
// lets the table be read, so that every error is listed at once.
struct ParameterReading {
  NightParameters parameters;
  bool ok = false;
};

[[nodiscard]] ParameterReading readParameterFile(const std::string& file,
                                                 diagnostics::DiagnosticSink& findings);

// True when the first bytes of a file that is no table, report or
// coefficient file look like a parameter file: ten to sixty-four short lines
// (the check star's two lines may be left out, aperture lines may follow).
[[nodiscard]] bool isParameterFileBeginning(std::string_view beginning);

// The text the report writes for the check star's name: its name, or "na".
[[nodiscard]] std::string_view checkStarName(const NightParameters& parameters);

}  // namespace varistellar::night
