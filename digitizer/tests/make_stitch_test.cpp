#include "digitizer/make_stitch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <vector>

#include "design/hoop.h"
#include "digitizer/bit_mask.h"
#include "digitizer/part_names.h"
#include "stitchgen/seamlib.h"
#include "testing/stitch_walker.h"

namespace digitizer {
namespace {

using Mask = std::vector<uint8_t>;

// Sets the packed bits of a filled rectangle of work pixels in a part's mask.
void FillRect(CStitchDesign& design, uint8_t* packed, int left, int top, int right, int bottom) {
  const int rowBytes = CBitMask::PackedRowBytes(design.WorkWidth());
  for (int row = top; row <= bottom; ++row) {
    for (int column = left; column <= right; ++column) {
      packed[row * rowBytes + column / 8] |= static_cast<uint8_t>(0x80 >> (column % 8));
    }
  }
}

// Three weave parts side by side, colours 11, 12, 13.
void MakeThreeParts(CStitchDesign& design) {
  design.SetHoop(design::kStandardHoop);
  for (int k = 0; k < 3; ++k) {
    uint8_t* packed = design.AddPart(static_cast<int16_t>(11 + k), MakeStitchCode(kHorizontalWeave, 0));
    FillRect(design, packed, 40 + 100 * k, 100, 110 + 100 * k, 180);
  }
}

vtest::WalkResult Walk(const CStitchDesign& design) {
  return vtest::WalkStitches(design.Record()->StitchArea());
}

int SewnInBlock(const vtest::WalkResult& walk, int block) {
  int sewn = 0;
  for (const vtest::SewnSegment& s : walk.sewn) sewn += s.colour == block ? 1 : 0;
  return sewn;
}

TEST(MakeStitchRun, PlainRunGivesOneColourBlockPerPartAndAnHonestHead) {
  CStitchDesign design;
  MakeThreeParts(design);
  MakeStitchRun run;
  std::atomic<bool> cancel{false};
  std::vector<std::pair<int, int>> steps;
  const MakeStitchEnd end = run.Run(design, MakeStitchOptions{}, cancel,
                                    [&](int counter, int count) { steps.emplace_back(counter, count); });

  ASSERT_EQ(end, MakeStitchEnd::kRan);
  const std::vector<std::pair<int, int>> expectedSteps{{1, 3}, {2, 3}, {3, 3}};
  EXPECT_EQ(steps, expectedSteps);
  const design::StitchRecord& record = *design.Record();
  const vtest::WalkResult walk = Walk(design);
  ASSERT_TRUE(walk.ended) << walk.error;
  // Each later part replaced the end pair before it with a stop record: one end pair, two
  // colour changes, and stitches in every block.
  EXPECT_EQ(walk.colourChanges, 2);
  EXPECT_EQ(walk.nonZeroColourPairs, 0);
  for (int block = 0; block < 3; ++block) EXPECT_GT(SewnInBlock(walk, block), 10) << block;
  EXPECT_EQ(static_cast<std::size_t>(run.PairCount()), walk.Pairs());
  EXPECT_EQ(static_cast<std::size_t>(record.PairCount()), walk.Pairs());
  EXPECT_EQ(record.ColourCount(), 3);
  EXPECT_EQ(record.StitchDataOffset(), 740);
  for (int block = 0; block < 3; ++block) {
    EXPECT_EQ(record.ThreadCode(block), 11 + block);
    EXPECT_EQ(record.ThreadType(block), MakeStitchCode(kHorizontalWeave, 0));
  }
  EXPECT_EQ(run.TakeError(), kNoStitchError);
}

TEST(MakeStitchRun, ARunAgainStartsANewSequence) {
  CStitchDesign design;
  MakeThreeParts(design);
  MakeStitchRun run;
  std::atomic<bool> cancel{false};
  run.Run(design, MakeStitchOptions{}, cancel, nullptr);
  const std::size_t firstPairs = Walk(design).Pairs();
  run.Run(design, MakeStitchOptions{}, cancel, nullptr);
  const vtest::WalkResult again = Walk(design);
  EXPECT_EQ(again.Pairs(), firstPairs);
  EXPECT_EQ(again.colourChanges, 2);
}

TEST(MakeStitchRun, CancelStopsAfterThePartInProgressWithTheHeadCountZero) {
  CStitchDesign design;
  MakeThreeParts(design);
  MakeStitchRun run;
  std::atomic<bool> cancel{false};
  int parts = 0;
  const MakeStitchEnd end = run.Run(design, MakeStitchOptions{}, cancel, [&](int counter, int) {
    parts = counter;
    if (counter == 2) cancel = true;  // the dialog's Cancel while part 1 was being made
  });

  EXPECT_EQ(end, MakeStitchEnd::kCancelled);
  EXPECT_EQ(parts, 2);
  const vtest::WalkResult walk = Walk(design);
  ASSERT_TRUE(walk.ended);
  EXPECT_EQ(walk.colourChanges, 1);  // parts 0 and 1 made, part 2 not
  EXPECT_GT(SewnInBlock(walk, 1), 10);
  EXPECT_EQ(design.Record()->PairCount(), 0);
}

TEST(MakeStitchRun, APartSeamlibCannotStitchEndsTheRunWithAClosedStream) {
  CStitchDesign design;
  MakeThreeParts(design);
  // The middle part's mask is cut short (a file may hold anything).
  design.GetPartList().GetPart(1)->mask.resize(10);
  MakeStitchRun run;
  std::atomic<bool> cancel{false};
  int steps = 0;
  const MakeStitchEnd end = run.Run(design, MakeStitchOptions{}, cancel, [&](int, int) { ++steps; });

  EXPECT_EQ(end, MakeStitchEnd::kRan);
  EXPECT_EQ(steps, 1);
  EXPECT_EQ(run.PairCount(), -1);
  const design::StitchRecord& record = *design.Record();
  EXPECT_EQ(record.ThreadCode(0), 11);
  EXPECT_EQ(record.ThreadCode(1), 0);
  EXPECT_EQ(record.ThreadType(1), 0);
  const vtest::WalkResult walk = Walk(design);
  ASSERT_TRUE(walk.ended) << "the failed part's stream is closed by an end pair";
  EXPECT_EQ(static_cast<std::size_t>(record.PairCount()), walk.Pairs());
  EXPECT_EQ(record.ColourCount(), 3);
  EXPECT_EQ(run.TakeError(), kPartNotStitched);
}

// Seamlib's sequence is another design's when a later part of this one is made: its cursor, and
// the end pair it writes, lie outside this record. The part's stream counts as not closed, so
// the record is closed at its start instead of being counted through bytes no end pair ends.
TEST(MakeStitchRun, APartWhoseStreamSeamlibClosedElsewhereLeavesThisRecordClosedAndEmpty) {
  for (const MakeStitchOptions& options : {MakeStitchOptions{}, MakeStitchOptions{MakeStitchOptions::kFlipNone, 0, 90}}) {
    SCOPED_TRACE(options.IsPlain() ? "plain" : "sized");
    CStitchDesign other;
    MakeThreeParts(other);
    CStitchDesign design;
    MakeThreeParts(design);
    design.ResetStitches();
    MakeStitchRun run;
    auto make = [&](CStitchDesign& d, int i) {
      return options.IsPlain() ? run.GenerateStitches(d, i) : run.GenerateStitchesTransformed(d, i, options);
    };
    ASSERT_GT(make(other, 0), 0);
    EXPECT_EQ(make(design, 1), -1);
    const vtest::WalkResult walk = Walk(design);
    ASSERT_TRUE(walk.ended) << walk.error;
    EXPECT_EQ(walk.Pairs(), 1u);
    EXPECT_EQ(design.Record()->PairCount(), 1);
    EXPECT_EQ(design.GetStitchCount(), 1);
  }
}

TEST(MakeStitchRun, APartThatMakesNoStitchesIsSkippedWithoutAnEmptyBlock) {
  const std::vector<std::vector<int>> emptySets{{0}, {1}, {2}, {0, 1}};
  for (const bool sized : {false, true}) {
    for (const std::vector<int>& empties : emptySets) {
      CStitchDesign design;
      MakeThreeParts(design);
      std::vector<int32_t> codes;
      for (int k = 0; k < 3; ++k) {
        if (std::find(empties.begin(), empties.end(), k) == empties.end()) {
          codes.push_back(11 + k);
          continue;
        }
        PartRecord& part = *design.GetPartList().GetPart(k);
        std::fill(part.mask.begin(), part.mask.end(), uint8_t{0});
        if (k == 1) part.stitch = 12;  // and a fill type Seamlib does not know
      }
      MakeStitchRun run;
      std::atomic<bool> cancel{false};
      MakeStitchOptions options;
      if (sized) options.sizePercent = 90;
      EXPECT_EQ(run.Run(design, options, cancel, nullptr), MakeStitchEnd::kRan);
      ASSERT_GT(run.PairCount(), 0);
      EXPECT_EQ(run.TakeError(), kNoStitchError);
      const design::StitchRecord& record = *design.Record();
      const vtest::WalkResult walk = Walk(design);
      ASSERT_TRUE(walk.ended);
      const int blocks = static_cast<int>(codes.size());
      EXPECT_EQ(walk.colourChanges, blocks - 1) << sized << empties.size();
      EXPECT_EQ(record.ColourCount(), blocks);
      for (int block = 0; block < blocks; ++block) {
        EXPECT_GT(SewnInBlock(walk, block), 10);
        EXPECT_EQ(record.ThreadCode(block), codes[static_cast<std::size_t>(block)]);
      }
      EXPECT_EQ(static_cast<std::size_t>(record.PairCount()), walk.Pairs());
    }
  }
}

TEST(MakeStitchRun, AShortMaskFromAFileIsRefusedNotReadPast) {
  CStitchDesign design;
  MakeThreeParts(design);
  design.GetPartList().GetPart(0)->mask.resize(10);
  MakeStitchRun run;
  std::atomic<bool> cancel{false};
  EXPECT_EQ(run.Run(design, MakeStitchOptions{}, cancel, nullptr), MakeStitchEnd::kRan);
  EXPECT_EQ(run.PairCount(), -1);
  EXPECT_TRUE(Walk(design).ended);
  EXPECT_EQ(run.TakeError(), kPartNotStitched);
}

TEST(MakeStitchRun, LargeHoopPartsAreStitchedInsideTheShrunkArea) {
  CStitchDesign design;
  design.SetHoop(design::kLargeHoop);
  uint8_t* packed = design.AddPart(7, MakeStitchCode(kHorizontalWeave, 0));
  FillRect(design, packed, 0, 0, design.WorkWidth() - 1, 60);
  uint8_t* line = design.AddPart(8, MakeStitchCode(kStraightStitch, 20));
  FillRect(design, line, 100, 300, 400, 330);
  MakeStitchRun run;
  std::atomic<bool> cancel{false};
  ASSERT_EQ(run.Run(design, MakeStitchOptions{}, cancel, nullptr), MakeStitchEnd::kRan);
  ASSERT_GT(run.PairCount(), 0);
  const vtest::WalkResult walk = Walk(design);
  EXPECT_EQ(walk.colourChanges, 1);
  EXPECT_GT(SewnInBlock(walk, 1), 0);
}

// A design whose fourth part ends exactly where a stop record would take the last four bytes
// of Seamlib's area, and a fifth part after it. Two parts of cross stitch over the whole
// standard hoop and a third over its top rows plus `cells` pixels of the next row come close;
// a straight line of `line` pixels (a stitch there and back every 2 mm, 4 bytes) closes in,
// and a second short line (a move of its own, 2 bytes more) sets the last pair.
struct EdgeDesign {
  int cells = 0;
  int line = 1;
  bool secondLine = false;
};

void MakeEdgeDesign(CStitchDesign& design, const EdgeDesign& edge) {
  design.ClearParts();
  design.SetHoop(design::kStandardHoop);
  const int last = design.WorkWidth() - 1;
  FillRect(design, design.AddPart(11, MakeStitchCode(kCrossStitch, 0)), 0, 0, last, last);
  FillRect(design, design.AddPart(12, MakeStitchCode(kCrossStitch, 0)), 0, 0, last, last);
  uint8_t* third = design.AddPart(13, MakeStitchCode(kCrossStitch, 0));
  FillRect(design, third, 0, 0, last, 63);
  FillRect(design, third, 0, 64, edge.cells, 71);
  uint8_t* fourth = design.AddPart(14, MakeStitchCode(kStraightStitch, 20));
  FillRect(design, fourth, 5, 430, 5 + edge.line, 430);
  if (edge.secondLine) FillRect(design, fourth, 5, 436, 15, 436);
  FillRect(design, design.AddPart(15, MakeStitchCode(kHorizontalWeave, 0)), 5, 400, 50, 420);
}

// Where the fourth part's stitches end, made the way the options make them; a part that
// overflows counts as past the area's end.
int FourthPartEnd(CStitchDesign& design, const MakeStitchOptions& options) {
  MakeStitchRun run;
  int32_t pairs = 0;
  for (int i = 0; i < 4; ++i) {
    // The plain path closes every part with an end pair; the sized one counts without it.
    pairs = options.IsPlain() ? run.GenerateStitches(design, i) - 1 : run.GenerateStitchesTransformed(design, i, options);
  }
  return pairs < 0 ? kSeamlibStitchAreaBytes : 2 * pairs;
}

// Makes the edge design, trying the guess first (found with this very search). The end grows
// with both widths, so for each second line the cells are searched for the widest third part
// that leaves room for the shortest line, and then the line, a cell back at a time while the
// longest line still gets there.
bool FindEdgeDesign(CStitchDesign& design, const MakeStitchOptions& options, const EdgeDesign& guess) {
  constexpr int kEdge = kSeamlibStitchAreaBytes - 4;
  constexpr int kLongestLine = 420;
  auto reach = [&](const EdgeDesign& edge) {
    MakeEdgeDesign(design, edge);
    return FourthPartEnd(design, options);
  };
  if (reach(guess) == kEdge) return true;
  for (const bool second : {guess.secondLine, !guess.secondLine}) {
    int low = 0, high = design.WorkWidth() - 1;
    while (low < high) {
      const int mid = (low + high + 1) / 2;
      if (reach({mid, 1, second}) <= kEdge) low = mid; else high = mid - 1;
    }
    for (int cells = low; cells >= 0 && reach({cells, kLongestLine, second}) >= kEdge; cells -= 8) {
      int shortest = 1, longest = kLongestLine;
      while (shortest < longest) {
        const int mid = (shortest + longest) / 2;
        if (reach({cells, mid, second}) < kEdge) shortest = mid + 1; else longest = mid;
      }
      if (reach({cells, shortest, second}) == kEdge) return true;
      if (reach({cells, shortest, second}) == kEdge + 2) break;  // the last pair needs the other line
    }
  }
  return false;
}

// The part after one that ended at the edge cannot have its stop record, so it fails; the
// stream is closed right behind the part before it, which keeps every stitch it made.
TEST(MakeStitchRun, APartEndingAtTheAreasEdgeLeavesRoomForTheEndPair) {
  for (const MakeStitchOptions& options :
       {MakeStitchOptions{}, MakeStitchOptions{MakeStitchOptions::kFlipNone, 90, 100}}) {
    SCOPED_TRACE(options.IsPlain() ? "plain" : "turned");
    CStitchDesign design;
    ASSERT_TRUE(FindEdgeDesign(design, options, EdgeDesign{377, 17, true}));
    MakeStitchRun run;
    std::atomic<bool> cancel{false};
    ASSERT_EQ(run.Run(design, options, cancel, nullptr), MakeStitchEnd::kRan);
    EXPECT_EQ(run.PairCount(), -1);
    EXPECT_EQ(run.TakeError(), kPartNotStitched);
    const design::StitchRecord& record = *design.Record();
    const vtest::WalkResult walk = Walk(design);
    ASSERT_TRUE(walk.ended) << walk.error;
    if (options.IsPlain()) EXPECT_EQ(walk.endOffset, static_cast<std::size_t>(kSeamlibStitchAreaBytes - 4));
    EXPECT_EQ(walk.colourChanges, 3);
    for (int block = 0; block < 4; ++block) EXPECT_GT(SewnInBlock(walk, block), 0) << block;
    EXPECT_EQ(static_cast<std::size_t>(record.PairCount()), walk.Pairs());
    EXPECT_EQ(record.ThreadCode(3), 14);
    EXPECT_EQ(record.ThreadCode(4), 0);
  }
}

TEST(PixelMask, UnpackPutsWorkPixelsInsideTheBorder) {
  CStitchDesign design;
  design.SetHoop(design::kSmallHoop);
  uint8_t* packed = design.AddPart(1, 0);
  FillRect(design, packed, 0, 0, 0, 0);
  FillRect(design, packed, 199, 199, 199, 199);
  Mask mask(CStitchDesign::kWorkMaskBytes, 9);
  ASSERT_TRUE(pixel_mask::UnpackPartMask(design.GetPartList().GetPart(0)->mask, 200, 200, mask.data()));
  EXPECT_EQ(mask[1 * 562 + 1], 1);
  EXPECT_EQ(mask[200 * 562 + 200], 1);
  EXPECT_EQ(std::count(mask.begin(), mask.end(), 1), 2);
  EXPECT_EQ(std::count(mask.begin(), mask.end(), 9), 0);
  EXPECT_FALSE(pixel_mask::UnpackPartMask(Mask(5), 200, 200, mask.data()));
  EXPECT_EQ(std::count(mask.begin(), mask.end(), 0), static_cast<long>(mask.size()));
}

TEST(PixelMask, RescaleShrinksAndEnlargesWithoutGaps) {
  Mask source(CStitchDesign::kWorkMaskBytes, 0);
  Mask out(CStitchDesign::kWorkMaskBytes, 7);
  for (int row = 0; row < 10; ++row) {
    for (int column = 0; column < 10; ++column) source[row * 562 + column] = 1;
  }
  pixel_mask::Rescale(source.data(), out.data(), 10, 10, 150);
  // 10 columns at 150 % reach columns 0..13 with no hole; source row r >= 1 lands on
  // (r - 1) x 1.5, so rows 0..12, each skipped row filled from the row above it.
  for (int row = 0; row <= 12; ++row) {
    for (int column = 0; column <= 13; ++column) {
      EXPECT_EQ(out[row * 562 + column], 1) << column << "," << row;
    }
  }
  EXPECT_EQ(out[0 * 562 + 14], 0);
  EXPECT_EQ(out[13 * 562 + 0], 0);

  pixel_mask::Rescale(source.data(), out.data(), 10, 10, 50);
  EXPECT_EQ(std::count(out.begin(), out.end(), 1), 5 * 5);
  // Enlarging a full work area never writes past the mask.
  std::fill(source.begin(), source.end(), 1);
  pixel_mask::Rescale(source.data(), out.data(), 562, 802, 150);
  EXPECT_EQ(out.back(), 1);
}

TEST(PixelMask, ThinningLeavesALineOnePixelWide) {
  Mask mask(CStitchDesign::kWorkMaskBytes, 0);
  Mask snapshot(CStitchDesign::kWorkMaskBytes, 0);
  for (int row = 20; row < 27; ++row) {
    for (int column = 10; column < 80; ++column) mask[row * 562 + column] = 1;
  }
  pixel_mask::ThinRegion(mask.data(), snapshot.data());
  int kept = 0;
  for (int column = 14; column < 76; ++column) {
    int inColumn = 0;
    for (int row = 20; row < 27; ++row) inColumn += mask[row * 562 + column];
    EXPECT_EQ(inColumn, 1) << column;
    kept += inColumn;
  }
  EXPECT_GT(kept, 0);
}

TEST(SatinRescale, PointsMoveWithTheMaskAndEmptyRecordsKeepOnlyTheirDensity) {
  SatinSettings satin{};
  satin[0] = {100, 200, 300, 400, 0.6};
  satin[1] = {0, 5, 6, 7, 1.0};
  const SatinSettings moved = RescaleSatin(satin, 99, 0, 0, 3, 4);
  EXPECT_EQ(moved[0].x1, 101 * 99 / 100 + 2);
  EXPECT_EQ(moved[0].y1, 201 * 99 / 100 + 3);
  EXPECT_EQ(moved[0].x2, 301 * 99 / 100 + 2);
  EXPECT_EQ(moved[0].y2, 401 * 99 / 100 + 3);
  EXPECT_EQ(moved[0].spacing, 0.6);
  EXPECT_EQ(moved[1].y1, 0);
  EXPECT_EQ(moved[1].spacing, 1.0);
}

TEST(MakingStitchProgress, TextAndPosition) {
  MakingStitchProgress progress;
  EXPECT_EQ(progress.Text(0), "");
  EXPECT_EQ(progress.Position(0), 0);
  progress.Step();
  progress.Step();
  EXPECT_EQ(progress.Text(3), "2 / 3");
  EXPECT_EQ(progress.Position(3), 66);
}

}  // namespace
}  // namespace digitizer

