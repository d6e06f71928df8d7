// Input text quoted for a message, and findings listed up to a limit of
// each kind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "diagnostics/diagnostic.h"
#include "diagnostics/listing_limit.h"
#include "diagnostics/quoted.h"

namespace varistellar::diagnostics {
namespace {

using namespace std::string_literals;

struct QuotedCase {
  std::string text;
  std::string expected;
};

class QuotedTest : public ::testing::TestWithParam<QuotedCase> {};

TEST_P(QuotedTest, ShowsPrintableAsciiOnly) {
  EXPECT_EQ(diagnostics::quoted(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, QuotedTest,
    ::testing::Values(
        QuotedCase{"", R"("")"}, QuotedCase{"0,00655", R"("0,00655")"}, QuotedCase{" ~", R"(" ~")"},
        // The screen-clearing ESC sequence and the clipboard-writing OSC 52.
        QuotedCase{"\x1b[2J", R"("\x1B[2J")"},
        QuotedCase{"\x1b]52;c;aGk=\x07", R"("\x1B]52;c;aGk=\x07")"},
        QuotedCase{"a\0b"s, R"("a\x00b")"}, QuotedCase{"\x7f\x80\xff\x1f", R"("\x7F\x80\xFF\x1F")"},
        QuotedCase{"\xc3\xa9t\xc3\xa9", R"("\xC3\xA9t\xC3\xA9")"},
        QuotedCase{"\t\r\n", R"("\x09\x0D\x0A")"},
        QuotedCase{std::string(40, 'x'), "\"" + std::string(40, 'x') + "\""},
        QuotedCase{std::string(41, 'x'), "\"" + std::string(40, 'x') + "...\""},
        // The cut counts bytes of the input, not of the escaped text.
        QuotedCase{std::string(39, 'x') + "\x1b\x1b", "\"" + std::string(39, 'x') + "\\x1B...\""}));

class EscapedTest : public ::testing::TestWithParam<QuotedCase> {};

TEST_P(EscapedTest, KeepsPrintableAsciiOnlyAndTheWholeText) {
  EXPECT_EQ(diagnostics::escaped(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, EscapedTest,
    ::testing::Values(QuotedCase{"", ""}, QuotedCase{" ~tg.ini", " ~tg.ini"},
                      QuotedCase{"co\xc3\xab"
                                 "ff.ini",
                                 R"(co\xC3\xABff.ini)"},
                      QuotedCase{"\t\r\n", R"(\x09\x0D\x0A)"}, QuotedCase{"a\0b"s, R"(a\x00b)"},
                      QuotedCase{"\x1b[2J\x7f\x80\xff", R"(\x1B[2J\x7F\x80\xFF)"},
                      // Never cut, unlike a message's quotation.
                      QuotedCase{std::string(41, 'x'), std::string(41, 'x')}));

struct ShownNameCase {
  std::string name;
  std::string expected;
};

class ShownNameTest : public ::testing::TestWithParam<ShownNameCase> {};

TEST_P(ShownNameTest, KeepsPlainNamesAndEscapesTheRest) {
  EXPECT_EQ(shownName(GetParam().name, 12), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Names, ShownNameTest,
    ::testing::Values(
        // Plain names, exactly as given: no quotes added.
        ShownNameCase{"", ""}, ShownNameCase{"a b/c.txt", "a b/c.txt"},
        ShownNameCase{"it's \"x\"", "it's \"x\""}, ShownNameCase{"C:\\n\\x", "C:\\n\\x"},
        ShownNameCase{"Nuit-\xc3\xa9t\xc3\xa9", "Nuit-\xc3\xa9t\xc3\xa9"},
        ShownNameCase{"\xd0\xbd\xe2\x82\xac\xf0\x9f\x8c\x99",
                      "\xd0\xbd\xe2\x82\xac\xf0\x9f\x8c\x99"},
        // Control bytes, as quoted() shows them.
        ShownNameCase{"a\nb", R"(a\x0Ab)"}, ShownNameCase{"\x1b[2J\x07", R"(\x1B[2J\x07)"},
        ShownNameCase{"\x7f", R"(\x7F)"},
        // C1 controls, line separators and bidirectional overrides in UTF-8.
        ShownNameCase{"\xc2\x9b"
                      "2J",
                      R"(\xC2\x9B2J)"},
        ShownNameCase{"\xe2\x80\xa8", R"(\xE2\x80\xA8)"},
        ShownNameCase{"\xe2\x80\xaetxt", R"(\xE2\x80\xAEtxt)"},
        ShownNameCase{"\xe2\x81\xa6", R"(\xE2\x81\xA6)"},
        // Invalid UTF-8: a lone continuation, overlong forms, a surrogate,
        // beyond U+10FFFF, a sequence cut short.
        ShownNameCase{"\x80", R"(\x80)"}, ShownNameCase{"\xc0\xaf", R"(\xC0\xAF)"},
        ShownNameCase{"\xe0\x80\xaf", R"(\xE0\x80\xAF)"},
        ShownNameCase{"\xed\xa0\x80", R"(\xED\xA0\x80)"},
        ShownNameCase{"\xf4\x90\x80\x80", R"(\xF4\x90\x80\x80)"}, ShownNameCase{"\xc3", R"(\xC3)"},
        ShownNameCase{"\xe2\x82x", R"(\xE2\x82x)"},
        // The cut counts characters, and never splits one.
        ShownNameCase{std::string(12, 'x'), std::string(12, 'x')},
        ShownNameCase{std::string(13, 'x'), std::string(12, 'x') + "..."},
        ShownNameCase{std::string(11, 'x') + "\xc3\xa9\xc3\xa9",
                      std::string(11, 'x') + "\xc3\xa9..."}));

constexpr FindingKind notPlain{"more value is not a plain decimal number",
                               "more values are not plain decimal numbers"};
constexpr FindingKind leftOut{"more observation is left out", "more observations are left out"};

Diagnostic finding(const FindingKind* kind, std::uint64_t line, Severity severity = Severity::error,
                   std::string file = "t.txt") {
  return {std::move(file), line, 1, severity, "text", {}, kind};
}

std::vector<std::string> texts(const std::vector<Diagnostic>& findings) {
  std::vector<std::string> lines;
  for (const Diagnostic& d : findings) lines.push_back(formatDiagnostic(d));
  return lines;
}

TEST(FormatDiagnosticTest, ShowsTheFileNameOnOneLine) {
  const Diagnostic finding{"night\n1/\x1b]0;t\x07.txt", 9, 4, Severity::warning, "text", "R3"};
  EXPECT_EQ(formatDiagnostic(finding), R"(night\x0A1/\x1B]0;t\x07.txt:9:4: warning: text [R3])");
}

TEST(ListingLimitTest, ListsTheFirstOfEachKindAndCountsTheRest) {
  ListingLimit limit{3};
  std::vector<std::uint64_t> listed;
  for (std::uint64_t line = 1; line <= 5; ++line) {
    if (limit.admit(finding(&notPlain, line))) listed.push_back(line);
    // Findings of another kind have a limit of their own.
    if (limit.admit(finding(&leftOut, 100 + line, Severity::warning))) listed.push_back(100 + line);
    // Findings of no kind are always listed.
    if (limit.admit(finding(nullptr, 200 + line))) listed.push_back(200 + line);
  }
  EXPECT_EQ(listed, (std::vector<std::uint64_t>{1, 101, 201, 2, 102, 202, 3, 103, 203, 204, 205}));
  EXPECT_EQ(texts(limit.takeUnlisted()),
            (std::vector<std::string>{
                "t.txt: error: 2 more values are not plain decimal numbers; the first 3 are listed",
                "t.txt: warning: 2 more observations are left out; the first 3 are listed"}));
}

TEST(ListingLimitTest, OneMoreIsSingular) {
  ListingLimit limit{1};
  EXPECT_TRUE(limit.admit(finding(&notPlain, 1, Severity::error, "a.txt")));
  EXPECT_FALSE(limit.admit(finding(&notPlain, 2, Severity::error, "a.txt")));
  EXPECT_EQ(
      texts(limit.takeUnlisted()),
      (std::vector<std::string>{
          "a.txt: error: 1 more value is not a plain decimal number; the first 1 are listed"}));
}

TEST(ListingLimitTest, NothingToSayAtOrBelowTheLimitAndCountingStartsAnew) {
  ListingLimit limit{2};
  EXPECT_TRUE(limit.admit(finding(&notPlain, 1)));
  EXPECT_TRUE(limit.admit(finding(&notPlain, 2)));
  EXPECT_TRUE(limit.takeUnlisted().empty());
  // Taken: the next findings of the kind are listed again.
  EXPECT_TRUE(limit.admit(finding(&notPlain, 3)));
  EXPECT_TRUE(limit.admit(finding(&notPlain, 4)));
  EXPECT_FALSE(limit.admit(finding(&notPlain, 5)));
  EXPECT_EQ(limit.takeUnlisted().size(), 1U);
  EXPECT_TRUE(limit.takeUnlisted().empty());
}

TEST(ListingLimitTest, TheDefaultLimitIsAHundred) {
  ListingLimit limit;
  std::size_t listed = 0;
  for (std::uint64_t line = 1; line <= 4223; ++line)
    listed += limit.admit(finding(&notPlain, line));
  EXPECT_EQ(listed, 100U);
  EXPECT_EQ(texts(limit.takeUnlisted()),
            (std::vector<std::string>{"t.txt: error: 4123 more values are not plain decimal "
                                      "numbers; the first 100 are listed"}));
}

}  // namespace
}  // namespace varistellar::diagnostics
