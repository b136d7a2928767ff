#include "design/stitch_transformer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "design/stitch_encoder.h"
#include "testing/stitch_stream_builder.h"
#include "testing/stitch_walker.h"

namespace {

using design::CLayoutStitchTransformer;
using design::CStitchTransformer;
using design::LayoutStitchRecord;
using design::StitchRecord;
using Bytes = std::vector<uint8_t>;
using B = vtest::StitchStreamBuilder;

void Load(StitchRecord& record, const Bytes& stitches) {
  std::copy(stitches.begin(), stitches.end(), record.Stitches());
  record.SetPairCount(static_cast<int32_t>(stitches.size() / 2));
}

// The stream in the bytes, up to and including its end pair.
Bytes StreamOf(std::span<const uint8_t> bytes) {
  const vtest::WalkResult walk = vtest::WalkStitches(bytes);
  EXPECT_TRUE(walk.ended) << walk.error;
  return Bytes(bytes.begin(), bytes.begin() + (walk.ended ? walk.endOffset + 2 : 0));
}

struct Outcome {
  bool ok = false;
  int copied = -1;
  Bytes stream;
};

Outcome Transform(const Bytes& source, double scaleX, double scaleY, bool mirrorX, bool mirrorY,
                  int angle, bool largeHoop = false) {
  StitchRecord in;
  Load(in, source);
  StitchRecord out;
  Outcome r;
  r.ok = CStitchTransformer().Transform(in, out, scaleX, scaleY, r.copied, mirrorX, mirrorY, angle,
                                        largeHoop);
  if (r.ok) {
    r.stream = StreamOf(out.StitchArea());
    EXPECT_EQ(out.PairCount() * 2, r.copied);
  }
  return r;
}

Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Bytes Identity(const Bytes& source) {
  const Outcome r = Transform(source, 1.0, 1.0, false, false, 0);
  EXPECT_TRUE(r.ok);
  return r.stream;
}

Bytes ScaleOnly(const Bytes& source, double scaleX, double scaleY) {
  StitchRecord in;
  Load(in, source);
  StitchRecord out;
  EXPECT_TRUE(CStitchTransformer().Scale(in, out, scaleX, scaleY));
  return StreamOf(out.StitchArea());
}

TEST(StitchTransformer, IdentityRewritesJumpRunsAndKeepsTheRest) {
  const Bytes source = B().Stitch(5, 5).Jump(50, 0).JumpAlt(30, 10).Stitch(2, 2).Stitch(3, 3)
                           .ColourChange().Stitch(1, 1).Marker().Control(0x07).Stitch(0, 1).End().Bytes();
  StitchRecord in;
  Load(in, source);
  StitchRecord out;
  out.SetFlags(10);
  out.SetColourCount(3);
  out.SetExtents({1, 2, 3, 4});
  int copied = -1;
  ASSERT_TRUE(CStitchTransformer().Transform(in, out, 1.0, 1.0, copied, false, false, 0, false));
  // The run becomes a zero jump and a landing carrying the whole run; the unknown code goes.
  const Bytes expected = B().Stitch(5, 5).Jump(0, 0).Stitch(82, 12).Stitch(3, 3)
                             .ColourChange().Stitch(1, 1).Marker().Stitch(0, 1).End().Bytes();
  EXPECT_EQ(StreamOf(out.StitchArea()), expected);
  EXPECT_EQ(copied, static_cast<int>(expected.size()));
  EXPECT_EQ(out.PairCount(), static_cast<int>(expected.size() / 2));
  EXPECT_EQ(out.Flags(), 10);
  EXPECT_EQ(out.ColourCount(), 3);
  EXPECT_EQ(out.GetExtents(), (design::Extents{1, 2, 3, 4}));
  // Already rewritten: a second identity changes nothing.
  EXPECT_EQ(Identity(expected), expected);
}

TEST(StitchTransformer, PairRuleExamples) {
  // A sewn long stitch that fits is one plain pair.
  EXPECT_EQ(Identity(B().Jump(119, 0).Stitch(3, 0).End().Bytes()), B().Stitch(122, 0).End().Bytes());
  // A long jump run: whole steps as jumps, the rest as the landing.
  EXPECT_EQ(Identity(B().Jump(127, 0).Jump(127, 0).Stitch(46, 0).End().Bytes()),
            B().Jump(127, 0).Jump(127, 0).Stitch(46, 0).End().Bytes());
  EXPECT_EQ(Identity(B().Jump(100, 0).Jump(100, 0).Jump(100, 0).End().Bytes()),
            B().Jump(127, 0).Jump(127, 0).Stitch(46, 0).End().Bytes());
  // A run ended by a colour change gets its landing before the change.
  EXPECT_EQ(Identity(B().Jump(10, 20).ColourChange().Stitch(1, 0).End().Bytes()),
            B().Jump(0, 0).Stitch(10, 20).ColourChange().Stitch(1, 0).End().Bytes());
}

TEST(StitchTransformer, ScalePassExamples) {
  EXPECT_EQ(ScaleOnly(B().Stitch(100, 0).End().Bytes(), 1.5, 1.5),
            (Bytes{0x80, 0x02, 0x77, 0x00, 0x1F, 0x00, 0x80, 0x10}));
  EXPECT_EQ(ScaleOnly(B().Stitch(-100, 40).End().Bytes(), 1.5, 1.5),
            (Bytes{0x80, 0x02, 0x89, 0x1E, 0xE1, 0x1E, 0x80, 0x10}));
  // The rounding error is carried forward.
  EXPECT_EQ(ScaleOnly(B().Stitch(1, 0).Stitch(1, 0).Stitch(1, 0).Stitch(1, 0).Stitch(1, 0).End().Bytes(),
                      0.5, 0.5),
            B().Stitch(0, 0).Stitch(1, 0).Stitch(0, 0).Stitch(1, 0).Stitch(0, 0).End().Bytes());
  // The whole transform re-reads the long stitch in its turn pass as one run of (-150, 60).
  const Outcome whole = Transform(B().Stitch(-100, 40).End().Bytes(), 1.5, 1.5, false, false, 0);
  ASSERT_TRUE(whole.ok);
  EXPECT_EQ(whole.stream, B().Jump(-119, 47).Stitch(-31, 13).End().Bytes());
}

TEST(StitchTransformer, TurnsClockwiseAsSeen) {
  const Bytes source = B().Stitch(10, 0).Stitch(0, 20).Stitch(-3, 4).End().Bytes();
  EXPECT_EQ(Transform(source, 1, 1, false, false, 90).stream,
            B().Stitch(0, -10).Stitch(20, 0).Stitch(4, 3).End().Bytes());
  EXPECT_EQ(Transform(source, 1, 1, false, false, 180).stream,
            B().Stitch(-10, 0).Stitch(0, -20).Stitch(3, -4).End().Bytes());
  EXPECT_EQ(Transform(source, 1, 1, false, false, 270).stream,
            B().Stitch(0, 10).Stitch(-20, 0).Stitch(-4, -3).End().Bytes());
  // Mirror first, then turn. The turn is a hair short of a quarter: the mirrored first pair
  // leaves -0.00000000045 behind, so the second pair truncates to 19; the carried rest
  // stays below one unit.
  EXPECT_EQ(Transform(source, 1, 1, true, false, 90).stream,
            B().Stitch(0, 10).Stitch(19, 0).Stitch(4, -2).End().Bytes());
}

TEST(StitchTransformer, TheScalePassKeepsTheNeedleInTheHoopArea) {
  auto reaching = [](int dx, int dy) {
    B b;
    const int steps = std::max(std::abs(dx), std::abs(dy)) / 100;
    for (int i = 0; i < steps; ++i) b.Stitch(dx / (steps + 1), dy / (steps + 1));
    b.Stitch(dx - steps * (dx / (steps + 1)), dy - steps * (dy / (steps + 1)));
    return b.End().Bytes();
  };
  EXPECT_TRUE(Transform(reaching(550, 0), 1, 1, false, false, 0).ok);
  EXPECT_FALSE(Transform(reaching(551, 0), 1, 1, false, false, 0).ok);
  EXPECT_FALSE(Transform(reaching(0, -551), 1, 1, false, false, 0).ok);
  EXPECT_TRUE(Transform(reaching(551, 0), 1, 1, false, false, 0, true).ok);
  EXPECT_TRUE(Transform(reaching(-700, 1000), 1, 1, false, false, 0, true).ok);
  EXPECT_FALSE(Transform(reaching(701, 0), 1, 1, false, false, 0, true).ok);
  EXPECT_FALSE(Transform(reaching(-701, 0), 1, 1, false, false, 0, true).ok);
  EXPECT_FALSE(Transform(reaching(0, 1001), 1, 1, false, false, 0, true).ok);
  EXPECT_FALSE(Transform(reaching(0, -1001), 1, 1, false, false, 0, true).ok);
  // The area is checked on the scaled design, not on the source.
  EXPECT_FALSE(Transform(reaching(300, 0), 2.0, 2.0, false, false, 0).ok);
  // The turn pass has no area check.
  EXPECT_TRUE(Transform(reaching(540, 540), 1, 1, false, false, 45).ok);
}

TEST(StitchTransformer, AFailedTransformLeavesTheTargetAsItWas) {
  StitchRecord in;
  Load(in, B().Stitch(100, 0).Stitch(100, 0).Stitch(100, 0).End().Bytes());
  StitchRecord out;
  Load(out, B().Stitch(1, 2).End().Bytes());
  out.SetFlags(1);
  const StitchRecord before = out;
  int copied = -1;
  EXPECT_FALSE(CStitchTransformer().Transform(in, out, 2.0, 2.0, copied, false, false, 0, false));
  EXPECT_TRUE(out == before);
  EXPECT_EQ(copied, 0);
}

// ---- Mended faults ----

TEST(StitchTransformerMends, ALandingRestAlwaysFitsOnePair) {
  // The run (503, 507): whole steps of k = 125 leave (128, 126); no byte holds 128, so the
  // minor component is spread with real k instead.
  const Bytes run = B().Jump(127, 127).Jump(127, 127).Jump(127, 127).Jump(122, 126).Stitch(0, 0).End().Bytes();
  EXPECT_EQ(Identity(run),
            B().Jump(125, 127).Jump(126, 127).Jump(126, 127).Stitch(126, 126).End().Bytes());
  // Where whole steps leave a rest that fits, their bytes stay: (400, 200) has k = 63.
  const Bytes fits = B().Jump(100, 50).Jump(100, 50).Jump(100, 50).Jump(100, 50).End().Bytes();
  EXPECT_EQ(Identity(fits), B().Jump(127, 63).Jump(127, 63).Jump(127, 63).Stitch(19, 11).End().Bytes());
}

TEST(StitchTransformerMends, AJumpChainNeverCarries119) {
  // (254, 238): k = 119 on both steps; 118 is written and the unit carried.
  EXPECT_EQ(Identity(B().Jump(100, 100).Jump(100, 100).Jump(54, 38).Stitch(0, 0).End().Bytes()),
            B().Jump(127, 118).Jump(127, 120).Stitch(0, 0).End().Bytes());
  // (130, 122): one step; the carried unit ends in the landing.
  const Bytes out = Identity(B().Jump(100, 100).Jump(30, 22).End().Bytes());
  EXPECT_EQ(out, B().Jump(127, 118).Stitch(3, 4).End().Bytes());
  const vtest::WalkResult walk = vtest::WalkStitches(out);
  EXPECT_EQ(walk.longStitches, 0);
  EXPECT_EQ(walk.x, 130);
  EXPECT_EQ(walk.y, 122);
}

TEST(StitchTransformerMends, APlainPairBeyond246BecomesAChainOfSewnLongStitches) {
  EXPECT_EQ(ScaleOnly(B().Stitch(124, 0).End().Bytes(), 2.0, 2.0),
            B().Jump(119, 0).Jump(119, 0).Stitch(10, 0).End().Bytes());
  EXPECT_EQ(ScaleOnly(B().Stitch(124, 60).End().Bytes(), 2.0, 2.0),
            B().Jump(119, 57).Jump(119, 57).Stitch(10, 6).End().Bytes());
  EXPECT_EQ(ScaleOnly(B().Stitch(-20, -127).End().Bytes(), 2.0, 2.0),
            B().Jump(-18, -119).Jump(-18, -119).Stitch(-4, -16).End().Bytes());
  // The whole transform keeps it a sewn stitch that ends where it should.
  const Outcome whole = Transform(B().Stitch(124, 60).Stitch(3, 3).End().Bytes(), 2.0, 2.0, false, false, 0);
  ASSERT_TRUE(whole.ok);
  const vtest::WalkResult walk = vtest::WalkStitches(whole.stream);
  EXPECT_EQ(walk.longStitches, 2);
  EXPECT_EQ(walk.jumps, 0);
  EXPECT_EQ(walk.sewn.size(), 4u);
  EXPECT_EQ(walk.x, 254);
  EXPECT_EQ(walk.y, 126);
}

Bytes ExpandingDesign(int stitches) {
  B b;
  for (int i = 0; i < stitches; ++i) b.Stitch(i % 2 ? -100 : 100, 0);  // each grows to 6 bytes at 1.5
  return b.Bytes();
}

TEST(StitchTransformerMends, TheLengthLimitHoldsBeforeAnyByteIsWritten) {
  // 21,843 stitches grow to 131,058 bytes: below the limit. One more reaches it.
  const Bytes design = ExpandingDesign(21843);
  const Bytes end = B().End().Bytes();
  const Outcome under = Transform(Concat(design, end), 1.5, 1.0, false, false, 0);
  ASSERT_TRUE(under.ok);
  EXPECT_EQ(under.copied, 131060);
  EXPECT_FALSE(Transform(Concat(ExpandingDesign(21844), end), 1.5, 1.0, false, false, 0).ok);

  // Markers pass through unchecked by the limit, but never past the record.
  B oneMarker;
  oneMarker.Marker().End();
  EXPECT_TRUE(Transform(Concat(design, oneMarker.Bytes()), 1.5, 1.0, false, false, 0).ok);
  B manyMarkers;
  for (int i = 0; i < 10; ++i) manyMarkers.Marker();
  manyMarkers.End();
  EXPECT_FALSE(Transform(Concat(design, manyMarkers.Bytes()), 1.5, 1.0, false, false, 0).ok);
}

TEST(StitchTransformerMends, OneLongItemNeverWritesPastTheTarget) {
  // A 12,700-unit jump run is a chain of 100 jump pairs and a landing: 402 bytes. Into a
  // 300-byte target it must not go at all; the bytes behind the target stay untouched.
  B run;
  for (int i = 0; i < 100; ++i) run.Jump(127, 0);
  const Bytes source = run.Stitch(0, 0).End().Bytes();
  Bytes buffer(404, 0xEE);
  std::size_t written = 0;
  const design::MapPassRules rules{1000, false};
  EXPECT_EQ(design::MapStitchPairs(source, std::span(buffer).first(300), design::PairMap{}, rules,
                                   nullptr, written),
            design::MapPassStatus::kTooLong);
  EXPECT_TRUE(std::all_of(buffer.begin() + 300, buffer.end(), [](uint8_t b) { return b == 0xEE; }));
  // With room it is written whole.
  ASSERT_EQ(design::MapStitchPairs(source, buffer, design::PairMap{}, rules, nullptr, written),
            design::MapPassStatus::kOk);
  EXPECT_EQ(written, 404u);
  // The limit stops it the same way.
  const design::MapPassRules tight{402, false};
  EXPECT_EQ(design::MapStitchPairs(source, buffer, design::PairMap{}, tight, nullptr, written),
            design::MapPassStatus::kTooLong);
}

TEST(StitchTransformerMends, HostileRecordsFailCleanly) {
  // No end pair anywhere in the record.
  StitchRecord in;
  std::fill(in.Stitches(), in.Stitches() + in.StitchRoom(), 0x05);
  StitchRecord out;
  int copied = -1;
  CStitchTransformer transformer;
  EXPECT_FALSE(transformer.Transform(in, out, 1.0, 1.0, copied, false, false, 0, true));
  // A jump code as the last pair, its move pair missing; a jump run that never lands.
  std::size_t written = 0;
  Bytes target(64);
  for (const Bytes& cut : {B().Stitch(1, 1).Control(0x02).Bytes(), B().Jump(5, 5).Jump(5, 5).Bytes()}) {
    EXPECT_EQ(design::MapStitchPairs(cut, target, design::PairMap{}, {64, false}, nullptr, written),
              design::MapPassStatus::kMalformed);
  }
  // A stream longer than the work records.
  StitchRecord big(StitchRecord::kPictorelStitchRoom);
  std::fill(big.Stitches(), big.Stitches() + 200000, 0x00);
  big.Stitches()[200000] = 0x80;
  big.Stitches()[200001] = 0x10;
  EXPECT_FALSE(transformer.Transform(big, out, 1.0, 1.0, copied, false, false, 0, true));
  // Scales that are not numbers, or that no record could hold.
  const Bytes small = B().Stitch(3, 3).End().Bytes();
  EXPECT_FALSE(Transform(small, std::numeric_limits<double>::quiet_NaN(), 1.0, false, false, 0).ok);
  EXPECT_FALSE(Transform(small, std::numeric_limits<double>::infinity(), 1.0, false, false, 0).ok);
  // Any whole angle turns: even the most negative int has no positive twin to overflow into.
  EXPECT_TRUE(Transform(small, 1.0, 1.0, false, false, std::numeric_limits<int>::min()).ok);
  StitchRecord tiny;
  Load(tiny, small);
  EXPECT_FALSE(transformer.Transform(tiny, out, 1e300, 1e300, copied, false, false, 0, true));
}

TEST(StitchTransformerMends, MirrorOfMinus128Saturates) {
  const Bytes source{0x05, 0x80, 0x80, 0x10};  // dy = -128 has no byte for +128
  Bytes target(4, 0xEE);
  EXPECT_TRUE(CStitchTransformer().Mirror(source, target, true, true));
  EXPECT_EQ(target, (Bytes{0xFB, 0x7F, 0x80, 0x10}));
  Bytes cramped(2, 0xEE);
  EXPECT_FALSE(CStitchTransformer().Mirror(source, cramped, true, true));
}

// ---- The hoop-layout program's variant ----

Outcome LayoutTransform(const Bytes& source, double scaleX, double scaleY, bool mirrorX,
                        bool mirrorY, int angle) {
  LayoutStitchRecord in;
  std::copy(source.begin(), source.end(), in.Stitches());
  LayoutStitchRecord out;
  Outcome r;
  r.ok = CLayoutStitchTransformer().Transform(in, out, scaleX, scaleY, r.copied, mirrorX, mirrorY, angle);
  if (r.ok) {
    r.stream = StreamOf(out.StitchArea());
    EXPECT_EQ(out.PairCount() * 2, r.copied);
  }
  return r;
}

TEST(LayoutStitchTransformer, ScalesAndTurnsInOnePass) {
  // (100, 0) x 1.5 turned by 90 is (0, -150): split as one plain pair beyond reach.
  EXPECT_EQ(LayoutTransform(B().Stitch(100, 0).End().Bytes(), 1.5, 1.5, false, false, 90).stream,
            B().Jump(0, -119).Stitch(0, -31).End().Bytes());
  // One pass: (-100, 40) x 1.5 keeps the scale pass's split.
  EXPECT_EQ(LayoutTransform(B().Stitch(-100, 40).End().Bytes(), 1.5, 1.5, false, false, 0).stream,
            B().Jump(-119, 30).Stitch(-31, 30).End().Bytes());
  EXPECT_EQ(LayoutTransform(B().Stitch(10, 5).Jump(40, 0).Stitch(1, 1).End().Bytes(), 1, 1, true, false, 0).stream,
            B().Stitch(-10, 5).Jump(0, 0).Stitch(-41, 1).End().Bytes());
}

TEST(LayoutStitchTransformer, ReadsUnknownCodesAsPlainPairsAndKeepsTheHeader) {
  LayoutStitchRecord in;
  const Bytes source = B().Stitch(1, 1).Control(0x07).Marker().End().Bytes();
  std::copy(source.begin(), source.end(), in.Stitches());
  LayoutStitchRecord out;
  out.SetColourCount(4);
  out.SetThreadCode(0, 12);
  int copied = 0;
  ASSERT_TRUE(CLayoutStitchTransformer().Transform(in, out, 1, 1, copied, false, false, 0));
  // 0x80 0x07 is the pair (-128, 7): split into -119 and -9.
  const Bytes expected = B().Stitch(1, 1).Jump(-119, 3).Stitch(-9, 4).Marker().End().Bytes();
  EXPECT_EQ(StreamOf(out.StitchArea()), expected);
  EXPECT_EQ(out.PairCount(), static_cast<int>(expected.size() / 2));
  EXPECT_EQ(out.ColourCount(), 4);
  EXPECT_EQ(out.ThreadCode(0), 12);
}

TEST(LayoutStitchTransformer, HasItsOwnLengthLimitAndNoAreaCheck) {
  B end;
  end.End();
  // 21,845 stitches of 6 bytes each: past the editor's limit, below 0x20000.
  EXPECT_EQ(LayoutTransform(Concat(ExpandingDesign(21845), end.Bytes()), 1.5, 1.0, false, false, 0).copied,
            131072);
  EXPECT_FALSE(LayoutTransform(Concat(ExpandingDesign(21846), end.Bytes()), 1.5, 1.0, false, false, 0).ok);
  B far;
  for (int i = 0; i < 40; ++i) far.Stitch(100, 100);
  EXPECT_TRUE(LayoutTransform(far.End().Bytes(), 1.0, 1.0, false, false, 0).ok);

  LayoutStitchRecord in;  // all zero: no end pair
  LayoutStitchRecord out;
  out.SetPairCount(9);
  const LayoutStitchRecord before = out;
  int copied = -1;
  EXPECT_FALSE(CLayoutStitchTransformer().Transform(in, out, 1, 1, copied, false, false, 0));
  EXPECT_TRUE(out == before);
  EXPECT_EQ(copied, 0);
}

// ---- Random designs ----

struct RandomDesign {
  Bytes stream;
  int endX = 0;  // where the reference walker ends on the source
  int endY = 0;
};

// Stitches of every length a pair holds, jump chains from the encoder with their landings,
// sewn long stitches, colour changes, markers and (for the editor) unknown codes, all within
// 250 of the first point so that twice the size still fits the standard hoop.
RandomDesign MakeRandomDesign(std::mt19937& random, bool unknownCodes) {
  std::uniform_int_distribution<int> pick(0, 99);
  std::uniform_int_distribution<int> component(-127, 127);
  std::uniform_int_distribution<int> place(-250, 250);
  const design::CStitchEncoder encoder;
  B b;
  int x = 0, y = 0;
  auto within = [](int v) { return v >= -250 && v <= 250; };
  const int items = std::uniform_int_distribution<int>(1, 400)(random);
  for (int i = 0; i < items; ++i) {
    const int kind = pick(random);
    if (kind < 70) {
      int dx = component(random) / (kind < 50 ? 4 : 1);
      int dy = component(random) / (kind < 50 ? 4 : 1);
      if (!within(x + dx)) dx = -dx;
      if (!within(y + dy)) dy = -dy;
      b.Stitch(dx, dy);
      x += dx;
      y += dy;
    } else if (kind < 80) {
      const int tx = place(random), ty = place(random);
      Bytes chain(64);
      std::size_t pos = 0;
      encoder.EncodeMove(tx - x, ty - y, chain, pos);
      for (std::size_t p = 0; p < pos; p += 4) {
        b.Jump(static_cast<int8_t>(chain[p + 2]), static_cast<int8_t>(chain[p + 3]));
        x += static_cast<int8_t>(chain[p + 2]);
        y += static_cast<int8_t>(chain[p + 3]);
      }
      b.Stitch(0, 0);
    } else if (kind < 87) {
      const int sign = x > 0 ? -1 : 1;
      const int other = std::uniform_int_distribution<int>(-60, 60)(random);
      const int oy = within(y + other) ? other : -other;
      b.Jump(119 * sign, oy).Stitch(sign * 3, 0);
      x += 122 * sign;
      y += oy;
    } else if (kind < 94) {
      b.ColourChange();
    } else if (kind < 97) {
      b.Marker();
    } else if (unknownCodes) {
      b.Control(0x07);
    }
  }
  b.End();
  const vtest::WalkResult walk = vtest::WalkStitches(b.Bytes());
  return {b.Bytes(), walk.x, walk.y};
}

// One random transform: scales 0.5..2.0 (the same on both axes for the editor, whose dialog
// scales proportionally), angles 0..359, mirrors either way.
struct RandomTransform {
  double scaleX, scaleY;
  int angle;
  bool mirrorX, mirrorY, largeHoop;

