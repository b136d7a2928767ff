#include "digitizer/pictorel_send_piece.h"

#include <gtest/gtest.h>

#include <cstring>

#include "design/qnf_file.h"
#include "platform/le_bytes.h"
#include "testing/fixed_clock.h"
#include "testing/stitch_stream_builder.h"

namespace digitizer {
namespace {

using Bytes = std::vector<uint8_t>;

void Load(CStitchDesign& design, const Bytes& stitches, std::initializer_list<int32_t> threads) {
  design.ResetStitches();
  std::memcpy(design.Record()->Stitches(), stitches.data(), stitches.size());
  int block = 0;
  for (int32_t code : threads) design.Record()->SetThreadCode(block++, code);
}

// blocks of `stitches` plain (1, 0) pairs each, one colour change between blocks.
Bytes Blocks(int blocks, int stitches) {
  vtest::StitchStreamBuilder b;
  for (int k = 0; k < blocks; ++k) {
    if (k > 0) b.ColourChange();
    for (int i = 0; i < stitches; ++i) b.Stitch(1, 0);
  }
  b.End();
  return b.Bytes();
}

Bytes Stitches(const Bytes& image) {
  const int32_t offset = platform::ReadI32(image.data());
  return Bytes(image.begin() + offset, image.end());
}

TEST(WriteJump, SamePointWritesNothingAndShortMoveIsOneJump) {
  Bytes out;
  EXPECT_EQ(WriteJump(5, 5, 5, 5, out), 0u);
  EXPECT_TRUE(out.empty());
  // y grows downward: 20 down is stored as dy -20.
  EXPECT_EQ(WriteJump(0, 0, 10, 20, out), 2u);
  EXPECT_EQ(out, (Bytes{0x80, 0x02, 0x0A, 0xEC}));
}

TEST(WriteJump, LongMoveIsTheChainWithItsRestAndLandsExactly) {
  Bytes out;
  WriteJump(0, 0, 300, 0, out);
  EXPECT_EQ(out, (Bytes{0x80, 0x02, 127, 0, 0x80, 0x02, 127, 0, 0x80, 0x02, 46, 0}));
  out.clear();
  WriteJump(0, 0, 254, 0, out);  // the rest pair is written even when it is zero
  EXPECT_EQ(out, (Bytes{0x80, 0x02, 127, 0, 0x80, 0x02, 127, 0, 0x80, 0x02, 0, 0}));
  out.clear();
  WriteJump(100, 50, -700, 1250, out);
  int x = 100, y = 50;
  for (std::size_t i = 0; i < out.size(); i += 4) {
    ASSERT_EQ(out[i], 0x80);
    ASSERT_EQ(out[i + 1], 0x02);
    const int dx = static_cast<int8_t>(out[i + 2]), dy = static_cast<int8_t>(out[i + 3]);
    EXPECT_NE(std::abs(dx), 119);
    EXPECT_NE(std::abs(dy), 119);
    x += dx;
    y -= dy;
  }
  EXPECT_EQ(x, -700);
  EXPECT_EQ(y, 1250);
}

TEST(WriteJump, AMoveOf119NeverSitsOnOneJump) {
  Bytes out;
  WriteJump(0, 0, 119, 0, out);
  int x = 0;
  for (std::size_t i = 0; i < out.size(); i += 4) {
    EXPECT_NE(static_cast<int8_t>(out[i + 2]), 119);
    x += static_cast<int8_t>(out[i + 2]);
  }
  EXPECT_EQ(x, 119);
}

TEST(CutPiece, SmallSplitIsByteExact) {
  vtest::FixedClock clock({2026, 3, 4, 5, 6, 7});
  CStitchDesign design;
  design.SetHoop(2);
  // Block 0: two stitches; block 1: a jump, one stitch; block 2: one stitch.
  vtest::StitchStreamBuilder b;
  b.Stitch(3, 4).Stitch(-2, 1).ColourChange().Jump(10, -10).Stitch(1, 1).ColourChange().Stitch(5, 0).End();
  Load(design, b.Bytes(), {7, 8, 9});

  int nextBlock = 1;
  Bytes piece;
  // Limit 6: block 0 with its change (4 pairs), block 1 would take the piece past 6.
  ASSERT_EQ(CutPiece(design, nextBlock, piece, 6, '5', 1), 116u + 8 + 2 * 3);
  EXPECT_EQ(nextBlock, 2);
  Bytes expected(116 + 8 + 6, 0);
  platform::WriteI32(expected.data(), 124);
  platform::WriteI32(expected.data() + 4, 11);
  std::memcpy(expected.data() + 8, "20260304050607", 14);
  expected[22] = '5';
  expected[23] = 1;
  platform::WriteI32(expected.data() + 24, 1);
  platform::WriteI32(expected.data() + 28, 3);
  platform::WriteI32(expected.data() + 32, 2);
  // Extents from the hoop centre: x 0..3, y -5..0 (y downward).
  platform::WriteI32(expected.data() + 36, 0);
  platform::WriteI32(expected.data() + 40, 5);
  platform::WriteI32(expected.data() + 44, 3);
  platform::WriteI32(expected.data() + 48, 0);
  const int margins[4][4] = {{550, 545, 547, 550}, {250, 245, 247, 250}, {700, 995, 697, 1000},
                             {700, 995, 697, 1000}};
  for (int m = 0; m < 4; ++m)
    for (int k = 0; k < 4; ++k) platform::WriteI32(expected.data() + 52 + 16 * m + 4 * k, margins[m][k]);
  platform::WriteI32(expected.data() + 116, 7);
  platform::WriteI32(expected.data() + 120, 13);
  const Bytes stitches{3, 4, 0xFE, 1, 0x80, 0x10};
  std::memcpy(expected.data() + 124, stitches.data(), stitches.size());
  EXPECT_EQ(piece, expected);

  // Piece 2 jumps from the centre to (1, -5), after block 1's change, and carries block 1.
  ASSERT_GT(CutPiece(design, nextBlock, piece, 6, '5', 2), 0u);
  EXPECT_EQ(nextBlock, 3);
  EXPECT_EQ(piece[22], '5');
  EXPECT_EQ(piece[23], 2);
  EXPECT_EQ(platform::ReadI32(piece.data() + 116), 8);
  EXPECT_EQ(Stitches(piece), (Bytes{0x80, 0x02, 1, 5, 0x80, 0x02, 10, 0xF6, 1, 1, 0x80, 0x10}));
  EXPECT_EQ(platform::ReadI32(piece.data() + 28), 6);

  ASSERT_GT(CutPiece(design, nextBlock, piece, 6, '5', 3), 0u);
  EXPECT_EQ(nextBlock, 0);
  EXPECT_EQ(platform::ReadI32(piece.data() + 116), 9);
  EXPECT_EQ(Stitches(piece), (Bytes{0x80, 0x02, 12, 0xFC, 5, 0, 0x80, 0x10}));
}

TEST(CutPiece, WholeDesignUnderTheLimitIsOnePieceAndMarkersAreDropped) {
  CStitchDesign design;
  vtest::StitchStreamBuilder b;
  b.Stitch(1, 1).Marker().ColourChange().Stitch(2, 2).End();
  Load(design, b.Bytes(), {3, 4});
  int nextBlock = 1;
  Bytes piece;
  ASSERT_EQ(CutPiece(design, nextBlock, piece, 100, '1', 1), 116u + 16 + 2 * 5);
  EXPECT_EQ(nextBlock, 0);
  EXPECT_EQ(platform::ReadI32(piece.data() + 24), 2);
  EXPECT_EQ(platform::ReadI32(piece.data() + 116), 3);
  EXPECT_EQ(platform::ReadI32(piece.data() + 120), 4);
  EXPECT_EQ(platform::ReadI32(piece.data() + 124), 13);
  EXPECT_EQ(Stitches(piece), (Bytes{1, 1, 0x80, 0x01, 0, 0, 2, 2, 0x80, 0x10}));
}

TEST(CutPiece, ThreeBlocksOfTwentyThousandBecomeThreePieces) {
  CStitchDesign design;
  Load(design, Blocks(3, 20000), {1, 2, 3});
  int nextBlock = 1;
  Bytes piece;
  int32_t x = 0;
  for (int k = 1; k <= 3; ++k) {
    ASSERT_GT(CutPiece(design, nextBlock, piece, 32700, '1', k), 0u) << k;
    const int32_t pairs = platform::ReadI32(piece.data() + 28);
    EXPECT_LE(pairs, 32700);
    EXPECT_EQ(piece.size(), 116u + 8 + 2u * pairs);
    EXPECT_EQ(platform::ReadI32(piece.data() + 116), k);
    const Bytes s = Stitches(piece);
    if (k > 1) {  // a chain from the centre to x
      int jumped = 0;
      std::size_t i = 0;
      for (; i + 3 < s.size() && s[i] == 0x80 && s[i + 1] == 0x02; i += 4) jumped += static_cast<int8_t>(s[i + 2]);
      EXPECT_EQ(jumped, x);
      EXPECT_EQ(s[i], 1);
    }
    x += 20000;
  }
  EXPECT_EQ(nextBlock, 0);
}

TEST(CutPiece, ASingleBlockOverTheLimitCannotBeCut) {
  CStitchDesign design;
  Load(design, Blocks(1, 40000), {1});
  int nextBlock = 1;
  Bytes piece;
  EXPECT_EQ(CutPiece(design, nextBlock, piece, 32700, '1', 1), 0u);
  EXPECT_TRUE(piece.empty());
  // A later block over the limit fails its own piece.
  vtest::StitchStreamBuilder b;
  for (int i = 0; i < 30000; ++i) b.Stitch(0, 1);
  b.ColourChange();
  for (int i = 0; i < 70000; ++i) b.Stitch(0, 1);
  Load(design, b.End().Bytes(), {1, 2});
  nextBlock = 1;
  ASSERT_GT(CutPiece(design, nextBlock, piece, 65535, '1', 1), 0u);
  EXPECT_EQ(nextBlock, 2);
  EXPECT_EQ(CutPiece(design, nextBlock, piece, 65535, '1', 2), 0u);
}

TEST(CutPiece, StreamWithoutEndOrBlockPastTheDesignGivesNothing) {
  CStitchDesign design;
  design.ResetStitches();
  std::memset(design.Record()->Stitches(), 1, design.Record()->StitchRoom());
  int nextBlock = 1;
  Bytes piece;
  EXPECT_EQ(CutPiece(design, nextBlock, piece, 65535, '1', 1), 0u);
  Load(design, Blocks(2, 3), {1, 2});
  nextBlock = 5;
  EXPECT_EQ(CutPiece(design, nextBlock, piece, 65535, '1', 1), 0u);
  nextBlock = 0;
  EXPECT_EQ(CutPiece(design, nextBlock, piece, 65535, '1', 1), 0u);
  CStitchDesign empty;
  nextBlock = 1;
  EXPECT_EQ(CutPiece(empty, nextBlock, piece, 65535, '1', 1), 0u);
}

TEST(CutPiece, TheLimitIsNeverPassedEvenWhenTheChangeLandsOnIt) {
  CStitchDesign design;
  // Block 0 of 4 stitches: its change is pair 5 and its move pair 6.
  Load(design, Blocks(3, 4), {1, 2, 3});
  for (int32_t limit = 5; limit <= 8; ++limit) {
    int nextBlock = 1;
    Bytes piece;
    ASSERT_GT(CutPiece(design, nextBlock, piece, limit, '1', 1), 0u) << limit;
    EXPECT_LE(platform::ReadI32(piece.data() + 28), limit);
    const Bytes s = Stitches(piece);
    EXPECT_EQ(s[s.size() - 2], 0x80);
    EXPECT_EQ(s.back(), 0x10);
  }
}

TEST(CutPiece, AFullColourTableEndsThePiece) {
  CStitchDesign design;
  Load(design, Blocks(100, 1), {});
  int nextBlock = 1;
  Bytes piece;
  ASSERT_GT(CutPiece(design, nextBlock, piece, 65535, '1', 1), 0u);
  EXPECT_EQ(platform::ReadI32(piece.data() + 24), 78);
  EXPECT_EQ(nextBlock, 79);
  ASSERT_GT(CutPiece(design, nextBlock, piece, 65535, '1', 2), 0u);
  EXPECT_EQ(platform::ReadI32(piece.data() + 24), 22);
  EXPECT_EQ(nextBlock, 0);
}

}  // namespace
}  // namespace digitizer
