#include "digitizer/bit_mask.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace digitizer {
namespace {

// A byte map drawn as text rows: '#' set, '.' clear.
std::vector<uint8_t> MapFrom(const std::vector<std::string>& rows) {
  std::vector<uint8_t> map;
  for (const std::string& row : rows) {
    for (char c : row) map.push_back(c == '#' ? 1 : 0);
  }
  return map;
}

std::vector<std::string> RowsOf(const std::vector<uint8_t>& map, int width) {
  std::vector<std::string> rows;
  for (std::size_t at = 0; at < map.size(); at += width) {
    std::string row;
    for (int x = 0; x < width; ++x) row += map[at + x] ? '#' : '.';
    rows.push_back(row);
  }
  return rows;
}

TEST(BitMaskPacking, RowLengthsArePaddedToSixteenBits) {
  EXPECT_EQ(CBitMask::PackedRowBytes(440), 56);
  EXPECT_EQ(CBitMask::PackedRowBytes(16), 2);
  EXPECT_EQ(CBitMask::PackedRowBytes(8), 2);
  EXPECT_EQ(CBitMask::PackedRowBytes(17), 4);
  EXPECT_EQ(CBitMask::PackedRowBytes(0), 0);
  EXPECT_EQ(CBitMask(440, 3).PackedBytes(), 168u);
}

TEST(BitMaskPacking, UnpackThenPackInvertsAndPackPaddedRestores) {
  const int width = 440;
  const int height = 3;
  CBitMask mask(width, height);
  std::vector<uint8_t> packed(mask.PackedBytes());
  for (std::size_t i = 0; i < packed.size(); ++i) packed[i] = static_cast<uint8_t>(i * 37 + 11);
  std::vector<uint8_t> map(mask.MapBytes(), 9);
  mask.Unpack(packed.data(), map.data());
  for (uint8_t pixel : map) ASSERT_LE(pixel, 1);

  // The padding byte is neither read nor written.
  std::vector<uint8_t> inverted(packed.size(), 0xA5);
  mask.Pack(map.data(), inverted.data());
  std::vector<uint8_t> restored(packed.size(), 0xA5);
  mask.PackPadded(map.data(), restored.data());
  for (int y = 0; y < height; ++y) {
    for (int byte = 0; byte < 56; ++byte) {
      const std::size_t at = static_cast<std::size_t>(y) * 56 + byte;
      if (byte == 55) {
        EXPECT_EQ(inverted[at], 0xA5);
        EXPECT_EQ(restored[at], 0xA5);
        continue;
      }
      EXPECT_EQ(inverted[at], static_cast<uint8_t>(~packed[at])) << y << "," << byte;
      EXPECT_EQ(restored[at], packed[at]) << y << "," << byte;
    }
  }
}

TEST(BitMaskPacking, MostSignificantBitIsTheLeftmostPixel) {
  CBitMask mask(16, 1);
  const uint8_t packed[2] = {0x80, 0x01};
  std::vector<uint8_t> map(16);
  mask.Unpack(packed, map.data());
  EXPECT_EQ(RowsOf(map, 16)[0], "#..............#");
}

// A width that is not a multiple of 8 keeps its last pixels; the unused bits read as clear.
TEST(BitMaskPacking, PartialLastByteKeepsItsPixels) {
  CBitMask mask(17, 2);
  std::vector<uint8_t> map = MapFrom({"#...............#", "................#"});
  std::vector<uint8_t> packed(mask.PackedBytes(), 0x33);
  mask.PackPadded(map.data(), packed.data());
  EXPECT_EQ(packed[0], 0x80);
  EXPECT_EQ(packed[2], 0x80);  // pixel 16, then seven clear bits
  EXPECT_EQ(packed[3], 0x33);  // the padding byte untouched
  mask.Pack(map.data(), packed.data());
  EXPECT_EQ(packed[2], 0x7F);
  std::vector<uint8_t> back(mask.MapBytes(), 7);
  mask.PackPadded(map.data(), packed.data());
  mask.Unpack(packed.data(), back.data());
  EXPECT_EQ(back, map);
}

std::vector<uint8_t> PackedOf(const CBitMask& mask, const std::vector<uint8_t>& map) {
  std::vector<uint8_t> packed(mask.PackedBytes(), 0);
  mask.PackPadded(map.data(), packed.data());
  return packed;
}

TEST(BitMaskOutline, FilledSquareWithThicknessOneMarksItsEdges) {
  const int size = 16;
  CBitMask mask(size, size);
  std::vector<uint8_t> map(mask.MapBytes(), 0);
  for (int y = 2; y < 12; ++y) {
    for (int x = 3; x < 13; ++x) map[y * size + x] = 1;
  }
  std::vector<uint8_t> accumulate(mask.MapBytes(), 0);
  mask.MarkThinRuns(1, PackedOf(mask, map).data(), accumulate.data());
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const bool inSquareRows = y >= 2 && y < 12;
      const bool inSquareCols = x >= 3 && x < 13;
      const bool expected = (inSquareRows && (x == 3 || x == 13)) || (inSquareCols && (y == 2 || y == 12));
      EXPECT_EQ(accumulate[y * size + x], expected ? 1 : 0) << x << "," << y;
    }
  }
}

