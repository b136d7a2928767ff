#include "design/stitch_encoder.h"
#include "design/hoop.h"

#include <gtest/gtest.h>

#include <array>

#include <random>
#include <vector>

#include "testing/stitch_stream_builder.h"
#include "testing/stitch_walker.h"

namespace {

using design::CLayoutStitchEncoder;
using design::CStitchEncoder;
using design::StitchRecord;
using Bytes = std::vector<uint8_t>;

Bytes Encode(int mx, int my, const CStitchEncoder& encoder = CStitchEncoder()) {
  Bytes out(1 << 16);
  std::size_t pos = 0;
  EXPECT_TRUE(encoder.EncodeMove(mx, my, out, pos));
  out.resize(pos);
  return out;
}

Bytes Jumps(std::initializer_list<std::pair<int, int>> moves) {
  vtest::StitchStreamBuilder b;
  for (auto [dx, dy] : moves) b.Jump(dx, dy);
  return b.Bytes();
}

void Load(StitchRecord& record, const Bytes& stitches) {
  record.Clear();
  std::copy(stitches.begin(), stitches.end(), record.Stitches());
  record.SetPairCount(static_cast<int32_t>(stitches.size() / 2));
}

Bytes StitchesOf(const StitchRecord& record) {
  return Bytes(record.Stitches(), record.Stitches() + 2 * record.PairCount());
}

TEST(EncodeMove, SinglePairExamples) {
  EXPECT_TRUE(Encode(0, 0).empty());
  EXPECT_EQ(Encode(127, -127), (Bytes{0x80, 0x02, 0x7F, 0x81}));
  // A single jump is moved off 119: x down by one, y up by one.
  EXPECT_EQ(Encode(119, 5), (Bytes{0x80, 0x02, 0x76, 0x05}));
  EXPECT_EQ(Encode(0, -119), (Bytes{0x80, 0x02, 0x00, 0x8A}));
  EXPECT_EQ(Encode(-119, 119), Jumps({{-120, 120}}));
}

TEST(EncodeMove, ChainExamples) {
  EXPECT_EQ(Encode(254, 0), Jumps({{127, 0}, {127, 0}, {0, 0}}));
  EXPECT_EQ(Encode(300, 100), Jumps({{127, 42}, {127, 42}, {46, 16}}));
  EXPECT_EQ(Encode(128, 128), Jumps({{127, 127}, {1, 1}}));
  EXPECT_EQ(Encode(-300, 100), Jumps({{-127, 42}, {-127, 42}, {-46, 16}}));
  EXPECT_EQ(Encode(100, -300), Jumps({{42, -127}, {42, -127}, {16, -46}}));
}

TEST(EncodeMove, ChainNeverCarries119) {
  // The remainder would be 119: written as 118, the unit carried into an added pair.
  EXPECT_EQ(Encode(246, 0), Jumps({{127, 0}, {118, 0}, {1, 0}}));
  EXPECT_EQ(Encode(0, -246), Jumps({{0, -127}, {0, -118}, {0, -1}}));
  // A full step's minor component of 119 carries into the next step.
  EXPECT_EQ(Encode(254, 238), Jumps({{127, 118}, {127, 120}, {0, 0}}));
}

TEST(EncodeMove, RefusesWhatDoesNotFitAndWritesNothing) {
  const CStitchEncoder encoder;
  Bytes out(8, 0xEE);
  std::size_t pos = 2;
  EXPECT_FALSE(encoder.EncodeMove(300, 100, out, pos));  // 12 bytes into 6
  EXPECT_EQ(pos, 2u);
  EXPECT_EQ(out, Bytes(8, 0xEE));
  EXPECT_TRUE(encoder.EncodeMove(10, 10, out, pos));
  EXPECT_EQ(pos, 6u);
  EXPECT_EQ(encoder.EncodedLength(300, 100), 12u);
}

TEST(EncodeMove, RandomMovesLandExactlyWithoutLongStitchesOrEscapes) {
  std::mt19937 random(20261209);
  std::uniform_int_distribution<int> component(-2000, 2000);
  const CStitchEncoder brodera;
  const CLayoutStitchEncoder vantle;
  for (int trial = 0; trial < 20000; ++trial) {
    const int mx = component(random);
    const int my = trial % 7 == 0 ? component(random) / 20 : component(random);
    const bool single = std::abs(mx) <= 127 && std::abs(my) <= 127;
    if (single && (std::abs(mx) == 119 || std::abs(my) == 119)) continue;
    for (const CStitchEncoder* encoder : {&brodera, static_cast<const CStitchEncoder*>(&vantle)}) {
      Bytes bytes = Encode(mx, my, *encoder);
      ASSERT_EQ(bytes.size() % 4, 0u);
      for (std::size_t p = 0; p < bytes.size(); p += 4) {
        ASSERT_EQ(bytes[p], 0x80);
        ASSERT_EQ(bytes[p + 1], 0x02);
        ASSERT_NE(bytes[p + 2], 0x80) << "move pair starting with the escape byte";
        ASSERT_NE(bytes[p + 3], 0x80);
      }
      bytes.push_back(0x80);
      bytes.push_back(0x10);
      const vtest::WalkResult walk = vtest::WalkStitches(bytes);
      ASSERT_TRUE(walk.ended);
      EXPECT_EQ(walk.longStitches, 0) << mx << "," << my;
      EXPECT_TRUE(walk.sewn.empty());
      EXPECT_EQ(walk.x, mx);
      EXPECT_EQ(walk.y, my);
    }
  }
}

TEST(Recentre, AFirstPlainPairStaysSewnBehindALandingOfItsOwn) {
  StitchRecord record;
  Load(record, vtest::StitchStreamBuilder().Stitch(10, 0).Stitch(20, 0).Stitch(0, 30).End().Bytes());
  const auto result = CStitchEncoder().Recentre(record);
  ASSERT_TRUE(result.ok);
  EXPECT_EQ(result.cx, 15);
  EXPECT_EQ(result.cy, 15);
  EXPECT_EQ(StitchesOf(record), vtest::StitchStreamBuilder()
                                    .Jump(-15, -15).Stitch(0, 0).Stitch(10, 0).Stitch(20, 0).Stitch(0, 30)
                                    .End().Bytes());
  EXPECT_EQ(record.PairCount(), 7);
  EXPECT_EQ(record.GetExtents(), (design::Extents{15, 15, 15, 15}));
  EXPECT_EQ(record.Hoop(), design::kStandardHoop);
}

TEST(Recentre, LeadingJumpRunAndItsLandingAreDropped) {
  StitchRecord record;
  Load(record, vtest::StitchStreamBuilder()
                   .Jump(100, 0).Jump(50, 0).Stitch(3, 3).Stitch(10, 0).Stitch(-20, 0).Stitch(10, 0).End()
                   .Bytes());
  const auto result = CStitchEncoder().Recentre(record);
  ASSERT_TRUE(result.ok);
  // Symmetric about the landing point: no leading jump, the landing is still gone.
  EXPECT_EQ(result.cx, 0);
  EXPECT_EQ(result.cy, 0);
  EXPECT_EQ(StitchesOf(record),
            vtest::StitchStreamBuilder().Stitch(10, 0).Stitch(-20, 0).Stitch(10, 0).End().Bytes());
  EXPECT_EQ(record.PairCount(), 4);
  EXPECT_EQ(record.GetExtents(), (design::Extents{10, 0, 10, 0}));

  // A marker between the run and its landing moves nothing: the landing still goes, and the
  // marker stays in front of the first stitch sewn.
  Load(record, vtest::StitchStreamBuilder()
                   .Jump(100, 0).Marker().Stitch(3, 3).Stitch(10, 0).Stitch(-20, 0).Stitch(10, 0).End()
                   .Bytes());
  ASSERT_TRUE(CStitchEncoder().Recentre(record).ok);
  EXPECT_EQ(StitchesOf(record),
            vtest::StitchStreamBuilder().Marker().Stitch(10, 0).Stitch(-20, 0).Stitch(10, 0).End().Bytes());
}

TEST(Recentre, EmptyDesignKeepsItsEndPair) {
  for (const Bytes& stream : {vtest::StitchStreamBuilder().End().Bytes(),
                              vtest::StitchStreamBuilder().Jump(50, 50).Jump(-3, 9).End().Bytes()}) {
    StitchRecord record;
    Load(record, stream);
    const auto result = CStitchEncoder().Recentre(record);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(record.PairCount(), 1);
    EXPECT_EQ(StitchesOf(record), (Bytes{0x80, 0x10}));
    EXPECT_EQ(record.GetExtents(), design::Extents{});
    EXPECT_EQ(record.Hoop(), design::kStandardHoop);
  }
}

TEST(Recentre, HoopCodeFollowsTheExtents) {
  for (const auto& [span, hoop] : {std::pair{1100, design::kStandardHoop}, {1102, design::kLargeHoop}}) {
    vtest::StitchStreamBuilder b;
    for (int x = 0; x < span; x += 100) b.Stitch(std::min(100, span - x), 0);
    StitchRecord record;
    Load(record, b.End().Bytes());
    ASSERT_TRUE(CStitchEncoder().Recentre(record).ok);
    EXPECT_EQ(record.GetExtents().left, span / 2);
    EXPECT_EQ(record.Hoop(), hoop) << span;
  }
}

TEST(Recentre, KeepsColourChangesAndLongStitchesAndMeasuresJumps) {
  StitchRecord record;
  Load(record, vtest::StitchStreamBuilder()
                   .Stitch(0, 0).Stitch(40, 0).ColourChange().Jump(-119, 0).Stitch(0, -80).End().Bytes());
  ASSERT_TRUE(CStitchEncoder().Recentre(record).ok);
  const vtest::WalkResult walk = vtest::WalkStitches(StitchesOf(record));
  ASSERT_TRUE(walk.ended);
  EXPECT_EQ(walk.colourChanges, 1);
  EXPECT_EQ(walk.longStitches, 1);
  // x runs 0..40 then -79: centre (-19, -40).
  EXPECT_EQ(record.GetExtents(), (design::Extents{60, 40, 59, 40}));
}

TEST(Recentre, RefusesADesignThatWouldPassTheRecordAndLeavesItUnchanged) {
  StitchRecord record;
  // Fill the whole stitch room: 65,535 pairs of (1, 0) and the end pair. Re-centring drops
  // the 2-byte landing but needs a 4-byte leading jump.
  Bytes stream(StitchRecord::kBroderaStitchRoom);
  for (std::size_t p = 0; p + 2 < stream.size(); p += 2) {
    stream[p] = 1;
    stream[p + 1] = 0;
  }
  stream[stream.size() - 2] = 0x80;
  stream[stream.size() - 1] = 0x10;
  Load(record, stream);
  record.SetExtents({1, 2, 3, 4});
  const StitchRecord before = record;
  const auto result = CStitchEncoder().Recentre(record);
  EXPECT_FALSE(result.ok);
  EXPECT_TRUE(record == before);
}

TEST(Recentre, RefusesStitchesWithoutEndPair) {
  StitchRecord record(64);
  std::fill(record.Stitches(), record.Stitches() + 64, 3);
  const StitchRecord before = record;
  EXPECT_FALSE(CStitchEncoder().Recentre(record).ok);
  EXPECT_TRUE(record == before);
}

TEST(Recentre, LayoutVariantWritesOnlyTheStitchesAndASingleJumpAsItIs) {
  design::LayoutStitchRecord record;
  record.SetPairCount(77);
  const Bytes stream =
      vtest::StitchStreamBuilder().Jump(5, 5).Stitch(0, 0).Stitch(119, 0).Stitch(119, 0).End().Bytes();
  std::copy(stream.begin(), stream.end(), record.Stitches());
  const auto result = CLayoutStitchEncoder().Recentre(record);
  ASSERT_TRUE(result.ok);
  EXPECT_EQ(result.cx, 119);
  EXPECT_EQ(record.PairCount(), 77);
  const Bytes expected =
      vtest::StitchStreamBuilder().Jump(-119, 0).Stitch(0, 0).Stitch(119, 0).Stitch(119, 0).End().Bytes();
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), record.Stitches()));

  // The editor's encoder moves the same jump off 119.
  StitchRecord editor;
  Load(editor, stream);
  ASSERT_TRUE(CStitchEncoder().Recentre(editor).ok);
  EXPECT_EQ(StitchesOf(editor),
            vtest::StitchStreamBuilder().Jump(-120, 0).Stitch(1, 0).Stitch(119, 0).Stitch(119, 0).End().Bytes());
}

