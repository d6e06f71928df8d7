// The coefficient file: what it keeps of each section, and every error with
// its line and column, read from memory and from real files.
#include "transform/coefficient_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "textio/line_reader.h"

namespace varistellar::transform {
namespace {

namespace fs = std::filesystem;
using Messages = std::vector<std::string>;

// The file that the transform generator writes for B and V.
constexpr std::string_view generatorFile =
    "[Setup]\r\n"
    "description= TG - Version 5.10, 2023-01-01\r\n"
    "[Coefficients]\r\n"
    "Tbv= 1.1974\r\n"
    "Tb_bv= 0.1181\r\n"
    "Tv_bv= -0.0467\r\n"
    "[R Squared Values]\r\n"
    "Tbv= 0.99\r\n"
    "[Error]\r\n"
    "Tb_bv= 0.0103\r\n"
    "Tv_bv= 0.0070\r\n";

struct Read {
  CoefficientReading reading;
  Messages messages;
};

Read readText(std::string_view text) {
  diagnostics::DiagnosticList findings;
  Read read{readCoefficientText(text, "tg.ini", findings), {}};
  for (const auto& finding : findings.all()) read.messages.push_back(formatDiagnostic(finding));
  return read;
}

// One lookup: the section, the name asked for, and the value and line found
// (no line: absent).
struct Lookup {
  CoefficientSection section;
  std::string_view name;
  double value = 0.0;
  std::uint64_t line = 0;
  std::string_view spelled{};  // the name as the file spells it, when found
};

struct GoodRow {
  std::string_view what;
  std::string_view text;
  std::vector<Lookup> lookups;
};

constexpr auto coefficients = CoefficientSection::coefficients;
constexpr auto errors = CoefficientSection::error;

TEST(CoefficientFile, KeepsTheEntriesOfTheSectionsThatAreRead) {
  const GoodRow rows[] = {
      {"the generator's file, CR LF",
       generatorFile,
       {{coefficients, "Tbv", 1.1974, 4, "Tbv"},
        {coefficients, "Tb_bv", 0.1181, 5, "Tb_bv"},
        {coefficients, "Tv_bv", -0.0467, 6, "Tv_bv"},
        {errors, "Tb_bv", 0.0103, 10, "Tb_bv"},
        {errors, "Tv_bv", 0.0070, 11, "Tv_bv"},
        {errors, "Tbv", 0, 0},  // only in [R Squared Values]
        {coefficients, "description", 0, 0}}},
      {"keys without regard to case, spelled as the file does",
       "[Coefficients]\nTV_BV= -0.0467\n",
       {{coefficients, "tv_bv", -0.0467, 2, "TV_BV"},
        {coefficients, "Tv_bv", -0.0467, 2, "TV_BV"}}},
      {"section names without regard to case, blanks inside the brackets",
       "[ coefficients ]\nTv_bv=1\n[ERROR]\nTv_bv=2\n",
       {{coefficients, "Tv_bv", 1, 2, "Tv_bv"}, {errors, "Tv_bv", 2, 4, "Tv_bv"}}},
      {"blanks and TABs around keys, values and lines",
       "  [Coefficients]\t\n \tTv_bv \t=\t -0.0467 \t\n",
       {{coefficients, "Tv_bv", -0.0467, 2, "Tv_bv"}}},
      {"comments and empty lines",
       "; made by hand\n[Coefficients]\n\n# B and V\n   ; indented\nTb_bv= 0.1181\n \t\n",
       {{coefficients, "Tb_bv", 0.1181, 6, "Tb_bv"}}},
      {"a byte order mark",
       "\xEF\xBB\xBF[Coefficients]\nTb_bv= 0.1181\n",
       {{coefficients, "Tb_bv", 0.1181, 2, "Tb_bv"}}},
      {"no line end after the last line",
       "[Coefficients]\nTb_bv= 0.1181",
       {{coefficients, "Tb_bv", 0.1181, 2, "Tb_bv"}}},
      {"exponents, signs and points at either end",
       "[Coefficients]\na= -4.67e-2\nb=4.67E+1\nc=+.5\nd=7.\ne=1e0\nf=-0\n",
       {{coefficients, "a", -0.0467, 2},
        {coefficients, "b", 46.7, 3},
        {coefficients, "c", 0.5, 4},
        {coefficients, "d", 7.0, 5},
        {coefficients, "e", 1.0, 6},
        {coefficients, "f", -0.0, 7}}},
      {"the last of a repeated key counts, with its spelling and line",
       "[Coefficients]\nTv_bv= 1\nTV_bv= 2\n[Error]\nTv_bv= 3\n[Coefficients]\ntv_BV= 4\n",
       {{coefficients, "Tv_bv", 4, 7, "tv_BV"}, {errors, "Tv_bv", 3, 5, "Tv_bv"}}},
      {"text before any section and in other sections is not judged",
       "made by hand, 1,5 and 1.2.3\n[Setup]\nwhatever\n= 1\nx= 1,5\n[Coefficients]\nTbv= 1\n"
       "[Extinction]\nkv= 0,2\n",
       {{coefficients, "Tbv", 1, 7, "Tbv"}, {coefficients, "kv", 0, 0}}},
      {"an error of -0 is kept as 0, a coefficient of -0 as it is",
       "[Coefficients]\nTv_bv= -0\n[Error]\nTv_bv= -0.0\n",
       {{coefficients, "Tv_bv", -0.0, 2}, {errors, "Tv_bv", 0.0, 4}}},
      {"an equals sign in a value of another section",
       "[Setup]\ndescription= a=b\n[Coefficients]\n",
       {{coefficients, "description", 0, 0}}},
  };
  for (const GoodRow& row : rows) {
    SCOPED_TRACE(row.what);
    const Read read = readText(row.text);
    EXPECT_TRUE(read.reading.ok);
    EXPECT_EQ(read.messages, Messages{});
    for (const Lookup& lookup : row.lookups) {
      SCOPED_TRACE(lookup.name);
      const CoefficientFile& file = read.reading.file;
      const Coefficient* found =
          lookup.section == coefficients ? file.coefficient(lookup.name) : file.error(lookup.name);
      if (lookup.line == 0) {
        EXPECT_EQ(found, nullptr);
        continue;
      }
      ASSERT_NE(found, nullptr);
      EXPECT_EQ(found->value, lookup.value);
      EXPECT_EQ(std::signbit(found->value), std::signbit(lookup.value));
      EXPECT_EQ(found->line, lookup.line);
      if (!lookup.spelled.empty()) {
        EXPECT_EQ(found->name, lookup.spelled);
      }
    }
  }
}

TEST(CoefficientFile, ValuesAreReadExactly) {
  const Read read = readText("[Coefficients]\na= 0.1\nb= 1e-1\nc= 0.01e1\nd= 100000e-6\n");
  const CoefficientFile& file = read.reading.file;
  for (const std::string_view name : {"a", "b", "c", "d"}) {
    ASSERT_NE(file.coefficient(name), nullptr) << name;
    EXPECT_EQ(file.coefficient(name)->value, 0.1) << name;
  }
}

struct BadRow {
  std::string_view what;
  std::string_view text;
  Messages messages;
};

TEST(CoefficientFile, NamesEveryFaultByLineAndColumn) {
  const BadRow rows[] = {
      {"a decimal comma",
       "[Coefficients]\nTbv= 1,1974\n",
       {"tg.ini:2:6: error: the value \"1,1974\" of \"Tbv\" is not a decimal number; write a "
        "point for the decimals, not a comma"}},
      {"two points",
       "[Coefficients]\n  Tb_bv =  0.11.81\n",
       {"tg.ini:2:12: error: the value \"0.11.81\" of \"Tb_bv\" is not a decimal number; a "
        "number has one point at most"}},
      {"a word, in [Error]",
       "[Coefficients]\n[Error]\nTv_bv= none\n",
       {"tg.ini:3:8: error: the value \"none\" of \"Tv_bv\" is not a decimal number; write a "
        "decimal number such as -0.0467 or -4.67e-2"}},
      {"an empty value",
       "[Coefficients]\nTv_bv=\nTb_bv =  \t\n",
       {"tg.ini:2:7: error: \"Tv_bv\" has no value; write a decimal number after the \"=\"",
        "tg.ini:3:8: error: \"Tb_bv\" has no value; write a decimal number after the \"=\""}},
      {"an exponent without digits, a comment after the value",
       "[Coefficients]\na= 1e\nb= 1 ; fitted\n",
       {"tg.ini:2:4: error: the value \"1e\" of \"a\" is not a decimal number; write a decimal "
        "number such as -0.0467 or -4.67e-2",
        "tg.ini:3:4: error: the value \"1 ; fitted\" of \"b\" is not a decimal number; write a "
        "decimal number such as -0.0467 or -4.67e-2"}},
      {"a number beyond the doubles",
       "[Coefficients]\nTbv= 1e999\n",
       {"tg.ini:2:6: error: the value \"1e999\" of \"Tbv\" is out of range; a coefficient is a "
        "small number such as -0.0467"}},
      {"a line with no equals sign, a key missing",
       "[Coefficients]\nTbv 1.1974\n  = 0.5\n",
       {"tg.ini:2:1: error: \"Tbv 1.1974\" is not KEY= value, a [Section] line or a comment",
        "tg.ini:3:3: error: \"= 0.5\" has no key before the \"=\"; write KEY= value"}},
      {"a section line without its bracket, or with text after it, in any section",
       "[Setup\nTbv= x\n[Coefficients] ; B and V\nTbv= y\n",
       {"tg.ini:1:1: error: \"[Setup\" is not a section line; write [NAME] with nothing after "
        "the \"]\"",
        "tg.ini:3:1: error: \"[Coefficients] ; B and V\" is not a section line; write [NAME] with "
        "nothing after the \"]\"",
        "tg.ini: error: the file has no [Coefficients] section, so it holds no transformation "
        "coefficients"}},
      {"a byte order mark does not count in the columns",
       "\xEF\xBB\xBF[Coefficients]\nTbv= 1,2\n",
       {"tg.ini:2:6: error: the value \"1,2\" of \"Tbv\" is not a decimal number; write a point "
        "for the decimals, not a comma"}},
      {"bytes that the terminal would act on are shown, not sent",
       "[Coefficients]\nTbv= \x1B[2J\n",
       {"tg.ini:2:6: error: the value \"\\x1B[2J\" of \"Tbv\" is not a decimal number; write a "
        "decimal number such as -0.0467 or -4.67e-2"}},
      {"a negative error; a negative coefficient and an error of -0 are fine",
       "[Coefficients]\nTv_bv= -0.0467\n[Error]\nTv_bv= -0.5\nTb_bv= -0\n",
       {"tg.ini:4:8: error: the value \"-0.5\" of \"Tv_bv\" in [Error] is negative; an error is "
        "a size, such as 0.0070"}},
      {"an empty file",
       "",
       {"tg.ini: error: the coefficient file is empty; it needs a [Coefficients] section"}},
      {"no [Coefficients] section",
       "[Setup]\n[Error]\nTv_bv= 0.0070\n",
       {"tg.ini: error: the file has no [Coefficients] section, so it holds no transformation "
        "coefficients"}},
      {"UTF-16 text",
       std::string_view{"[\0C\0o\0e\0f\0]\0\n\0", 16},
       {"tg.ini: error: the file is UTF-16 text (what Notepad calls \"Unicode\"); save it as ANSI "
        "or UTF-8"}},
      {"CR line ends",
       "[Coefficients]\rTbv= 1\r",
       {"tg.ini: error: the file's lines end with CR alone, as on old Macs; save it with LF or "
        "CR LF line ends"}},
      {"NUL bytes",
       std::string_view{"[Coefficients]\nTbv= 1\0\n", 23},
       {"tg.ini: error: it is not a text file (it holds NUL bytes): give the coefficient file, "
        "an INI text file with a [Coefficients] section"}},
  };
  for (const BadRow& row : rows) {
    SCOPED_TRACE(row.what);
    const Read read = readText(row.text);
    EXPECT_FALSE(read.reading.ok);
    EXPECT_EQ(read.messages, row.messages);
  }
}

TEST(CoefficientFile, AFaultyValueLeavesTheOthersRead) {
  const Read read = readText("[Coefficients]\nTb_bv= 0,1181\nTv_bv= -0.0467\n");
  EXPECT_FALSE(read.reading.ok);
  EXPECT_EQ(read.reading.file.coefficient("Tb_bv"), nullptr);
  ASSERT_NE(read.reading.file.coefficient("Tv_bv"), nullptr);
  EXPECT_EQ(read.reading.file.coefficient("Tv_bv")->value, -0.0467);
}

TEST(CoefficientFile, RepeatedFaultsAreOfAKindThatCanBeCounted) {
  diagnostics::DiagnosticList findings;
  (void)readCoefficientText("[Coefficients]\na= x\nb\n[c\n", "tg.ini", findings);
  ASSERT_EQ(findings.all().size(), 3U);
  for (const auto& finding : findings.all()) EXPECT_NE(finding.kind, nullptr);
  EXPECT_NE(findings.all()[0].kind, findings.all()[1].kind);
  EXPECT_EQ(findings.all()[1].kind, findings.all()[2].kind);
}

TEST(CoefficientFile, ANulBytePastTheFirstBytesEndsTheReading) {
  std::string text = "[Coefficients]\n";
  while (text.size() <= textio::LineReader::bufferSize) text.append("; padding\n");
  text.append("[Error]\nTbv= 1\0\nTbv= x\n", 23);
  const Read read = readText(text);
  const std::string line = std::to_string(std::count(text.begin(), text.end(), '\n') - 1);
  EXPECT_EQ(read.messages,
            Messages{"tg.ini:" + line +
                     ": error: the line holds a NUL byte, so the file is not text: give the "
                     "coefficient file, an INI text file with a [Coefficients] section; it is "
                     "read no further"});
}

TEST(CoefficientFile, ALongLineEndsTheReading) {
  const std::string longest(textio::LineReader::maxLineLength, ' ');
  Read read = readText("[Coefficients]\nTbv= 1" + longest.substr(6) + "\n[Error]\n");
  EXPECT_TRUE(read.reading.ok);
  read = readText("[Coefficients]\n" + longest + "x\nTbv= x\n");
  EXPECT_FALSE(read.reading.ok);
  EXPECT_EQ(read.messages,
            Messages{"tg.ini:2: error: the line is longer than 4096 bytes, so the file does not "
                     "look like a coefficient file; it is read no further"});
}

TEST(CoefficientFile, KeepsABoundedNumberOfKeysPerSection) {
  std::string text = "[Coefficients]\n";
  for (std::size_t i = 0; i < CoefficientFile::maxEntriesPerSection; ++i) {
    text.append("k").append(std::to_string(i)).append("= 1\n");
  }
  text.append("K0= 2\n[Error]\nk0= 3\n");  // a repeated key is no new one
  Read read = readText(text);
  EXPECT_TRUE(read.reading.ok);
  EXPECT_EQ(read.reading.file.entries(coefficients).size(), CoefficientFile::maxEntriesPerSection);
  EXPECT_EQ(read.reading.file.coefficient("k0")->value, 2);
  EXPECT_EQ(read.reading.file.coefficient("k0")->name, "K0");
  EXPECT_EQ(read.reading.file.error("k0")->value, 3);

  text.append("[Coefficients]\none more= 1\nTbv= x\n");
  read = readText(text);
  EXPECT_FALSE(read.reading.ok);
  EXPECT_EQ(read.messages,
            Messages{"tg.ini:262: error: [Coefficients] holds more than 256 keys, so the file does "
                     "not look like a coefficient file; it is read no further"});
}

class CoefficientFileOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    directory_ = fs::temp_directory_path() /
                 ("varistellar-coefficients-" +
                  std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(directory_);
    fs::create_directories(directory_);
  }
  void TearDown() override { fs::remove_all(directory_); }

