#include "design/sew_time_estimator.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "testing/stitch_stream_builder.h"

namespace {

using design::CSewTimeEstimator;
using design::StitchTimeForLength;
using Bytes = std::vector<uint8_t>;

int64_t EstimateAt600(const Bytes& stream, std::span<int64_t> perColour = {}) {
  return CSewTimeEstimator().Estimate(static_cast<int>(stream.size() / 2), stream, 600, perColour);
}

vtest::StitchStreamBuilder& Repeat(vtest::StitchStreamBuilder& b, int count, int dx, int dy) {
  for (int i = 0; i < count; ++i) b.Stitch(dx, dy);
  return b;
}

TEST(StitchTimeForLength, ReadsAndInterpolatesTheSpeedTable) {
  EXPECT_EQ(StitchTimeForLength(600, 10), 100);   // below 2 mm: the 2 mm column
  EXPECT_EQ(StitchTimeForLength(600, 20), 100);
  EXPECT_EQ(StitchTimeForLength(600, 35), 145);   // 450 + (375 - 450) * 5 / 10 = 413
  EXPECT_EQ(StitchTimeForLength(600, 119), 582);  // 125 + (100 - 125) * 9 / 10 = 103
  EXPECT_EQ(StitchTimeForLength(500, 115), 594);  // 107 + (94 - 107) * 5 / 10 = 101
  EXPECT_EQ(StitchTimeForLength(400, 110), 666);  // the slowest column, 90 spm
  EXPECT_EQ(StitchTimeForLength(600, 120), 666);
  EXPECT_EQ(StitchTimeForLength(600, 127), 666);
}

TEST(StitchTimeForLength, SpeedsOutsideTheTableUseTheNearestRow) {
  EXPECT_EQ(StitchTimeForLength(800, 10), 75);
  EXPECT_EQ(StitchTimeForLength(900, 10), 75);
  EXPECT_EQ(StitchTimeForLength(750, 10), 75);  // (800 - 750) / 100 truncates to the 800 row
  EXPECT_EQ(StitchTimeForLength(650, 10), 85);  // the 700 row
  EXPECT_EQ(StitchTimeForLength(300, 10), 150);
  EXPECT_EQ(StitchTimeForLength(INT_MIN, 10), 150);
  EXPECT_EQ(StitchTimeForLength(INT_MAX, 10), 75);
}

TEST(SewTimeEstimator, SpeedFactors) {
  EXPECT_EQ(CSewTimeEstimator::ApplySpeedFactor(1000, 400), 1126);
  EXPECT_EQ(CSewTimeEstimator::ApplySpeedFactor(1000, 500), 1105);
  EXPECT_EQ(CSewTimeEstimator::ApplySpeedFactor(1000, 700), 1109);
  EXPECT_EQ(CSewTimeEstimator::ApplySpeedFactor(1000, 800), 1091);
  for (int speed : {600, 900, 300, 0}) {
    EXPECT_EQ(CSewTimeEstimator::ApplySpeedFactor(1000, speed), 1118) << speed;
  }
}

TEST(SewTimeEstimator, StitchesNearAControlPairCostTheLongestTime) {
  // 20 stitches of 1 mm: the first 11 see only stitches (100 ms each at 600 spm), the last
  // 9 see the end pair (666 ms each). 7094 ms / 0.8941.
  vtest::StitchStreamBuilder b;
  EXPECT_EQ(EstimateAt600(Repeat(b, 20, 10, 0).End().Bytes()), 7934);

  vtest::StitchStreamBuilder longer;
  EXPECT_EQ(EstimateAt600(Repeat(longer, 20, 35, -3).End().Bytes()), 8487);  // 145 x 11 + 666 x 9
}

TEST(SewTimeEstimator, AJumpRunCostsItsLongerComponent) {
  EXPECT_EQ(EstimateAt600(vtest::StitchStreamBuilder().Jump(-90, 50).Jump(-90, 50).End().Bytes()),
            CSewTimeEstimator::ApplySpeedFactor(780, 600));
  // 0x80 0x04 is not a jump here: its two bytes are skipped and its pair costs as a stitch.
  EXPECT_EQ(EstimateAt600(vtest::StitchStreamBuilder().JumpAlt(50, 0).End().Bytes()),
            CSewTimeEstimator::ApplySpeedFactor(666, 600));
  EXPECT_EQ(EstimateAt600(vtest::StitchStreamBuilder().Jump(50, 0).End().Bytes()),
            CSewTimeEstimator::ApplySpeedFactor(650, 600));
  // Markers cost nothing; the stitch before one is near a control pair.
  EXPECT_EQ(EstimateAt600(vtest::StitchStreamBuilder().Marker().Stitch(1, 1).End().Bytes()),
            CSewTimeEstimator::ApplySpeedFactor(666, 600));
}

TEST(SewTimeEstimator, EmptyStreamsEstimateNothing) {
  int64_t perColour[3] = {7, 7, 7};
  EXPECT_EQ(EstimateAt600(vtest::StitchStreamBuilder().End().Bytes(), perColour), 0);
  EXPECT_EQ(perColour[0], 0);
  EXPECT_EQ(perColour[1], 0);
  EXPECT_EQ(perColour[2], 7);
  const Bytes stream = vtest::StitchStreamBuilder().Stitch(10, 0).End().Bytes();
  EXPECT_EQ(CSewTimeEstimator().Estimate(0, stream, 600), 0);
  EXPECT_EQ(CSewTimeEstimator().Estimate(-5, stream, 600), 0);
}

TEST(SewTimeEstimator, PerColourTimesFollowTheBlocks) {
  vtest::StitchStreamBuilder b;
  Repeat(b, 12, 10, 0).ColourChange();
  Repeat(b, 12, 10, 0).End();
  // Block 1: 3 x 100 + 9 x 666. Block 2: the zero pair after the change is a stitch (100),
  // then 3 x 100 + 9 x 666.
  int64_t perColour[4] = {-1, -1, -1, -1};
  const int64_t total = EstimateAt600(b.Bytes(), perColour);
  EXPECT_EQ(total, CSewTimeEstimator::ApplySpeedFactor(6294 + 6394, 600));
  EXPECT_EQ(perColour[0], CSewTimeEstimator::ApplySpeedFactor(6294, 600));
  EXPECT_EQ(perColour[1], CSewTimeEstimator::ApplySpeedFactor(6394, 600));
  EXPECT_EQ(perColour[2], 0);
  EXPECT_EQ(perColour[3], -1);
}

TEST(SewTimeEstimator, MoreColourBlocksThanSlotsStayWithinTheArray) {
  vtest::StitchStreamBuilder b;
  for (int i = 0; i < 100; ++i) b.Stitch(5, 5).ColourChange();
  b.End();
  std::vector<int64_t> perColour(3, -1);  // a heap array: ASan sees any write past it
  const int64_t total = EstimateAt600(b.Bytes(), perColour);
  EXPECT_GT(total, 0);
  for (int64_t t : perColour) EXPECT_GT(t, 0);
  EXPECT_EQ(CSewTimeEstimator().Estimate(static_cast<int>(b.Pairs()), b.Bytes(), 600), total);
}

TEST(SewTimeEstimator, ReadsNoFurtherThanThePairCountOrTheBytes) {
  vtest::StitchStreamBuilder b;
  Repeat(b, 30, 10, 0);  // no end pair at all
  const Bytes stream = b.Bytes();
  // The pair count stops the reading: the look-ahead does not pass it either.
  EXPECT_EQ(CSewTimeEstimator().Estimate(12, stream, 600),
            CSewTimeEstimator::ApplySpeedFactor(1200, 600));
  // A pair count larger than the bytes: only the bytes are read.
  const Bytes heap(stream.begin(), stream.begin() + 24);
  EXPECT_EQ(CSewTimeEstimator().Estimate(100000, heap, 600),
            CSewTimeEstimator::ApplySpeedFactor(1200, 600));
  // A jump code as the last readable pair has no move to add.
  const Bytes cut = vtest::StitchStreamBuilder().Jump(40, 0).Bytes();
  EXPECT_EQ(CSewTimeEstimator().Estimate(1, cut, 600), CSewTimeEstimator::ApplySpeedFactor(600, 600));
}

}  // namespace