  static RandomTransform Draw(std::mt19937& random, bool sameScale) {
    std::uniform_real_distribution<double> scales(0.5, 2.0);
    std::bernoulli_distribution coin(0.5);
    RandomTransform t{};
    t.scaleX = scales(random);
    t.scaleY = sameScale ? t.scaleX : scales(random);
    t.angle = std::uniform_int_distribution<int>(0, 359)(random);
    t.mirrorX = coin(random);
    t.mirrorY = coin(random);
    t.largeHoop = coin(random);
    return t;
  }
};

struct Expected {
  double x, y;
};
Expected MapEnd(int x, int y, const RandomTransform& t) {
  const double radians = -t.angle * 0.017453292519444445;
  const double sx = (t.mirrorX ? -x : x) * t.scaleX;
  const double sy = (t.mirrorY ? -y : y) * t.scaleY;
  return {sx * std::cos(radians) - sy * std::sin(radians), sx * std::sin(radians) + sy * std::cos(radians)};
}

void ExpectCleanTransform(const RandomDesign& design, const Bytes& out, std::size_t copied,
                          std::size_t room, const Expected& end, double tolerance) {
  const vtest::WalkResult source = vtest::WalkStitches(design.stream);
  const vtest::WalkResult walk = vtest::WalkStitches(out);
  ASSERT_TRUE(walk.ended) << walk.error;
  EXPECT_EQ(walk.endOffset + 2, copied);
  EXPECT_LE(copied, room);
  EXPECT_EQ(walk.unknownControls, 0);
  EXPECT_EQ(walk.nonZeroColourPairs, 0);
  EXPECT_EQ(walk.colourChanges, source.colourChanges);
  EXPECT_EQ(walk.markers, source.markers);
  EXPECT_LT(std::abs(walk.x - end.x), tolerance) << walk.x << " vs " << end.x;
  EXPECT_LT(std::abs(walk.y - end.y), tolerance) << walk.y << " vs " << end.y;
}

TEST(StitchTransformerProperty, RandomDesignsDecodeCleanlyAndLandWhereMapped) {
  std::mt19937 random(1103);
  CStitchTransformer transformer;
  StitchRecord in;
  StitchRecord out;
  for (int trial = 0; trial < 300; ++trial) {
    const RandomDesign design = MakeRandomDesign(random, true);
    const RandomTransform t = RandomTransform::Draw(random, true);
    in.Clear();
    Load(in, design.stream);
    int copied = 0;
    ASSERT_TRUE(transformer.Transform(in, out, t.scaleX, t.scaleY, copied, t.mirrorX, t.mirrorY,
                                      t.angle, t.largeHoop))
        << "trial " << trial;
    // Two passes, each truncating: within one unit of each pass's exact sum, the first
    // error turned by the second pass.
    ExpectCleanTransform(design, Bytes(out.Stitches(), out.Stitches() + copied), copied,
                         StitchRecord::kBroderaStitchRoom,
                         MapEnd(design.endX, design.endY, t), 1.0 + std::sqrt(2.0));
    if (HasFailure()) {
      ADD_FAILURE() << "trial " << trial << " scale " << t.scaleX << " angle " << t.angle;
      return;
    }
  }
}

// Long moves of every direction and length, one at a time, through one pass: jump runs must
// stay jumps (no component of 119), sewn long stitches and over-long plain pairs must stay
// sewn, no plain pair may start with the escape byte, and each lands where it was mapped.
TEST(StitchTransformerProperty, RandomLongMovesBecomeCleanChains) {
  std::mt19937 random(246);
  std::uniform_int_distribution<int> move(-3000, 3000);
  std::uniform_int_distribution<int> component(-127, 127);
  std::uniform_real_distribution<double> scales(1.0, 12.0);
  const design::CStitchEncoder encoder;
  const design::MapPassRules rules{1 << 20, false};
  Bytes target(1 << 16);
  for (int trial = 0; trial < 20000; ++trial) {
    B b;
    design::PairMap map;
    const int kind = trial % 3;
    if (kind == 0) {  // a jump run from the encoder, copied as it is
      Bytes chain(512);
      std::size_t pos = 0;
      encoder.EncodeMove(move(random), move(random), chain, pos);
      for (std::size_t p = 0; p < pos; p += 4) {
        b.Jump(static_cast<int8_t>(chain[p + 2]), static_cast<int8_t>(chain[p + 3]));
      }
      b.Stitch(component(random), component(random));
    } else if (kind == 1) {  // a sewn long stitch, scaled up
      b.Jump(trial % 2 ? 119 : -119, component(random)).Stitch(component(random), component(random));
      map = design::PairMap::Scaling(scales(random), scales(random));
    } else {  // a plain pair, scaled up
      int dx = component(random);
      b.Stitch(dx, component(random));
      map = design::PairMap::Scaling(scales(random), scales(random));
    }
    const Bytes source = b.End().Bytes();
    const vtest::WalkResult in = vtest::WalkStitches(source);
    std::size_t written = 0;
    ASSERT_EQ(design::MapStitchPairs(source, target, map, rules, nullptr, written), design::MapPassStatus::kOk);
    const vtest::WalkResult out = vtest::WalkStitches(std::span(target).first(written));
    ASSERT_TRUE(out.ended) << out.error;
    ASSERT_EQ(out.endOffset + 2, written);
    ASSERT_EQ(out.unknownControls, 0) << "trial " << trial;
    if (kind == 0) {
      ASSERT_EQ(out.longStitches, 0) << "trial " << trial;
      ASSERT_TRUE(out.sewn.empty()) << "trial " << trial;
      ASSERT_EQ(out.x, in.x);
      ASSERT_EQ(out.y, in.y);
    } else {
      ASSERT_EQ(out.jumps, 0) << "trial " << trial;
      ASSERT_LT(std::abs(out.x - in.x * map.scaleX), 1.0);
      ASSERT_LT(std::abs(out.y - in.y * map.scaleY), 1.0);
    }
  }
}

TEST(StitchTransformerProperty, RandomDesignsInTheLayoutVariant) {
  std::mt19937 random(6103);
  CLayoutStitchTransformer transformer;
  LayoutStitchRecord in;
  LayoutStitchRecord out;
  for (int trial = 0; trial < 300; ++trial) {
    const RandomDesign design = MakeRandomDesign(random, false);
    const RandomTransform t = RandomTransform::Draw(random, false);
    in.Clear();
    std::copy(design.stream.begin(), design.stream.end(), in.Stitches());
    int copied = 0;
    ASSERT_TRUE(
        transformer.Transform(in, out, t.scaleX, t.scaleY, copied, t.mirrorX, t.mirrorY, t.angle));
    // One pass, one truncation.
    ExpectCleanTransform(design, Bytes(out.Stitches(), out.Stitches() + copied), copied,
                         design::kLayoutTransformOutputLimit, MapEnd(design.endX, design.endY, t), 1.0);
    if (HasFailure()) {
      ADD_FAILURE() << "trial " << trial << " angle " << t.angle;
      return;
    }
  }
}

}  // namespace
