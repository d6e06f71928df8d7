// Temporary names: made beside their output, cut to fit, recognised again
// only when a run would have made exactly that name; and the first bytes
// that tell a run's own leftover from a user's file.
#include "outputs/temporary_files.h"

#include <gtest/gtest.h>

#include <string>

namespace varistellar::outputs {
namespace {

TEST(TemporaryName, StandsBesideItsOutputWithTheProgramProcessAndTag) {
  EXPECT_EQ(temporaryName("lightcurve-aavso.txt", {4242, 0x00c0ffee}),
            "lightcurve-aavso.txt.varistellar-4242-00c0ffee.tmp");
  EXPECT_EQ(temporaryName("night/r.txt", {7, 0xFFFFFFFF}),
            "night/r.txt.varistellar-7-ffffffff.tmp");
}

TEST(TemporaryName, IsCutToFitAFolderEntryAtACharactersStart) {
  const std::string longName = std::string(222, 'a') + "\xC3\xA9\xC3\xA9\xC3\xA9.txt";
  const std::string made = temporaryName("night/" + longName, {123456, 0x12345678});
  const std::string entry = made.substr(6);
  EXPECT_LE(entry.size(), longestEntryName);
  EXPECT_TRUE(entry.ends_with(".varistellar-123456-12345678.tmp"));
  // The cut falls before a two-byte character, never inside it.
  EXPECT_EQ(entry, std::string(222, 'a') + ".varistellar-123456-12345678.tmp");
  EXPECT_EQ(temporaryNameOwner("night/" + longName, entry), (TemporaryOwner{123456, 0x12345678}));
}

TEST(TemporaryName, TagsDifferFromOneNameToTheNext) {
  const std::uint32_t first = freshTemporaryTag();
  bool differs = false;
  for (int i = 0; i < 8 && !differs; ++i) differs = freshTemporaryTag() != first;
  EXPECT_TRUE(differs);
}

TEST(TemporaryNameOwner, KnowsOnlyTheNamesARunMakes) {
  struct Case {
    const char* entry;
    std::optional<TemporaryOwner> owner;
  };
  const Case cases[] = {
      {"r.txt.varistellar-99999999-0badf00d.tmp", TemporaryOwner{99999999, 0x0badf00d}},
      {"r.txt.varistellar-5-00000000.tmp", TemporaryOwner{5, 0}},
      // What earlier runs named, or a user might: never ours.
      {"r.txt.5.tmp", std::nullopt},
      {"r.txt.2024.tmp", std::nullopt},
      {"r.txt.5-2.tmp", std::nullopt},
      {"r.txt.varistellar-5.tmp", std::nullopt},
      {"r.txt.varistellar-5-0BADF00D.tmp", std::nullopt},   // upper-case hexadecimal
      {"r.txt.varistellar-5-badf00d.tmp", std::nullopt},    // seven digits
      {"r.txt.varistellar-05-0badf00d.tmp", std::nullopt},  // a leading zero
      {"r.txt.varistellar-5-0badf00d.tmp.tmp", std::nullopt},
      {"other.txt.varistellar-5-0badf00d.tmp", std::nullopt},  // another output's
      {"r.txt.varistellar-5-0badf00d", std::nullopt},
      {"r.txt.varistellar-1234567890-0badf00d.tmp", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(temporaryNameOwner("night/r.txt", c.entry), c.owner) << c.entry;
  }
}

TEST(BeginsAsAnOutput, TellsReportsAndPicturesFromOtherContents) {
  struct Case {
    std::string_view start;
    bool output;
  };
  const Case cases[] = {
      {"", true},  // stopped before its first byte
      {"#TYPE=EXTENDED\r\n#OBSCODE=ABCD", true},
      {"# a comment line the transformed report kept\r\n", true},
      {"\xEF\xBB\xBF#TYPE=Extended", true},
      {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=", true},
      {"<?xml vers", true},  // a picture cut short
      {"important", false},
      {"half a report", false},
      {" #TYPE=EXTENDED", false},
      {"<?xml version=\"1.0\"?><html>", false},
  };
  for (const Case& c : cases) EXPECT_EQ(beginsAsAnOutput(c.start), c.output) << c.start;
}

}  // namespace
}  // namespace varistellar::outputs
