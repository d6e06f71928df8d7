#include "report_transform/byte_fingerprint.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varistellar::report_transform {
namespace {

Fingerprint inPieces(std::string_view bytes, const std::vector<std::size_t>& cuts) {
  ByteFingerprint fingerprint;
  std::size_t at = 0;
  for (const std::size_t cut : cuts) {
    fingerprint.add(bytes.substr(at, cut - at));
    at = cut;
  }
  fingerprint.add(bytes.substr(at));
  return fingerprint.value();
}

const std::string text =
    "#TYPE=Extended\r\nRR LYR,2460600.30000,12.300,0.010,B,NO,STD,000-AAA-001,na,na,na,"
    "1.200,na,12345AB,|CREFMAG=12.895\r\n";

TEST(ByteFingerprint, IsTheSameHoweverTheBytesArriveCut) {
  const Fingerprint whole = inPieces(text, {});
  EXPECT_EQ(whole.bytes, text.size());
  const std::vector<std::vector<std::size_t>> cuttings = {
      {1}, {7}, {8}, {9}, {3, 5, 6, 7, 15, 16}, {0, 0, 40}, {text.size() - 1}};
  for (const auto& cuts : cuttings) {
    EXPECT_EQ(inPieces(text, cuts), whole) << cuts.size() << " cuts, the first at " << cuts[0];
  }
  std::vector<std::size_t> everyByte;
  for (std::size_t i = 1; i < text.size(); ++i) everyByte.push_back(i);
  EXPECT_EQ(inPieces(text, everyByte), whole);
}

TEST(ByteFingerprint, TellsEveryOneByteChangeApart) {
  const Fingerprint original = inPieces(text, {});
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::string changed = text;
    changed[i] = static_cast<char>(changed[i] ^ 0x01);
    EXPECT_NE(inPieces(changed, {}), original) << i;
    // Two bytes swapped: the same bytes, another order.
    if (i + 1 < text.size() && text[i] != text[i + 1]) {
      std::string swapped = text;
      std::swap(swapped[i], swapped[i + 1]);
      EXPECT_NE(inPieces(swapped, {}).hash, original.hash) << i;
    }
  }
}

TEST(ByteFingerprint, TellsTrailingZerosAndEndsApart) {
  const std::vector<std::string> texts = {"",
                                          std::string(1, '\0'),
                                          std::string(2, '\0'),
                                          std::string(8, '\0'),
                                          std::string(9, '\0'),
                                          "a",
                                          std::string("a\0", 2),
                                          text,
                                          text + "\n",
                                          text.substr(0, text.size() - 1)};
  for (std::size_t i = 0; i < texts.size(); ++i) {
    for (std::size_t j = i + 1; j < texts.size(); ++j) {
      EXPECT_NE(inPieces(texts[i], {}).hash, inPieces(texts[j], {}).hash) << i << " " << j;
    }
  }
}

}  // namespace
}  // namespace varistellar::report_transform
