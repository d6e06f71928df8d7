// The state of one report's check between its lines: the file's and the
// lines' own rules here; the parameter lines, the rows and the duplicates
// each through their own part.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "check/duplicates.h"
#include "check/findings.h"
#include "check/header_rules.h"
#include "check/line_scanner.h"
#include "check/report_listener.h"
#include "check/row_judge.h"

namespace varistellar::check {

class ReportChecker {
 public:
  // Finds what is down to `least` severe: a command that prints no notes, or
  // only errors, is spared the rules it would not print.
  ReportChecker(std::string_view file, std::int64_t todaySeconds,
                diagnostics::Severity least = diagnostics::Severity::note, Memo memo = Memo::on);
  // Someone to hear every line as it is read; none by default.
  void listen(ReportListener* listener) { listener_ = listener; }
  // The fields in `copied` of every observation line are copied byte for
  // byte from lines a check found free of errors: see RowJudge::trustCopied.
  void trustCopied(FieldSet copied) { rows_.trustCopied(copied); }
  void feed(std::string_view bytes) { scanner_.feed(bytes); }
  // Ends the file: the findings about it as a whole, then all of them into `list`.
  std::uint64_t finish(diagnostics::DiagnosticList& list);

 private:
  void line(const ScannedLine& line);
  void observationLine(const ScannedLine& line);

  std::string file_;
  FileFindings findings_;
  LineScanner scanner_;
  HeaderRules header_;
  RowJudge rows_;
  Duplicates duplicates_;
  bool duplicatesWanted_;
  ReportListener* listener_ = nullptr;
  double latestJulianDate_;
  std::uint64_t observations_ = 0;
  LineEnd firstEnd_ = LineEnd::none;
  bool endsMixed_ = false;
};

}  // namespace varistellar::check
