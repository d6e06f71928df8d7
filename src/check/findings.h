// One file's findings as the rules ask for them: a rule that holds on many
// rows is reported once, on its first row, with the number of rows; memory
// stays bounded however many rows there are.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "check/rules.h"
#include "diagnostics/diagnostic.h"

namespace varistellar::check {

class FileFindings {
 public:
  // A finding about no field in particular; fields are 0..14.
  static constexpr std::size_t noField = 15;

  // Keeps the findings down to `least` severe; the others are dropped.
  explicit FileFindings(std::string_view file, Severity least = Severity::note)
      : file_{file}, least_{least} {}

  // `line` 0 is the whole file; `column` 0 is no column.
  void report(Rule rule, std::uint64_t line, std::uint64_t column, std::string text,
              std::size_t field = noField);
  // True while a finding of the rule for the field would be printed with its
  // own text; false once it would only be counted.
  [[nodiscard]] bool wantsText(Rule rule, std::size_t field = noField) const;

  // Counts a finding of the rule for the field into its printed one, when it
  // would only be counted; false when it would be printed.
  [[nodiscard]] bool countAgain(Rule rule, std::size_t field) {
    const std::size_t key =
        static_cast<std::size_t>(rule) * slots + (field < slots ? field : noField);
    if (made_[key] < (ruleFacts(rule).repeat == Repeat::once ? 1 : eachLimit)) return false;
    ++entries_[last_[key]].count;
    return true;
  }

  // Hands every finding, in the order first found, to the list.
  void moveInto(diagnostics::DiagnosticList& list);

 private:
  struct Entry {
    diagnostics::Diagnostic diagnostic;
    std::uint64_t count = 1;  // occurrences folded into this finding
  };
  static constexpr std::size_t slots = noField + 1;
  static constexpr std::uint32_t none = UINT32_MAX;

  std::string file_;
  Severity least_;
  std::vector<Entry> entries_;
  std::array<std::uint32_t, ruleCount* slots> last_ = filled();  // last entry per rule and field
  std::array<std::uint32_t, ruleCount * slots> made_{};          // entries per rule and field

  // cppcheck-suppress unusedPrivateFunction ; it initialises last_ above
  static constexpr std::array<std::uint32_t, ruleCount * slots> filled() {
    std::array<std::uint32_t, ruleCount * slots> a{};
    a.fill(none);
    return a;
  }
};

}  // namespace varistellar::check
