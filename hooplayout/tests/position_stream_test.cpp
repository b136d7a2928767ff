#include "hooplayout/position_stream.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

using hooplayout::LayoutPoint;
using hooplayout::StitchBuffer;
using hooplayout::StitchPoint;
using Bytes = std::vector<uint8_t>;

uint8_t B(int v) { return static_cast<uint8_t>(v); }

Bytes Turned(const Bytes& source, int angle) {
  StitchBuffer out;
  EXPECT_TRUE(hooplayout::RotateStitches(out, source, angle));
  return Bytes(out.Bytes().begin(), out.Bytes().end());
}

TEST(RotateStitches, QuarterTurnsAreExactAndClockwiseOnScreen) {
  const Bytes source = {10, 0, 0, 20, B(-3), 5, 0x80, 0x10};
  EXPECT_EQ(Turned(source, 0), source);
  // y grows upward in the stream: clockwise on screen takes +x to -y.
  EXPECT_EQ(Turned(source, 90), (Bytes{0, B(-10), 20, 0, 5, 3, 0x80, 0x10}));
  EXPECT_EQ(Turned(source, 180), (Bytes{B(-10), 0, 0, B(-20), 3, B(-5), 0x80, 0x10}));
  EXPECT_EQ(Turned(source, -90), Turned(source, 270));
  // An angle read from a hostile layout file is taken modulo a full turn.
  EXPECT_EQ(Turned(source, INT32_MIN), Turned(source, INT32_MIN % 360));
  EXPECT_EQ(Turned(source, 720), source);
}

TEST(RotateStitches, ColourChangesAndTheSpaceBJoinComeOutAsColourChanges) {
  const Bytes source = {5, 0, 0x80, 0x01, 0, 0, 5, 0, 0x80, 0x03, 0x80, 0x01, 5, 0, 0x80, 0x10};
  EXPECT_EQ(Turned(source, 180), (Bytes{B(-5), 0, 0x80, 0x01, 0, 0, B(-5), 0, 0x80, 0x01, 0, 0,
                                        B(-5), 0, 0x80, 0x10}));
}

TEST(RotateStitches, ALoneMarkerIsTwoBytesAndTheStitchAfterItIsTurned) {
  EXPECT_EQ(Turned({0x80, 0x03, 10, 0, 0x80, 0x10}, 180), (Bytes{0x80, 0x03, B(-10), 0, 0x80, 0x10}));
}

TEST(RotateStitches, AStitchTooLongForOnePairBecomesASewnLongStitchAndAStitch) {
  // (100, 100) turned by 45 degrees clockwise is (141, 0).
  EXPECT_EQ(Turned({100, 100, 0x80, 0x10}, 45), (Bytes{0x80, 0x02, 119, 0, 22, 0, 0x80, 0x10}));
  // (127, 127) at 45 degrees is (179.6, 0), sewn at (180, 0); a short component is halved.
  EXPECT_EQ(Turned({127, 127, 0x80, 0x10}, 45), (Bytes{0x80, 0x02, 119, 0, 61, 0, 0x80, 0x10}));
}

TEST(RotateStitches, AJumpRunAndItsLandingBecomeOneMove) {
  const Bytes source = {0x80, 0x02, 100, 0, 0x80, 0x04, 100, 0, 10, 0, 5, 5, 0x80, 0x10};
  // (210, 0) turned around: one jump step of 127 and the rest as the landing.
  EXPECT_EQ(Turned(source, 180),
            (Bytes{0x80, 0x02, B(-127), 0, B(-83), 0, B(-5), B(-5), 0x80, 0x10}));
  // A run that fits is one jump with a zero landing, so the stitch after it is still sewn.
  EXPECT_EQ(Turned({0x80, 0x02, 20, 0, 10, 0, 5, 0, 0x80, 0x10}, 180),
            (Bytes{0x80, 0x02, B(-30), 0, 0, 0, B(-5), 0, 0x80, 0x10}));
  // A run that sums to a jump of 119 goes as a chain stepping around it, and keeps its
  // landing too.
  EXPECT_EQ(Turned({0x80, 0x02, 0, 0, 119, 26, 5, 0, 0x80, 0x10}, 0),
            (Bytes{0x80, 0x02, 118, 26, 0x80, 0x02, 1, 0, 0, 0, 5, 0, 0x80, 0x10}));
  // A run without a landing is one jump, even when it ends at a colour change.
  EXPECT_EQ(Turned({0x80, 0x02, 20, 0, 0x80, 0x02, 30, 0, 0x80, 0x01, 0, 0, 0x80, 0x10}, 0),
            (Bytes{0x80, 0x02, 50, 0, 0x80, 0x01, 0, 0, 0x80, 0x10}));
}

