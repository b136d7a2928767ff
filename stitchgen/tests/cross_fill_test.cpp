// Cross stitch: the bytes of single cells, rows and blocks, the occupancy threshold, and
// whole parts on the mask corpus.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "stitchgen/tests/fill_test_support.h"
#include "testing/mask_corpus.h"

namespace {

using filltest::Bytes;
using filltest::MakePart;
using vtest::MaskBuilder;

constexpr int kCrossStitch = 3;
const Bytes kZeroJump = {0x80, 0x02, 0x00, 0x00};

// A pair as written: dx, dy upwards.
void Add(Bytes& bytes, std::initializer_list<std::pair<int, int>> pairs) {
  for (auto [dx, dy] : pairs) {
    bytes.push_back(static_cast<uint8_t>(static_cast<int8_t>(dx)));
    bytes.push_back(static_cast<uint8_t>(static_cast<int8_t>(dy)));
  }
}

void AddKind1(Bytes& b) {
  Add(b, {{5, 5},
          {5, 5},
          {10, 10},
          {-20, -20},
          {20, 20},
          {-10, -10},
          {-10, 10},
          {20, -20},
          {-20, 20},
          {20, -20}});
}
void AddKind2(Bytes& b) {
  Add(b, {{-5, -5},
          {-5, -5},
          {-10, -10},
          {20, 20},
          {-20, -20},
          {10, 10},
          {10, -10},
          {-20, 20},
          {20, -20},
          {-20, 20}});
}
void AddKind4(Bytes& b) {
  Add(b, {{5, -5},
          {5, -5},
          {10, 10},
          {-20, -20},
          {20, 20},
          {-20, -20},
          {10, 10},
          {-10, 10},
          {20, -20},
          {-20, 20},
          {20, -20}});
}
void AddKind5(Bytes& b) {
  Add(b, {{-5, -5},
          {-5, -5},
          {-10, -10},
          {20, 20},
          {-20, -20},
          {10, 10},
          {10, -10},
          {-20, 20},
          {20, -20}});
}
void AddTieOffUpFirst(Bytes& b) { Add(b, {{0, 5}, {0, 5}, {0, -5}, {0, -5}}); }

// Cell (k, r) covers work pixels 8k .. 8k + 7 and 8r .. 8r + 7; its top-left corner is at
// (20k, 20r) in 0.1 mm. Cell (34, 49) starts 2 mm up and left of the needle of part 1.
MaskBuilder& Cells(MaskBuilder& m, int column, int row, int columns, int rows) {
  return m.Rect(8 * column, 8 * row, 8 * columns, 8 * rows);
}

TEST(CrossStitch, ASingleCellIsTheFirstKindPatternAndATieOff) {
  MaskBuilder m;
  const auto made = MakePart(Cells(m, 34, 49, 1, 1).Bytes(), kCrossStitch);
  Bytes expected = kZeroJump;
  Add(expected, {{-20, 20}});  // to the top-left corner (680, 980)
  AddKind4(expected);
  AddTieOffUpFirst(expected);
  EXPECT_EQ(made.bytes, expected);
  EXPECT_EQ(made.result, static_cast<int>(expected.size() / 2) + 4);
}

TEST(CrossStitch, ARowOfThreeCellsIsSewnWithoutStitchesBetween) {
  MaskBuilder m;
  const auto made = MakePart(Cells(m, 34, 49, 3, 1).Bytes(), kCrossStitch);
  Bytes expected = kZeroJump;
  Add(expected, {{-20, 20}});
  AddKind4(expected);
  AddKind1(expected);
  AddKind1(expected);
  AddTieOffUpFirst(expected);
  EXPECT_EQ(made.bytes, expected);
}

TEST(CrossStitch, ASquareOfFourCellsTurnsBackOnItsSecondRow) {
  MaskBuilder m;
  const auto made = MakePart(Cells(m, 34, 49, 2, 2).Bytes(), kCrossStitch);
  Bytes expected = kZeroJump;
  Add(expected, {{-20, 20}});
  AddKind4(expected);
  AddKind1(expected);  // leaves the needle on the top-right corner of the cell below
  AddKind2(expected);
  AddKind5(expected);
  AddTieOffUpFirst(expected);
  EXPECT_EQ(made.bytes, expected);
}

TEST(CrossStitch, ARowBelowIsWalkedBackFromItsFarEnd) {
  MaskBuilder m;
  Cells(m, 34, 49, 1, 1);
  Cells(m, 34, 50, 2, 1);
  const auto made = MakePart(m.Bytes(), kCrossStitch);
  // Row 1: cell 34 alone; the cell below it is free, so row 2 is the run through it walked
  // leftwards from its right end: kinds 2 then 5.
  Bytes expected = kZeroJump;
  Add(expected, {{-20, 20}});
  AddKind4(expected);
  Add(expected, {{20, 0}});  // from the bottom-right of (34, 49) to the top-right of (35, 50)
  AddKind2(expected);
  AddKind5(expected);
  AddTieOffUpFirst(expected);
  EXPECT_EQ(made.bytes, expected);
}

TEST(CrossStitch, TwentyPixelsOccupyACellNineteenDoNot) {
  MaskBuilder nineteen;
  for (int i = 0; i < 19; ++i) nineteen.Set(272 + i % 8, 392 + i / 8);
  const auto empty = MakePart(nineteen.Bytes(), kCrossStitch);
  EXPECT_EQ(empty.result, 0);
  EXPECT_TRUE(empty.bytes.empty());

  MaskBuilder twenty = nineteen;
  twenty.Set(272 + 19 % 8, 392 + 19 / 8);
  const auto occupied = MakePart(twenty.Bytes(), kCrossStitch);
  EXPECT_GT(occupied.result, 6);
}

TEST(CrossStitch, FarBlocksAreJoinedByAStitchSplitIntoJumps) {
  MaskBuilder m;
  Cells(m, 0, 0, 1, 1);
  Cells(m, 60, 90, 1, 1);
  const auto made = MakePart(m.Bytes(), kCrossStitch);
  ASSERT_TRUE(made.walk.error.empty());
  // Two cells, each a kind-4 pattern with its own tie-off; the way between them (1,200 by
  // 1,800 units) is too long for one pair.
  EXPECT_GT(made.walk.jumps, 10);
  Bytes firstCell;
  AddKind4(firstCell);
  AddTieOffUpFirst(firstCell);
  const auto at =
      std::search(made.bytes.begin(), made.bytes.end(), firstCell.begin(), firstCell.end());
  ASSERT_NE(at, made.bytes.end());
  const auto second = std::search(at + 1, made.bytes.end(), firstCell.begin(), firstCell.end());
  ASSERT_NE(second, made.bytes.end());
  EXPECT_EQ(second + firstCell.size(), made.bytes.end());
}

TEST(CrossStitch, AFarCellInsideABlockIsReachedAfterATieOff) {
  // Row 1 is cells 30..32; the run below its end reaches from 32 to 36, so row 2 begins
  // 8 mm to the right of where row 1 left the needle.
  MaskBuilder m;
  Cells(m, 30, 49, 3, 1);
  Cells(m, 32, 50, 5, 1);
  const auto made = MakePart(m.Bytes(), kCrossStitch);
  Bytes expected = kZeroJump;
  Add(expected, {{-100, 20}});  // to (600, 980)
  AddKind4(expected);
  AddKind1(expected);
  AddKind1(expected);
  AddTieOffUpFirst(expected);
  Add(expected, {{80, 0}});  // (660, 1000) to the top-right of (36, 50)
  for (int cell = 36; cell > 32; --cell) AddKind2(expected);
  AddKind5(expected);
  AddTieOffUpFirst(expected);
  EXPECT_EQ(made.bytes, expected);
}

TEST(CrossStitch, ABlockGoesOnOnlyUnderTwoTakenCells) {
  // Row 1 is cells 30..35, the cell below its end is empty; searching back, the next row's
  // first free cell is 33, under taken cells 33 and 34: the block goes on, leftwards from 33.
  MaskBuilder joined;
  Cells(joined, 30, 49, 6, 1);
  Cells(joined, 31, 50, 3, 1);
  const auto together = MakePart(joined.Bytes(), kCrossStitch);
  Bytes expected = kZeroJump;
  Add(expected, {{-100, 20}});
  AddKind4(expected);
  for (int cell = 31; cell <= 35; ++cell) AddKind1(expected);
  AddTieOffUpFirst(expected);
  Add(expected, {{-40, 0}});  // (720, 1000) to the top-right of (33, 50)
  AddKind2(expected);
  AddKind2(expected);
  AddKind5(expected);
  AddTieOffUpFirst(expected);
  EXPECT_EQ(together.bytes, expected);

  // A free cell found beyond the start of the row's run is not under taken cells: the block
  // ends, and that cell is a block of its own later, starting with a kind-4 cell.
  MaskBuilder apart;
  Cells(apart, 32, 49, 4, 1);
  Cells(apart, 30, 50, 1, 1);
  const auto separate = MakePart(apart.Bytes(), kCrossStitch);
  Bytes lastCell;
  AddKind4(lastCell);
  AddTieOffUpFirst(lastCell);
  ASSERT_GE(separate.bytes.size(), lastCell.size());
  EXPECT_TRUE(std::equal(lastCell.begin(), lastCell.end(),
                         separate.bytes.end() - static_cast<std::ptrdiff_t>(lastCell.size())));
}

// Every needle point of a cross-stitched part lies on an occupied cell of the 2 mm grid, on a
// corner, the centre or halfway between; the way from the start is the only exception.
TEST(CrossStitch, CorpusPartsStayOnTheirOccupiedCells) {
  for (const auto& mask : vtest::BuildMaskCorpus()) {
    SCOPED_TRACE(mask.name);
    std::set<std::pair<int, int>> occupied;
    for (int row = 0; row < 100; ++row) {
      for (int column = 0; column < 70; ++column) {
        int set = 0;
        for (int y = 0; y < 8; ++y) {
          for (int x = 0; x < 8; ++x)
            set += mask.bytes[(8 * row + 1 + y) * 562 + 8 * column + 1 + x] == 1;
        }
        if (set >= 20) occupied.insert({column, row});
      }
    }
    const auto made = MakePart(mask.bytes, kCrossStitch);
    ASSERT_TRUE(made.walk.ended);
    EXPECT_TRUE(made.walk.error.empty());
    if (occupied.empty()) {
      EXPECT_EQ(made.result, 0);
      continue;
    }
    if (made.result < 0) continue;  // the full area passes the limit
    EXPECT_EQ(made.result, static_cast<int>(made.bytes.size() / 2) + 4);
    for (const auto& p : made.points) {
      if (p.kind != vtest::NeedleKind::kStitch) continue;
      EXPECT_EQ(p.x % 5, 0);
      EXPECT_EQ(p.y % 5, 0);
      // The cells this point touches: one of them is occupied.
      bool onCell = false;
      for (int dx : {0, -1}) {
        for (int dy : {0, -1}) {
          onCell = onCell || occupied.count({p.x / 20 + dx, p.y / 20 + dy}) > 0;
        }
      }
      EXPECT_TRUE(onCell) << p.x << "," << p.y;
    }
  }
}

// The full area holds 7,000 cells, more than one stitch area: the part fails, every cell
// written is whole, and nothing passes the limit.
TEST(CrossStitch, TheFullAreaFailsWithWholeCellsOnly) {
  MaskBuilder m;
  const auto made = MakePart(m.Rect(0, 0, 560, 800).Bytes(), kCrossStitch);
  EXPECT_EQ(made.result, -1);
  ASSERT_TRUE(made.walk.ended);
  EXPECT_TRUE(made.walk.error.empty());
  EXPECT_LE(made.bytes.size(), static_cast<std::size_t>(kSeamlibStitchAreaBytes - 2));
  // Rows of 70 cells need more than the 1,400 bytes a whole-row guard would leave: the
  // room is checked per cell, so the area is filled to within one cell and ends on a whole
  // pattern.
  EXPECT_GT(made.bytes.size(), static_cast<std::size_t>(kSeamlibStitchAreaBytes - 2 - 32));
  Bytes kind1, kind2;
  AddKind1(kind1);
  AddKind2(kind2);
  auto endsWith = [&](const Bytes& tail) {
    return std::equal(tail.begin(), tail.end(),
                      made.bytes.end() - static_cast<std::ptrdiff_t>(tail.size()));
  };
  EXPECT_TRUE(endsWith(kind1) || endsWith(kind2));
}

}  // namespace