namespace digitizer {
namespace {

struct Extent {
  int minX = 1 << 20, maxX = -(1 << 20), minY = 1 << 20, maxY = -(1 << 20);
  int Width() const { return maxX - minX; }
  int Height() const { return maxY - minY; }
  int MidX() const { return (minX + maxX) / 2; }
  int MidY() const { return (minY + maxY) / 2; }
};

Extent SewnExtent(const vtest::WalkResult& walk) {
  Extent e;
  for (const vtest::NeedlePoint& p : walk.points) {
    if (p.kind != vtest::NeedleKind::kStitch) continue;
    e.minX = std::min(e.minX, p.x), e.maxX = std::max(e.maxX, p.x);
    e.minY = std::min(e.minY, p.y), e.maxY = std::max(e.maxY, p.y);
  }
  return e;
}

// One wide weave part, made with the given options.
vtest::WalkResult MadeWith(const MakeStitchOptions& options, int parts = 1) {
  CStitchDesign design;
  design.SetHoop(design::kStandardHoop);
  for (int k = 0; k < parts; ++k) {
    uint8_t* packed = design.AddPart(static_cast<int16_t>(4 + k), MakeStitchCode(kHorizontalWeave, 0));
    FillRect(design, packed, 150, 180 + 30 * k, 290, 200 + 30 * k);
  }
  MakeStitchRun run;
  std::atomic<bool> cancel{false};
  EXPECT_EQ(run.Run(design, options, cancel, nullptr), MakeStitchEnd::kRan);
  EXPECT_GT(run.PairCount(), 0);
  vtest::WalkResult walk = Walk(design);
  EXPECT_TRUE(walk.ended);
  EXPECT_EQ(static_cast<std::size_t>(design.Record()->PairCount()), walk.Pairs());
  EXPECT_EQ(static_cast<std::size_t>(run.PairCount()), walk.Pairs());
  return walk;
}

TEST(MakeStitchTransformed, OutlineAndSizedTarget) {
  CStitchDesign design;
  design.SetHoop(design::kStandardHoop);
  FillRect(design, design.AddPart(1, 0), 40, 100, 110, 180);
  FillRect(design, design.AddPart(2, 0), 60, 90, 70, 95);
  const MaskRect outline = GetOutlineRect(design);
  EXPECT_EQ(outline.left, 41);
  EXPECT_EQ(outline.top, 91);
  EXPECT_EQ(outline.right, 111);
  EXPECT_EQ(outline.bottom, 181);
  const MaskRect target = SizedTarget(outline, 150);
  EXPECT_EQ(target.left, (5 * 152 - 150 * 70 / 20) / 10);
  EXPECT_EQ(target.right, (5 * 152 + 150 * 70 / 20) / 10);
  EXPECT_EQ(target.top, (5 * 272 - 150 * 90 / 20) / 10);
  EXPECT_EQ(target.bottom, (5 * 272 + 150 * 90 / 20) / 10);
  CStitchDesign empty;
  EXPECT_TRUE(GetOutlineRect(empty).Empty());
}

TEST(MakeStitchTransformed, AHorizontalFlipIsAVerticalFlipTurnedHalfWay) {
  const vtest::WalkResult flipped = MadeWith({MakeStitchOptions::kFlipHorizontal, 0, 100}, 2);
  const vtest::WalkResult turned = MadeWith({MakeStitchOptions::kFlipVertical, 180, 100}, 2);
  ASSERT_EQ(flipped.points.size(), turned.points.size());
  for (std::size_t k = 0; k < flipped.points.size(); ++k) {
    EXPECT_EQ(flipped.points[k].x, turned.points[k].x) << k;
    EXPECT_EQ(flipped.points[k].y, turned.points[k].y) << k;
  }
  EXPECT_EQ(flipped.colourChanges, 1);
}

TEST(MakeStitchTransformed, FlipAndTurnKeepTheMiddleInPlace) {
  const Extent plain = SewnExtent(MadeWith(MakeStitchOptions{}));
  const Extent flipped = SewnExtent(MadeWith({MakeStitchOptions::kFlipHorizontal, 0, 100}));
  // The sized path drops one mask row (0.25 mm) at 100 %, so the middles agree to a few units.
  EXPECT_NEAR(flipped.MidX(), plain.MidX(), 4);
  EXPECT_NEAR(flipped.MidY(), plain.MidY(), 4);
  EXPECT_NEAR(flipped.Width(), plain.Width(), 4);

  const Extent turned = SewnExtent(MadeWith({MakeStitchOptions::kFlipNone, 90, 100}));
  EXPECT_NEAR(turned.Width(), plain.Height(), 5);
  EXPECT_NEAR(turned.Height(), plain.Width(), 5);
  EXPECT_NEAR(turned.MidX(), plain.MidX(), 5);
  EXPECT_NEAR(turned.MidY(), plain.MidY(), 5);

  const Extent sized = SewnExtent(MadeWith({MakeStitchOptions::kFlipNone, 0, 150}));
  EXPECT_NEAR(sized.Width(), plain.Width() * 3 / 2, 8);
  EXPECT_NEAR(sized.MidX(), plain.MidX(), 5);
  EXPECT_NEAR(sized.MidY(), plain.MidY(), 5);
}

TEST(MakeStitchTransformed, ANewDesignGetsARecordAndACancelledRunIsClosed) {
  CStitchDesign design;
  MakeThreeParts(design);
  ASSERT_EQ(design.Record(), nullptr);
  MakeStitchRun run;
  std::atomic<bool> cancel{false};
  const MakeStitchEnd end = run.Run(design, {MakeStitchOptions::kFlipVertical, 30, 90}, cancel,
                                    [&](int counter, int) { cancel = counter == 2; });
  EXPECT_EQ(end, MakeStitchEnd::kCancelled);
  ASSERT_NE(design.Record(), nullptr);
  const vtest::WalkResult walk = Walk(design);
  EXPECT_TRUE(walk.ended);
  EXPECT_EQ(walk.colourChanges, 1);
  EXPECT_EQ(design.Record()->PairCount(), 0);
}

TEST(MakeStitchTransformer, MirrorsAboutTheMiddleAndKeepsControlPairs) {
  std::vector<uint8_t> bytes{0x80, 0x02, 100, 0, 10, 0, 0x80, 0x01, 0, 0, 10, 10, 0x80, 0x10};
  bytes.resize(64, 0);
  MakeStitchTransformer transformer(bytes.size());
  // Positions: landing (110, 0), stitch (120, 10); the middle x is 115.
  const int32_t pairs = transformer.Transform(bytes, MakeStitchOptions::kFlipHorizontal, 360);
  const vtest::WalkResult walk = vtest::WalkStitches(bytes);
  ASSERT_TRUE(walk.ended);
  EXPECT_EQ(static_cast<std::size_t>(pairs), walk.Pairs());
  EXPECT_EQ(walk.colourChanges, 1);
  EXPECT_EQ(walk.nonZeroColourPairs, 0);
  ASSERT_EQ(walk.sewn.size(), 1u);
  EXPECT_EQ(walk.sewn[0].x0, 120);
  EXPECT_EQ(walk.sewn[0].y0, 0);
  EXPECT_EQ(walk.sewn[0].x1, 110);
  EXPECT_EQ(walk.sewn[0].y1, 10);
}

TEST(MakeStitchTransformer, QuarterTurnsAreExactAndLongMovesSplit) {
  // A 100 x 100 stitch turned by 45 degrees is 141 long: it is split, and still ends where it should.
  std::vector<uint8_t> bytes{0x80, 0x02, 0, 0, 1, 0, 100, 100, 0x80, 0x10};
  bytes.resize(64, 0);
  MakeStitchTransformer transformer(bytes.size());
  ASSERT_GT(transformer.Transform(bytes, MakeStitchOptions::kFlipNone, 315), 0);
  const vtest::WalkResult walk = vtest::WalkStitches(bytes);
  ASSERT_TRUE(walk.ended);
  for (std::size_t k = 0; k + 1 < bytes.size(); k += 2) {
    if (bytes[k] == 0x80) continue;
    EXPECT_LE(std::abs(static_cast<int8_t>(bytes[k])), 127);
  }
  // Still sewn: a long stitch of 119 and the rest, no stitch turned into a landing.
  EXPECT_EQ(walk.longStitches, 1);
  EXPECT_EQ(walk.sewn.size(), 2u);
  // The middle (50, 50) stays; the far corner lands on the line x = 50 after an eighth turn.
  EXPECT_NEAR(walk.x, 50, 1);
  EXPECT_NEAR(walk.y - 50, 71, 1);

  std::vector<uint8_t> square{0x80, 0x02, 0, 0, 1, 0, 20, 0, 0, 20, 0x80, 0x10};
  square.resize(64, 0);
  ASSERT_GT(transformer.Transform(square, MakeStitchOptions::kFlipNone, 270), 0);
  const vtest::WalkResult turned = vtest::WalkStitches(square);
  ASSERT_EQ(turned.sewn.size(), 2u);
  // Landing (1, 0), stitches to (21, 0) and (21, 20): the middle is (11, 10). A quarter turn
  // counter-clockwise about it, in exact whole units.
  EXPECT_EQ(turned.sewn[0].x0, 21);
  EXPECT_EQ(turned.sewn[0].y0, 0);
  EXPECT_EQ(turned.sewn[0].x1, 21);
  EXPECT_EQ(turned.sewn[0].y1, 20);
  EXPECT_EQ(turned.sewn[1].x1, 1);
  EXPECT_EQ(turned.sewn[1].y1, 20);

  std::vector<uint8_t> open{10, 10, 10, 10};
  EXPECT_EQ(transformer.Transform(open, MakeStitchOptions::kFlipHorizontal, 90), -1);
  EXPECT_EQ(open[0], 10);
}

}  // namespace
}  // namespace digitizer