TEST(RotateStitches, AJoinedJumpOf119IsNotMistakenForASewnLongStitch) {
  EXPECT_EQ(Turned({0x80, 0x02, 60, 0, 0x80, 0x02, 59, 0, 0x80, 0x10}, 0),
            (Bytes{0x80, 0x02, 118, 0, 0x80, 0x02, 1, 0, 0x80, 0x10}));
}

TEST(RotateStitches, ASewnLongStitchStaysSewn) {
  EXPECT_EQ(Turned({0x80, 0x02, 119, 0, 10, 0, 0x80, 0x10}, 0),
            (Bytes{0x80, 0x02, 119, 0, 10, 0, 0x80, 0x10}));
  EXPECT_EQ(Turned({0x80, 0x02, 119, 0, 0x80, 0x10}, 180), (Bytes{B(-119), 0, 0x80, 0x10}));
}

TEST(RotateStitches, RoundingDoesNotDrift) {
  Bytes source;
  for (int i = 0; i < 1000; ++i) source.insert(source.end(), {3, 1});
  source.insert(source.end(), {0x80, 0x10});
  const Bytes turned = Turned(source, 30);
  int x = 0, y = 0;
  for (std::size_t p = 0; p + 2 < turned.size(); p += 2) {
    x += static_cast<int8_t>(turned[p]);
    y += static_cast<int8_t>(turned[p + 1]);
  }
  const double theta = -30 * hooplayout::kLayoutDegreesToRadians;
  // The last point lies where the turned sum lies, rounded half away from zero.
  EXPECT_EQ(x, std::lround(3000 * std::cos(theta) - 1000 * std::sin(theta)));
  EXPECT_EQ(y, std::lround(3000 * std::sin(theta) + 1000 * std::cos(theta)));
}

TEST(RotateStitches, RefusesSourcesWithoutAnEndAndOutputThatGrowsTooLong) {
  StitchBuffer out;
  EXPECT_FALSE(hooplayout::RotateStitches(out, Bytes{10, 0, 10, 0}, 0));
  EXPECT_FALSE(hooplayout::RotateStitches(out, Bytes{10, 0, 0x80, 0x02, 5}, 0));
  EXPECT_FALSE(hooplayout::RotateStitches(out, Bytes{0x80, 0x01, 0}, 0));
  // Every (127, 127) at 45 degrees needs six bytes: 21,845 of them pass 0x1FFFD.
  Bytes big;
  for (int i = 0; i < 21845; ++i) big.insert(big.end(), {127, 127});
  big.insert(big.end(), {0x80, 0x10});
  EXPECT_FALSE(hooplayout::RotateStitches(out, big, 45));
  big.erase(big.begin(), big.begin() + 2);
  EXPECT_TRUE(hooplayout::RotateStitches(out, big, 45));
  EXPECT_EQ(out.Length(), 21844u * 6 + 2);
}

Bytes Move(LayoutPoint from, LayoutPoint to) {
  StitchBuffer stream;
  EXPECT_TRUE(hooplayout::EncodeMoveSteps(stream, hooplayout::ToStitchPoint(from), hooplayout::ToStitchPoint(to)));
  return Bytes(stream.Bytes().begin(), stream.Bytes().end());
}

