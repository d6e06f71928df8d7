// Planning a night's transformation: which sets of filters transform
// together, what each filter's equation takes, the faults of the
// coefficient file and of --colour, and the texts the report carries.
#include "transform/night_transforms.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varistellar::transform {
namespace {

using Messages = std::vector<std::string>;

constexpr std::string_view allCoefficients =
    "[Coefficients]\n"
    "Tb_bv= 0.1181\nTv_bv= -0.0467\nTv_vr= 0.02\nTr_vr= 0.05\nTv_vi= 0.01\nTi_vi= -0.03\n"
    "Tr_vi= 0.04\n"
    "[Error]\n"
    "Tb_bv= 0.0103\nTv_bv= 0.0070\nTv_vr= 0.001\nTr_vr= 0.002\nTv_vi= 0.003\nTi_vi= 0.004\n"
    "Tr_vi= 0.005\n";

struct Night {
  night::NightParameters parameters;
  std::string file;
};

Night nightOf(std::string filter, double comparison) {
  return {{"ABCD", "RR LYR", "000-AAA-001", comparison, filter + "", "X1", {}},
          filter + "/VARISTELLAR-input.txt"};
}

struct Planned {
  std::optional<std::vector<FilterTransform>> transforms;
  Messages messages;
};

Planned plan(const std::vector<std::string>& filters, std::string_view coefficients,
             std::optional<ColourOption> colour = std::nullopt) {
  diagnostics::DiagnosticList findings;
  const CoefficientReading reading = readCoefficientText(coefficients, "tg.ini", findings);
  std::vector<Night> nights;
  double comparison = 12.0;
  for (const std::string& filter : filters) nights.push_back(nightOf(filter, comparison -= 0.5));
  std::vector<PlannedNight> planned;
  for (const Night& night : nights) planned.push_back({night.parameters, night.file});
  Planned result{planTransforms({reading.file, "folder/tg.ini", colour}, planned, findings), {}};
  for (const auto& finding : findings.all()) {
    result.messages.push_back(diagnostics::formatDiagnostic(finding));
  }
  return result;
}

TEST(FilterSets, EachSupportedSetGivesEachFilterItsEquationAndCoefficient) {
  struct Case {
    std::vector<std::string> filters;
    std::vector<std::string> coefficients;  // each filter's own, in the nights' order
  };
  const std::vector<Case> cases = {
      {{"B", "V"}, {"Tb_bv", "Tv_bv"}},
      {{"V", "B"}, {"Tv_bv", "Tb_bv"}},
      {{"V", "R"}, {"Tv_vr", "Tr_vr"}},
      {{"I", "V"}, {"Ti_vi", "Tv_vi"}},
      {{"B", "V", "I"}, {"Tb_bv", "Tv_bv", "Ti_vi"}},
      {{"I", "R", "V", "B"}, {"Ti_vi", "Tr_vi", "Tv_bv", "Tb_bv"}},
      {{"TB", "TG"}, {"Tb_bv", "Tv_bv"}},
      {{"TG", "TR"}, {"Tv_vr", "Tr_vr"}},
  };
  for (const Case& c : cases) {
    const Planned planned = plan(c.filters, allCoefficients);
    ASSERT_TRUE(planned.transforms) << c.filters.front();
    EXPECT_TRUE(planned.messages.empty());
    for (std::size_t i = 0; i < c.filters.size(); ++i) {
      EXPECT_EQ(coefficientOf((*planned.transforms)[i].role), c.coefficients[i]);
    }
  }
}

TEST(FilterSets, OtherSetsAndFiltersAreRefusedWithWhatCanBeDone) {
  struct Case {
    std::vector<std::string> filters;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"B", "R"},
       "B/VARISTELLAR-input.txt:9: error: the filters B and R cannot be transformed together: B "
       "and V, V and R, V and I, B, V and I, or B, V, R and I can be transformed together"},
      {{"B", "V", "R"},
       "B/VARISTELLAR-input.txt:9: error: the filters B, V and R cannot be transformed together: "
       "B and V, V and R, V and I, B, V and I, or B, V, R and I can be transformed together"},
      {{"V", "SG"},
       "SG/VARISTELLAR-input.txt:9: error: the filter \"SG\" cannot be transformed: only B, V, R "
       "and I can (and a colour camera's TB, TG and TR, as B, V and R)"},
      {{"B", "TB"},
       "TB/VARISTELLAR-input.txt:9: error: the filter \"TB\" is transformed as B, the filter of "
       "another FOLDER; each FOLDER holds the night of one filter"},
      {{"V"},
       "V/VARISTELLAR-input.txt:9: error: the filter \"V\" has no partner filter in this night: "
       "give the star's colour with --colour INDEX=T,C[,K] (B-V, V-R or V-I) to transform it"},
  };
  for (const Case& c : cases) {
    const Planned planned = plan(c.filters, allCoefficients);
    EXPECT_FALSE(planned.transforms);
    EXPECT_EQ(planned.messages, Messages{c.message});
  }
}

