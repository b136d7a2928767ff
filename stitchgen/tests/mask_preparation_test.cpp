#include "stitchgen/mask_preparation.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "stitchgen/weave_fill.h"
#include "testing/mask_corpus.h"

namespace {

using seamlib::PixelPlane;
using vtest::MaskBuilder;

PixelPlane Plane(MaskBuilder& m) { return seamlib::MaskPlane(m.Bytes().data()); }

TEST(CloseMaskGaps, FillsSinglePixelHolesAndNotchesButNotWiderGaps) {
  MaskBuilder m;
  m.Rect(10, 10, 20, 20).Set(15, 15, 0);                 // a hole
  m.Set(29, 20, 0);                                      // a notch open to the right
  m.Clear(10, 25, 1, 2);                                 // a notch two pixels tall, open left
  m.Rect(40, 10, 5, 5).Rect(46, 10, 5, 5);               // blocks one pixel apart
  m.Rect(60, 10, 5, 5).Rect(67, 10, 5, 5);               // and two pixels apart
  seamlib::CloseMaskGaps(Plane(m));
  EXPECT_EQ(m.At(15, 15), 1);
  EXPECT_EQ(m.At(29, 20), 1);
  EXPECT_EQ(m.At(10, 25), 0);
  EXPECT_EQ(m.At(10, 26), 0);
  EXPECT_EQ(m.At(45, 12), 1);
  EXPECT_EQ(m.At(65, 12), 0);
  EXPECT_EQ(m.At(66, 12), 0);
}

TEST(CloseMaskGaps, KeepsTwoPixelsClearOfTheEdges) {
  // Work column 0 is mask column 1: outside the passes, so a hole there stays.
  MaskBuilder m;
  m.Rect(0, 100, 1, 3).Set(0, 101, 0);
  m.Rect(558, 100, 2, 1).Rect(556, 100, 1, 1);  // a gap at work column 557 (mask 558) fills
  m.Set(559, 200).Set(559, 202);                // the last work column is never filled
  seamlib::CloseMaskGaps(Plane(m));
  EXPECT_EQ(m.At(0, 101), 0);
  EXPECT_EQ(m.At(557, 100), 1);
  EXPECT_EQ(m.At(559, 201), 0);
}

TEST(MarkRegionBorders, GrowsEachRunByOnePixelAtEachEnd) {
  MaskBuilder m;
  m.Rect(10, 5, 10, 1);                     // work 10..19
  m.Rect(30, 6, 5, 1).Rect(37, 6, 5, 1);    // two runs two pixels apart: they meet
  seamlib::MarkRegionBorders(Plane(m));
  for (int x = 0; x < 40; ++x) EXPECT_EQ(m.At(x, 5), (x >= 9 && x <= 20) ? 1 : 0) << x;
  for (int x = 28; x < 45; ++x) EXPECT_EQ(m.At(x, 6), (x >= 29 && x <= 42) ? 1 : 0) << x;
  EXPECT_EQ(m.CountSet(), 12u + 14u);
}

TEST(LabelRegions, GivesEach8ConnectedRegionItsOwnLabel) {
  MaskBuilder m;
  m.Ring(60, 60, 30, 15);                     // one region with a hole
  m.Rect(120, 20, 10, 10);
  m.Rect(130, 30, 10, 10);                    // touches the first square at a corner only
  m.Set(200, 200);                            // an isolated pixel
  m.Rect(300, 300, 40, 3).Rect(300, 310, 40, 3);
  ASSERT_EQ(seamlib::LabelRegions(Plane(m)), 1);
  const uint8_t ring = m.At(60, 30);
  const uint8_t squares = m.At(120, 20);
  EXPECT_GE(ring, seamlib::kFirstRegionLabel);
  EXPECT_NE(ring, squares);
  EXPECT_EQ(m.At(139, 39), squares);
  EXPECT_EQ(m.At(200, 200), 0);  // vanished
  EXPECT_NE(m.At(300, 300), m.At(300, 310));
  // Every pixel of the ring carries the ring's label, inside rows included.
  for (int y = 30; y <= 90; ++y) {
    for (int x = 30; x <= 90; ++x) {
      const int dx = x - 60, dy = y - 60;
      const int r2 = dx * dx + dy * dy;
      if (r2 <= 900 && r2 > 225) {
        EXPECT_EQ(m.At(x, y), ring) << x << "," << y;
      } else if (r2 <= 225) {
        EXPECT_EQ(m.At(x, y), 0) << x << "," << y;
      }
    }
  }
}

// n separate 3 x 3 squares.
MaskBuilder Squares(int n) {
  MaskBuilder m;
  for (int i = 0; i < n; ++i) m.Rect(5 + (i % 50) * 10, 5 + (i / 50) * 10, 3, 3);
  return m;
}

TEST(LabelRegions, RefusesAPartOfMoreThan126Regions) {
  MaskBuilder fits = Squares(126);
  EXPECT_EQ(seamlib::LabelRegions(Plane(fits)), 1);
  std::set<int> labels;
  for (int y = 0; y < 800; ++y) {
    for (int x = 0; x < 560; ++x) {
      if (fits.At(x, y) != 0) labels.insert(fits.At(x, y));
    }
  }
  EXPECT_EQ(labels.size(), 126u);
  EXPECT_EQ(*labels.begin(), 2);
  EXPECT_EQ(*labels.rbegin(), 127);
  MaskBuilder tooMany = Squares(127);
  EXPECT_EQ(seamlib::LabelRegions(Plane(tooMany)), -1);
}

TEST(ThinMask, MarksJunctionsOfOnePixelLines) {
  MaskBuilder m;
  m.Rect(10, 20, 21, 1).Rect(20, 10, 1, 21);  // a plus: centre code 170
  m.Rect(50, 20, 21, 1).Rect(60, 21, 1, 10);  // a T: centre code 138
  m.Rect(100, 50, 30, 1);                     // a plain line
  seamlib::ThinMask(Plane(m));
  EXPECT_EQ(m.At(20, 20), seamlib::kJunction);
  EXPECT_EQ(m.At(60, 20), seamlib::kJunction);
  for (int x = 100; x < 130; ++x) EXPECT_EQ(m.At(x, 50), 1);
  EXPECT_TRUE(seamlib::IsJunctionCode(170));
  EXPECT_TRUE(seamlib::IsJunctionCode(224));
  EXPECT_FALSE(seamlib::IsJunctionCode(136));  // left and right only: a line
  EXPECT_FALSE(seamlib::IsJunctionCode(223));
}

TEST(RotateMask, TurnsAboutTheMiddleOfTheWorkArea) {
  MaskBuilder m;
  m.Set(280, 400).Set(290, 400);  // mask pixels (281, 401) and (291, 401)
  std::vector<uint8_t> grid(seamlib::kGridBytes, 0);
  const PixelPlane plane = seamlib::GridPlane(grid.data());
  seamlib::RotateMask(Plane(m), plane, 0);
  EXPECT_EQ(plane.At(490, 490), 1);
  EXPECT_EQ(plane.At(500, 490), 1);
  std::fill(grid.begin(), grid.end(), 0);
  seamlib::RotateMask(Plane(m), plane, 180);
  EXPECT_EQ(plane.At(490, 490), 1);
  int turned = 0;
  for (int x = 478; x < 490; ++x) turned += plane.At(x, 490);
  EXPECT_EQ(turned, 1);  // the other pixel now lies to the left of the centre
}

}  // namespace
