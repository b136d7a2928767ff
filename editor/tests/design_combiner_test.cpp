#include "editor/design_combiner.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "testing/stitch_stream_builder.h"
#include "testing/stitch_walker.h"

namespace {

using editor::CDesignCombiner;
using editor::DesignObject;
using editor::LayoutPoint;
using Bytes = std::vector<uint8_t>;

DesignObject Design(int32_t x, int32_t y, const Bytes& stitches, std::vector<int32_t> codes) {
  DesignObject d;
  d.centreX = x;
  d.centreY = y;
  d.source = editor::NewDesignRecord();
  d.source->SetColourCount(static_cast<int32_t>(codes.size()));
  for (std::size_t i = 0; i < codes.size(); ++i) {
    d.source->SetThreadCode(static_cast<int>(i), codes[i]);
    d.source->SetThreadType(static_cast<int>(i), 13);
  }
  d.source->SetPairCount(static_cast<int32_t>(stitches.size() / 2));
  std::memcpy(d.source->Stitches(), stitches.data(), stitches.size());
  return d;
}

Bytes Out(const design::StitchRecord& r) {
  return Bytes(r.Stitches(), r.Stitches() + 2 * r.PairCount());
}

Bytes Join(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY) {
  Bytes room(64, 0xEE);
  std::size_t at = 0;
  EXPECT_TRUE(CDesignCombiner::AppendMove(fromX, fromY, toX, toY, room, at));
  return Bytes(room.begin(), room.begin() + static_cast<long>(at));
}

TEST(DesignCombiner, JoinsAreJumpPairsWithDyUpward) {
  // 300 across and 50 down: two steps of (127, -21), then the rest (46, -8).
  EXPECT_EQ(Join(0, 0, 60, 10), (Bytes{0x80, 0x02, 127, 0xEB, 0x80, 0x02, 127, 0xEB, 0x80, 0x02, 46, 0xF8}));
  EXPECT_EQ(Join(500, 500, 100, 100), (Bytes{0x80, 0x02, 0x00, 0x00}));  // the needle stands
  EXPECT_EQ(Join(0, 0, 10, -4), (Bytes{0x80, 0x02, 50, 20}));
  EXPECT_EQ(Join(0, 0, -25, 25), (Bytes{0x80, 0x02, 0x83, 0x83}));  // (-125, -125)
  // A move of 119 would read as a sewn long stitch: 118, and the unit it lacks after it.
  EXPECT_EQ(Join(1, 0, 24, 0), (Bytes{0x80, 0x02, 118, 0, 0x80, 0x02, 1, 0}));
  const auto landing = vtest::WalkStitches(Join(1, 1, 24, 24));
  EXPECT_EQ(landing.x, 119);
  EXPECT_EQ(landing.y, -119);
  EXPECT_EQ(landing.longStitches, 0);
}

TEST(DesignCombiner, AJoinThatDoesNotFitWritesNothing) {
  Bytes room(10, 0xEE);
  std::size_t at = 0;
  EXPECT_FALSE(CDesignCombiner::AppendMove(0, 0, 60, 10, room, at));  // needs 12 bytes
  EXPECT_EQ(at, 0u);
  EXPECT_EQ(room, Bytes(10, 0xEE));
  at = 8;
  EXPECT_FALSE(CDesignCombiner::AppendMove(0, 0, 0, 0, room, at));
  EXPECT_EQ(at, 8u);
}

const Bytes kCorner = vtest::StitchStreamBuilder().Stitch(10, 0).Stitch(0, 10).End().Bytes();
const Bytes kBack = vtest::StitchStreamBuilder().Stitch(-10, 0).End().Bytes();

TEST(DesignCombiner, TwoDesignsInOneColourBecomeOneBlock) {
  CDesignCombiner combiner;
  design::StitchRecord out;
  LayoutPoint centre;
  ASSERT_EQ(combiner.Combine(Design(100, 100, kCorner, {5}), out, 1, centre, 2), editor::kCombined);
  EXPECT_EQ(Out(out), kCorner);
  EXPECT_EQ(centre, (LayoutPoint{101, 99}));  // (500 + 510) / 10, (490 + 500) / 10
  ASSERT_EQ(combiner.Combine(Design(120, 100, kBack, {5}), out, 2, centre, 2), editor::kCombined);
  // The needle stopped at (510, 490) downward; the second centre is (600, 500).
  EXPECT_EQ(Out(out), (Bytes{10, 0, 0, 10, 0x80, 0x02, 90, 0xF6, 0xF6, 0, 0x80, 0x10}));
  EXPECT_EQ(out.ColourCount(), 1);
  EXPECT_EQ(out.ThreadCode(0), 5);
  EXPECT_EQ(out.PairCount(), 6);
  EXPECT_EQ(out.StitchDataOffset(), 124);
  EXPECT_EQ(out.Flags(), 1);
  EXPECT_EQ(centre, (LayoutPoint{109, 99}));  // (500 + 590) / 10, (490 + 500) / 10
}

TEST(DesignCombiner, ANewColourStartsANewBlock) {
  CDesignCombiner combiner;
  design::StitchRecord out;
  LayoutPoint centre;
  combiner.Combine(Design(100, 100, kCorner, {5}), out, 1, centre, 2);
  ASSERT_EQ(combiner.Combine(Design(120, 100, kBack, {7}), out, 2, centre, 2), editor::kCombined);
  EXPECT_EQ(Out(out), (Bytes{10, 0, 0, 10, 0x80, 0x01, 0, 0, 0x80, 0x02, 90, 0xF6, 0xF6, 0, 0x80, 0x10}));
  EXPECT_EQ(out.ColourCount(), 2);
  EXPECT_EQ(out.ThreadCode(1), 7);
  EXPECT_EQ(out.ThreadType(1), 13);
  EXPECT_EQ(out.StitchDataOffset(), 132);
}

TEST(DesignCombiner, ColourChangesInsideADesignAreKeptOrMerged) {
  const Bytes twoBlocks = vtest::StitchStreamBuilder().Stitch(10, 0).ColourChange().Stitch(0, 10).End().Bytes();
  CDesignCombiner combiner;
  design::StitchRecord out;
  LayoutPoint centre;
  // Both blocks in the same thread: the change is dropped with its pair.
  combiner.Combine(Design(100, 100, twoBlocks, {5, 5}), out, 1, centre, 2);
  EXPECT_EQ(Out(out), kCorner);
  EXPECT_EQ(out.ColourCount(), 1);
  combiner.Combine(Design(100, 100, twoBlocks, {5, 6}), out, 1, centre, 2);
  EXPECT_EQ(Out(out), twoBlocks);
  EXPECT_EQ(out.ColourCount(), 2);
  EXPECT_EQ(out.ThreadCode(1), 6);
}

TEST(DesignCombiner, ATurnedDesignIsCombinedWithItsStitchesTurned) {
  DesignObject turned = Design(100, 100, vtest::StitchStreamBuilder().Stitch(10, 0).End().Bytes(), {5});
  turned.rotation = 90;  // clockwise on screen: the stitch to the right now points down
  CDesignCombiner combiner;
  design::StitchRecord out;
  LayoutPoint centre;
  ASSERT_EQ(combiner.Combine(turned, out, 1, centre, 2), editor::kCombined);
  const auto walk = vtest::WalkStitches(Out(out));
  EXPECT_EQ(walk.x, 0);
  EXPECT_EQ(walk.y, -10);
  EXPECT_EQ(centre, (LayoutPoint{100, 101}));
}

TEST(DesignCombiner, MoreThan78ColoursAreRefused) {
  vtest::StitchStreamBuilder many;
  std::vector<int32_t> codes;
  for (int i = 0; i < 78; ++i) {
    if (i > 0) many.ColourChange();
    many.Stitch(1, 0);
    codes.push_back(i + 1);
  }
  many.End();
  CDesignCombiner combiner;
  design::StitchRecord out;
  LayoutPoint centre;
  ASSERT_EQ(combiner.Combine(Design(100, 100, many.Bytes(), codes), out, 1, centre, 2), editor::kCombined);
  EXPECT_EQ(out.ColourCount(), 78);
  // Continuing the last colour needs no new block; a new thread does.
  EXPECT_EQ(combiner.Combine(Design(110, 100, kBack, {78}), out, 2, centre, 2), editor::kCombined);
  EXPECT_EQ(combiner.Combine(Design(120, 100, kBack, {79}), out, 3, centre, 2), editor::kCombineTooManyColours);
  const Bytes changeTo79 = vtest::StitchStreamBuilder().Stitch(1, 0).ColourChange().Stitch(1, 0).End().Bytes();
  combiner.Combine(Design(100, 100, many.Bytes(), codes), out, 1, centre, 2);
  EXPECT_EQ(combiner.Combine(Design(120, 100, changeTo79, {78, 79}), out, 2, centre, 2),
            editor::kCombineTooManyColours);
}

TEST(DesignCombiner, TheOutputIsNeverPassed) {
  vtest::StitchStreamBuilder big;
  for (int i = 0; i < 32500; ++i) big.Stitch(1, 0).Stitch(-1, 0);  // 130,000 bytes
  big.End();
  vtest::StitchStreamBuilder small;
  for (int i = 0; i < 300; ++i) small.Stitch(1, 1).Stitch(-1, -1);
  small.End();
  CDesignCombiner combiner;
  design::StitchRecord out;
  LayoutPoint centre;
  ASSERT_EQ(combiner.Combine(Design(100, 100, big.Bytes(), {5}), out, 1, centre, 2), editor::kCombined);
  EXPECT_EQ(combiner.Combine(Design(300, 100, small.Bytes(), {5}), out, 2, centre, 2), editor::kCombineNoRoom);
  EXPECT_LE(combiner.ByteIndex(), design::StitchRecord::kBroderaStitchRoom);
  // A design that just fits, end pair included, is combined.
  vtest::StitchStreamBuilder fits;
  for (int i = 0; i < 257; ++i) fits.Stitch(1, 1).Stitch(-1, -1);  // 1,028 bytes + the end
  fits.End();
  combiner.Combine(Design(100, 100, big.Bytes(), {5}), out, 1, centre, 2);
  ASSERT_EQ(combiner.Combine(Design(100, 100, fits.Bytes(), {5}), out, 2, centre, 2), editor::kCombined);
  EXPECT_EQ(combiner.ByteIndex(), 130000u + 4 + 1028 + 2);
}

TEST(DesignCombiner, AMarkerIsDroppedAloneAndHostileColourChangesStayInTheTable) {
  const Bytes marked = vtest::StitchStreamBuilder().Stitch(10, 0).Marker().Stitch(0, 10).End().Bytes();
  CDesignCombiner combiner;
  design::StitchRecord out;
  LayoutPoint centre;
  ASSERT_EQ(combiner.Combine(Design(100, 100, marked, {5}), out, 1, centre, 2), editor::kCombined);
  EXPECT_EQ(Out(out), kCorner);  // the stitch after the marker is kept
  // More colour changes than the design has colours: its last colour goes on.
  const Bytes extra = vtest::StitchStreamBuilder().Stitch(1, 0).ColourChange().Stitch(1, 0).ColourChange().End().Bytes();
  ASSERT_EQ(combiner.Combine(Design(100, 100, extra, {5}), out, 1, centre, 2), editor::kCombined);
  EXPECT_EQ(out.ColourCount(), 1);
}

TEST(DesignCombiner, ADesignThatCannotBeTransformedIsRefused) {
  vtest::StitchStreamBuilder wide;
  for (int i = 0; i < 8; ++i) wide.Stitch(100, 0);  // 80 mm right of its centre
  wide.End();
  CDesignCombiner combiner;
  design::StitchRecord out;
  LayoutPoint centre;
  EXPECT_EQ(combiner.Combine(Design(100, 100, wide.Bytes(), {5}), out, 1, centre, 0),
            editor::kCombineNotTransformed);
  DesignObject none;
  EXPECT_EQ(combiner.Combine(none, out, 1, centre, 2), editor::kCombineNotTransformed);
}

}  // namespace
