// The field and row rules over one observation line, with the verdicts of
// the previous row reused for the rules whose fields did not change.
#include "check/row_judge.h"

#include <bit>
#include <cstring>

#include "check/text.h"

namespace varistellar::check {

using aeff::Field;

namespace {

// Whether two short byte runs are equal, a word at a time.
bool sameBytes(const char* a, const char* b, std::size_t n) {
  for (; n >= 8; a += 8, b += 8, n -= 8) {
    std::uint64_t x = 0;
    std::uint64_t y = 0;
    std::memcpy(&x, a, 8);
    std::memcpy(&y, b, 8);
    if (x != y) return false;
  }
  if (n >= 4) {  // the first four bytes and the last four, which may overlap
    std::array<std::uint32_t, 4> words{};
    std::memcpy(words.data(), a, 4);
    std::memcpy(&words[1], b, 4);
    std::memcpy(&words[2], a + n - 4, 4);
    std::memcpy(&words[3], b + n - 4, 4);
    return words[0] == words[1] && words[2] == words[3];
  }
  return n == 0 || (a[0] == b[0] && a[n / 2] == b[n / 2] && a[n - 1] == b[n - 1]);
}

}  // namespace

void fillField(const ScannedLine& line, std::size_t i, FieldText& field) {
  const FieldSpan& s = line.fields[i];
  field.length = s.length;
  field.trimmedLength = s.leading == s.length ? 0 : s.length - s.leading - s.trailing;
  field.column = s.start + 1;
  if (line.whole()) {
    // A whole line is in memory: its columns are sizes.
    field.padded = {line.kept.data() + s.start, static_cast<std::size_t>(s.length)};
    field.whole = true;
    // The scanner has counted the edge blanks.
    field.text = {field.padded.data() + s.leading, static_cast<std::size_t>(field.trimmedLength)};
    return;
  }
  const std::uint64_t kept = line.kept.size();
  const std::uint64_t start = s.start < kept ? s.start : kept;
  const std::uint64_t end = s.start + s.length < kept ? s.start + s.length : kept;
  field.padded =
      line.kept.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
  field.whole = end - start == s.length;
  field.text = trimBlanks(field.padded);
}

RowJudge::RowJudge(Memo memo, Severity least) : memo_{memo} {
  static_assert(fieldRules.size() <= 64, "a set of field rules fits in one word");
  for (std::size_t r = 0; r < fieldRules.size(); ++r) {
    if (severityWanted(ruleFacts(fieldRules[r].rule).severity, least))
      judgedFieldRules_ |= std::uint64_t{1} << r;
  }
  fieldsAsked_.fill(allFields);
  for (std::size_t r = 0; r < rowRules.size(); ++r) {
    if (severityWanted(ruleFacts(rowRules[r].rule).severity, least))
      judgedRowRules_ |= std::uint64_t{1} << r;
  }
  lineCopy_.reserve(copyLimit);
}

void RowJudge::trustCopied(FieldSet copied) {
  for (std::size_t r = 0; r < fieldRules.size(); ++r) {
    if (ruleFacts(fieldRules[r].rule).severity == Severity::error)
      fieldsAsked_[r] = static_cast<FieldSet>(allFields & ~copied);
  }
  for (std::size_t r = 0; r < rowRules.size(); ++r) {
    const bool readsOnlyCopied = (rowRules[r].reads & ~copied) == 0;
    if (ruleFacts(rowRules[r].rule).severity == Severity::error && readsOnlyCopied)
      judgedRowRules_ &= ~(std::uint64_t{1} << r);
  }
}

FieldSet RowJudge::judge(const ScannedLine& l, std::uint64_t number, DateKind date,
                         double latestJulianDate, FileFindings& findings) {
  Row& row = row_;
  row.line = l.number;
  row.number = number;
  row.date = date;
  row.latestJulianDate = latestJulianDate;
  const FieldSet changed = fillRow(l);
  for (std::size_t i = 0; i < aeff::fieldCount; ++i) {
    // A field as on the previous row keeps its number and na.
    if ((changed >> i & 1u) != 0) readNumber(row, i);
  }
  // The rules first only ask whether they hold; a finding that will be
  // printed is asked again for its text.
  row.describe = false;
  judgeFields(l.number, changed, findings);
  judgeRow(l.number, changed, findings);
  return changed;
}

void RowJudge::judgeFields(std::uint64_t line, FieldSet changed, FileFindings& findings) {
  Row& row = row_;
  FieldSet padded = 0;  // empty, or with edge blanks
  for (std::size_t i = 0; i < aeff::fieldCount; ++i) {
    const FieldText& t = row.fields[i];
    if (t.trimmedLength != t.length || t.length == 0)
      padded = static_cast<FieldSet>(padded | 1u << i);
  }
  // A loop over the whole table, which the compiler unrolls, each rule's
  // call made directly.
  for (std::size_t r = 0; r < fieldRules.size(); ++r) {
    if ((judgedFieldRules_ >> r & 1u) == 0) continue;
    const FieldRule& entry = fieldRules[r];
    FieldSet& held = fieldHeld_[r];
    const FieldSet asked = (entry.onlyPadded ? padded : allFields) & fieldsAsked_[r];
    // In field order: the changed fields judged, the others counted if they held.
    for (FieldSet left = asked & (changed | held); left != 0; left &= left - 1) {
      const auto i = static_cast<std::size_t>(std::countr_zero(left));
      const auto bit = static_cast<FieldSet>(1u << i);
      if ((changed & bit) == 0 && findings.countAgain(entry.rule, i)) continue;
      const auto field = static_cast<Field>(i);
      auto text = entry.check(row, field);
      held = static_cast<FieldSet>(text ? held | bit : held & ~bit);
      if (!text) continue;
      if (findings.wantsText(entry.rule, i)) {
        row.describe = true;
        text = entry.check(row, field);
        row.describe = false;
      }
      findings.report(entry.rule, line, row.fields[i].column, std::move(*text), i);
    }
  }
}

namespace {

// For each field, the row rules that read it, one bit each in the table's order.
using RuleSet = std::uint64_t;
static_assert(rowRules.size() <= 64, "a set of row rules fits in one word");
constexpr std::array<RuleSet, aeff::fieldCount> rowRulesReading = [] {
  std::array<RuleSet, aeff::fieldCount> readers{};
  RuleSet bit = 1;
  for (const RowRule& entry : rowRules) {
    for (std::size_t f = 0; f < aeff::fieldCount; ++f) {
      if ((entry.reads >> f & 1u) != 0) readers[f] |= bit;
    }
    bit <<= 1;
  }
  return readers;
}();

}  // namespace

void RowJudge::judgeRow(std::uint64_t line, FieldSet changed, FileFindings& findings) {
  Row& row = row_;
  // Only the rules that read a changed field are asked; those that held on
  // the previous row and read none are counted again.
  RuleSet asked = rowHeldSet_;
  for (FieldSet left = changed; left != 0; left &= left - 1)
    asked |= rowRulesReading[static_cast<std::size_t>(std::countr_zero(left))];
  for (asked &= judgedRowRules_; asked != 0; asked &= asked - 1) {
    const auto r = static_cast<std::size_t>(std::countr_zero(asked));
    const RowRule& entry = rowRules[r];
    const RuleSet bit = RuleSet{1} << r;
    std::uint8_t& held = rowHeld_[r];
    if ((entry.reads & changed) == 0 && findings.countAgain(entry.rule, held - 1u)) continue;
    auto f = entry.check(row);
    held = f ? static_cast<std::uint8_t>(aeff::index(f->field) + 1) : 0;
    rowHeldSet_ = f ? rowHeldSet_ | bit : rowHeldSet_ & ~bit;
    if (!f) continue;
    if (findings.wantsText(entry.rule, aeff::index(f->field))) {
      row.describe = true;
      f = entry.check(row);
      row.describe = false;
    }
    const std::size_t i = aeff::index(f->field);
    findings.report(entry.rule, line, row.fields[i].column, std::move(f->text), i);
  }
}

FieldSet RowJudge::fillRow(const ScannedLine& l) {
  const bool keep = memo_ == Memo::on && l.whole() && l.length <= copyLimit;
  if (!keep) {
    for (std::size_t i = 0; i < aeff::fieldCount; ++i) fillField(l, i, row_.fields[i]);
    previousKept_ = false;
    return allFields;
  }
  // The row's fields point into a copy of its line, where the next line is
  // compared with them before it takes the copy's place. A field with the
  // same bytes at the same place then points at them still, and keeps all
  // it was: only the changed fields are written anew.
  FieldSet changed = allFields;
  if (previousKept_) {
    changed = 0;
    for (std::size_t i = 0; i < aeff::fieldCount; ++i) {
      const FieldSpan& s = l.fields[i];
      const FieldText& t = row_.fields[i];
      if (s.start + 1 != t.column || s.length != t.length ||
          !sameBytes(l.kept.data() + s.start, t.padded.data(), static_cast<std::size_t>(s.length)))
        changed = static_cast<FieldSet>(changed | 1u << i);
    }
  }
  // Within its reserved size the copy stays where it is.
  lineCopy_.assign(l.kept);
  const char* const base = lineCopy_.data();
  for (FieldSet left = changed; left != 0; left &= left - 1) {
    const auto i = static_cast<std::size_t>(std::countr_zero(left));
    const FieldSpan& s = l.fields[i];
    FieldText& t = row_.fields[i];
    t.length = s.length;
    t.trimmedLength = s.leading == s.length ? 0 : s.length - s.leading - s.trailing;
    t.column = s.start + 1;
    t.padded = {base + s.start, static_cast<std::size_t>(s.length)};
    t.whole = true;
    t.text = {base + s.start + s.leading, static_cast<std::size_t>(t.trimmedLength)};
  }
  previousKept_ = true;
  return changed;
}

}  // namespace varistellar::check
