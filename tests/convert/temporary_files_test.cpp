// Temporary names: made beside their output, cut to fit, and recognised again
// only when a run would have made exactly that name.
#include "convert/temporary_files.h"

#include <gtest/gtest.h>

#include <string>

namespace varistellar::convert {
namespace {

TEST(TemporaryName, StandsBesideItsOutputWithTheProcessAndAttempt) {
  EXPECT_EQ(temporaryName("lightcurve-aavso.txt", 4242, 0), "lightcurve-aavso.txt.4242.tmp");
  EXPECT_EQ(temporaryName("night/r.txt", 7, 3), "night/r.txt.7-3.tmp");
}

TEST(TemporaryName, IsCutToFitAFolderEntryAtACharactersStart) {
  const std::string longName = std::string(240, 'a') + "\xC3\xA9\xC3\xA9\xC3\xA9.txt";
  const std::string made = temporaryName("night/" + longName, 123456, 12);
  const std::string entry = made.substr(6);
  EXPECT_LE(entry.size(), longestEntryName);
  EXPECT_TRUE(entry.ends_with(".123456-12.tmp"));
  // The cut falls before a two-byte character, never inside it.
  EXPECT_EQ(entry, std::string(240, 'a') + ".123456-12.tmp");
  EXPECT_EQ(temporaryNameOwner("night/" + longName, entry), 123456u);
}

TEST(TemporaryNameOwner, KnowsOnlyTheNamesARunMakes) {
  struct Case {
    const char* entry;
    std::optional<std::uint32_t> owner;
  };
  const Case cases[] = {
      {"r.txt.99999999.tmp", 99999999u},
      {"r.txt.5-2.tmp", 5u},
      {"r.txt.5-0.tmp", std::nullopt},  // the first attempt has no number
      {"r.txt.05.tmp", std::nullopt},   // no leading zero
      {"r.txt.5.tmp.tmp", std::nullopt},
      {"r.txt.tmp", std::nullopt},
      {"r.txt.x.tmp", std::nullopt},
      {"other.txt.5.tmp", std::nullopt},  // another output's
      {"r.txt.5", std::nullopt},
      {"r.txt.5-.tmp", std::nullopt},
      {"r.txt.1234567890.tmp", std::nullopt},  // more digits than a process id has
  };
  for (const Case& c : cases) {
    EXPECT_EQ(temporaryNameOwner("night/r.txt", c.entry), c.owner) << c.entry;
  }
}

}  // namespace
}  // namespace varistellar::convert