// Every set pixel also starts or continues a vertical run; rows 1..25 of a 28-row picture make
// vertical runs of 25, thicker than any line, so row 10 shows the horizontal rule alone.
std::vector<uint8_t> TallRows(const std::string& pattern, int rows, int firstRow, int lastRow) {
  std::vector<std::string> text(rows, std::string(pattern.size(), '.'));
  for (int y = firstRow; y <= lastRow; ++y) text[y] = pattern;
  return MapFrom(text);
}

std::string MarkedRow(int thickness, const std::string& pattern, int rows, int firstRow, int lastRow,
                      int row) {
  const int width = static_cast<int>(pattern.size());
  CBitMask mask(width, rows);
  const std::vector<uint8_t> map = TallRows(pattern, rows, firstRow, lastRow);
  std::vector<uint8_t> accumulate(mask.MapBytes(), 0);
  mask.MarkThinRuns(thickness, PackedOf(mask, map).data(), accumulate.data());
  return RowsOf(accumulate, width)[row];
}

TEST(BitMaskOutline, ThinRunsAreCopiedWholeBelowTheThickness) {
  const std::string runs = ".##..##################.";  // runs of 2 and 18
  EXPECT_EQ(MarkedRow(20, runs, 28, 1, 25, 10), ".##..##################.");
  EXPECT_EQ(MarkedRow(1, runs, 28, 1, 25, 10), ".#.#.#.................#");
  // Thickness beyond the limit counts as 20: a run of 19 gets its edges only.
  EXPECT_EQ(MarkedRow(500, ".###################....", 28, 1, 25, 10), ".#..................#...");
  // The vertical pass marks the first row and the row just below the block, on top of
  // what the horizontal pass marked there.
  EXPECT_EQ(MarkedRow(1, runs, 28, 1, 25, 1), ".###.###################");
  EXPECT_EQ(MarkedRow(1, runs, 28, 1, 25, 26), runs);
  EXPECT_EQ(MarkedRow(1, runs, 28, 1, 25, 27), std::string(runs.size(), '.'));
}

TEST(BitMaskOutline, RunReachingTheEdgeKeepsOnlyItsFirstPixel) {
  EXPECT_EQ(MarkedRow(20, "....####", 25, 0, 24, 10), "....#...");
  EXPECT_EQ(MarkedRow(20, "....####", 25, 0, 24, 24), "....#...");
}

TEST(BitMaskOutline, ShortLineIsMarkedWholeAndNothingIsCleared) {
  CBitMask mask(8, 3);
  std::vector<uint8_t> map = MapFrom({"........", "..###...", "........"});
  for (int thickness : {1, 5, 20}) {
    std::vector<uint8_t> accumulate(mask.MapBytes(), 0);
    accumulate[0] = 1;
    mask.MarkThinRuns(thickness, PackedOf(mask, map).data(), accumulate.data());
    // With a line thinner than the run, the pixel behind the run is its edge too.
    const std::string row = thickness == 1 ? "..####.." : "..###...";
    EXPECT_EQ(RowsOf(accumulate, 8), (std::vector<std::string>{"#.......", row, "........"})) << thickness;
  }
}

