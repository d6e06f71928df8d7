// The checker's rules in one table: each rule's ID (what a user looks up),
// its severity, how often a file reports it, what it judges, the fields it
// reads and, for the observation-line rules, its predicate. Adding a rule is
// one entry here; the code that reports a rule of a line or of the header
// names it by its ID, checked when the program is built. A rule whose
// severity depends on the case (P7, R19) has one entry per severity.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "check/row.h"
#include "check/row_rules.h"
#include "diagnostics/diagnostic.h"

namespace varistellar::check {

using diagnostics::Severity;

// How often one file reports a rule.
enum class Repeat : std::uint8_t {
  once,  // the first line it holds on, with the number of lines it held on (per field)
  each,  // every time, up to `eachLimit` times, then counted on the last one
};
inline constexpr std::size_t eachLimit = 100;

// What a rule judges.
enum class Scope : std::uint8_t {
  file,         // the file as a whole: its name, its first bytes, its count of rows
  line,         // one line as it stands: its bytes, line end, blanks, field count
  header,       // a parameter line (the keyed table in header_rules.cpp)
  field,        // each field of an observation line alone
  paddedField,  // each field that is empty or has edge blanks (the others cannot break it)
  row,          // an observation line as a whole
  rows,         // an observation line against the earlier ones
};

using FieldCheck = std::optional<std::string> (*)(const Row& row, aeff::Field field);
using RowCheck = std::optional<RowFinding> (*)(const Row& row);

struct RuleFacts {
  std::string_view id;
  Severity severity;
  Repeat repeat;
  Scope scope;
  // The fields the predicate reads: a rule whose fields are the previous
  // row's bytes holds again exactly when it held there. A field rule reads
  // only the field it is applied to.
  FieldSet reads = 0;
  FieldCheck perField = nullptr;  // Scope::field and Scope::paddedField
  RowCheck perRow = nullptr;      // Scope::row
};

// A rule judged on each field, or on each field that is empty or has edge
// blanks; reported once per field, with its first line.
[[nodiscard]] constexpr RuleFacts onFields(std::string_view id, Severity severity, Scope scope,
                                           FieldCheck check) {
  return {id, severity, Repeat::once, scope, allFields, check, nullptr};
}
// A rule judged on a row that reads `reads`; reported once, with its first line.
[[nodiscard]] constexpr RuleFacts onRow(std::string_view id, Severity severity,
                                        std::initializer_list<aeff::Field> reads, RowCheck check) {
  return {id, severity, Repeat::once, Scope::row, fieldSet(reads), nullptr, check};
}

namespace rr = row_rules;
using F = aeff::Field;

inline constexpr std::array rules{std::to_array<RuleFacts>({
    {"F1", Severity::error, Repeat::each, Scope::line},
    {"F2", Severity::error, Repeat::once, Scope::file},
    {"F3", Severity::error, Repeat::once, Scope::file},
    {"F4", Severity::warning, Repeat::once, Scope::line},
    {"F5", Severity::error, Repeat::once, Scope::line},
    {"F6", Severity::note, Repeat::once, Scope::line},
    {"F7", Severity::error, Repeat::once, Scope::line},
    {"F8", Severity::error, Repeat::once, Scope::line},
    {"F9", Severity::warning, Repeat::once, Scope::file},
    {"F10", Severity::note, Repeat::once, Scope::file},
    {"F11", Severity::warning, Repeat::once, Scope::rows},
    {"P1", Severity::error, Repeat::each, Scope::header},
    {"P2", Severity::error, Repeat::each, Scope::header},
    {"P2b", Severity::warning, Repeat::each, Scope::header},
    {"P3", Severity::note, Repeat::each, Scope::header},
    {"P4", Severity::error, Repeat::each, Scope::header},
    {"P5", Severity::error, Repeat::each, Scope::header},
    {"P5b", Severity::warning, Repeat::each, Scope::header},
    {"P5c", Severity::warning, Repeat::each, Scope::header},
    {"P6", Severity::error, Repeat::each, Scope::header},
    {"P6b", Severity::warning, Repeat::each, Scope::header},
    {"P6c", Severity::warning, Repeat::once, Scope::header},
    {"P7", Severity::error, Repeat::each, Scope::header},
    {"P7", Severity::note, Repeat::once, Scope::header},
    {"P8", Severity::warning, Repeat::each, Scope::header},
    {"P9", Severity::error, Repeat::once, Scope::line},
    {"P10", Severity::warning, Repeat::each, Scope::header},
    {"R1", Severity::error, Repeat::once, Scope::line},
    onFields("R2", Severity::error, Scope::paddedField, rr::emptyField),
    onFields("R3", Severity::warning, Scope::paddedField, rr::edgeBlanks),
    onFields("R3b", Severity::warning, Scope::paddedField, rr::paddedTooLong),
    onFields("R4", Severity::error, Scope::field, rr::notANumber),
    onRow("R5", Severity::error, {F::STARID}, rr::starId),
    onRow("R5b", Severity::warning, {F::STARID}, rr::starIdPrefix),
    onRow("R6", Severity::error, {F::DATE}, rr::date),
    onRow("R6b", Severity::warning, {F::DATE}, rr::dateRange),
    onRow("R6c", Severity::note, {F::DATE}, rr::datePrecision),
    onRow("R7", Severity::error, {F::MAG}, rr::magnitude),
    onRow("R7b", Severity::warning, {F::MAG, F::MTYPE}, rr::magnitudeRange),
    onRow("R8", Severity::error, {F::MERR}, rr::merrLength),
    onRow("R8b", Severity::error, {F::MERR}, rr::merrLarge),
    onRow("R8c", Severity::warning, {F::MERR, F::MAG}, rr::merrOdd),
    onRow("R9", Severity::error, {F::FILT}, rr::filter),
    onRow("R9b", Severity::warning, {F::FILT}, rr::unlistedFilter),
    onRow("R10", Severity::error, {F::TRANS}, rr::trans),
    onRow("R10b", Severity::warning, {F::TRANS, F::NOTES}, rr::transNotes),
    onRow("R11", Severity::error, {F::MTYPE}, rr::mtype),
    onRow("R11b", Severity::error, {F::MTYPE, F::CNAME, F::CMAG}, rr::differential),
    onRow("R11c", Severity::note, {F::MTYPE}, rr::absolute),
    onRow("R12", Severity::error, {F::CNAME}, rr::cnameLength),
    onRow("R12b", Severity::warning, {F::CNAME, F::CMAG}, rr::ensembleCmag),
    onRow("R13", Severity::error, {F::CMAG}, rr::cmagLength),
    onRow("R13b", Severity::warning, {F::MTYPE, F::CNAME, F::CMAG}, rr::singleComparisonCmag),
    onRow("R14", Severity::error, {F::KNAME}, rr::knameLength),
    onRow("R14b", Severity::warning, {F::KNAME, F::CNAME}, rr::knameOdd),
    onRow("R15", Severity::error, {F::KMAG}, rr::kmagLength),
    onRow("R15b", Severity::warning, {F::KNAME, F::KMAG}, rr::checkStarPair),
    onRow("R15c", Severity::warning, {F::KMAG}, rr::kmagRange),
    onRow("R16", Severity::error, {F::AIRMASS}, rr::airmassLength),
    onRow("R16b", Severity::warning, {F::AIRMASS}, rr::airmassRange),
    onRow("R17", Severity::error, {F::GROUP}, rr::group),
    onRow("R17b", Severity::warning, {F::GROUP}, rr::groupLength),
    onRow("R18", Severity::error, {F::CHART}, rr::chartLength),
    onRow("R18b", Severity::warning, {F::CHART, F::CNAME, F::KNAME}, rr::chartMissing),
    onRow("R19", Severity::note, {F::NOTES}, rr::notesLong),
    onRow("R19", Severity::warning, {F::NOTES}, rr::notesVeryLong),
    onRow("R20", Severity::warning, {F::NOTES}, rr::notesSubfields),
    onRow("R21", Severity::note, {F::NOTES, F::MTYPE, F::CNAME, F::KNAME}, rr::untransformable),
})};
inline constexpr std::size_t ruleCount = rules.size();

// Whether a finding of `severity` is kept when only those down to `least`
// are wanted: a command that prints no notes need not look for them.
[[nodiscard]] constexpr bool severityWanted(Severity severity, Severity least) {
  return static_cast<int>(severity) <= static_cast<int>(least);
}

// A rule, by its place in the table.
enum class Rule : std::uint8_t {};

[[nodiscard]] constexpr const RuleFacts& ruleFacts(Rule rule) {
  return rules[static_cast<std::size_t>(rule)];
}

namespace detail {
// Called only when a name is not in the table, which stops the build: the
// call is not a constant expression.
inline void noSuchRule() {}

[[nodiscard]] constexpr bool isRuleId(std::string_view id) {
  // A letter for what it judges, a number from 1 to 99, and perhaps a small
  // letter for a rule that goes with the one before: F1, P5b, R15c.
  if (id.size() < 2 || (id[0] != 'F' && id[0] != 'P' && id[0] != 'R') || id[1] < '1' || id[1] > '9')
    return false;
  std::size_t at = 2;
  if (at < id.size() && id[at] >= '0' && id[at] <= '9') ++at;
  if (at < id.size() && id[at] >= 'a' && id[at] <= 'z') ++at;
  return at == id.size();
}
}  // namespace detail

// The rule with this ID (and this severity, for an ID that has two).
[[nodiscard]] consteval Rule rule(std::string_view id, std::optional<Severity> severity = {}) {
  std::size_t found = ruleCount;
  std::size_t matches = 0;
  for (std::size_t i = 0; i < ruleCount; ++i) {
    if (rules[i].id == id && (!severity || rules[i].severity == *severity)) {
      found = i;
      ++matches;
    }
  }
  if (matches != 1) detail::noSuchRule();
  return static_cast<Rule>(found);
}

static_assert(std::all_of(rules.begin(), rules.end(),
                          [](const RuleFacts& r) { return detail::isRuleId(r.id); }),
              "every rule's ID is a letter F, P or R, a number and perhaps a small letter");

static_assert(
    [] {
      for (std::size_t i = 0; i < ruleCount; ++i) {
        for (std::size_t j = i + 1; j < ruleCount; ++j) {
          if (rules[i].id == rules[j].id && rules[i].severity == rules[j].severity) return false;
        }
      }
      return true;
    }(),
    "an ID names one rule of each severity");

static_assert(
    std::all_of(rules.begin(), rules.end(),
                [](const RuleFacts& r) {
                  const bool perField = r.scope == Scope::field || r.scope == Scope::paddedField;
                  const bool perRow = r.scope == Scope::row;
                  return (r.perField != nullptr) == perField && (r.perRow != nullptr) == perRow &&
                         (perField || perRow) == (r.reads != 0);
                }),
    "each field and row rule has its predicate and the fields it reads, and no other rule has");

static_assert(
    [] {
      // The rules of a row are judged in the table's order; a row's findings
      // are printed field rules first.
      bool rowSeen = false;
      for (const RuleFacts& r : rules) {
        rowSeen = rowSeen || r.scope == Scope::row;
        if (rowSeen && (r.scope == Scope::field || r.scope == Scope::paddedField)) return false;
      }
      return true;
    }(),
    "the field rules stand before the row rules");

// The rules judged on an observation line, drawn from the table in its
// order, each with just what the row judge reads on every row.
struct FieldRule {
  Rule rule;
  bool onlyPadded;  // Scope::paddedField
  FieldCheck check;
};
struct RowRule {
  Rule rule;
  FieldSet reads;
  RowCheck check;
};

namespace detail {
template <Scope... scopes>
[[nodiscard]] consteval std::size_t countOf() {
  return static_cast<std::size_t>(std::count_if(
      rules.begin(), rules.end(), [](const RuleFacts& r) { return ((r.scope == scopes) || ...); }));
}
}  // namespace detail

inline constexpr auto fieldRules = [] {
  std::array<FieldRule, detail::countOf<Scope::field, Scope::paddedField>()> found{};
  std::size_t n = 0;
  for (std::size_t i = 0; i < ruleCount; ++i) {
    if (rules[i].perField != nullptr)
      found[n++] = {static_cast<Rule>(i), rules[i].scope == Scope::paddedField, rules[i].perField};
  }
  return found;
}();
inline constexpr auto rowRules = [] {
  std::array<RowRule, detail::countOf<Scope::row>()> found{};
  std::size_t n = 0;
  for (std::size_t i = 0; i < ruleCount; ++i) {
    if (rules[i].perRow != nullptr)
      found[n++] = {static_cast<Rule>(i), rules[i].reads, rules[i].perRow};
  }
  return found;
}();

}  // namespace varistellar::check
