// One report's check: the rules of the file and of each line as it stands,
// and the dispatch of each line to the header's or the rows' rules.
#include "check/report_checker.h"

#include "aeff/format.h"
#include "aeff/vocabulary.h"

namespace varistellar::check {

using aeff::sameWord;

ReportChecker::ReportChecker(std::string_view file, std::int64_t todaySeconds,
                             diagnostics::Severity least, Memo memo)
    : file_{file},
      findings_{file, least},
      scanner_{[this](const ScannedLine& l) { line(l); }},
      header_{findings_, scanner_},
      rows_{memo, least},
      duplicatesWanted_{severityWanted(ruleFacts(rule("F11")).severity, least)},
      latestJulianDate_{2440587.5 + static_cast<double>(todaySeconds) / 86400.0 + 1.0} {
  if (!aeff::isReportFileName(file_))
    findings_.report(rule("F3"), 0, 0, "the file name does not end in .txt, .csv or .tsv");
}

void ReportChecker::line(const ScannedLine& l) {
  if (l.number == 1 && scanner_.byteOrderMark())
    findings_.report(rule("F2"), 1, 1, "the file starts with a UTF-8 byte order mark");
  if (l.end != LineEnd::none) {
    if (firstEnd_ == LineEnd::none) {
      firstEnd_ = l.end;
    } else if (l.end != firstEnd_ && !endsMixed_) {
      endsMixed_ = true;
      findings_.report(rule("F4"), l.number, 0, "LF and CR LF line ends are mixed in the file");
    }
  }
  // A bare CR is counted apart from the mixed line ends.
  if (l.bareCr) findings_.report(rule("F4"), l.number, 0, "a CR stands alone, not before an LF", 0);
  if (l.badColumn != 0) {
    findings_.report(rule("F1"), l.number, l.badColumn,
                     "byte " + aeff::byteName(l.badByte) + " is not printable ASCII");
  }
  if (l.end == LineEnd::none)
    findings_.report(rule("F6"), l.number, 0, "the last line has no line end");
  if (l.allBlank) {
    findings_.report(rule("F5"), l.number, 0, "a blank line that is not commented out");
    return;
  }
  if (!l.kept.empty() && l.kept.front() == '#') {
    rows_.forget();
    header_.line(l, observations_);
    if (listener_ != nullptr) listener_->commentLine(l);
    return;
  }
  if (const std::size_t first = l.kept.find_first_not_of(" \t");
      first < l.kept.size() && l.kept[first] == '#')
    findings_.report(rule("F7"), l.number, first + 1,
                     "'#' must stand in column 1; this is read as an observation");
  observationLine(l);
}

void ReportChecker::observationLine(const ScannedLine& l) {
  // A column-title line without its '#' is no observation. Its first field,
  // without its blanks, is as long as STARID or NAME and starts as they do
  // (a star's name is often six letters too).
  const FieldSpan& head = l.fields[0];
  const std::uint64_t headLength =
      head.leading == head.length ? 0 : head.length - head.leading - head.trailing;
  const auto titleStart = [&l, &head] {
    const auto c =
        static_cast<unsigned char>(l.kept[static_cast<std::size_t>(head.start + head.leading)]) |
        0x20u;
    return c == 's' || c == 'n';
  };
  if (l.fieldCount >= 2 && (!l.whole() || ((headLength == 6 || headLength == 4) && titleStart()))) {
    FieldText first;
    FieldText second;
    fillField(l, 0, first);
    fillField(l, 1, second);
    if ((sameWord(first.text, "STARID") || sameWord(first.text, "NAME")) &&
        sameWord(second.text, "DATE")) {
      findings_.report(rule("P9"), l.number, 1, "the column-title line lacks its '#'");
      return;
    }
  }
  ++observations_;
  if (!header_.complete())
    findings_.report(rule("F8"), l.number, 0,
                     "an observation before #TYPE, #OBSCODE, #SOFTWARE, #DELIM and #DATE");
  if (l.fieldCount != aeff::fieldCount) {
    const bool fewer = l.fieldCount < aeff::fieldCount;
    findings_.report(rule("R1"), l.number, 0,
                     std::to_string(l.fieldCount) + " fields, not 15" +
                         (fewer ? "; is the line cut short or wrapped?"
                                : "; does a field (often NOTES) hold the delimiter?"),
                     fewer ? 0 : 1);
    return;
  }
  const FieldSet changed =
      rows_.judge(l, observations_, header_.date(), latestJulianDate_, findings_);
  if (const auto earlier =
          duplicatesWanted_ ? duplicates_.earlier(rows_.lastRow(), changed) : std::nullopt)
    findings_.report(rule("F11"), l.number, 0,
                     "STARID, DATE and FILT as on line " + std::to_string(*earlier));
  if (listener_ != nullptr) listener_->observation(rows_.lastRow(), changed);
}

std::uint64_t ReportChecker::finish(diagnostics::DiagnosticList& list) {
  scanner_.finish();
  header_.finish();
  if (observations_ == 0) {
    findings_.report(rule("F9"), 0, 0, "no observation line");
  } else {
    findings_.report(rule("F10"), 0, 0, std::to_string(observations_) + " observation lines");
  }
  findings_.moveInto(list);
  return observations_;
}

}  // namespace varistellar::check