TEST(Recentre, ALeadingJumpMovedOff119IsMadeUpByTheLanding) {
  // Centre 119 left of the first point: the jump back is written as 118 and the landing
  // carries the last unit, so the design stands 119 each way of the centre.
  StitchRecord record;
  Load(record, vtest::StitchStreamBuilder().Stitch(0, 0).Stitch(-100, 0).Stitch(-100, 0).Stitch(-38, 0)
                   .End().Bytes());
  const auto result = CStitchEncoder().Recentre(record);
  ASSERT_TRUE(result.ok);
  EXPECT_EQ(result.cx, -119);
  EXPECT_EQ(StitchesOf(record),
            vtest::StitchStreamBuilder().Jump(118, 0).Stitch(1, 0).Stitch(0, 0).Stitch(-100, 0).Stitch(-100, 0)
                .Stitch(-38, 0).End().Bytes());
  EXPECT_EQ(record.GetExtents(), (design::Extents{119, 0, 119, 0}));

  // The same in y: 119 becomes 120 upwards.
  Load(record, vtest::StitchStreamBuilder().Stitch(0, 0).Stitch(0, -119).Stitch(0, -119).End().Bytes());
  ASSERT_TRUE(CStitchEncoder().Recentre(record).ok);
  EXPECT_EQ(record.GetExtents(), (design::Extents{0, 119, 0, 119}));

  // Whatever the centre, the extents are those of the needle points the stream really has
  // (the ends of the leading jumps are passed through, not stood on).
  std::mt19937 random(1209);
  std::uniform_int_distribution<int> component(-127, 127);
  for (int round = 0; round < 300; ++round) {
    vtest::StitchStreamBuilder b;
    const int stitches = 1 + round % 7;
    for (int i = 0; i < stitches; ++i) b.Stitch(component(random), component(random));
    Load(record, b.End().Bytes());
    ASSERT_TRUE(CStitchEncoder().Recentre(record).ok);
    const vtest::WalkResult walk = vtest::WalkStitches(StitchesOf(record));
    ASSERT_TRUE(walk.ended);
    design::Extents seen;
    for (const vtest::NeedlePoint& p : walk.points) {
      if (p.kind == vtest::NeedleKind::kJump) continue;
      seen.left = std::max(seen.left, -p.x);
      seen.top = std::max(seen.top, p.y);
      seen.right = std::max(seen.right, p.x);
      seen.bottom = std::max(seen.bottom, -p.y);
    }
    ASSERT_EQ(record.GetExtents(), seen) << round;
  }
}