TEST(BitMaskThin, OnePixelLinesStayAsTheyAre) {
  const std::vector<std::vector<std::string>> lines = {
      {"..........", ".########.", ".........."},
      {"...", ".#.", ".#.", ".#.", ".#.", "..."},
      {"........", ".#......", "..#.....", "...#....", "....#...", "........"},
  };
  for (const auto& rows : lines) {
    const int width = static_cast<int>(rows[0].size());
    CBitMask mask(width, static_cast<int>(rows.size()));
    std::vector<uint8_t> map = MapFrom(rows);
    mask.Thin(map.data());
    EXPECT_EQ(RowsOf(map, width), rows);
  }
}

TEST(BitMaskThin, ThickBarBecomesALineThatKeepsItsEnds) {
  CBitMask mask(14, 7);
  std::vector<uint8_t> map = MapFrom({
      "..............",
      ".############.",
      ".############.",
      ".############.",
      ".############.",
      ".############.",
      "..............",
  });
  mask.Thin(map.data());
  int set = 0;
  for (uint8_t pixel : map) set += pixel;
  EXPECT_GT(set, 0);
  // Every row keeps at most one pixel per column run: nothing is left two pixels thick.
  for (int x = 1; x < 13; ++x) {
    int column = 0;
    for (int y = 0; y < 7; ++y) column += map[y * 14 + x];
    EXPECT_LE(column, 1) << x;
  }
  // Still one connected piece.
  EXPECT_EQ(mask.LabelComponents(map.data()), 1);
}

TEST(BitMaskThin, IsolatedPixelStays) {
  CBitMask mask(3, 3);
  std::vector<uint8_t> map = MapFrom({"...", ".#.", "..."});
  mask.Thin(map.data());
  EXPECT_EQ(map[4], 1);
}

TEST(BitMaskGaps, ForwardAndBackwardFillOnePixelGaps) {
  CBitMask mask(7, 5);
  // A clear pixel between an upper and a lower set pixel.
  std::vector<uint8_t> map = MapFrom({".......", "...#...", ".......", "...#...", "......."});
  std::vector<uint8_t> forward = map;
  mask.CloseGaps(forward.data(), true);
  EXPECT_EQ(forward[2 * 7 + 3], 1);
  EXPECT_EQ(forward[2 * 7 + 2], 0);
  std::vector<uint8_t> backward = map;
  mask.CloseGaps(backward.data(), false);
  EXPECT_EQ(backward[2 * 7 + 3], 1);
  // One neighbour is not enough.
  std::vector<uint8_t> lone = MapFrom({".......", "...#...", ".......", ".......", "......."});
  mask.CloseGaps(lone.data(), true);
  EXPECT_EQ(RowsOf(lone, 7)[2], ".......");
}

TEST(BitMaskGaps, PixelsSetEarlierInThePassCountForLaterOnes) {
  CBitMask mask(6, 4);
  // (2,1) fills from its right and upper neighbours; (2,2) then has the new pixel above it.
  std::vector<uint8_t> map = MapFrom({"..#...", "...#..", "...#..", "......"});
  mask.CloseGaps(map.data(), true);
  EXPECT_EQ(RowsOf(map, 6), (std::vector<std::string>{"..#...", "..##..", "..##..", "......"}));
}

TEST(BitMaskClean, IsolatedPixelIsClearedAndLinesAreCounted) {
  CBitMask mask(5, 5);
  std::vector<uint8_t> lone = MapFrom({".....", ".....", "..#..", ".....", "....."});
  EXPECT_EQ(mask.CountAndClean(lone.data()), 0);
  EXPECT_EQ(lone[12], 0);

  std::vector<uint8_t> column = MapFrom({"..#..", "..#..", "..#..", "..#..", "..#.."});
  EXPECT_EQ(mask.CountAndClean(column.data()), 3);  // rows 1..3 are looked at
  // A second run removes what the first left isolated.
  std::vector<uint8_t> stub = MapFrom({".....", "..#..", "..#..", ".....", "....."});
  EXPECT_EQ(mask.CountAndClean(stub.data()), 0);
}

TEST(BitMaskLabels, GroupsAreLabelledInRowOrderOfTheirFirstPixel) {
  CBitMask mask(8, 6);
  std::vector<uint8_t> map = MapFrom({
      "......#.",
      "#.....#.",
      "#..####.",
      "#.......",
      "###..#.#",
      "........",
  });
  EXPECT_EQ(mask.LabelComponents(map.data()), 4);
  EXPECT_EQ(map[6], 8);          // the hook on the right is met first
  EXPECT_EQ(map[2 * 8 + 3], 8);  // reached only by going up and around
  EXPECT_EQ(map[1 * 8 + 0], 16);
  EXPECT_EQ(map[4 * 8 + 2], 16);
  EXPECT_EQ(map[4 * 8 + 5], 24);
  EXPECT_EQ(map[4 * 8 + 7], 32);
}

