#include "stitchgen/stitch_output.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "testing/stitch_walker.h"

namespace {

using Bytes = std::vector<uint8_t>;
using seamlib::StitchOutput;

// An output over an area of exactly the caller's size on the heap, so that the sanitizer
// sees any byte written or read outside it.
struct Area {
  std::unique_ptr<uint8_t[]> bytes{new uint8_t[seamlib::kStitchAreaBytes]()};
  StitchOutput out;
  Area() { out.Begin(bytes.get()); }
  Bytes Written() const { return Bytes(bytes.get(), out.Cursor()); }
};

Bytes After(void (*write)(StitchOutput&)) {
  Area area;
  write(area.out);
  return area.Written();
}

TEST(StitchOutput, StitchesAndLongMovesAreWrittenAsTheMachineReadsThem) {
  // Long moves: whole jumps of 127 along the major axis, the remainder as a plain pair.
  EXPECT_EQ(After([](StitchOutput& o) { o.PutStitch(300, 0); }),
            (Bytes{0x80, 0x02, 0x7F, 0x00, 0x80, 0x02, 0x7F, 0x00, 0x2E, 0x00}));
  EXPECT_EQ(After([](StitchOutput& o) { o.PutStitch(0, 128); }),
            (Bytes{0x80, 0x02, 0x00, 0x81, 0x00, 0xFF}));
  EXPECT_EQ(After([](StitchOutput& o) { o.PutStitch(127, -127); }), (Bytes{0x7F, 0x7F}));
  EXPECT_EQ(After([](StitchOutput& o) { o.PutStitch(0, 0); }), Bytes{});
  // The remainder pair is written even when it is 0 0.
  EXPECT_EQ(After([](StitchOutput& o) { o.PutStitch(-254, 0); }),
            (Bytes{0x80, 0x02, 0x81, 0x00, 0x80, 0x02, 0x81, 0x00, 0x00, 0x00}));
  // The minor axis is spread with real arithmetic: 127 * 200 / 381 = 66.67 gives 66, 67, 67
  // (dy downwards, written upwards).
  EXPECT_EQ(After([](StitchOutput& o) { o.PutStitch(381, 200); }),
            (Bytes{0x80, 0x02, 0x7F, 0xBE, 0x80, 0x02, 0x7F, 0xBD, 0x80, 0x02, 0x7F, 0xBD, 0x00,
                   0x00}));
}

TEST(StitchOutput, NoJumpOfALongMoveCarries119) {
  // 127 * 238 / 254 = 119: the first jump takes 118 and the second the difference.
  EXPECT_EQ(After([](StitchOutput& o) { o.PutStitch(254, 238); }),
            (Bytes{0x80, 0x02, 0x7F, 0x8A, 0x80, 0x02, 0x7F, 0x88, 0x00, 0x00}));
  for (int dx = -700; dx <= 700; dx += 23) {
    for (int dy = -900; dy <= 900; dy += 31) {
      Area area;
      ASSERT_TRUE(area.out.PutStitch(dx, dy));
      area.out.PutEnd();
      const Bytes bytes = area.Written();
      const auto walk = vtest::WalkStitches(bytes);
      ASSERT_TRUE(walk.ended);
      EXPECT_EQ(walk.longStitches, 0) << dx << "," << dy;
      EXPECT_EQ(walk.x, dx);
      EXPECT_EQ(walk.y, -dy);
    }
  }
}

TEST(StitchOutput, ZeroJumpPixelMovesAndTieOff) {
  EXPECT_EQ(After([](StitchOutput& o) { o.PutZeroJump(); }), (Bytes{0x80, 0x02, 0x00, 0x00}));
  EXPECT_EQ(After([](StitchOutput& o) {
              o.SetNeedle(0, 0);
              o.MovePixelTo(1, 1);
            }),
            (Bytes{0x03, 0xFD}));
  Area area;
  area.out.SetNeedle(0, 0);
  area.out.MovePixelTo(560, 800);  // (1400, 2000): a chain of jumps
  EXPECT_EQ(area.out.NeedleX(), 1400);
  EXPECT_EQ(area.out.NeedleY(), 2000);
  // Two 0.5 mm stitches back along (30, -40) and two forward again.
  EXPECT_EQ(After([](StitchOutput& o) {
              o.PutStitch(30, -40);
              o.TieOff();
            }),
            (Bytes{0x1E, 0x28, 0xFD, 0xFC, 0xFD, 0xFC, 0x03, 0x04, 0x03, 0x04}));
  // Nothing to tie off after a zero pair, nor at the start of the area.
  EXPECT_EQ(After([](StitchOutput& o) { o.TieOff(); }), Bytes{});
  EXPECT_EQ(After([](StitchOutput& o) {
              o.PutZeroJump();
              o.TieOff();
            }),
            (Bytes{0x80, 0x02, 0x00, 0x00}));
}

TEST(StitchOutput, AJumpCarriesTheWholeMoveAndLandsOnAPairOfNothing) {
  // (40, 30) down: one jump pair and the landing, after which the next pair is sewn.
  EXPECT_EQ(After([](StitchOutput& o) {
              o.SetNeedle(0, 0);
              o.JumpTo(40, 30);
              o.PutStitch(5, 0);
            }),
            (Bytes{0x80, 0x02, 0x28, 0xE2, 0x00, 0x00, 0x05, 0x00}));
  // No jump pair carries 119 (sewn as a long stitch): 118 and the difference in a pair of
  // its own; a long move is a chain.
  EXPECT_EQ(After([](StitchOutput& o) {
              o.SetNeedle(0, 0);
              o.JumpTo(119, 0);
            }),
            (Bytes{0x80, 0x02, 0x76, 0x00, 0x80, 0x02, 0x01, 0x00, 0x00, 0x00}));
  EXPECT_EQ(After([](StitchOutput& o) {
              o.SetNeedle(0, 0);
              o.JumpTo(300, 0);
              o.JumpTo(300, 0);
            }),
            (Bytes{0x80, 0x02, 0x7F, 0x00, 0x80, 0x02, 0x7F, 0x00, 0x80, 0x02, 0x2E, 0x00, 0x00, 0x00}));
  // All or nothing at the limit.
  Area area;
  for (int i = 0; i < (seamlib::kGeneratorLimitBytes - 4) / 2; ++i) area.out.PutStitch(1, 0);
  EXPECT_FALSE(area.out.JumpTo(area.out.NeedleX() + 10, 0));
  EXPECT_EQ(area.out.Offset(), seamlib::kGeneratorLimitBytes - 4);
}

TEST(StitchOutput, WritersStopBeforeTheLimitAndLeaveRoomForTheEndPair) {
  Area area;
  for (int i = 0; i < seamlib::kGeneratorLimitBytes / 2; ++i) ASSERT_TRUE(area.out.PutStitch(1, 0));
  EXPECT_FALSE(area.out.Overflowed());
  EXPECT_EQ(area.out.Offset(), seamlib::kGeneratorLimitBytes);
  EXPECT_FALSE(area.out.PutStitch(1, 0));
  EXPECT_TRUE(area.out.Overflowed());
  EXPECT_EQ(area.out.Offset(), seamlib::kGeneratorLimitBytes);
  EXPECT_FALSE(area.out.PutStop());        // 4 bytes do not fit the caller's area
  EXPECT_TRUE(area.out.PutEnd());          // the end pair always does
  EXPECT_FALSE(area.out.PutEnd());
  EXPECT_EQ(area.out.Offset(), seamlib::kStitchAreaBytes);

  // A stop record fits only with the end pair behind it: the area's last four bytes never
  // take one.
  for (const std::ptrdiff_t at : {seamlib::kStitchAreaBytes - 6, seamlib::kStitchAreaBytes - 4}) {
    Area edge;
    for (int i = 0; i < at / 2; ++i) edge.out.PutStitch(1, 0);
    EXPECT_EQ(edge.out.PutStop(), at == seamlib::kStitchAreaBytes - 6) << at;
    EXPECT_TRUE(edge.out.PutEnd()) << at;
  }
}

TEST(StitchOutput, ARecordThatDoesNotFitIsNotStartedAndNothingFollowsIt) {
  Area area;
  for (int i = 0; i < (seamlib::kGeneratorLimitBytes - 6) / 2; ++i) area.out.PutStitch(1, 0);
  EXPECT_FALSE(area.out.PutStitch(300, 0));  // 10 bytes into 6
  EXPECT_EQ(area.out.Offset(), seamlib::kGeneratorLimitBytes - 6);
  // A smaller record would fit, but the part is already lost: no stitch after a gap.
  EXPECT_FALSE(area.out.PutStitch(1, 0));
  EXPECT_FALSE(area.out.PutZeroJump());
  EXPECT_EQ(area.out.Offset(), seamlib::kGeneratorLimitBytes - 6);
  area.out.ClearOverflow();
  EXPECT_TRUE(area.out.PutStitch(1, 0));
  // A tie-off takes 8 bytes, all or none: with 6 left it writes nothing, with 8 it fits.
  Area tie;
  for (int i = 0; i < (seamlib::kGeneratorLimitBytes - 6) / 2; ++i) tie.out.PutStitch(1, 0);
  EXPECT_FALSE(tie.out.TieOff());
  EXPECT_EQ(tie.out.Offset(), seamlib::kGeneratorLimitBytes - 6);
  Area roomy;
  for (int i = 0; i < (seamlib::kGeneratorLimitBytes - 8) / 2; ++i) roomy.out.PutStitch(1, 0);
  EXPECT_TRUE(roomy.out.TieOff());
  EXPECT_EQ(roomy.out.Offset(), seamlib::kGeneratorLimitBytes);
}

TEST(StitchOutput, StepsBackOntoTheEndPairOnlyWithinTenPairsAndTheArea) {
  Area area;
  area.out.PutStitch(5, 5);
  area.out.PutEnd();
  EXPECT_EQ(area.out.StepBackOntoEnd(), 1);
  EXPECT_EQ(area.out.Offset(), 2);  // on the 0x80, so the next write replaces it
  area.out.PutEnd();
  for (int i = 0; i < 9; ++i) area.out.PutStitch(1, 1);
  EXPECT_EQ(area.out.StepBackOntoEnd(), 10);
  EXPECT_EQ(area.out.Offset(), 2);
  area.out.PutEnd();
  for (int i = 0; i < 10; ++i) area.out.PutStitch(1, 1);
  const auto before = area.out.Offset();
  EXPECT_EQ(area.out.StepBackOntoEnd(), 0);
  EXPECT_EQ(area.out.Offset(), before);

  // Close to the start of the area it looks no further back than the area.
  Area fresh;
  fresh.out.PutStitch(1, 1);
  EXPECT_EQ(fresh.out.StepBackOntoEnd(), 0);
  EXPECT_EQ(fresh.out.Offset(), 2);
  StitchOutput unstarted;
  EXPECT_EQ(unstarted.StepBackOntoEnd(), 0);
  EXPECT_FALSE(unstarted.PutEnd());
}

}  // namespace

namespace {

// A generator that checks its room for a whole record before writing any of it counts the
// bytes of a stitch in advance: exactly what PutStitch then writes, long moves included, and a
// reservation that does not fit leaves the output overflowed without writing.
TEST(StitchOutput, AStitchTakesTheBytesCountedForItAndReservationsGuardTheLimit) {
  for (int dx : {0, 1, -127, 127, 128, -300, 119, 1000, -2000}) {
    for (int dy : {0, -1, 126, -128, 254, 3000}) {
      Area area;
      area.out.PutStitch(dx, dy);
      EXPECT_EQ(area.out.Offset(), StitchOutput::StitchBytes(dx, dy)) << dx << "," << dy;
    }
  }
  Area area;
  EXPECT_TRUE(area.out.Reserve(seamlib::kGeneratorLimitBytes));
  EXPECT_FALSE(area.out.Overflowed());
  EXPECT_FALSE(area.out.Reserve(seamlib::kGeneratorLimitBytes + 1));
  EXPECT_TRUE(area.out.Overflowed());
  EXPECT_EQ(area.out.Offset(), 0);
}

}  // namespace
