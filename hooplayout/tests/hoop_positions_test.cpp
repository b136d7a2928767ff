#include "hooplayout/hoop_positions.h"

#include <gtest/gtest.h>

#include "hooplayout/tests/design_builder.h"
#include "testing/stitch_stream_builder.h"

namespace {

using hooplayout::LayoutPoint;
using hooplayout::RotateOffset;
using hooplayout::StitchExtents;

TEST(HoopPositions, TurningIsClockwiseOnScreenAndRoundsHalfAwayFromZero) {
  EXPECT_EQ(RotateOffset(10, 0, 90), (LayoutPoint{0, 10}));   // right turns to down
  EXPECT_EQ(RotateOffset(10, 0, -90), (LayoutPoint{0, -10}));
  EXPECT_EQ(RotateOffset(3, -5, 180), (LayoutPoint{-3, 5}));
  EXPECT_EQ(RotateOffset(1, 0, 45), (LayoutPoint{1, 1}));     // 0.707 both ways
  EXPECT_EQ(RotateOffset(-1, 0, 45), (LayoutPoint{-1, -1}));
  EXPECT_EQ(RotateOffset(1, 0, 60), (LayoutPoint{1, 1}));     // 0.49999.. would be 0; 0.866 is 1
  EXPECT_EQ(RotateOffset(7, 0, 0), (LayoutPoint{7, 0}));
}

TEST(HoopPositions, StartAndCentreAreTiedByTheTurnedOffset) {
  hooplayout::LayoutDesign d;
  d.centreX = 100;
  d.centreY = 50;
  d.startOffsetX = 20;
  d.startOffsetY = -10;
  d.angle = 90;
  EXPECT_EQ(hooplayout::StartFromCentre(d), (LayoutPoint{110, 70}));
  d.startX = 110;
  d.startY = 70;
  EXPECT_EQ(hooplayout::CentreFromStart(d), (LayoutPoint{100, 50}));
}

TEST(HoopPositions, RotatedExtentsCountStitchesAndLaterJumpsButNotTheLeadIn) {
  const auto s = vtest::StitchStreamBuilder()
                     .Jump(-100, 0)      // lead-in: moves, does not count
                     .Stitch(10, 0)      // (-90, 0)
                     .ColourChange()
                     .Marker()
                     .Stitch(0, 30)      // (-90, -30): dy grows upward
                     .Jump(50, 0)        // (-40, -30) counts
                     .Stitch(0, -5)      // (-40, -25)
                     .End()
                     .Bytes();
  auto d = hltest::Design("d", 200, 100, s);  // start at stitch (1000, 500)
  EXPECT_EQ(hooplayout::GetRotatedDesignExtents(d), (StitchExtents{910, 470, 960, 500}));
  d.angle = 90;  // (x, y) down -> (-y, x)
  EXPECT_EQ(hooplayout::GetRotatedDesignExtents(d), (StitchExtents{1000, 410, 1030, 460}));
  hltest::FillRecord(*d.working, vtest::StitchStreamBuilder().Jump(5, 5).End().Bytes());
  EXPECT_EQ(hooplayout::GetRotatedDesignExtents(d), (StitchExtents{1000, 500, 1000, 500}));
}

TEST(HoopPositions, ADesignFitsWhenItStaysInOnePositionAndInsideTheLayout) {
  using hooplayout::IsValidPlacement;
  using hooplayout::SewingSpace;
  using hooplayout::SpaceOf;
  EXPECT_TRUE(IsValidPlacement({900, 0, 1400, 2000}));
  EXPECT_EQ(SpaceOf({900, 0, 1400, 2000}), SewingSpace::kA);
  EXPECT_FALSE(IsValidPlacement({899, 10, 1401, 20}));
  EXPECT_TRUE(IsValidPlacement({899, 10, 1400, 20}));
  EXPECT_EQ(SpaceOf({899, 10, 1400, 20}), SewingSpace::kB);
  EXPECT_TRUE(IsValidPlacement({0, 0, 100, 100}));
  EXPECT_TRUE(IsValidPlacement({2200, 1900, 2300, 2000}));
  EXPECT_FALSE(IsValidPlacement({-1, 0, 100, 100}));
  EXPECT_FALSE(IsValidPlacement({2200, 0, 2301, 100}));
  EXPECT_FALSE(IsValidPlacement({100, -1, 200, 100}));
  EXPECT_FALSE(IsValidPlacement({100, 100, 200, 2001}));
}

}  // namespace
