// The state of one report's check between its lines: the header's values so
// far, the rows seen, and the findings.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "check/findings.h"
#include "check/line_scanner.h"
#include "check/row_rules.h"

namespace varistellar::check {

class ReportChecker {
 public:
  ReportChecker(std::string_view file, std::int64_t todaySeconds);
  void feed(std::string_view bytes) { scanner_.feed(bytes); }
  // Ends the file: the findings about it as a whole, then all of them into `list`.
  std::uint64_t finish(diagnostics::DiagnosticList& list);

 private:
  void line(const ScannedLine& line);
  void parameterLine(const ScannedLine& line);
  void parameter(const ScannedLine& line, std::string_view key, std::string_view value);
  void delimiter(const ScannedLine& line, std::string_view raw);
  void observationLine(const ScannedLine& line);
  void duplicates(const Row& row);
  // Fills the row from the line; returns the fields whose bytes differ from
  // the previous row's (all of them when that row is not at hand).
  FieldSet fillRow(const ScannedLine& line);

  enum Key { type, obscode, software, delim, date, obstype, keyCount };

  std::string file_;
  FileFindings findings_;
  LineScanner scanner_;
  double latestJulianDate_;
  std::array<bool, keyCount> given_{};
  std::array<std::string, keyCount> value_{};
  DateKind date_ = DateKind::hjd;
  bool sawJd_ = false, sawHjd_ = false;
  std::uint64_t observations_ = 0;
  Row row_{};
  // The last two rows' lines, when short; the row's fields point into the
  // last one while `previousKept_`.
  static constexpr std::size_t copyLimit = 1024;
  std::array<std::string, 2> lineCopies_;
  unsigned copy_ = 0;
  bool previousKept_ = false;
  // What the rules found on the last row: the fields each field rule held
  // on, and the field each row rule held on plus one (0: it did not hold).
  std::array<FieldSet, fieldRules.size()> fieldHeld_{};
  std::array<std::uint8_t, rowRules.size()> rowHeld_{};
  LineEnd firstEnd_ = LineEnd::none;
  bool endsMixed_ = false;
  // Two generations of fingerprints of STARID, DATE and FILT: a row is
  // compared with at least the previous `window` rows.
  static constexpr std::size_t window = 8192;
  std::vector<std::uint64_t> recent_, older_;
  std::vector<std::uint64_t> recentLines_, olderLines_;
  std::size_t recentCount_ = 0;
};

}  // namespace varistellar::check
