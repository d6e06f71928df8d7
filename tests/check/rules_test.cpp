// The rules table: the form of an ID, the lookup by ID and severity, and the
// rules a row judge draws from the table.
#include "check/rules.h"

#include <gtest/gtest.h>

#include <string_view>

namespace varistellar::check {
namespace {

struct IdCase {
  std::string_view id;
  bool good;
};

TEST(Rules, IdForm) {
  const IdCase cases[] = {
      {"F1", true},   {"P5b", true},   {"R15c", true},  {"R21", true},  {"F99z", true},
      {"", false},    {"F", false},    {"F0", false},   {"X1", false},  {"f1", false},
      {"R1B", false}, {"R100", false}, {"R1bb", false}, {"P5 ", false}, {"R15-", false},
  };
  for (const IdCase& c : cases) EXPECT_EQ(detail::isRuleId(c.id), c.good) << c.id;
}

TEST(Rules, LookupByIdAndSeverity) {
  constexpr Rule p7error = rule("P7", Severity::error);
  constexpr Rule p7note = rule("P7", Severity::note);
  EXPECT_NE(p7error, p7note);
  EXPECT_EQ(ruleFacts(p7error).id, "P7");
  EXPECT_EQ(ruleFacts(p7note).severity, Severity::note);
  EXPECT_EQ(ruleFacts(p7note).repeat, Repeat::once);
  EXPECT_EQ(ruleFacts(rule("R19", Severity::warning)).id, "R19");
  EXPECT_EQ(ruleFacts(rule("F1")).repeat, Repeat::each);
  EXPECT_EQ(ruleFacts(rule("R3b")).scope, Scope::paddedField);
}

TEST(Rules, RowJudgeDrawsEveryFieldAndRowRuleInTableOrder) {
  std::size_t field = 0;
  std::size_t row = 0;
  for (std::size_t i = 0; i < ruleCount; ++i) {
    const auto r = static_cast<Rule>(i);
    if (rules[i].perField != nullptr) {
      ASSERT_LT(field, fieldRules.size());
      EXPECT_EQ(fieldRules[field].rule, r);
      EXPECT_EQ(fieldRules[field++].onlyPadded, rules[i].scope == Scope::paddedField);
    }
    if (rules[i].perRow != nullptr) {
      ASSERT_LT(row, rowRules.size());
      EXPECT_EQ(rowRules[row].rule, r);
      EXPECT_EQ(rowRules[row++].reads, rules[i].reads);
    }
  }
  EXPECT_EQ(field, fieldRules.size());
  EXPECT_EQ(row, rowRules.size());
}

}  // namespace
}  // namespace varistellar::check
