#include "layoutcore/monogram/monogram_stitches.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include "testing/stitch_stream_builder.h"

using editor::EmbroideryArea;
using editor::MonogramGlyph;
using editor::NeedlePoint;
using editor::StitchSink;
using vtest::StitchStreamBuilder;

namespace {

std::vector<uint8_t> Encode(NeedlePoint from, NeedlePoint to, NeedlePoint* after = nullptr) {
  std::vector<uint8_t> area(200, 0xEE);
  StitchSink sink(area);
  EXPECT_TRUE(editor::EncodeJumpMove(from, to, sink));
  if (after) *after = from;
  area.resize(sink.Position());
  return area;
}

MonogramGlyph GlyphOf(const std::vector<uint8_t>& stitches, int angle = 0) {
  MonogramGlyph g;
  g.character = 'A';
  g.angle = angle;
  g.record.bytes.assign(76, 0);
  g.record.bytes.insert(g.record.bytes.end(), stitches.begin(), stitches.end());
  return g;
}

struct Written {
  bool ok;
  std::vector<uint8_t> bytes;
  NeedlePoint needle;
};

Written Write(const MonogramGlyph& g, NeedlePoint start, EmbroideryArea area = {1100, 1100}) {
  std::vector<uint8_t> out(400, 0xEE);
  StitchSink sink(out);
  NeedlePoint needle = start;
  const bool ok = editor::WriteGlyphStitches(g, needle, area, sink);
  out.resize(sink.Position());
  return {ok, out, needle};
}

}  // namespace

TEST(MonogramJumpMove, AMoveOfNothingStillWritesOnePair) {
  EXPECT_EQ(Encode({550, 550}, {550, 550}), (std::vector<uint8_t>{0x80, 0x02, 0, 0}));
}

TEST(MonogramJumpMove, YGrowsDownOnTheLayoutAndUpOnTheWire) {
  NeedlePoint after;
  // 40 right and 30 down in the preview is (40, -30) on the wire.
  EXPECT_EQ(Encode({100, 100}, {140, 130}, &after), (std::vector<uint8_t>{0x80, 0x02, 40, 0xE2}));
  EXPECT_EQ(after, (NeedlePoint{140, 130}));
}

TEST(MonogramJumpMove, LongMovesStepBy120PerAxisWithTheRestLast) {
  // (300, 50) upward: each axis on its own, an axis that is done carries 0.
  EXPECT_EQ(Encode({0, 100}, {300, 50}),
            (std::vector<uint8_t>{0x80, 0x02, 120, 50, 0x80, 0x02, 120, 0, 0x80, 0x02, 60, 0}));
  // (-130, 250) upward: y needs three pairs, x two.
  EXPECT_EQ(Encode({200, 300}, {70, 50}),
            (std::vector<uint8_t>{0x80, 0x02, 0x88, 120, 0x80, 0x02, 0xF6, 120, 0x80, 0x02, 0, 10}));
}

TEST(MonogramJumpMove, NoJumpPairCarries119AndEveryChainAddsUpToItsMove) {
  // A jump of 119 would be sewn as a long stitch across the garment.
  for (int move = -500; move <= 500; ++move) {
    const std::vector<uint8_t> bytes = Encode({600, 600}, {600 + move, 600 + move / 3});
    ASSERT_EQ(bytes.size() % 4, 0u);
    int sumX = 0, sumY = 0;
    for (std::size_t i = 0; i < bytes.size(); i += 4) {
      const int x = static_cast<int8_t>(bytes[i + 2]), y = static_cast<int8_t>(bytes[i + 3]);
      ASSERT_TRUE(std::abs(x) <= 120 && std::abs(y) <= 120 && std::abs(x) != 119 && std::abs(y) != 119) << move;
      sumX += x;
      sumY += y;
    }
    EXPECT_EQ(sumX, move);
    EXPECT_EQ(sumY, -(move / 3));
  }
}

TEST(MonogramJumpMove, AFullAreaWritesNothing) {
  std::vector<uint8_t> area(6, 0xEE);
  StitchSink sink(area);
  NeedlePoint needle{0, 0};
  EXPECT_FALSE(editor::EncodeJumpMove(needle, {1000, 0}, sink));
  EXPECT_EQ(needle, (NeedlePoint{0, 0}));
  EXPECT_LE(sink.Position(), 6u);
}

TEST(MonogramGlyphStitches, UnturnedPairsPassAndJumpsGetAZeroStitch) {
  const auto w = Write(GlyphOf(StitchStreamBuilder().Stitch(10, 5).Jump(20, -5).ColourChange().Stitch(3, 3).End().Bytes()),
                       {500, 500});
  ASSERT_TRUE(w.ok);
  // The colour change's own pair is sewn as a stitch of (0, 0).
  EXPECT_EQ(w.bytes, (std::vector<uint8_t>{10, 5, 0x80, 0x02, 20, 0xFB, 0, 0, 0, 0, 3, 3}));
  EXPECT_EQ(w.needle, (NeedlePoint{533, 497}));
}

TEST(MonogramGlyphStitches, TurnedPairsBeyondOnePairSplitInTwoJumps) {
  // (127, 127) turned by 45 degrees is about (179.6, 0): two jumps of half and a zero stitch.
  const auto w = Write(GlyphOf(StitchStreamBuilder().Stitch(127, 127).End().Bytes(), 45), {500, 500});
  ASSERT_TRUE(w.ok);
  EXPECT_EQ(w.bytes, (std::vector<uint8_t>{0x80, 0x02, 89, 0, 0x80, 0x02, 90, 0, 0, 0}));
  EXPECT_EQ(w.needle, (NeedlePoint{679, 500}));
}

TEST(MonogramGlyphStitches, AJumpOf119IsMovedOffTheLongStitch) {
  const auto w = Write(GlyphOf(StitchStreamBuilder().Jump(119, 0).End().Bytes()), {500, 500});
  ASSERT_TRUE(w.ok);
  EXPECT_EQ(w.bytes, (std::vector<uint8_t>{0x80, 0x02, 59, 0, 0x80, 0x02, 60, 0, 0, 0}));
}

TEST(MonogramGlyphStitches, TheNeedleFollowsTheWrittenPairsNotTheExactPath) {
  // Quarter-unit pairs at 30 degrees leave fractions; the needle is where the bytes put it.
  const auto w = Write(GlyphOf(StitchStreamBuilder().Stitch(10, 0).Stitch(10, 0).Stitch(10, 0).End().Bytes(), 30),
                       {500, 500});
  ASSERT_TRUE(w.ok);
  int x = 500, y = 500;
  for (std::size_t i = 0; i < w.bytes.size(); i += 2) {
    x += static_cast<int8_t>(w.bytes[i]);
    y -= static_cast<int8_t>(w.bytes[i + 1]);
  }
  EXPECT_EQ(w.needle, (NeedlePoint{x, y}));
}

TEST(MonogramGlyphStitches, LeavingTheEmbroideryAreaFails) {
  EXPECT_FALSE(Write(GlyphOf(StitchStreamBuilder().Stitch(-20, 0).End().Bytes()), {10, 500}).ok);
  EXPECT_FALSE(Write(GlyphOf(StitchStreamBuilder().Stitch(0, -20).End().Bytes()), {500, 1090}).ok);
  EXPECT_TRUE(Write(GlyphOf(StitchStreamBuilder().Stitch(0, -10).End().Bytes()), {500, 1090}).ok);
  EXPECT_FALSE(Write(GlyphOf(StitchStreamBuilder().Stitch(0, 30).End().Bytes()), {500, 20}).ok);
}
