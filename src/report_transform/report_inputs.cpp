// Each observation line reduced to its inputs as the checker reads it.
#include "report_transform/report_inputs.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <utility>

#include "aeff/format.h"
#include "aeff/notes_subfields.h"
#include "check/report_check.h"
#include "check/report_checker.h"
#include "check/report_listener.h"
#include "check/text.h"
#include "diagnostics/quoted.h"
#include "platform/platform.h"
#include "report_transform/follower_thread.h"
#include "report_transform/reference_lines.h"

namespace varistellar::report_transform {

using aeff::Field;

namespace {

constexpr double none = std::numeric_limits<double>::quiet_NaN();

bool has(check::FieldSet set, Field f) { return ((set & (1u << aeff::index(f))) != 0); }

bool sameValue(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

// The NOTES subfields a transformation reads.
enum class NotesKey : std::uint8_t { crefmag, krefmag, vmagins, cmagins, kmagins, other };
constexpr std::size_t notesKeys = 5;

// Which of them a key is. All five have seven letters; their first two tell
// them apart, so that each subfield costs one comparison.
NotesKey notesKey(std::string_view key) {
  if (key.size() != 7) return NotesKey::other;
  const auto first = static_cast<char>(key[0] | 0x20);
  const bool reference = (key[1] | 0x20) == 'r';
  const auto [candidate, word] =
      first == 'c'   ? (reference ? std::pair{NotesKey::crefmag, "CREFMAG"}
                                  : std::pair{NotesKey::cmagins, "CMAGINS"})
      : first == 'k' ? (reference ? std::pair{NotesKey::krefmag, "KREFMAG"}
                                  : std::pair{NotesKey::kmagins, "KMAGINS"})
      : first == 'v' ? std::pair{NotesKey::vmagins, "VMAGINS"}
                     : std::pair{NotesKey::other, ""};
  return candidate != NotesKey::other && aeff::sameWord(key, word) ? candidate : NotesKey::other;
}

// A value's text and its number, kept for the next row: catalogue
// magnitudes and CMAGINS repeat from row to row of one filter.
struct NumberMemo {
  static constexpr std::size_t longest = 15;
  std::array<char, longest> text{};
  std::size_t length = longest + 1;  // nothing kept
  double value = none;

  double read(const aeff::Subfield& s) {
    const std::string_view t = s.value;
    if (t.size() == length && std::memcmp(t.data(), text.data(), length) == 0) return value;
    value = aeff::subfieldNumber(s).value_or(none);
    length = t.size() <= longest ? t.size() : longest + 1;
    if (length <= longest) std::memcpy(text.data(), t.data(), length);
    return value;
  }
};
using NotesMemo = std::array<NumberMemo, notesKeys>;

// The five values; NaN for those not given or not numbers. The first of a
// key counts, as findSubfield has it. `unread` receives the first subfield
// that is there but no plain decimal number.
std::array<double, notesKeys> readNotes(const aeff::NotesSubfields& notes, NotesMemo& memo,
                                        std::string_view& unread) {
  std::array<double, notesKeys> values{none, none, none, none, none};
  std::array<bool, notesKeys> seen{};
  unread = {};
  for (const aeff::Subfield& s : notes) {
    if (!s.paired) continue;
    const auto k = static_cast<std::size_t>(notesKey(s.key));
    if (k == notesKeys || seen[k]) continue;
    seen[k] = true;
    values[k] = memo[k].read(s);
    if (std::isnan(values[k]) && unread.empty()) unread = s.text;
  }
  return values;
}

bool isColumnTitle(std::string_view line) {
  std::size_t end = 1;
  while (end < line.size() && ((line[end] | 0x20) >= 'a' && (line[end] | 0x20) <= 'z')) ++end;
  const std::string_view word = line.substr(1, end - 1);
  return (aeff::sameWord(word, "STARID") || aeff::sameWord(word, "NAME")) &&
         (end == line.size() || line[end] != '=');
}

constexpr diagnostics::FindingKind unreadLine{"more line gives a number that is not plain",
                                              "more lines give numbers that are not plain"};

// "#DELIM=", the key in any case and with blanks around it, as check reads it.
bool isDelimiterLine(std::string_view line) {
  const std::size_t eq = line.find('=');
  return eq != std::string_view::npos &&
         aeff::sameWord(check::trimBlanks(line.substr(1, eq - 1)), "DELIM");
}

class InputsReader final : public check::ReportListener {
 public:
  InputsReader(std::string_view name, ReportInputs& inputs) : name_{name}, inputs_{inputs} {
    inputs_.file = name;
    lastReference_.fill(noIndex);
  }

  void commentLine(const check::ScannedLine& line) override {
    references_.commentLine(line.kept);
    for (const std::string& text : references_.unreadNumbers()) {
      inputs_.warnings.push_back({std::string{name_},
                                  line.number,
                                  0,
                                  diagnostics::Severity::warning,
                                  text,
                                  {},
                                  &unreadLine});
    }
    if (inputs_.titleLine == 0 && isColumnTitle(line.kept)) inputs_.titleLine = line.number;
    if (isDelimiterLine(line.kept)) delimiterLine_ = line.number;
  }

  void observation(const check::Row& row, check::FieldSet changed) override;

  // The one warning for the rows whose NOTES give a number that is not plain.
  void finish();

 private:
  std::uint32_t reference(std::uint8_t filter, double comparison, double checkStar);
  void noteDelimiters(const RowInputs& row);
  bool followRow(const check::Row& row, check::FieldSet changed);
  [[nodiscard]] double note(NotesKey key) const { return notes_[static_cast<std::size_t>(key)]; }
  [[nodiscard]] RowInputs inputsOf(const check::Row& row);

  static constexpr std::uint32_t noIndex = std::numeric_limits<std::uint32_t>::max();
  std::string_view name_;
  ReportInputs& inputs_;
  ReferenceLines references_;
  // What the previous row's unchanged fields gave.
  std::uint32_t star_ = 0;
  std::uint32_t group_ = noGroup;
  std::uint8_t filter_ = unknownFilter;
  std::array<double, notesKeys> notes_{none, none, none, none, none};
  std::string_view unreadNote_;  // of the current row's notes
  std::uint64_t unreadNoteRows_ = 0;
  std::uint64_t firstUnreadNoteLine_ = 0;
  std::string firstUnreadNote_;
  char notesDelimiter_ = '|';
  std::uint64_t delimiterLine_ = 0;  // the last #DELIM= line
  // For each filter, the values its rows' notes gave last.
  std::array<NotesMemo, 256> memo_{};
  // The last reference each filter's rows took.
  std::array<std::uint32_t, 256> lastReference_{};
};

std::uint32_t InputsReader::reference(std::uint8_t filter, double comparison, double checkStar) {
  std::uint32_t& last = lastReference_[filter];
  if (last != noIndex) {
    const ComparisonReference& r = inputs_.references[last];
    if (sameValue(r.comparison, comparison) && sameValue(r.checkStar, checkStar)) return last;
  }
  last = static_cast<std::uint32_t>(inputs_.references.size());
  inputs_.references.push_back({comparison, checkStar});
  return last;
}

// What the row changes of the state rows share: the delimiter, the star, the
// filter, the GROUP and the NOTES' values; false for a row past what can be
// held.
bool InputsReader::followRow(const check::Row& row, check::FieldSet changed) {
  if (row.line > std::numeric_limits<std::uint32_t>::max()) {
    inputs_.tooManyLines = true;
    return false;
  }
  // The fields point into one copy of the line: the byte after STARID is the
  // delimiter the checker split it at.
  const check::FieldText& first = row[Field::STARID];
  // The byte just past the field's view, in the line the view points into.
  const char delimiter = *(first.padded.data() + first.length);
  if (inputs_.delimiters.empty() || inputs_.delimiters.back().delimiter != delimiter) {
    inputs_.delimiters.push_back({row.line, delimiter, delimiterLine_});
  }
  if (has(changed, Field::STARID) && !inputs_.stars.index(row[Field::STARID].text, star_)) {
    inputs_.tooManyStars = true;
    return false;
  }
  if (has(changed, Field::FILT)) filter_ = filterIndex(row[Field::FILT].text);
  if (has(changed, Field::GROUP)) group_ = inputs_.groups.index(row[Field::GROUP].text);
  if (has(changed, Field::NOTES)) {
    const aeff::NotesSubfields notes{row[Field::NOTES].text};
    notesDelimiter_ = notes.delimiter();
    notes_ = readNotes(notes, memo_[filter_], unreadNote_);
    if (!unreadNote_.empty() && unreadNoteRows_ == 0) firstUnreadNote_.assign(unreadNote_);
  }
  if (!unreadNote_.empty() && unreadNoteRows_++ == 0) firstUnreadNoteLine_ = row.line;
  return true;
}

RowInputs InputsReader::inputsOf(const check::Row& row) {
  const double crefmag = note(NotesKey::crefmag);
  const double krefmag = note(NotesKey::krefmag);
  const double vmagins = note(NotesKey::vmagins);
  const double cmagins = note(NotesKey::cmagins);
  const double kmagins = note(NotesKey::kmagins);

  RowInputs in;
  in.line = static_cast<std::uint32_t>(row.line);
  in.star = star_;
  in.filter = filter_;
  in.group = group_;
  in.date = row[Field::DATE].number.value_or(none);
  in.differential = row.is(Field::MTYPE, "DIF");
  in.ensemble = row.is(Field::CNAME, "ENSEMBLE");

  const double comparison = std::isnan(crefmag) ? references_.comparison() : crefmag;
  const double checkStar = std::isnan(krefmag) ? references_.checkStar() : krefmag;
  in.reference = reference(filter_, comparison, checkStar);

  const double mag = row[Field::MAG].number.value_or(none);
  const bool instrumental = !std::isnan(vmagins) && !std::isnan(cmagins);
  in.x = instrumental ? vmagins - cmagins : in.differential ? mag : mag - comparison;
  const double cmag = row[Field::CMAG].number.value_or(none);
  const double kmag = row[Field::KMAG].number.value_or(none);
  in.checkX = !std::isnan(kmagins) && !std::isnan(cmagins) ? kmagins - cmagins : kmag - cmag;

  const std::optional<double>& merr = row[Field::MERR].number;
  // A MERR of 1.0 or more is refused by the checker; below it, the units fit.
  if (merr && *merr >= 0 && *merr < 1.0)
    in.merr = static_cast<std::int32_t>(std::lround(*merr / merrUnit));

  using enum Untransformable;
  if (row.is(Field::TRANS, "YES")) {
    in.why = alreadyTransformed;
  } else if (!isTransformableFilter(filter_)) {
    in.why = filter;
  } else if (row[Field::MAG].text.starts_with('<')) {
    in.why = fainterThan;
  } else if (in.ensemble && (std::isnan(crefmag) || !instrumental)) {
    in.why = ensembleWithoutAverages;
  } else if (std::isnan(comparison)) {
    in.why = noComparisonMagnitude;
  } else if (in.merr == noMerr) {
    in.why = noError;
  }
  return in;
}

void InputsReader::observation(const check::Row& row, check::FieldSet changed) {
  if (!followRow(row, changed)) return;
  const RowInputs in = inputsOf(row);
  noteDelimiters(in);
  inputs_.rows.push(in);
  inputs_.census.add(in);
}

void InputsReader::finish() {
  if (unreadNoteRows_ == 0) return;
  const bool one = unreadNoteRows_ == 1;
  inputs_.warnings.push_back(
      {std::string{name_}, firstUnreadNoteLine_, 0, diagnostics::Severity::warning,
       (one ? std::string{"1 row has"} : std::to_string(unreadNoteRows_) + " rows have") +
           " a NOTES subfield VMAGINS, CMAGINS, KMAGINS, CREFMAG or KREFMAG whose value is no "
           "plain decimal number (the first: " +
           diagnostics::quoted(firstUnreadNote_) + "); such a value counts as not given"});
}

// The delimiters a transformed row is written with, for the check that it
// can hold what transform writes.
void InputsReader::noteDelimiters(const RowInputs& row) {
  if (row.why != Untransformable::none) return;
  inputs_.delimiters.back().transformable = true;
  if (notesDelimiter_ == '|') return;
  std::vector<NotesDelimiterUse>& uses = inputs_.notesDelimiters;
  auto use = std::find_if(uses.begin(), uses.end(), [this](const NotesDelimiterUse& u) {
    return u.delimiter == notesDelimiter_;
  });
  if (use == uses.end()) use = uses.insert(uses.end(), {notesDelimiter_, row.line, 0});
  ++use->rows;
}

}  // namespace

ReportReading readReportInputs(ReportSource& source, diagnostics::DiagnosticList& findings,
                               ReadingFollower* follower, std::uint64_t threadFrom) {
  ReportReading reading;
  InputsReader reader{source.path(), reading.inputs};
  check::ReportChecker checker{source.path(), platform::secondsSinceEpoch(),
                               diagnostics::Severity::error};
  checker.listen(&reader);
  // The follower works beside the checker, once the report is large enough
  // to gain from it, when the system gives a thread.
  std::optional<FollowerThread> thread;
  bool threadTried = false;
  std::uint64_t bytesRead = 0;
  bool first = true;
  bool utf16 = false;
  auto feed = [&](std::string_view bytes) {
    if (first && !bytes.empty()) utf16 = check::refusedAsUtf16(source.path(), bytes, findings);
    first = first && bytes.empty();
    if (utf16) return;
    checker.feed(bytes);
    bytesRead += bytes.size();
    if (follower != nullptr && !threadTried &&
        (bytesRead >= threadFrom || source.sizeAtOpen() / 2 >= threadFrom)) {
      threadTried = true;
      if (!thread.emplace(*follower).start()) thread.reset();
    }
    if (thread) {
      thread->hand(bytes, reading.inputs);
    } else if (follower != nullptr) {
      follower->checked(bytes, reading.inputs);
    }
  };
  if (auto failure = source.readOnce(feed)) {
    reading.check.readable = false;
    reading.check.readFailure = std::move(*failure);
    return reading;
  }
  if (utf16) return reading;
  reading.check.observations = checker.finish(findings);
  reader.finish();
  reading.inputs.stars.finishReading();
  if (thread) {
    thread->end(reading.inputs);
  } else if (follower != nullptr) {
    follower->ended(reading.inputs);
  }
  return reading;
}

ReportReading readReportInputs(const std::string& path, diagnostics::DiagnosticList& findings) {
  ReportSource source{path};
  return readReportInputs(source, findings);
}

ReportInputs readReportInputsText(std::string_view name, std::string_view bytes,
                                  diagnostics::DiagnosticList& findings) {
  ReportInputs inputs;
  InputsReader reader{name, inputs};
  std::uint64_t observations = 0;
  check::checkReportText(name, bytes, findings, observations, reader);
  reader.finish();
  inputs.stars.finishReading();
  return inputs;
}

ReportInputs readReportInputsInPieces(std::string_view name, std::string_view bytes,
                                      std::size_t piece, ReadingFollower& follower,
                                      diagnostics::DiagnosticList& findings) {
  ReportInputs inputs;
  InputsReader reader{name, inputs};
  check::ReportChecker checker{name, platform::secondsSinceEpoch()};
  checker.listen(&reader);
  for (std::size_t at = 0; at < bytes.size(); at += piece) {
    const std::string_view part = bytes.substr(at, piece);
    checker.feed(part);
    follower.checked(part, inputs);
  }
  (void)checker.finish(findings);
  reader.finish();
  inputs.stars.finishReading();
  follower.ended(inputs);
  return inputs;
}

}  // namespace varistellar::report_transform
