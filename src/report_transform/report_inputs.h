// A finished report read for its transformation: checked as `check` checks
// it, and in the same pass each observation line reduced to its inputs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "check/report_check.h"
#include "diagnostics/diagnostic.h"
#include "report_transform/report_names.h"
#include "report_transform/report_source.h"
#include "report_transform/row_census.h"
#include "report_transform/row_inputs.h"
#include "report_transform/row_store.h"

namespace varistellar::report_transform {

// The delimiter the rows split at from a row on, as the checker read them.
struct DelimiterChange {
  std::uint64_t line = 0;
  char delimiter = ',';
  std::uint64_t setAt = 0;     // the #DELIM= line that gave it
  bool transformable = false;  // a row it splits may be transformed
};

// A sub-delimiter other than '|' that NOTES switch to (DELIM=c) in rows that
// may be transformed: the first such row and how many there are.
struct NotesDelimiterUse {
  char delimiter = '|';
  std::uint64_t firstLine = 0;
  std::uint64_t rows = 0;
};

struct ReportInputs {
  std::string file;  // the report's name, as given
  RowStore rows;     // in the file's order
  RowCensus census;  // of the rows, as they were read
  std::vector<ComparisonReference> references;
  StarNames stars;
  Groups groups;
  std::vector<DelimiterChange> delimiters;         // from the first row on; none without rows
  std::vector<NotesDelimiterUse> notesDelimiters;  // in the order first used
  std::uint64_t titleLine = 0;  // the column-title line (#STARID,... or #NAME,...); 0 none
  // A line beyond what a row's inputs can number (2^32 - 1): the report
  // cannot be transformed.
  bool tooManyLines = false;
  // More star names than StarNames can number.
  bool tooManyStars = false;
  // Numbers that are there but no plain decimal number, which count as not
  // given: each #CREFMAG= or #KREFMAG= line's, and the rows' NOTES subfields
  // the transformation reads (one warning for all rows).
  std::vector<diagnostics::Diagnostic> warnings;
};

struct ReportReading {
  check::ReportCheck check;  // whether it could be read, and its observations
  ReportInputs inputs;
};

// Someone who follows the reading: each piece of the file once the checker
// has read it (every whole line in it has then given its row's inputs),
// and the end, once the last line has too.
class ReadingFollower {
 public:
  virtual void checked(std::string_view bytes, const ReportInputs& inputs) = 0;
  virtual void ended(const ReportInputs& inputs) = 0;

 protected:
  ~ReadingFollower() = default;
};

// A report this large is followed on a thread of its own from here on; a
// smaller one is read in a fraction of a second, without the thread's memory.
// A report on the disk known from its size to be twice as large is followed
// on the thread from its first piece, so that both cores work from the start:
// the pieces in flight between the threads are then small beside its rows.
inline constexpr std::uint64_t followerThreadFrom = std::uint64_t{16} << 20;

// `findings` receives the errors `check` finds in the file: they refuse it,
// and its warnings and notes are the checker's work spared. When it cannot be
// read, check.readFailure is the whole error message. The follower is
// called on the reading's thread until `threadFrom` bytes are read, then on
// a thread of its own when the system gives one; a report on the disk of at
// least twice `threadFrom` bytes is followed on that thread from its first
// piece.
[[nodiscard]] ReportReading readReportInputs(ReportSource& source,
                                             diagnostics::DiagnosticList& findings,
                                             ReadingFollower* follower = nullptr,
                                             std::uint64_t threadFrom = followerThreadFrom);
[[nodiscard]] ReportReading readReportInputs(const std::string& path,
                                             diagnostics::DiagnosticList& findings);
// The same over bytes in memory, for tests.
[[nodiscard]] ReportInputs readReportInputsText(std::string_view name, std::string_view bytes,
                                                diagnostics::DiagnosticList& findings);
// The same handed to the checker `piece` bytes at a time, each followed by
// `follower`, as a file is read; for tests.
[[nodiscard]] ReportInputs readReportInputsInPieces(std::string_view name, std::string_view bytes,
                                                    std::size_t piece, ReadingFollower& follower,
                                                    diagnostics::DiagnosticList& findings);

}  // namespace varistellar::report_transform
