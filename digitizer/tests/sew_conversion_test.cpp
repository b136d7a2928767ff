#include "digitizer/sew_conversion.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "design/stitch_stream.h"
#include "platform/le_bytes.h"
#include "testing/fixed_clock.h"
#include "testing/sew_file_builder.h"

namespace digitizer {
namespace {

struct SewBuffer {
  std::vector<uint8_t> bytes = std::vector<uint8_t>(kSewBufferBytes, 0xCD);
  std::size_t read = 0;
};

SewBuffer LoadSew(std::vector<uint16_t> codes, std::vector<uint16_t> counts, std::vector<uint8_t> stitches) {
  vtest::SewFileSpec spec;
  spec.threadCodes = std::move(codes);
  spec.stitches = std::move(stitches);
  std::vector<uint8_t> file = vtest::BuildSewFile(spec);
  for (std::size_t i = 0; i < counts.size(); ++i) platform::WriteU16(&file[2 * (kSewStitchCountsWord + i)], counts[i]);
  SewBuffer buffer;
  std::memcpy(buffer.bytes.data(), file.data(), file.size());
  buffer.read = file.size();
  return buffer;
}

int32_t I32(const SewBuffer& b, std::size_t at) { return platform::ReadI32(b.bytes.data() + at); }

const vtest::FixedClock kClock({2026, 3, 4, 5, 6, 7});

TEST(SewConversion, RewritesTheBufferAsAStitchRecordWithLeadIn) {
  // Two colours: a stitch, a colour change with its move, a stitch, end.
  SewBuffer sew = LoadSew({4, 9}, {1, 1}, {10, 5, 0x80, 0x01, 0, 0, 0xF6, 0xFB, 0x80, 0x10});
  const PreviewExtents extents = SewWalk({sew.bytes.data(), sew.read}, false, nullptr, 110, 110);
  const SewConversion result = ConvertSew(sew.bytes, sew.read, false, extents, kClock);
  ASSERT_TRUE(result.converted);
  // 6 lead-in words, 5 of the file's, its end word included.
  EXPECT_EQ(I32(sew, 28), 11);
  EXPECT_EQ(result.imageBytes, 740u + 22u);
  EXPECT_EQ(I32(sew, 0), 740);
  EXPECT_EQ(I32(sew, 4), 10);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&sew.bytes[8]), 14), "20260304050607");
  EXPECT_EQ(sew.bytes[22], 0);
  EXPECT_EQ(I32(sew, 24), 2);
  EXPECT_EQ(I32(sew, 32), 0);
  EXPECT_EQ(I32(sew, 116), 4);
  EXPECT_EQ(I32(sew, 120), 9);
  EXPECT_EQ(I32(sew, 428), 13);
  EXPECT_EQ(I32(sew, 432), 13);
  const std::vector<uint8_t> stitches(sew.bytes.begin() + 740, sew.bytes.begin() + 762);
  EXPECT_EQ(stitches, (std::vector<uint8_t>{0x80, 0x02, 0x00, 0x00, 0x80, 0x02, 0xB0, 0x28, 0x80, 0x02, 0xEC, 0x32,
                                            10, 5, 0x80, 0x01, 0, 0, 0xF6, 0xFB, 0x80, 0x10}));
  // Extents (-100, -95) .. (-90, -90) from the centre; stored as the distances the machine reads.
  EXPECT_EQ(I32(sew, 36), 100);
  EXPECT_EQ(I32(sew, 40), 95);
  EXPECT_EQ(I32(sew, 44), -90);
  EXPECT_EQ(I32(sew, 48), -90);
  EXPECT_EQ(I32(sew, 52), 450);  // standard: 550 + left
  EXPECT_EQ(I32(sew, 64), 640);  // 550 - bottom
  EXPECT_EQ(I32(sew, 68), 150);  // small: 250 + left
  EXPECT_EQ(I32(sew, 84), 600);  // large: 700 + left
  EXPECT_EQ(I32(sew, 88), 905);  // 1000 + top
  EXPECT_EQ(I32(sew, 100), 600);
}

