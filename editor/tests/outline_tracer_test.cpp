#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "layoutcore/outline_tracer.h"
#include "testing/stitch_stream_builder.h"

namespace {

using editor::COutlineTracer;

// Sets the mask from rows of '#' (set) and '.' (empty).
void Draw(COutlineTracer& tracer, const std::vector<std::string>& rows) {
  for (std::size_t y = 0; y < rows.size(); ++y) {
    for (std::size_t x = 0; x < rows[y].size(); ++x) {
      tracer.Mask()[y * tracer.Width() + x] = rows[y][x] == '#' ? editor::kMaskSet : editor::kMaskEmpty;
    }
  }
}

std::vector<std::pair<int, int>> PointsOf(const COutlineTracer& tracer) {
  std::vector<std::pair<int, int>> points;
  const auto entries = tracer.Points();
  for (std::size_t i = 0; i + 1 < entries.size(); i += 2) points.emplace_back(entries[i], entries[i + 1]);
  return points;
}

void Record(design::StitchRecord& record, const vtest::StitchStreamBuilder& stream) {
  record.Clear();
  std::memcpy(record.Stitches(), stream.Bytes().data(), stream.Bytes().size());
  record.SetPairCount(static_cast<int32_t>(stream.Pairs()));
}

// The design drawn into an outline mask of its own.
std::vector<uint8_t> Rendered(const design::StitchRecord& record) {
  std::vector<uint8_t> mask(static_cast<std::size_t>(editor::kOutlineMaskWidth) * editor::kOutlineBitmapHeight);
  editor::RenderOutlineMask(record, mask, editor::kOutlineMaskWidth, editor::kOutlineBitmapHeight);
  return mask;
}

bool SetAt(const std::vector<uint8_t>& mask, int x, int y) {
  return mask[static_cast<std::size_t>(y) * editor::kOutlineMaskWidth + x] == editor::kMaskSet;
}

TEST(OutlineTracer, WalksARingClockwiseFromItsTopLeftPixel) {
  COutlineTracer tracer(5, 4);
  Draw(tracer, {".###.",
                ".#.#.",
                ".###.",
                "....."});
  EXPECT_EQ(tracer.TraceAll(), 1);
  // Right first, then down-right, down, down-left, left, up-left, up, up-right.
  const std::vector<std::pair<int, int>> expected{{1, 0}, {2, 0}, {3, 0}, {3, 1}, {3, 2}, {2, 2}, {1, 2}, {1, 1}};
  EXPECT_EQ(PointsOf(tracer), expected);
  ASSERT_EQ(tracer.ContourStarts().size(), 1u);
  EXPECT_EQ(tracer.ContourStarts()[0], 0u);
  // Every walked pixel is marked visited; nothing is left set.
  for (uint8_t pixel : tracer.Mask()) EXPECT_NE(pixel, editor::kMaskSet);
}

TEST(OutlineTracer, ADeadEndStartsANewContourAtTheNextSetPixel) {
  COutlineTracer tracer(6, 3);
  Draw(tracer, {"##..#.",
                "....#.",
                "#....."});
  EXPECT_EQ(tracer.TraceAll(), 3);
  const std::vector<std::pair<int, int>> expected{{0, 0}, {1, 0}, {4, 0}, {4, 1}, {0, 2}};
  EXPECT_EQ(PointsOf(tracer), expected);
  const std::vector<uint32_t> starts(tracer.ContourStarts().begin(), tracer.ContourStarts().end());
  EXPECT_EQ(starts, (std::vector<uint32_t>{0, 4, 8}));
}

TEST(OutlineTracer, AFullMaskStopsAtThePointCapacityWithoutOverrun) {
  // width x height 16-bit entries hold half as many points as the mask has pixels.
  COutlineTracer tracer(4, 4);
  Draw(tracer, {"####", "####", "####", "####"});
  tracer.TraceAll();
  EXPECT_TRUE(tracer.Truncated());
  EXPECT_EQ(tracer.Points().size(), 16u);
  // Tracing again walks the eight pixels left, which just fit.
  tracer.TraceAll();
  EXPECT_FALSE(tracer.Truncated());
  EXPECT_EQ(tracer.Points().size(), 16u);
  EXPECT_EQ(tracer.TraceAll(), 0);
}

TEST(OutlineTracer, ContourStartsBeyondSixteenBitsStayExact) {
  // Every other row set: one contour per row of 288 points (576 entries); later rows begin
  // past entry 65,535.
  COutlineTracer tracer(editor::kOutlineMaskWidth, editor::kOutlineBitmapHeight);
  for (int y = 0; y < tracer.Height(); y += 2) {
    std::memset(tracer.Mask().data() + static_cast<std::size_t>(y) * tracer.Width(), editor::kMaskSet,
                static_cast<std::size_t>(tracer.Width()));
  }
  const int contours = tracer.TraceAll();
  EXPECT_EQ(contours, 201);
  const auto starts = tracer.ContourStarts();
  for (int k = 0; k < contours; ++k) ASSERT_EQ(starts[k], static_cast<uint32_t>(k * 576)) << k;
  EXPECT_GT(starts[150], 65535u);
  // The last row does not fit whole: the trace stops at the capacity.
  EXPECT_TRUE(tracer.Truncated());
  EXPECT_EQ(tracer.Points().size(), static_cast<std::size_t>(tracer.Width()) * tracer.Height());
}

TEST(OutlineTracer, ADegenerateMaskTracesNothing) {
  COutlineTracer empty(0, 0);
  EXPECT_EQ(empty.TraceAll(), 0);
  COutlineTracer blank(3, 3);
  EXPECT_EQ(blank.TraceAll(), 0);
  EXPECT_TRUE(blank.Points().empty());
}

TEST(KeepMaskEdges, ABlockKeepsOnlyItsEdge) {
  COutlineTracer tracer(9, 8);
  Draw(tracer, {".........",
                ".#####...",
                ".#####...",
                ".#####...",
                ".#####...",
                ".#####...",
                ".........",
                "........."});
  editor::KeepMaskEdges(tracer.Mask(), tracer.Width(), tracer.Height());
  std::string rows;
  for (int y = 0; y < tracer.Height(); ++y) {
    for (int x = 0; x < tracer.Width(); ++x) rows += tracer.Mask()[y * tracer.Width() + x] ? '#' : '.';
    rows += '\n';
  }
  EXPECT_EQ(rows,
            ".........\n"
            ".#####...\n"
            ".#...#...\n"
            ".#...#...\n"
            ".#...#...\n"
            ".#####...\n"
            ".........\n"
            ".........\n");
  EXPECT_EQ(tracer.TraceAll(), 1);
  EXPECT_EQ(tracer.Points().size(), 2u * 16);
}

TEST(KeepMaskEdges, APixelAtTheRowsStartOrNearItsEndIsKept) {
  // Column 0 has no left neighbour; the last two columns are never cleared.
  COutlineTracer tracer(4, 3);
  Draw(tracer, {"####", "####", "####"});
  editor::KeepMaskEdges(tracer.Mask(), tracer.Width(), tracer.Height());
  EXPECT_EQ(tracer.Mask()[4 + 0], editor::kMaskSet);
  EXPECT_EQ(tracer.Mask()[4 + 1], editor::kMaskEmpty);
  EXPECT_EQ(tracer.Mask()[4 + 2], editor::kMaskSet);
  EXPECT_EQ(tracer.Mask()[4 + 3], editor::kMaskSet);
}

TEST(RenderOutlineMask, DrawsStitchesWithAFivePixelPenFromTheCentre) {
  design::StitchRecord record;
  // 20 mm to the right (40 pixels), then 10 mm up (20 pixel rows up).
  Record(record, vtest::StitchStreamBuilder().Stitch(100, 0).Stitch(100, 0).Stitch(0, 100).End());
  const std::vector<uint8_t> mask = Rendered(record);
  EXPECT_TRUE(SetAt(mask, 140, 200));
  EXPECT_TRUE(SetAt(mask, 180, 200));
  EXPECT_TRUE(SetAt(mask, 180, 180));
  // Two pixels either side of a line, not three; the pen's corners are round.
  EXPECT_TRUE(SetAt(mask, 160, 202));
  EXPECT_FALSE(SetAt(mask, 160, 203));
  EXPECT_FALSE(SetAt(mask, 138, 202));
  EXPECT_FALSE(SetAt(mask, 160, 190));
}

TEST(RenderOutlineMask, JumpsMoveAndSewnLongStitchesDraw) {
  design::StitchRecord record;
  Record(record, vtest::StitchStreamBuilder()
                     .Jump(100, 0)     // moved, and its landing too
                     .Stitch(50, 0)
                     .Stitch(50, 0)    // drawn: 170..180
                     .Jump(0, -119)    // a sewn long stitch: drawn down
                     .End());
  const std::vector<uint8_t> mask = Rendered(record);
  EXPECT_FALSE(SetAt(mask, 150, 200));
  EXPECT_FALSE(SetAt(mask, 165, 200));
  EXPECT_TRUE(SetAt(mask, 175, 200));
  EXPECT_TRUE(SetAt(mask, 180, 215));
}

TEST(RenderOutlineMask, OnlyTheFirstTwelveColoursAreDrawn) {
  design::StitchRecord record;
  // Fourteen blocks, each a short stitch there and back ten pixel rows below the last.
  vtest::StitchStreamBuilder stream;
  for (int block = 0; block < 14; ++block) {
    if (block > 0) stream.ColourChange();
    stream.Jump(0, -50).Stitch(0, 0).Stitch(25, 0).Stitch(-25, 0);
  }
  Record(record, stream.End());
  const std::vector<uint8_t> mask = Rendered(record);
  EXPECT_TRUE(SetAt(mask, 145, 200 + 10 * 12));   // the twelfth block
  EXPECT_FALSE(SetAt(mask, 145, 200 + 10 * 13));  // the thirteenth is not drawn
  EXPECT_FALSE(SetAt(mask, 145, 200 + 10 * 14));
}

TEST(RenderOutlineMask, StitchesOutsideTheBitmapAreClippedAndTheRowPaddingStaysEmpty) {
  design::StitchRecord record;
  vtest::StitchStreamBuilder stream;
  for (int i = 0; i < 20; ++i) stream.Stitch(100, 100);  // far off the top right corner
  for (int i = 0; i < 40; ++i) stream.Stitch(-100, -100);
  Record(record, stream.End());
  const std::vector<uint8_t> mask = Rendered(record);
  for (int y = 0; y < editor::kOutlineBitmapHeight; ++y) {
    for (int x = editor::kOutlineBitmapWidth; x < editor::kOutlineMaskWidth; ++x) ASSERT_FALSE(SetAt(mask, x, y));
  }
  EXPECT_TRUE(SetAt(mask, 280, 60));
}

}  // namespace