TEST(BitMaskLabels, DiagonalPixelsAreSeparateGroups) {
  CBitMask mask(3, 3);
  std::vector<uint8_t> map = MapFrom({"#..", ".#.", "..#"});
  EXPECT_EQ(mask.LabelComponents(map.data()), 3);
}

TEST(BitMaskLabels, StopsAtTheEleventhGroup) {
  CBitMask mask(30, 3);
  std::vector<uint8_t> map(mask.MapBytes(), 0);
  for (int i = 0; i < 15; ++i) map[30 + 2 * i] = 1;
  EXPECT_EQ(mask.LabelComponents(map.data()), 11);
  EXPECT_EQ(map[30 + 2 * 10], 88);
  EXPECT_EQ(map[30 + 2 * 11], 1);  // never reached
}

TEST(BitMaskLabels, SpiralIsOneGroup) {
  CBitMask mask(9, 9);
  std::vector<uint8_t> map = MapFrom({
      "#########",
      "........#",
      "#######.#",
      "#.....#.#",
      "#.###.#.#",
      "#.#...#.#",
      "#.#####.#",
      "#.......#",
      "#########",
  });
  EXPECT_EQ(mask.LabelComponents(map.data()), 1);
  for (uint8_t pixel : map) EXPECT_TRUE(pixel == 0 || pixel == 8);
}

TEST(BitMaskBoundary, OuterBoundaryOfOneGroup) {
  CBitMask mask(6, 5);
  std::vector<uint8_t> labels(mask.MapBytes(), 0);
  labels[2 * 6 + 2] = 16 | 3;  // low bits do not matter
  labels[2 * 6 + 3] = 16;
  labels[2 * 6 + 4] = 8;       // another group beside it
  std::vector<uint8_t> out(mask.MapBytes(), 5);
  mask.TraceBoundary(labels.data(), 16, out.data());
  EXPECT_EQ(RowsOf(out, 6), (std::vector<std::string>{
                                "......",
                                "..##..",
                                ".#..#.",
                                "..##..",
                                "......",
                            }));
}

TEST(BitMaskBoundary, EdgeRowsLookSidewaysOnlyAndLabelZeroIsNoGroup) {
  CBitMask mask(4, 3);
  std::vector<uint8_t> labels(mask.MapBytes(), 0);
  labels[1] = 8;  // top row
  std::vector<uint8_t> out(mask.MapBytes(), 0);
  mask.TraceBoundary(labels.data(), 8, out.data());
  EXPECT_EQ(RowsOf(out, 4), (std::vector<std::string>{"#.#.", "....", "...."}));
  mask.TraceBoundary(labels.data(), 0, out.data());
  for (uint8_t pixel : out) EXPECT_EQ(pixel, 0);
}

TEST(BitMaskNearby, FindsTheFirstSetPixelInRingOrder) {
  CBitMask mask(9, 9);
  std::vector<uint8_t> map(mask.MapBytes(), 0);
  MaskPoint point{4, 4};
  EXPECT_FALSE(mask.FindNearbyPixel(map.data(), point));
  EXPECT_EQ(point.x, 4);
  EXPECT_EQ(point.y, 4);

  map[7 * 9 + 4] = 1;  // (4, 7): ring 3 straight down
  map[2 * 9 + 6] = 1;  // (6, 2): ring 2 up-right
  EXPECT_TRUE(mask.FindNearbyPixel(map.data(), point));
  EXPECT_EQ(point.x, 6);
  EXPECT_EQ(point.y, 2);

  // Offsets outside the map are skipped, not read.
  MaskPoint corner{0, 0};
  std::vector<uint8_t> cornerMap(mask.MapBytes(), 0);
  cornerMap[3 * 9 + 0] = 1;
  EXPECT_TRUE(mask.FindNearbyPixel(cornerMap.data(), corner));
  EXPECT_EQ(corner.y, 3);
}

}  // namespace
}  // namespace digitizer