TEST(EncodeMoveSteps, OneJumpWithStitchYUpwardThenAZeroLanding) {
  EXPECT_EQ(Move({5, 5}, {5, 5}), Bytes{});
  EXPECT_EQ(Move({0, 0}, {10, -4}), (Bytes{0x80, 0x02, 50, 20, 0, 0}));
  // Needle points in stitch units: a move need not be whole layout units.
  StitchBuffer stream;
  ASSERT_TRUE(hooplayout::EncodeMoveSteps(stream, {1603, 998}, {1650, 950}));
  EXPECT_EQ(Bytes(stream.Bytes().begin(), stream.Bytes().end()), (Bytes{0x80, 0x02, 47, 48, 0, 0}));
}

TEST(EncodeMoveSteps, LongMovesGoAsAChainThatSteps119Off) {
  EXPECT_EQ(Move({0, 0}, {100, 0}), (Bytes{0x80, 0x02, 127, 0, 0x80, 0x02, 127, 0, 0x80, 0x02, 127,
                                          0, 0x80, 0x02, 118, 0, 0x80, 0x02, 1, 0, 0, 0}));
  int x = 0, y = 0;
  const Bytes chain = Move({320, 200}, {10, 390});
  ASSERT_EQ(Bytes(chain.end() - 2, chain.end()), (Bytes{0, 0}));
  for (std::size_t p = 0; p + 2 < chain.size(); p += 4) {
    ASSERT_EQ(chain[p], 0x80);
    ASSERT_EQ(chain[p + 1], 0x02);
    x += static_cast<int8_t>(chain[p + 2]);
    y += static_cast<int8_t>(chain[p + 3]);
    EXPECT_NE(std::abs(static_cast<int8_t>(chain[p + 2])), 119);
    EXPECT_NE(std::abs(static_cast<int8_t>(chain[p + 3])), 119);
  }
  EXPECT_EQ(x, -1550);
  EXPECT_EQ(y, -950);
}

TEST(EncodeMoveSteps, FailsWhenTheStreamIsFull) {
  StitchBuffer stream;
  const Bytes filler(hooplayout::kPositionStreamLimit - 2, 1);
  ASSERT_TRUE(stream.Append(filler, hooplayout::kPositionStreamLimit));
  EXPECT_FALSE(hooplayout::EncodeMoveSteps(stream, {0, 0}, {1, 0}));
  EXPECT_TRUE(hooplayout::EncodeMoveSteps(stream, {0, 0}, {0, 0}));
  EXPECT_FALSE(hooplayout::EncodeMoveSteps(stream, {0, 0}, {2000000000, 0}));
  // The landing needs its own room.
  StitchBuffer almost;
  ASSERT_TRUE(almost.Append(Bytes(hooplayout::kPositionStreamLimit - 5, 1), hooplayout::kPositionStreamLimit));
  EXPECT_FALSE(hooplayout::EncodeMoveSteps(almost, {0, 0}, {5, 0}));
}

TEST(GetStitchEndPoint, SumsEveryMoveExactlyInStitchUnits) {
  EXPECT_EQ(hooplayout::GetStitchEndPoint(
                Bytes{5, 5, 5, B(-10), 0x80, 0x02, 10, 0, 0x80, 0x01, 0, 0, 0x80, 0x10, 50, 50},
                {500, 500}),
            (StitchPoint{520, 505}));
  EXPECT_EQ(hooplayout::GetStitchEndPoint(Bytes{0x80, 0x03, 0x80, 0x01, B(-7), 0, 0x80, 0x10}, {0, 0}),
            (StitchPoint{-7, 0}));
  EXPECT_EQ(hooplayout::GetStitchEndPoint(Bytes{10, 3, 0x80}, {0, 0}), (StitchPoint{10, -3}));
}

TEST(GetStitchBounds, LeadingJumpsAndTheirLandingDoNotCount) {
  const Bytes s = {0x80, 0x02, 50, 50, 10, 10, 5, B(-100), 0x80, 0x01, 0, 0, 0x80, 0x02, 20, 0,
                   1, 0, 0x80, 0x10};
  EXPECT_EQ(hooplayout::GetStitchBounds(s), (hooplayout::StreamBounds{0, -40, 86, 0}));
}

}  // namespace
