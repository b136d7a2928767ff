// Straight stitch and zigzag along line parts: needle points along the walked lines, the
// double run and its tie-off, spur and speck pruning, zigzag width and leg spacing, and the
// corpus and line shapes staying on or beside their lines.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "stitchgen/line_walker.h"
#include "stitchgen/mask_preparation.h"
#include "stitchgen/pixel_plane.h"
#include "stitchgen/stitch_output.h"
#include "stitchgen/tests/fill_test_support.h"
#include "stitchgen/zigzag_outline.h"
#include "testing/mask_corpus.h"

namespace {

using filltest::Bytes;
using filltest::MakePart;
using filltest::StitchX;
using filltest::StitchY;
using vtest::MaskBuilder;

constexpr int kStraight = 9;
constexpr int kZigzag = 5;
const Bytes kZeroJump = {0x80, 0x02, 0x00, 0x00};

int Straight(int lengthTenthMm) { return kStraight | (lengthTenthMm << 8); }

// The needle from the landing on the first walk's start onwards.
std::vector<std::pair<int, int>> FromLanding(const filltest::MadePart& made) {
  std::vector<std::pair<int, int>> points;
  for (const auto& p : made.points) {
    if (p.kind == vtest::NeedleKind::kLanding || !points.empty()) points.emplace_back(p.x, p.y);
  }
  return points;
}

// Jumps after the landing on the first walk's start: 0 when the drawing is one walk.
int JumpsAfterLanding(const filltest::MadePart& made) {
  int jumps = 0;
  bool landed = false;
  for (const auto& p : made.points) {
    landed = landed || p.kind == vtest::NeedleKind::kLanding;
    if (landed && p.kind == vtest::NeedleKind::kJump) ++jumps;
  }
  return jumps;
}

// A horizontal line of work pixels x0 .. x0 + length - 1 on row y.
MaskBuilder Line(int x0, int y, int length) {
  MaskBuilder m;
  m.Rect(x0, y, length, 1);
  return m;
}

TEST(StraightStitch, ALineIsSewnOutAndBackEveryEightPixelsThenTiedOff) {
  const auto made = MakePart(Line(100, 300, 41).Bytes(), Straight(20));
  ASSERT_TRUE(made.walk.error.empty());
  EXPECT_EQ(Bytes(made.bytes.begin(), made.bytes.begin() + 4), kZeroJump);
  std::vector<std::pair<int, int>> expected;
  const int y = StitchY(301);
  for (int x = 101; x <= 141; x += 8) expected.emplace_back(StitchX(x), y);  // out
  for (int x = 133; x >= 101; x -= 8) expected.emplace_back(StitchX(x), y);  // and back
  // The tie-off: two 0.5 mm stitches back along the last (leftward) stitch, two forward.
  for (int dx : {5, 10, 5, 0}) expected.emplace_back(StitchX(101) + dx, y);
  EXPECT_EQ(FromLanding(made), expected);
  const Bytes tieOff = {0x05, 0x00, 0x05, 0x00, 0xFB, 0x00, 0xFB, 0x00};
  EXPECT_TRUE(std::equal(tieOff.begin(), tieOff.end(), made.bytes.end() - 8));
  EXPECT_EQ(made.result, static_cast<int>(made.bytes.size() / 2) + 4);
}

TEST(StraightStitch, LengthsOutsideOneToFiveMillimetresSewTwo) {
  const Bytes line = Line(100, 300, 41).Bytes();
  const Bytes standard = MakePart(line, Straight(20)).bytes;
  EXPECT_EQ(MakePart(line, Straight(5)).bytes, standard);
  EXPECT_EQ(MakePart(line, Straight(60)).bytes, standard);
  EXPECT_EQ(MakePart(line, Straight(0)).bytes, standard);
  // 1 mm: every 4 pixels; 5 mm: every 20.
  const auto fine = FromLanding(MakePart(line, Straight(10)));
  ASSERT_GT(fine.size(), 3u);
  EXPECT_EQ(fine[1].first - fine[0].first, 10);
  const auto coarse = FromLanding(MakePart(line, Straight(50)));
  ASSERT_GT(coarse.size(), 3u);
  EXPECT_EQ(coarse[1].first - coarse[0].first, 50);
  EXPECT_EQ(coarse[2].first, StitchX(141));
}

TEST(StraightStitch, SpecksAndShortPiecesAreDroppedAndSpursPruned) {
  MaskBuilder specks;
  specks.Set(10, 10).Set(300, 300).Set(559, 799);
  specks.Rect(400, 400, 3, 1);  // a piece of 3 pixels: no line worth sewing
  const auto nothing = MakePart(specks.Bytes(), Straight(20));
  EXPECT_EQ(nothing.bytes, kZeroJump);
  EXPECT_EQ(nothing.result, 6);

  // A 3-pixel spur standing on a line at a junction is erased before the walk: the part is
  // sewn as the line alone.
  MaskBuilder spur = Line(100, 300, 60);
  spur.Rect(130, 297, 1, 3);
  EXPECT_EQ(MakePart(spur.Bytes(), Straight(20)).bytes,
            MakePart(Line(100, 300, 60).Bytes(), Straight(20)).bytes);
}

// Every needle point lies on a part pixel or within reach of one: on the line for the straight
// stitch (its tie-off lies on its last stitch), half the zigzag's width beside it.
void ExpectBesideTheLines(const Bytes& mask, const filltest::MadePart& made, double reachPixels) {
  ASSERT_TRUE(made.walk.ended);
  ASSERT_TRUE(made.walk.error.empty());
  EXPECT_EQ(made.walk.longStitches, 0);
  if (made.result < 0) return;
  EXPECT_EQ(made.result, static_cast<int>(made.bytes.size() / 2) + 4);
  const int reach = static_cast<int>(std::ceil(reachPixels)) + 1;
  int checked = 0;
  for (const auto& p : made.points) {
    if (p.kind == vtest::NeedleKind::kJump) continue;
    if (p.x == filltest::kStartX && p.y == filltest::kStartY) continue;
    // The mask pixel under the point, and the nearest part pixel around it.
    const double px = p.x / 2.5;
    const double py = p.y / 2.5;
    double nearest = 1e9;
    for (int y = static_cast<int>(py) - reach; y <= static_cast<int>(py) + reach; ++y) {
      for (int x = static_cast<int>(px) - reach; x <= static_cast<int>(px) + reach; ++x) {
        if (x < 0 || y < 0 || x >= 562 || y >= 802 || mask[y * 562 + x] == 0) continue;
        nearest = std::min(nearest, std::hypot(x - px, y - py));
      }
    }
    EXPECT_LE(nearest, reachPixels + 1.0) << p.x << "," << p.y;
    if (++checked > 20000) break;
  }
}

std::vector<std::pair<std::string, Bytes>> LineShapes() {
  std::vector<std::pair<std::string, Bytes>> shapes;
  MaskBuilder square;
  square.Rect(100, 300, 20, 20).Clear(101, 301, 18, 18);
  shapes.emplace_back("square outline", square.Bytes());
  MaskBuilder diamond;
  for (int i = 0; i < 20; ++i) {
    diamond.Set(120 + i, 300 + i).Set(120 - i, 300 + i).Set(120 + i, 340 - i).Set(120 - i, 340 - i);
  }
  shapes.emplace_back("diamond", diamond.Bytes());
  MaskBuilder cross = Line(100, 300, 60);
  cross.Rect(130, 270, 1, 60);
  shapes.emplace_back("cross", cross.Bytes());
  MaskBuilder tee = Line(100, 300, 60);
  tee.Rect(130, 301, 1, 30);
  shapes.emplace_back("tee", tee.Bytes());
  MaskBuilder grid;
  for (int i = 0; i < 5; ++i) grid.Rect(200, 100 + 30 * i, 121, 1).Rect(200 + 30 * i, 100, 1, 121);
  shapes.emplace_back("grid", grid.Bytes());
  MaskBuilder arc;
  for (int a = 0; a < 300; ++a) {
    arc.Set(280 + static_cast<int>(std::lround(100 * std::cos(a / 100.0))),
            500 + static_cast<int>(std::lround(100 * std::sin(a / 100.0))));
  }
  shapes.emplace_back("arc", arc.Bytes());
  for (auto& corpus : vtest::BuildMaskCorpus()) shapes.emplace_back(corpus.name, corpus.bytes);
  return shapes;
}

TEST(LineFills, NeedlePointsStayOnOrBesideTheLines) {
  for (const auto& [name, mask] : LineShapes()) {
    SCOPED_TRACE(name);
    // Straight: on the line, but for tie-offs 2 pixels back along a stitch. Zigzag: half
    // its width beside the path, whose curves may cut a corner by a pixel or two.
    ExpectBesideTheLines(mask, MakePart(mask, Straight(20)), 2.5);
    ExpectBesideTheLines(mask, MakePart(mask, 6), 4.0 + 2.5);  // 2 mm: 1 mm either side
    ExpectBesideTheLines(mask, MakePart(mask, kZigzag | (14 << 8)), 2.8 + 2.5);
  }
}

TEST(LineFills, EveryArmOfACrossIsSewnToItsEnd) {
  MaskBuilder cross = Line(100, 300, 61);
  cross.Rect(130, 270, 1, 61);
  const auto made = MakePart(cross.Bytes(), Straight(20));
  const auto points = FromLanding(made);
  for (auto end : {std::pair{StitchX(101), StitchY(301)}, std::pair{StitchX(161), StitchY(301)},
                   std::pair{StitchX(131), StitchY(271)}, std::pair{StitchX(131), StitchY(331)}}) {
    EXPECT_NE(std::find(points.begin(), points.end(), end), points.end())
        << end.first << "," << end.second;
  }
  // One walk: a single travel to its start, no jumps after it.
  EXPECT_EQ(JumpsAfterLanding(made), 0);
}

// A line whose end lies beside a junction leaves that junction: it is no spur. Its end pixel
// is kept and the walk from it takes the junction and every line there, with no jump.
TEST(LineFills, ALineLeavingAJunctionAtItsEndIsSewnWithTheJunction) {
  // Work pixels: a junction at (200, 300) with a line west and a line south, and an arm that
  // leaves it up-right and runs east one row higher.
  MaskBuilder drawing = Line(170, 300, 31);
  drawing.Rect(200, 301, 1, 30).Rect(201, 299, 30, 1);
  const auto made = MakePart(drawing.Bytes(), Straight(20));
  ASSERT_TRUE(made.walk.error.empty());
  const auto points = FromLanding(made);
  ASSERT_FALSE(points.empty());
  const std::pair armEnd{StitchX(202), StitchY(300)};  // work pixel (201, 299)
  EXPECT_EQ(points.front(), armEnd);
  EXPECT_EQ(points.back(), armEnd);
  for (auto end : {std::pair{StitchX(171), StitchY(301)}, std::pair{StitchX(201), StitchY(331)},
                   std::pair{StitchX(231), StitchY(300)}}) {
    EXPECT_NE(std::find(points.begin(), points.end(), end), points.end())
        << end.first << "," << end.second;
  }
  EXPECT_EQ(JumpsAfterLanding(made), 0);
}

// Every pixel of a line drawing is sewn over: it lies near some stitch of the straight stitch
// (the double run covers each line, branches included). A 2 mm stitch may cut a corner by up
// to 0.7 mm: 3 pixels.
TEST(LineFills, TheStraightStitchSewsOverEveryLinePixel) {
  for (const auto& [name, mask] : LineShapes()) {
    if (name != "square outline" && name != "diamond" && name != "cross" && name != "tee" &&
        name != "grid" && name != "arc") {
      continue;
    }
    SCOPED_TRACE(name);
    const auto made = MakePart(mask, Straight(20));
    ASSERT_TRUE(made.walk.error.empty());
    int missed = 0;
    for (int y = 0; y < 802; ++y) {
      for (int x = 0; x < 562; ++x) {
        if (mask[y * 562 + x] == 0) continue;
        const double px = StitchX(x);
        const double py = StitchY(y);
        double nearest = 1e9;
        for (const auto& s : made.walk.sewn) {
          // Segments are relative to the first needle, y upwards.
          const double ax = filltest::kStartX + s.x0, ay = filltest::kStartY - s.y0;
          const double bx = filltest::kStartX + s.x1, by = filltest::kStartY - s.y1;
          const double dx = bx - ax, dy = by - ay;
          const double lengthSquared = dx * dx + dy * dy;
          double t = lengthSquared > 0 ? ((px - ax) * dx + (py - ay) * dy) / lengthSquared : 0;
          t = std::clamp(t, 0.0, 1.0);
          nearest = std::min(nearest, std::hypot(ax + t * dx - px, ay + t * dy - py));
        }
        if (nearest > 3 * 2.5) ++missed;
      }
    }
    EXPECT_EQ(missed, 0);
  }
}

// The widest point of the zigzag from a horizontal line: half the width either side.
int HalfWidthOf(int typeCode) {
  const auto made = MakePart(Line(100, 300, 100).Bytes(), typeCode);
  int widest = 0;
  for (const auto& p : made.points) {
    if (p.kind == vtest::NeedleKind::kStitch)
      widest = std::max(widest, std::abs(p.y - StitchY(301)));
  }
  return widest;
}

TEST(Zigzag, IsSewnAsWideAsSet) {
  EXPECT_EQ(HalfWidthOf(6), 10);  // 2 mm
  EXPECT_EQ(HalfWidthOf(7), 15);  // 3 mm
  EXPECT_EQ(HalfWidthOf(8), 25);  // 5 mm
  EXPECT_EQ(HalfWidthOf(kZigzag | (14 << 8)), 7);
  EXPECT_EQ(HalfWidthOf(kZigzag | (14 << 8) | (6 << 16)), 7);  // beyond 16 bits: ignored
}

TEST(Zigzag, AShortLineIsOneSegmentWithLegPairsEveryPointThreeMillimetres) {
  const auto made = MakePart(Line(100, 300, 8).Bytes(), 6);
  const auto points = FromLanding(made);
  const int y = StitchY(301);
  std::vector<std::pair<int, int>> expected{{StitchX(101), y}};
  for (int x : {253, 256, 259, 262, 265, 268}) {
    expected.emplace_back(x, y + 10);
    expected.emplace_back(x, y - 10);
  }
  expected.emplace_back(StitchX(101), y);  // travelling back to the start
  ASSERT_GE(points.size(), expected.size());
  EXPECT_EQ(
      std::vector(points.begin(), points.begin() + static_cast<std::ptrdiff_t>(expected.size())),
      expected);
  EXPECT_EQ(points.size(), expected.size() + 4);  // and the tie-off
}

TEST(Zigzag, ALongStraightLineIsSewnAlongCurvesWithSamplesAboutAHalfMillimetreApart) {
  const auto made = MakePart(Line(100, 300, 100).Bytes(), 6);
  ASSERT_TRUE(made.walk.error.empty());
  int legs = 0;
  int outwardEndX = 0;
  for (const auto& p : made.points) {
    if (p.kind != vtest::NeedleKind::kStitch || std::abs(p.y - StitchY(301)) < 5) continue;
    ++legs;
    outwardEndX = std::max(outwardEndX, p.x);
  }
  // 99 pixels (24.75 mm) at about 0.42 mm: some 59 samples, two legs each.
  EXPECT_GE(legs, 2 * 50);
  EXPECT_LE(legs, 2 * 66);
  EXPECT_GE(outwardEndX, StitchX(200) - 3);
}

// The sewer itself, on an area of its own.
struct SewerArea {
  std::unique_ptr<uint8_t[]> bytes{new uint8_t[kSeamlibStitchAreaBytes]()};
  seamlib::StitchOutput out;
  SewerArea() {
    out.Begin(bytes.get());
    out.SetNeedle(250, 250);  // over pixel (100, 100)
  }
};

TEST(Zigzag, LegsOfNoLengthWriteNothing) {
  SewerArea area;
  seamlib::ZigzagSewer sewer(area.out, 8.0f);
  sewer.Legs({100, 100}, {100, 100});
  EXPECT_TRUE(sewer.Segment({100, 100}, {100, 100}));
  // A run whose every point is one pixel: curves over it sample one pixel only.
  std::vector<seamlib::LinePixel> run(30, seamlib::LinePixel{100, 100});
  EXPECT_TRUE(sewer.Curve(run.data(), 29));
  EXPECT_EQ(area.out.Offset(), 0);
  // A real step writes its two legs, square to the path and half the width out.
  sewer.Legs({100, 100}, {101, 100});
  EXPECT_EQ(area.out.NeedleX(), 250);
  EXPECT_EQ(area.out.NeedleY(), 240);  // 100 - 4 pixels, 0.1 mm
  EXPECT_EQ(area.out.Offset(), 4);
}

TEST(Zigzag, NearlyStraightRunsTurnLessThanTwentyFiveDegrees) {
  std::vector<seamlib::LinePixel> straight;
  for (int i = 0; i < 60; ++i) straight.push_back({100 + i, 100 + i / 5});
  EXPECT_TRUE(seamlib::IsNearlyStraight(straight.data(), 60));
  std::vector<seamlib::LinePixel> corner;
  for (int i = 0; i < 30; ++i) corner.push_back({100 + i, 100});
  for (int i = 0; i < 30; ++i) corner.push_back({129, 101 + i});
  EXPECT_FALSE(seamlib::IsNearlyStraight(corner.data(), 60));
  EXPECT_TRUE(seamlib::IsNearlyStraight(corner.data() + 25, 11));  // too short to judge
  // A chord of no length ends the test as straight.
  std::vector<seamlib::LinePixel> still(13, seamlib::LinePixel{5, 5});
  EXPECT_TRUE(seamlib::IsNearlyStraight(still.data(), 13));
}

// The walker's own rules on a small map of its own.
struct SmallMap {
  std::vector<uint8_t> bytes = std::vector<uint8_t>(seamlib::kMaskBytes, 0);
  seamlib::PixelPlane plane = seamlib::MaskPlane(bytes.data());
  uint8_t& operator()(int x, int y) { return plane.At(x, y); }
};

TEST(LineWalker, StepsTurnFromTwoDirectionsPastTheWayBack) {
  SmallMap map;
  const seamlib::LinePixel cur{50, 50};
  map(51, 50) = 1;  // east
  map(50, 49) = 1;  // north
  map(50, 51) = 1;  // south
  const seamlib::LinePixel fromWest{49, 50};
  // Counter-clockwise on the screen from the way back (west): south first, then east.
  EXPECT_EQ(seamlib::StepToNeighbour(map.plane, fromWest, cur, 1, seamlib::Turn::kCounterClockwise),
            (seamlib::LinePixel{50, 51}));
  // Clockwise: north first.
  EXPECT_EQ(seamlib::StepToNeighbour(map.plane, fromWest, cur, 1, seamlib::Turn::kClockwise),
            (seamlib::LinePixel{50, 49}));
  // Nothing of that value: the walker stays.
  EXPECT_EQ(seamlib::StepToNeighbour(map.plane, fromWest, cur, 7, seamlib::Turn::kClockwise), cur);
  EXPECT_EQ(seamlib::CountNeighbours(map.plane, cur, 1), 3);
  EXPECT_TRUE(seamlib::HasOppositePair(map.plane, cur, 1));  // north and south
  map(50, 51) = 0;
  EXPECT_FALSE(seamlib::HasOppositePair(map.plane, cur, 1));
  EXPECT_EQ(seamlib::StepLength({1, 1}, {2, 2}), 36);
  EXPECT_EQ(seamlib::StepLength({1, 1}, {2, 1}), 25);
}

class NullSink : public seamlib::LineSink {
 public:
  bool BeginWalk(seamlib::LinePixel) override { return true; }
  bool Walked(seamlib::LinePixel, int, seamlib::WalkLeg) override { return true; }
  bool PointIfDue(seamlib::LinePixel, seamlib::WalkLeg) override { return true; }
  bool PointAt(seamlib::LinePixel, seamlib::WalkLeg) override { return true; }
  bool LineEnd(seamlib::LinePixel, seamlib::WalkLeg) override { return true; }
  bool EndWalk() override { return true; }
};

TEST(LineWalker, AJunctionIsABranchPointOnlyWithTwoRealLinesLeavingIt) {
  // A junction at (50, 50) with lines leaving east and south, and the walk come in from the
  // west (walked once).
  auto junctionWith = [](int eastLength, int southLength) {
    SmallMap map;
    map(49, 50) = seamlib::kWalkedOnce;
    map(50, 50) = seamlib::kJunction;
    for (int i = 1; i <= eastLength; ++i) map(50 + i, 50) = 1;
    for (int i = 1; i <= southLength; ++i) map(50, 50 + i) = 1;
    NullSink sink;
    seamlib::LineWalker walker(map.plane, sink, seamlib::StartRule::kLineEnds);
    const bool branch = walker.IsBranchPoint({50, 50});
    // Lines that count are put back; a short spur stays under test (removed).
    const uint8_t east = map(50 + eastLength, 50);
    const uint8_t south = map(50, 50 + southLength);
    return std::tuple{branch, east, south};
  };
  EXPECT_EQ(junctionWith(10, 10), std::tuple(true, uint8_t{1}, uint8_t{1}));
  EXPECT_EQ(junctionWith(10, 3), std::tuple(false, uint8_t{1}, seamlib::kUnderTest));
  EXPECT_EQ(junctionWith(4, 4), std::tuple(true, uint8_t{1}, uint8_t{1}));
}

TEST(LineWalker, ZigzagWalksStartTenPixelsAlongALoopAndAtTheEndOfALine) {
  SmallMap map;
  // A closed square outline of 40 pixels a side, and a line of 12 pixels.
  for (int i = 0; i < 40; ++i) {
    map(100 + i, 100) = map(100 + i, 139) = map(100, 100 + i) = map(139, 100 + i) = 1;
  }
  for (int i = 0; i < 12; ++i) map(200 + i, 300) = 1;
  NullSink sink;
  seamlib::LineWalker walker(map.plane, sink, seamlib::StartRule::kAlongLine);
  seamlib::LinePixel start;
  ASSERT_TRUE(walker.FindAlongLineStart({100, 100}, start));
  const int along = std::abs(start.x - 100) + std::abs(start.y - 100);
  EXPECT_EQ(along, 10);
  EXPECT_EQ(map(start.x, start.y), 1);  // the followed pixels are put back
  // Inside the short line: its end.
  ASSERT_TRUE(walker.FindAlongLineStart({205, 300}, start));
  EXPECT_TRUE(start == (seamlib::LinePixel{200, 300}) || start == (seamlib::LinePixel{211, 300}));
  // An isolated pixel is dropped.
  map(400, 400) = 1;
  EXPECT_FALSE(walker.FindAlongLineStart({400, 400}, start));
  EXPECT_EQ(map(400, 400), 0);
}

}  // namespace