// Random designs: with or without a leading jump run, colour changes, long stitches, and
// markers anywhere (among the leading jumps and before their landing too).
Bytes RandomDesign(std::mt19937& random) {
  std::uniform_int_distribution<int> component(-127, 127);
  std::uniform_int_distribution<int> roll(0, 9);
  vtest::StitchStreamBuilder b;
  auto maybeMarker = [&] {
    if (roll(random) < 2) b.Marker();
  };
  maybeMarker();
  if (roll(random) < 6) {
    for (int j = 0, n = 1 + roll(random) % 3; j < n; ++j) {
      b.Jump(component(random), component(random));
      maybeMarker();
    }
    b.Stitch(component(random), component(random));  // the landing
  }
  for (int i = 0, n = 1 + roll(random) * 3; i < n; ++i) {
    const int what = roll(random);
    if (what == 0) b.ColourChange();
    if (what == 1) b.Jump(119, component(random));  // a sewn long stitch
    if (what == 2) b.Marker();
    b.Stitch(component(random), component(random));
  }
  return b.End().Bytes();
}

// Where the leading moves end and sewing starts: the landing of a leading jump run, the end
// of the run when something sewn follows it at once, else the first point.
vtest::NeedlePoint SewingStart(const vtest::WalkResult& walk) {
  vtest::NeedlePoint start;
  for (const vtest::NeedlePoint& p : walk.points) {
    if (p.kind == vtest::NeedleKind::kLanding) return p;
    if (p.kind != vtest::NeedleKind::kJump) break;
    start = p;
  }
  return start;
}