TEST(CoefficientFaults, MissingImplausibleAndMeaninglessCoefficientsAreNamed) {
  struct Case {
    std::vector<std::string> filters;
    std::string_view file;
    bool planned;
    Messages messages;
  };
  const std::vector<Case> cases = {
      {{"B", "V"},
       "[Coefficients]\nTb_bv= 0.1\n[Error]\nTb_bv= 0.01\n",
       false,
       {"folder/tg.ini: error: [Coefficients] holds no Tv_bv, which the filters B and V need; it "
        "is never taken as 0"}},
      {{"B", "V", "I"},
       "[Coefficients]\nTb_bv= 0.1\nTv_bv= 0.0\n[Error]\nTb_bv= 0.01\nTv_bv= 0.01\n",
       false,
       {"folder/tg.ini: error: [Coefficients] holds no Ti_vi, which the filter I needs; it is "
        "never taken as 0"}},
      {{"B", "V"},
       "[Coefficients]\ntb_BV= 0.1\nTv_bv= 0.0\n[Error]\nTv_bv= 0.01\n",
       true,
       {"folder/tg.ini: warning: [Error] holds no tb_BV: its error counts as 0 in MERR"}},
      {{"V", "R"},
       "[Coefficients]\nTv_vr= 1.2\nTr_vr= 0.0\n[Error]\nTv_vr= 0.01\nTr_vr= 0.01\n",
       false,
       {"folder/tg.ini:2: warning: Tv_vr is 1.2000, above 1 in size, which is implausible for a "
        "transformation coefficient",
        "folder/tg.ini: error: 1 - Tv_vr + Tr_vr is -0.2000, below 0.5 in size: the "
        "transformation would be meaningless; check Tv_vr and Tr_vr"}},
      {{"B", "V", "I"},
       "[Coefficients]\nTb_bv= 0.1\nTv_bv= 0.0\nTi_vi= -0.6\n[Error]\nTb_bv= 0.01\nTv_bv= "
       "0.01\nTi_vi= 0.01\n",
       false,
       {"folder/tg.ini: error: 1 + Ti_vi is 0.4000, below 0.5 in size: the transformation would "
        "be meaningless; check Ti_vi"}},
  };
  for (const Case& c : cases) {
    const Planned planned = plan(c.filters, c.file);
    EXPECT_EQ(planned.transforms.has_value(), c.planned) << c.file;
    EXPECT_EQ(planned.messages, c.messages);
  }
}

TEST(ReportTexts, NotesAndCommentLinesGiveTheCoefficientAsTheFileSpellsIt) {
  const Planned planned =
      plan({"V", "B"}, "[Coefficients]\nTB_BV = 0.1181\nTv_bv=-4.67e-2\n[Error]\nTb_bv=0.0103\n");
  ASSERT_TRUE(planned.transforms);
  EXPECT_EQ((*planned.transforms)[1].notesBeforeColour, "|TB_BV=0.1181|TB_BVERR=0.0103|BVCOLOR=");
  EXPECT_EQ((*planned.transforms)[0].notesBeforeColour, "|Tv_bv=-0.0467|Tv_bvERR=0.0000|BVCOLOR=");
  EXPECT_EQ(transformCommentLines(*planned.transforms, "folder/tg.ini"),
            (Messages{"#TRANSFORM TB_BV=0.1181 +/- 0.0103 (tg.ini)",
                      "#TRANSFORM Tv_bv=-0.0467 +/- 0.0000 (tg.ini)"}));
}