TEST(SewConversion, TheLargeHoopAndADesignOutsideAHoop) {
  std::vector<uint8_t> stitches;
  for (int i = 0; i < 5; ++i) stitches.insert(stitches.end(), {100, 0});  // 500 right
  stitches.insert(stitches.end(), {0x80, 0x10});
  SewBuffer sew = LoadSew({1}, {6}, stitches);
  const PreviewExtents extents = SewWalk({sew.bytes.data(), sew.read}, true, nullptr, 140, 200);
  EXPECT_FALSE(SewExceedsStandardHoop(extents));  // 150 left to 350 right of the centre
  const SewConversion result = ConvertSew(sew.bytes, sew.read, true, extents, kClock);
  ASSERT_TRUE(result.converted);
  EXPECT_EQ(I32(sew, 32), 2);
  EXPECT_EQ(sew.bytes[750], 0xBA);
  // The small hoop (250 each way) cannot take it.
  for (std::size_t at = 68; at < 84; at += 4) EXPECT_EQ(I32(sew, at), -1) << at;
  EXPECT_EQ(I32(sew, 52), 400);
}

TEST(SewConversion, AnEndWordIsAppendedWhenTheFileHasNoneInReach) {
  SewBuffer sew = LoadSew({1}, {0}, {10, 0, 10, 0, 10, 0});
  // The budget is 25 words, more than the file holds: the walk stops at the file's end.
  const SewConversion result = ConvertSew(sew.bytes, sew.read, false, {}, kClock);
  ASSERT_TRUE(result.converted);
  EXPECT_EQ(I32(sew, 28), 6 + 3 + 1);
  EXPECT_EQ(sew.bytes[758], 0x80);
  EXPECT_EQ(sew.bytes[759], 0x10);
}

TEST(SewConversion, TheWordsAreWalkedByThePairRulesSoTheStitchesAlwaysReachTheirEnd) {
  auto convertedStitches = [](const SewBuffer& sew) {
    const auto words = static_cast<std::size_t>(I32(sew, 28));
    return std::vector<uint8_t>(sew.bytes.begin() + 740, sew.bytes.begin() + 740 + 2 * static_cast<long>(words));
  };
  // A jump whose move is 0x80 0x10 moves on: the end is the end word after it.
  SewBuffer moved = LoadSew({1}, {8}, {10, 0, 0x80, 0x02, 0x80, 0x10, 5, 5, 0x80, 0x10});
  ASSERT_TRUE(ConvertSew(moved.bytes, moved.read, false, {}, kClock).converted);
  EXPECT_EQ(I32(moved, 28), 6 + 5);
  EXPECT_EQ(design::EndPairOffset(convertedStitches(moved)), 2 * (6 + 4));
  // 24 stitches and a jump, with a budget of 25 words: the jump's move lies beyond the words,
  // so the jump is left out rather than take the end word put behind them as its move.
  std::vector<uint8_t> stitches;
  for (int i = 0; i < 24; ++i) stitches.insert(stitches.end(), {1, 0});
  stitches.insert(stitches.end(), {0x80, 0x02, 5, 5, 0x80, 0x10});
  SewBuffer cut = LoadSew({1}, {0}, stitches);
  ASSERT_TRUE(ConvertSew(cut.bytes, cut.read, false, {}, kClock).converted);
  EXPECT_EQ(I32(cut, 28), 6 + 24 + 1);
  EXPECT_EQ(design::EndPairOffset(convertedStitches(cut)), 2 * (6 + 24));
}

TEST(SewConversion, RefusesThirteenColoursAndTooManyStitchesLeavingTheBuffer) {
  SewBuffer thirteen = LoadSew({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}, {}, {10, 0, 0x80, 0x10});
  const std::vector<uint8_t> before = thirteen.bytes;
  EXPECT_FALSE(ConvertSew(thirteen.bytes, thirteen.read, false, {}, kClock).converted);
  EXPECT_EQ(thirteen.bytes, before);

  SewBuffer huge = LoadSew({1, 2, 3, 4, 5}, {60000, 60000, 60000, 60000, 9990}, {10, 0, 0x80, 0x10});
  EXPECT_EQ(ConvertSew(huge.bytes, huge.read, false, {}, kClock).imageBytes, 0u);
  // A buffer shorter than the file's head is refused, not read past.
  EXPECT_FALSE(ConvertSew(huge.bytes, 100, false, {}, kClock).converted);
}

TEST(SewConversion, TheStandardHoopQuestionComesBeyondFiftyFiveMillimetres) {
  EXPECT_FALSE(SewExceedsStandardHoop({-550, -550, 550, 550}));
  EXPECT_TRUE(SewExceedsStandardHoop({-100, -100, 560, 100}));
  EXPECT_TRUE(SewExceedsStandardHoop({-100, -551, 100, 100}));
  EXPECT_STREQ(kLargerThanStandardHoopText,
               "The selected design is larger than the standard hoop.\nDo you change the standard hoop to the large "
               "hoop?");
}

}  // namespace
}  // namespace digitizer