TEST(Recentre, EveryStitchStaysSewnAndASecondPassChangesNothing) {
  std::mt19937 random(1412);
  for (int round = 0; round < 500; ++round) {
    const Bytes stream = RandomDesign(random);
    SCOPED_TRACE(::testing::PrintToString(stream));
    const vtest::WalkResult before = vtest::WalkStitches(stream);
    StitchRecord record;
    Load(record, stream);
    const auto result = CStitchEncoder().Recentre(record);
    ASSERT_TRUE(result.ok);
    const vtest::WalkResult after = vtest::WalkStitches(StitchesOf(record));
    ASSERT_TRUE(after.ended);
    ASSERT_EQ(after.markers, before.markers);
    // The old sewing start now stands at (-cx, -cy): every sewn stitch moves with it.
    const vtest::NeedlePoint start = SewingStart(before);
    const int shiftX = -result.cx - start.x;
    const int shiftY = -result.cy - start.y;
    ASSERT_EQ(after.sewn.size(), before.sewn.size()) << round;
    for (std::size_t i = 0; i < before.sewn.size(); ++i) {
      const vtest::SewnSegment& a = before.sewn[i];
      const vtest::SewnSegment& b = after.sewn[i];
      ASSERT_EQ((std::array{b.x0, b.y0, b.x1, b.y1, b.colour}),
                (std::array{a.x0 + shiftX, a.y0 + shiftY, a.x1 + shiftX, a.y1 + shiftY, a.colour}))
          << round << " stitch " << i;
    }
    const StitchRecord once = record;
    ASSERT_TRUE(CStitchEncoder().Recentre(record).ok);
    ASSERT_TRUE(record == once) << round;
  }
}

TEST(RecentredExtents, AreTheExtentsRecentreGivesWithoutTouchingTheStitches) {
  std::mt19937 random(2911);
  for (int round = 0; round < 500; ++round) {
    const Bytes stream = RandomDesign(random);
    StitchRecord record;
    Load(record, stream);
    const std::optional<design::Extents> measured = design::RecentredExtents(record.StitchArea());
    ASSERT_TRUE(CStitchEncoder().Recentre(record).ok);
    ASSERT_TRUE(measured.has_value()) << round;
    ASSERT_EQ(*measured, record.GetExtents()) << round;
  }
  Bytes endless(64, 1);
  EXPECT_FALSE(design::RecentredExtents(endless).has_value());
}

}  // namespace
