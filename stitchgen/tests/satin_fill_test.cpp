// Satin columns: two sides of an outline sewn in turn from the start point to the end point,
// the spacing rule, the records that are skipped or counted as failures, and the work area's
// border.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "stitchgen/tests/fill_test_support.h"
#include "testing/mask_corpus.h"

namespace {

using filltest::Bytes;
using filltest::MakePart;
using filltest::StitchX;
using filltest::StitchY;
using vtest::MaskBuilder;

constexpr int kSatin = 4;
const Bytes kZeroJump = {0x80, 0x02, 0x00, 0x00};

std::vector<SatinColumnRecord> Records(SatinColumnRecord first = {0, 0, 0, 0, 0.6}) {
  std::vector<SatinColumnRecord> records(10, SatinColumnRecord{0, 0, 0, 0, 0.6});
  records[0] = first;
  return records;
}

// A 40 x 9 bar at work pixels (100..139, 200..208): its outline runs one pixel around it, and
// the middles of its short ends are (99, 204) and (140, 204), so both sides measure the same.
MaskBuilder Bar() {
  MaskBuilder m;
  m.Rect(100, 200, 40, 9);
  return m;
}
constexpr SatinColumnRecord kBarColumn{99, 204, 140, 204, 0.6};

std::vector<filltest::Needle> Stitches(const filltest::MadePart& made) {
  std::vector<filltest::Needle> stitches;
  for (const auto& p : made.points) {
    if (p.kind == vtest::NeedleKind::kStitch) stitches.push_back(p);
  }
  return stitches;
}

TEST(SatinColumns, ABarIsSewnFromSideToSideAlongItsLongEdges) {
  StSatinFailure();
  const auto records = Records(kBarColumn);
  const auto made = MakePart(Bar().Bytes(), kSatin, records.data());
  EXPECT_EQ(StSatinFailure(), 0);
  ASSERT_TRUE(made.walk.error.empty());
  EXPECT_EQ(Bytes(made.bytes.begin(), made.bytes.begin() + 4), kZeroJump);
  EXPECT_EQ(made.result, static_cast<int>(made.bytes.size() / 2) + 4);

  // From the landing on the start point the needle alternates between the bottom edge (side
  // A, mask row 210, 52.5 mm) and the top edge (mask row 200, 50 mm); the last side to finish
  // stops on the end point, and the column ends with the move to the end pixel.
  std::vector<filltest::Needle> column;
  for (const auto& p : made.points) {
    if (p.kind == vtest::NeedleKind::kLanding || !column.empty()) column.push_back(p);
  }
  ASSERT_GT(column.size(), 30u);
  const int middleY = StitchY(205);
  EXPECT_EQ(column[0].x, StitchX(100));
  EXPECT_EQ(column[0].y, middleY);
  EXPECT_EQ(column.back().x, StitchX(141));
  EXPECT_EQ(column.back().y, middleY);
  int previousAx = 0;
  int previousBx = 0;
  int alongEdge = 0;
  for (std::size_t i = 1; i + 2 < column.size(); ++i) {
    SCOPED_TRACE(i);
    if (i % 2 == 1) {
      EXPECT_GT(column[i].y, middleY);
      EXPECT_GE(column[i].x, previousAx);
      if (column[i].y == 525 && previousAx > StitchX(102) && column[i].x < StitchX(139)) {
        EXPECT_NEAR(column[i].x - previousAx, 6, 1);  // 0.6 mm apart
        ++alongEdge;
      }
      previousAx = column[i].x;
    } else {
      EXPECT_LT(column[i].y, middleY);
      EXPECT_GE(column[i].x, previousBx);
      previousBx = column[i].x;
    }
  }
  EXPECT_GT(alongEdge, 10);
}

TEST(SatinColumns, SpacingOutsideItsRangeIsSewnAtSixTenths) {
  auto make = [](double spacing) {
    const auto records = Records({99, 204, 140, 204, spacing});
    return MakePart(Bar().Bytes(), kSatin, records.data()).bytes;
  };
  const Bytes standard = make(0.6);
  EXPECT_EQ(make(0.3), standard);
  EXPECT_EQ(make(1.5), standard);
  EXPECT_EQ(make(std::nan("")), standard);
  const Bytes fine = make(0.4);
  const Bytes coarse = make(1.0);
  EXPECT_NE(fine, standard);
  EXPECT_NE(coarse, standard);
  EXPECT_GT(fine.size(), standard.size());
  EXPECT_LT(coarse.size(), standard.size());
  // Only record 0's spacing counts.
  auto records = Records(kBarColumn);
  records[1].spacing = 1.0;
  EXPECT_EQ(MakePart(Bar().Bytes(), kSatin, records.data()).bytes, standard);
}

TEST(SatinColumns, TheShorterSideGetsTheNarrowerSpacing) {
  // End points two rows above the middle: side A (below) is longer than side B, so B's points
  // lie closer together and both sides reach the end together: the needle keeps alternating
  // between them up to the end point.
  auto alternates = [](double spacing, int row) {
    const auto records = Records({99, row, 140, row, spacing});
    const auto made = MakePart(Bar().Bytes(), kSatin, records.data());
    std::vector<filltest::Needle> column;
    for (const auto& p : made.points) {
      if (p.kind == vtest::NeedleKind::kLanding || !column.empty()) column.push_back(p);
    }
    const int middleY = StitchY(row + 1);
    int breaks = 0;
    for (std::size_t i = 1; i + 4 < column.size(); ++i) {  // the ends meet at the end point
      const bool below = column[i].y > middleY;
      if (below != (i % 2 == 1)) ++breaks;
    }
    return column.size() > 30 ? breaks : -1;
  };
  EXPECT_EQ(alternates(0.6, 202), 0);
  EXPECT_EQ(alternates(0.5, 206), 0);
}

TEST(SatinColumns, ARecordWithoutPointsIsSkippedWithoutAFailure) {
  StSatinFailure();
  const auto records = Records({0, 204, 140, 204, 0.6});
  const auto made = MakePart(Bar().Bytes(), kSatin, records.data());
  EXPECT_EQ(StSatinFailure(), 0);
  // No column: the zero jump and one stitch a pixel row up from the needle.
  Bytes expected = kZeroJump;
  expected.insert(expected.end(), {0x00, 0x02});
  EXPECT_EQ(made.bytes, expected);
  EXPECT_EQ(made.result, 7);
}

TEST(SatinColumns, ColumnsThatCannotBeBuiltAreCountedAndSkipped) {
  StSatinFailure();
  MaskBuilder m = Bar();
  m.Rect(100, 300, 40, 9);
  m.Rect(100, 400, 40, 9);
  auto records = Records({99, 204, 100, 204, 0.6});        // ends too close: sides of no length
  records[1] = SatinColumnRecord{99, 304, 600, 304, 0.6};  // end beyond the work area
  records[2] = SatinColumnRecord{99, 404, 140, 404, 0.6};  // a sound column
  const auto made = MakePart(m.Bytes(), kSatin, records.data());
  EXPECT_EQ(StSatinFailure(), 2);
  EXPECT_GT(made.result, 20);
  for (const auto& p : made.points) {
    if (p.kind == vtest::NeedleKind::kStitch) EXPECT_GE(p.y, StitchY(400)) << p.x << "," << p.y;
  }
}

TEST(SatinColumns, ANullRecordArrayIsRefused) {
  MaskBuilder m = Bar();
  EXPECT_EQ(MakePart(m.Bytes(), kSatin, nullptr).result, -1);
}

TEST(SatinColumns, AColumnOnTheWorkAreaBorderStaysInsideTheMap) {
  // A bar in the top-left corner: its outline runs along the mask's own border, and the end
  // points lie on column -1 and row -1 of the work area.
  StSatinFailure();
  MaskBuilder m;
  m.Rect(0, 0, 40, 9);
  const auto records = Records({-1, 4, 40, 4, 0.6});
  const auto made = MakePart(m.Bytes(), kSatin, records.data());
  EXPECT_EQ(StSatinFailure(), 0);
  ASSERT_TRUE(made.walk.error.empty());
  EXPECT_GT(made.points.size(), 30u);
  for (const auto& p : made.points) {
    EXPECT_GE(p.x, 0);
    EXPECT_GE(p.y, 0);
  }
  // The same bar against the bottom-right corner.
  MaskBuilder far;
  far.Rect(520, 791, 40, 9);
  const auto farRecords = Records({519, 795, 560, 795, 0.6});
  const auto farMade = MakePart(far.Bytes(), kSatin, farRecords.data());
  EXPECT_EQ(StSatinFailure(), 0);
  EXPECT_GT(farMade.points.size(), 30u);
}

TEST(SatinColumns, ADiscIsSewnWithinItsOutline) {
  MaskBuilder m;
  m.Disc(280, 400, 40);
  const auto records = Records({239, 400, 321, 400, 0.8});
  StSatinFailure();
  const auto made = MakePart(m.Bytes(), kSatin, records.data());
  EXPECT_EQ(StSatinFailure(), 0);
  ASSERT_GT(made.points.size(), 40u);
  const double centreX = StitchX(281);
  const double centreY = StitchY(401);
  for (const auto& p : made.points) {
    if (p.kind != vtest::NeedleKind::kStitch) continue;
    EXPECT_LE(std::hypot(p.x - centreX, p.y - centreY), (40 + 2) * 2.5) << p.x << "," << p.y;
  }
}

TEST(SatinColumns, TwelveRegionsSewAtMostTheFirstTen) {
  MaskBuilder m;
  std::vector<SatinColumnRecord> records(10);
  for (int region = 0; region < 12; ++region) {
    const int top = 20 + 60 * region;
    m.Rect(100, top, 40, 9);
    if (region < 10) records[region] = SatinColumnRecord{99, top + 4, 140, top + 4, 0.6};
  }
  StSatinFailure();
  const auto made = MakePart(m.Bytes(), kSatin, records.data());
  EXPECT_EQ(StSatinFailure(), 0);
  bool inRegion[12] = {};
  for (const auto& p : made.points) {
    if (p.kind != vtest::NeedleKind::kStitch) continue;
    for (int region = 0; region < 12; ++region) {
      const int top = 20 + 60 * region;
      if (p.y >= StitchY(top) && p.y <= StitchY(top + 10)) inRegion[region] = true;
    }
  }
  for (int region = 0; region < 10; ++region) EXPECT_TRUE(inRegion[region]) << region;
  EXPECT_FALSE(inRegion[10]);
  EXPECT_FALSE(inRegion[11]);
}

}  // namespace
