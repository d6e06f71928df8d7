// The comment lines through which a report gives its catalogue magnitudes
// once for the rows below them instead of in each row's NOTES:
// `#CREFMAG=Cmag Cerr Kmag Kerr` and `#KREFMAG=Kmag`.
#pragma once

#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace varistellar::report_transform {

class ReferenceLines {
 public:
  // A line that starts with '#', without its line end. Others keys are passed over.
  // The numbers are separated by blanks, ';' or commas; a comma between
  // numbers without a point ("12,895") is a decimal comma, and the text no
  // number rather than 12.
  void commentLine(std::string_view line);

  // The comparison's magnitude from the last #CREFMAG= line; NaN when none
  // was given or its first item is no number.
  [[nodiscard]] double comparison() const { return comparison_; }
  // The check star's: the third item of that line, else the last #KREFMAG=
  // line's first; NaN when neither is a number.
  [[nodiscard]] double checkStar() const;

  // Changes each time a line changes one of them, so that a reader can tell
  // that the values it took from here are still the same.
  [[nodiscard]] unsigned version() const { return version_; }

  // What the last line gave that is no plain decimal number and so counts
  // as not given, each as a sentence for a warning; empty when all were numbers.
  [[nodiscard]] const std::vector<std::string>& unreadNumbers() const { return unread_; }

 private:
  double comparison_ = std::numeric_limits<double>::quiet_NaN();
  double comparisonLineCheckStar_ = std::numeric_limits<double>::quiet_NaN();
  double checkStarLine_ = std::numeric_limits<double>::quiet_NaN();
  unsigned version_ = 0;
  std::vector<std::string> unread_;
};

}  // namespace varistellar::report_transform
