// The commands' option tables: what the one loop makes of the arguments,
// and the --help entries the tables print.
#include "cli/option_table.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_line.h"

namespace varistellar::cli {
namespace {

Command parsed(std::vector<std::string> arguments) { return parseCommandLine(arguments); }

struct UsageCase {
  std::vector<std::string> arguments;
  std::string_view error;
};

TEST(OptionTable, TellsEachUsageErrorOfTheThreeCommands) {
  const UsageCase cases[] = {
      {{"convert", "--table"}, "option '--table' needs a FILE"},
      {{"convert", "--table="}, "option '--table' needs a FILE"},
      {{"convert", "--date", "TT"}, "option '--date' takes HJD or JD, not 'TT'"},
      {{"convert", "--date"}, "option '--date' needs HJD or JD"},
      {{"convert", "--quiet=yes"}, "unknown option '--quiet=yes' for convert"},
      {{"convert", "--pair-within", "5"}, "option '--pair-within' needs --transform FILE"},
      {{"convert", "a", "b"}, "several FOLDERs make one report: name it with --report FILE"},
      {{"convert", "--report", "r.txt", "--table", "t.txt", "a", "b"},
       "option '--table' names one night's file; with several FOLDERs each holds its own"},
      {{"convert", "--merr"}, "option '--merr' needs table or check-scatter[:W]"},
      {{"convert", "--merr", "scatter"},
       "option '--merr' takes table or check-scatter[:W], not 'scatter'"},
      {{"convert", "--merr=check-scatter21"},
       "option '--merr' takes table or check-scatter[:W], not 'check-scatter21'"},
      {{"convert", "--merr=check-scatter:"},
       "option '--merr check-scatter:W' takes a whole number of observations W, not ''"},
      {{"convert", "--merr=check-scatter:2x"},
       "option '--merr check-scatter:W' takes a whole number of observations W, not '2x'"},
      {{"convert", "--merr=check-scatter:-5"},
       "option '--merr check-scatter:W' takes a whole number of observations W, not '-5'"},
      {{"convert", "--merr=check-scatter:3"},
       "option '--merr check-scatter:W' takes a window W of at least 5 observations, not '3'"},
      {{"convert", "--merr=check-scatter:20"},
       "option '--merr check-scatter:W' takes an odd window W (the observation and as many on "
       "either side), not '20'"},
      {{"check"}, "check needs at least one FILE"},
      {{"check", "--quiet"}, "unknown option '--quiet' for check"},
      {{"transform", "r.txt"}, "transform needs --transform FILE"},
      {{"transform", "--transform", "tg.ini"}, "transform needs a REPORT"},
      {{"transform", "--transform=tg.ini", "a", "b"}, "transform takes one REPORT"},
      {{"transform", "--output"}, "option '--output' needs a FILE"},
      {{"transform", "--pair-within=-1"},
       "option '--pair-within' takes a number of minutes, 0 or more, not '-1'"},
      {{"transform", "--check-star"}, "unknown option '--check-star' for transform"},
  };
  for (const UsageCase& c : cases) {
    const Command command = parsed(c.arguments);
    EXPECT_EQ(command.kind, CommandKind::usageError) << c.error;
    EXPECT_EQ(command.usageError, c.error);
  }
}

TEST(OptionTable, ReadsValuesGivenEitherWay) {
  const Command convert =
      parsed({"convert", "--table=t.txt", "--report", "r.txt", "--date", "jd", "--check-star",
              "--quiet", "--transform", "tg.ini", "--pair-within=2.5", "--", "--night"});
  ASSERT_EQ(convert.kind, CommandKind::convert) << convert.usageError;
  EXPECT_EQ(convert.convert.table, "t.txt");
  EXPECT_EQ(convert.convert.report, "r.txt");
  EXPECT_EQ(convert.convert.date, run::DateKind::jd);
  EXPECT_TRUE(convert.convert.checkStar);
  EXPECT_TRUE(convert.convert.quiet);
  EXPECT_EQ(convert.convert.pairWithinMinutes, 2.5);
  EXPECT_EQ(convert.convert.pairWithinText, "2.5");
  EXPECT_EQ(convert.convert.folders, std::vector<std::string>{"--night"});

  const Command transform =
      parsed({"transform", "r.txt", "--quiet", "--transform", "tg.ini", "--output=o.txt"});
  ASSERT_EQ(transform.kind, CommandKind::transform) << transform.usageError;
  EXPECT_TRUE(transform.transform.quiet);
  EXPECT_EQ(transform.transform.coefficientFile, "tg.ini");
  EXPECT_EQ(transform.transform.output, "o.txt");
  EXPECT_EQ(transform.transform.report, "r.txt");
  EXPECT_FALSE(parsed({"transform", "--transform", "tg.ini", "r.txt"}).transform.quiet);
}

TEST(OptionTable, HelpIsAskedForAnywhereBeforeTheEndOfTheOptions) {
  EXPECT_EQ(parsed({"convert", "--date", "JD", "-h"}).kind, CommandKind::help);
  EXPECT_EQ(parsed({"check", "a.txt", "--help"}).kind, CommandKind::help);
  EXPECT_EQ(parsed({"transform", "--help", "--nonsense"}).kind, CommandKind::help);
  const Command file = parsed({"check", "--", "--help"});
  ASSERT_EQ(file.kind, CommandKind::check);
  EXPECT_EQ(file.files, std::vector<std::string>{"--help"});
}

TEST(OptionTable, TakesTheMethodOfMerr) {
  EXPECT_FALSE(parsed({"convert", "--merr", "table"}).convert.scatterWidth);
  EXPECT_EQ(parsed({"convert", "--merr", "check-scatter"}).convert.scatterWidth, 21U);
  EXPECT_EQ(parsed({"convert", "--merr=check-scatter:5"}).convert.scatterWidth, 5U);
  EXPECT_EQ(parsed({"convert", "--merr=check-scatter:101"}).convert.scatterWidth, 101U);
  // The last one given counts, as for every option.
  EXPECT_FALSE(parsed({"convert", "--merr=check-scatter", "--merr=table"}).convert.scatterWidth);
}

TEST(OptionLines, PutsTheTextInItsColumnOrALongLabelOnItsOwnLine) {
  const std::array<std::string_view, 3> labels{"--quiet", "--parameters FILE",
                                               "--pair-within MINUTES"};
  const std::array<std::string_view, 3> helps{"one line", "first\nsecond", "long"};
  EXPECT_EQ(optionLines(labels, helps),
            "  --quiet             one line\n"
            "  --parameters FILE   first\n"
            "                      second\n"
            "  --pair-within MINUTES\n"
            "                      long\n");
}

TEST(HelpText, ListsTransformsQuietAfterItsOutput) {
  EXPECT_THAT(helpText(),
              ::testing::HasSubstr("                      -transformed before its extension, "
                                   "beside it)\n"
                                   "  --quiet             print only warnings and errors\n\n"));
}

TEST(HelpText, NamesEveryTableConvertReads) {
  for (const char* table : {"MAGNIVEX's lightcurve.txt", "an AstroImageJ measurement table",
                            "Siril's light_curve.dat"}) {
    EXPECT_THAT(helpText(), ::testing::HasSubstr(table)) << table;
  }
}

}  // namespace
}  // namespace varistellar::cli
