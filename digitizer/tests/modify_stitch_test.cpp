#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

#include "design/hoop.h"
#include "digitizer/make_stitch_transform.h"
#include "digitizer/stitch_design.h"
#include "testing/qnf_file_builder.h"
#include "testing/stitch_stream_builder.h"
#include "testing/stitch_walker.h"

namespace digitizer {
namespace {

using Bytes = std::vector<uint8_t>;

// A random design: leading jumps, stitches, jumps and colour changes whose move is not zero
// (a design read from a file may carry one).
Bytes RandomStream(std::mt19937& rng, int steps) {
  std::uniform_int_distribution<int> small(-60, 60);
  std::uniform_int_distribution<int> kind(0, 9);
  vtest::StitchStreamBuilder b;
  b.Jump(small(rng), small(rng));
  for (int i = 0; i < steps; ++i) {
    const int k = kind(rng);
    if (k == 0) {
      b.Jump(small(rng) * 2, small(rng) * 2);
    } else if (k == 1) {
      b.Control(0x01).Raw(static_cast<uint8_t>(small(rng)), static_cast<uint8_t>(small(rng)));
    } else {
      b.Stitch(small(rng), small(rng));
    }
  }
  return b.End().Bytes();
}

// The points the needle sews, each sewn segment's end, in order.
std::vector<std::pair<int, int>> SewnEnds(const Bytes& bytes) {
  std::vector<std::pair<int, int>> ends;
  for (const vtest::SewnSegment& s : vtest::WalkStitches(bytes).sewn) ends.emplace_back(s.x1, s.y1);
  return ends;
}

TEST(MakeStitchTransformer, TurningByNothingKeepsEveryPointAndColourChangeMove) {
  std::mt19937 rng(7);
  for (int round = 0; round < 200; ++round) {
    Bytes bytes = RandomStream(rng, 60);
    const auto before = vtest::WalkStitches(bytes);
    bytes.resize(bytes.size() * 4, 0);
    MakeStitchTransformer transformer(bytes.size());
    ASSERT_GT(transformer.Transform(bytes, 0, 360), 0);
    const auto after = vtest::WalkStitches(bytes);
    ASSERT_TRUE(after.ended);
    EXPECT_EQ(after.colourChanges, before.colourChanges);
    ASSERT_EQ(after.sewn.size(), before.sewn.size()) << "round " << round;
    for (std::size_t i = 0; i < before.sewn.size(); ++i) {
      EXPECT_EQ(after.sewn[i].x1, before.sewn[i].x1);
      EXPECT_EQ(after.sewn[i].y1, before.sewn[i].y1);
      EXPECT_EQ(after.sewn[i].colour, before.sewn[i].colour);
    }
  }
}

TEST(MakeStitchTransformer, SizingPutsEverySewnPointAtItsScaledPlace) {
  std::mt19937 rng(11);
  for (int round = 0; round < 200; ++round) {
    const int percent = 80 + round % 41;
    Bytes bytes = RandomStream(rng, 60);
    // The ends of the sewn stitches as they should be: whole 0.1 mm toward zero.
    std::vector<std::pair<int, int>> expected;
    for (const auto& [x, y] : SewnEnds(bytes)) expected.emplace_back(x * percent / 100, y * percent / 100);
    bytes.resize(bytes.size() * 4, 0);
    MakeStitchTransformer transformer(bytes.size());
    ASSERT_GT(transformer.Scale(bytes, percent), 0);
    const auto walk = vtest::WalkStitches(bytes);
    ASSERT_TRUE(walk.ended);
    // Long stitches may be split; every expected end is still reached by a sewn stitch, in order.
    const auto got = SewnEnds(bytes);
    std::size_t k = 0;
    for (const auto& p : got) {
      if (k < expected.size() && p == expected[k]) ++k;
    }
    EXPECT_EQ(k, expected.size()) << "percent " << percent;
  }
}

TEST(MakeStitchTransformer, SizingTooLongForTheOutputFailsAndLeavesTheStitches) {
  vtest::StitchStreamBuilder b;
  for (int i = 0; i < 100000; ++i) b.Stitch(i % 2 == 0 ? 127 : -127, 0);
  Bytes bytes = b.End().Bytes();
  const Bytes before = bytes;
  bytes.resize(750000, 0);
  MakeStitchTransformer transformer(bytes.size());
  EXPECT_EQ(transformer.Scale(bytes, 120), -1);
  EXPECT_TRUE(std::equal(before.begin(), before.end(), bytes.begin()));
}

// A design read from a plain QNF file: no parts, stitches only.
void ReadPlainDesign(CStitchDesign& design, const Bytes& stitches) {
  vtest::QnfFileSpec spec;
  spec.stitches = stitches;
  ASSERT_EQ(design.Read(vtest::BuildQnfFile(spec)), 1);
}

TEST(ApplyModify, EveryModifyStartsFromTheStitchesAsTheyWere) {
  CStitchDesign design;
  const Bytes stitches = vtest::StitchStreamBuilder().Jump(-50, 20).Stitch(100, 0).Stitch(0, 100).End().Bytes();
  ReadPlainDesign(design, stitches);
  ASSERT_GT(design.ApplyModify(1, 270, 120), 0);
  EXPECT_EQ(design.EditState(), kStitchesModified);
  ASSERT_GT(design.ApplyModify(0, 0, 100), 0);
  EXPECT_TRUE(std::equal(stitches.begin(), stitches.end(), design.Record()->Stitches()));
  EXPECT_EQ(design.Record()->PairCount(), static_cast<int32_t>(stitches.size() / 2));
}

TEST(ApplyModify, TheBaseCopyIsSizedFromTheStreamNotAStaleCount) {
  CStitchDesign design;
  // As a Make Stitch run leaves it: the stitches written into a fresh record.
  design.ResetStitches();
  const Bytes stitches = vtest::StitchStreamBuilder().Stitch(40, 0).Stitch(0, 40).End().Bytes();
  std::copy(stitches.begin(), stitches.end(), design.Record()->Stitches());
  design.Record()->SetColourCount(1);
  ASSERT_GT(design.ApplyModify(0, 0, 80), 0);
  ASSERT_GT(design.ApplyModify(0, 0, 100), 0);
  EXPECT_TRUE(std::equal(stitches.begin(), stitches.end(), design.Record()->Stitches()));
}

TEST(ApplyModify, AFailedModifyPutsTheBaseCopyBackAndSaysSo) {
  CStitchDesign design;
  vtest::StitchStreamBuilder b;
  for (int i = 0; i < 100000; ++i) b.Stitch(i % 2 == 0 ? 127 : -127, 0);
  const Bytes stitches = b.End().Bytes();
  ReadPlainDesign(design, stitches);
  EXPECT_EQ(design.ApplyModify(0, 0, 120), -1);
  EXPECT_TRUE(std::equal(stitches.begin(), stitches.end(), design.Record()->Stitches()));
  EXPECT_EQ(design.GetStitchCount(), static_cast<int32_t>(stitches.size() / 2));
  CStitchDesign none;
  EXPECT_EQ(none.ApplyModify(1, 90, 100), 0);
}

TEST(DesignExtents, TheHoopCheckMeasuresTheStitchesWithoutAnyDrawing) {
  CStitchDesign design;
  // 56 mm to the right of the standard hoop's centre: past its 55 mm half width.
  const Bytes wide = vtest::StitchStreamBuilder().Jump(127, 0).Jump(127, 0).Jump(127, 0).Jump(127, 0)
                         .Jump(52, 0).Stitch(0, 10).End().Bytes();
  ReadPlainDesign(design, wide);
  EXPECT_FALSE(design.IsInsideHoop());
  design.SetHoop(design::kLargeHoop);
  EXPECT_TRUE(design.IsInsideHoop());
  design.SetHoop(design::kStandardHoop);
  // Made smaller, the design fits again; cleared, nothing is outside.
  ASSERT_GT(design.ApplyModify(0, 0, 80), 0);
  EXPECT_TRUE(design.IsInsideHoop());
  ASSERT_GT(design.ApplyModify(0, 0, 100), 0);
  EXPECT_FALSE(design.IsInsideHoop());
  design.Clear();
  EXPECT_TRUE(design.IsInsideHoop());
}

}  // namespace
}  // namespace digitizer