  std::string path(const std::string& name) const { return (directory_ / name).string(); }

  std::string write(std::string_view bytes) const {
    const std::string name = path("tg.ini");
    std::ofstream{name, std::ios::binary} << bytes;
    return name;
  }

  static Messages messages(const diagnostics::DiagnosticList& findings) {
    Messages texts;
    for (const auto& finding : findings.all()) texts.push_back(formatDiagnostic(finding));
    return texts;
  }

 private:
  fs::path directory_;
};

TEST_F(CoefficientFileOnDisk, ReadsAsFromMemory) {
  std::string text{generatorFile};
  text.append("[Coefficients]\nTv_vr= 0,5\nTr_vr 1\n");
  for (int i = 0; i < 3000; ++i) text.append("; a comment long enough to cross buffers\n");
  text.append("Ti_vi= -4.67e-2\n");
  const std::string name = write(text);
  diagnostics::DiagnosticList fromFile;
  const CoefficientReading file = readCoefficientFile(name, fromFile);
  diagnostics::DiagnosticList fromMemory;
  const CoefficientReading memory = readCoefficientText(text, name, fromMemory);
  EXPECT_FALSE(file.ok);
  EXPECT_EQ(messages(fromFile), messages(fromMemory));
  EXPECT_EQ(messages(fromFile).size(), 2U);
  for (const CoefficientSection section : {coefficients, errors}) {
    const auto& a = file.file.entries(section);
    const auto& b = memory.file.entries(section);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
      EXPECT_EQ(a[i].name, b[i].name);
      EXPECT_EQ(a[i].value, b[i].value);
      EXPECT_EQ(a[i].line, b[i].line);
    }
  }
  ASSERT_NE(file.file.coefficient("ti_vi"), nullptr);
  EXPECT_EQ(file.file.coefficient("ti_vi")->line, 3015U);
}

TEST_F(CoefficientFileOnDisk, AMissingFileOrAFolderIsOneError) {
  diagnostics::DiagnosticList findings;
  const std::string missing = path("missing.ini");
  EXPECT_FALSE(readCoefficientFile(missing, findings).ok);
  const std::string folder = path("");
  EXPECT_FALSE(readCoefficientFile(folder, findings).ok);
  EXPECT_EQ(messages(findings),
            (Messages{missing + ": error: cannot open the coefficient file: No such file or "
                                "directory",
                      folder + ": error: cannot open the coefficient file: it is a folder, not a "
                               "file"}));
}

TEST_F(CoefficientFileOnDisk, ALongLineEndsTheReadingOfAFile) {
  diagnostics::DiagnosticList findings;
  const std::string name =
      write("[Coefficients]\n" + std::string(textio::LineReader::maxLineLength + 1, ';') + "\n");
  EXPECT_FALSE(readCoefficientFile(name, findings).ok);
  EXPECT_EQ(
      messages(findings),
      Messages{name + ":2: error: the line is longer than 4096 bytes, so the file does not look "
                      "like a coefficient file; it is read no further"});
}

}  // namespace
}  // namespace varistellar::transform