TEST(ReportTexts, ACoefficientSharedBySetsIsListedOnce) {
  const Planned pair = plan({"B", "V"}, allCoefficients);
  const Planned alone = plan({"B"}, allCoefficients, parseColourOption("B-V=1.0,0.6"));
  ASSERT_TRUE(pair.transforms);
  ASSERT_TRUE(alone.transforms);
  // B alone first, then the pair's V and B: B's coefficient comes before V's, once.
  const std::vector<FilterTransform> transforms{(*alone.transforms)[0], (*pair.transforms)[1],
                                                (*pair.transforms)[0]};
  EXPECT_EQ(transformCommentLines(transforms, "tg.ini"),
            (Messages{"#TRANSFORM Tb_bv=0.1181 +/- 0.0103 (tg.ini)",
                      "#TRANSFORM Tv_bv=-0.0467 +/- 0.0070 (tg.ini)"}));
  EXPECT_TRUE(transformCommentLines({}, "tg.ini").empty());
}

TEST(ReportTexts, TheCoefficientFilesNameIsWrittenInPrintableAsciiOnly) {
  struct Case {
    std::string path;
    std::string line;
  };
  const std::vector<Case> cases = {
      {"co\xc3\xab"
       "ff.ini",
       "#TRANSFORM Tv_bv=-0.0467 +/- 0.0070 (co\\xC3\\xABff.ini)"},
      {"folder/a\tb.ini", "#TRANSFORM Tv_bv=-0.0467 +/- 0.0070 (a\\x09b.ini)"},
      {"a\nb\r.ini", "#TRANSFORM Tv_bv=-0.0467 +/- 0.0070 (a\\x0Ab\\x0D.ini)"},
      {"f\\\x1b[2J\x7f.ini", "#TRANSFORM Tv_bv=-0.0467 +/- 0.0070 (\\x1B[2J\\x7F.ini)"},
      {"plain ~name~.ini", "#TRANSFORM Tv_bv=-0.0467 +/- 0.0070 (plain ~name~.ini)"},
  };
  const Planned planned = plan({"B", "V"}, allCoefficients);
  ASSERT_TRUE(planned.transforms);
  for (const Case& c : cases) {
    const Messages lines = transformCommentLines(*planned.transforms, c.path);
    ASSERT_EQ(lines.size(), 2u) << c.path;
    EXPECT_EQ(lines[1], c.line) << c.path;
  }
}

TEST(Solve, AFilterAloneTakesItsColourAndStatesIt) {
  const auto colour = parseColourOption("B-V=0.62,0.55,1.25");
  ASSERT_TRUE(colour);
  const Planned planned = plan({"V"}, allCoefficients, colour);
  ASSERT_TRUE(planned.transforms);
  const FilterTransform& v = planned.transforms->front();
  ValuesAtTime values{};
  values[filterRank('V')] = {-0.5, 0.01};
  const Transformed result = solve(v, values);
  EXPECT_DOUBLE_EQ(result.offset, -0.5 + -0.0467 * (0.62 - 0.55));
  EXPECT_DOUBLE_EQ(statedColour(v, result), 0.62);
  values[filterRank('V')] = {1.2, 0.0};
  EXPECT_DOUBLE_EQ(solveCheck(v, values), 1.2 + -0.0467 * (1.25 - 0.55));
}

TEST(ColourOption, ReadsTheIndexAndTwoOrThreePlainNumbers) {
  struct Case {
    std::string_view text;
    bool good;
  };
  const std::vector<Case> cases = {
      {"B-V=0.62,0.55", true},        {"V-I=1.1,.9,1.7", true},
      {"V-R=-0.1,0.2", true},         {"B-V=0.62", false},
      {"b-v=0.6,0.5", false},         {"B-R=0.6,0.5", false},
      {"B-V=0.6,0.5,0.4,0.3", false}, {"B-V=0,6,0,5", false},
      {"B-V=0.6,,0.5", false},        {"B-V=0.6,0.5,", false},
      {"B-V=6e-1,0.5", false},        {"B-V 0.6,0.5", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(parseColourOption(c.text).has_value(), c.good) << c.text;
  }
  const auto option = parseColourOption("V-I=1.1,.9,1.7");
  ASSERT_TRUE(option);
  EXPECT_EQ(option->index, ColourIndex::VI);
  EXPECT_DOUBLE_EQ(option->target, 1.1);
  EXPECT_DOUBLE_EQ(option->comparison, 0.9);
  EXPECT_DOUBLE_EQ(*option->check, 1.7);
}

}  // namespace
}  // namespace varistellar::transform
