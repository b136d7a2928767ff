// Every design of a Maxiframe layout is sewn where the layout shows it: the position files,
// decoded by the reference walker, hold each design's stitch points turned by its angle
// about its start point, in stitch units, and take the needle nowhere outside the hoop's
// field.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "design/stitch_transformer.h"
#include "hooplayout/hoop_positions.h"
#include "hooplayout/position_split.h"
#include "hooplayout/tests/design_builder.h"
#include "platform/le_bytes.h"
#include "testing/stitch_stream_builder.h"
#include "testing/stitch_walker.h"

namespace {

using hooplayout::LayoutDesign;

struct Point {
  int64_t x = 0;
  int64_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

std::ostream& operator<<(std::ostream& out, const Point& p) { return out << '(' << p.x << ", " << p.y << ')'; }

// The large hoop's field about its centre, stitch units.
constexpr int64_t kFieldHalfWidth = 700;
constexpr int64_t kFieldHalfHeight = 1000;

bool Sewn(const vtest::NeedlePoint& p) {
  return p.kind == vtest::NeedleKind::kStitch || p.kind == vtest::NeedleKind::kLongStitch;
}

int64_t RoundHalfAway(double v) { return static_cast<int64_t>(v < 0 ? v - 0.5 : v + 0.5); }
int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
int64_t CeilDiv(int64_t a, int64_t b) { return -FloorDiv(-a, b); }

class LayoutMaker {
 public:
  explicit LayoutMaker(unsigned seed) : rng_(seed) {}

  int R(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

  // Stitches short enough that each still fits one pair at any angle, jumps with their
  // landings (none of magnitude 119), colour changes; sometimes a leading jump.
  std::vector<uint8_t> Stitches(std::vector<int16_t>& codes) {
    vtest::StitchStreamBuilder b;
    codes = {static_cast<int16_t>(R(1, 60))};
    if (R(0, 2) == 0) b.Jump(R(-100, 100), R(-100, 100)).Stitch(R(-40, 40), R(-40, 40));
    for (int i = R(2, 30); i > 0; --i) {
      const int kind = R(0, 9);
      if (kind == 0 && codes.size() < 4) {
        b.ColourChange();
        codes.push_back(static_cast<int16_t>(R(1, 60)));
      } else if (kind == 1) {
        b.Jump(R(-100, 100), R(-100, 100)).Stitch(R(-40, 40), R(-40, 40));
      }
      b.Stitch(R(-60, 60), R(-60, 60));
    }
    b.End();
    return b.Bytes();
  }

  // A design turned and flipped at random, placed in the field from fieldLeft to
  // fieldLeft + 1400, against one of its edges or anywhere inside. False when it does not
  // fit the field at all.
  bool Place(LayoutDesign& d, int64_t fieldLeft) {
    std::vector<int16_t> codes;
    d = hltest::Design("d", 0, 0, Stitches(codes), codes);
    d.flipH = R(0, 1);
    d.flipV = R(0, 1);
    int copied = 0;
    if ((d.flipH || d.flipV) &&
        !design::CLayoutStitchTransformer().Transform(*d.source, *d.working, 1.0, 1.0, copied,
                                                      d.flipH != 0, d.flipV != 0, 0)) {
      return false;
    }
    constexpr int kQuarterTurns[] = {0, 90, 180, 270, -90};
    d.angle = R(0, 1) ? kQuarterTurns[R(0, 4)] : R(-359, 359);
    // The whole needle path, start point and leading jumps too, must lie in the field.
    const hooplayout::StitchExtents e = hooplayout::GetNeedlePathExtents(d);
    const int64_t xLo = CeilDiv(fieldLeft - e.left, 5), xHi = FloorDiv(fieldLeft + 1400 - e.right, 5);
    const int64_t yLo = CeilDiv(-e.top, 5), yHi = FloorDiv(2000 - e.bottom, 5);
    if (xLo > xHi || yLo > yHi) return false;
    const int edge = R(0, 4);
    d.startX = static_cast<int32_t>(edge == 0 ? xLo : edge == 1 ? xHi : R(static_cast<int>(xLo), static_cast<int>(xHi)));
    d.startY = static_cast<int32_t>(edge == 2 ? yLo : edge == 3 ? yHi : R(static_cast<int>(yLo), static_cast<int>(yHi)));
    // A design within the overlap belongs to space A, whose field its path must then keep to.
    const hooplayout::StitchExtents stitched = hooplayout::GetRotatedDesignExtents(d);
    return hooplayout::IsValidPlacement(stitched) &&
           hooplayout::InsidePosition(hooplayout::GetNeedlePathExtents(d), hooplayout::SpaceOf(stitched));
  }

 private:
  std::mt19937 rng_;
};

// Where the layout shows a design's sewn points: each stitch point of its working stitches
// turned by the angle about the start point, rounded half away from zero, y downward.
std::vector<Point> ShownStitchPoints(const LayoutDesign& d) {
  const double a = d.angle * 0.017453292519444445;
  std::vector<Point> points;
  for (const vtest::NeedlePoint& p : vtest::WalkStitches(d.working->StitchArea()).points) {
    if (!Sewn(p)) continue;
    points.push_back({int64_t{d.startX} * 5 + RoundHalfAway(p.x * std::cos(a) + p.y * std::sin(a)),
                      int64_t{d.startY} * 5 + RoundHalfAway(p.x * std::sin(a) - p.y * std::cos(a))});
  }
  return points;
}

TEST(PositionPlacement, EveryDesignIsSewnWhereTheLayoutShowsItAndInsideTheHoop) {
  LayoutMaker maker(20261209);
  for (int layout = 0; layout < 300; ++layout) {
    hooplayout::DesignList list;
    for (const int64_t fieldLeft : {int64_t{900}, int64_t{0}}) {
      for (int placed = 0, n = maker.R(2, 4); placed < n;) {
        LayoutDesign d;
        if (!maker.Place(d, fieldLeft)) continue;
        list.push_back(d);
        ++placed;
      }
    }
    const auto groups = hooplayout::SplitIntoPositions(list);
    for (int g = 0; g < 2; ++g) {
      hooplayout::CPositionCombiner combiner;
      ASSERT_EQ(combiner.Combine(groups[g], g + 1), hooplayout::CombineResult::kOk) << layout;
      const std::vector<uint8_t> file = combiner.FileImage('A', platform::LocalTime{2026, 12, 9, 10, 0, 0});
      const int32_t dataOffset = platform::ReadI32(file.data());
      const vtest::WalkResult walk = vtest::WalkStitches(std::span(file).subspan(dataOffset));
      ASSERT_TRUE(walk.ended && walk.error.empty()) << layout;

      std::vector<Point> sewn;
      for (const vtest::NeedlePoint& p : walk.points) {
        EXPECT_LE(std::abs(p.x), kFieldHalfWidth) << layout;
        EXPECT_LE(std::abs(p.y), kFieldHalfHeight) << layout;
        if (!Sewn(p)) continue;
        // Space A's file starts at its centre (1600, 1000); space B's at (700, 1000) with
        // the frame turned around. File y grows upward.
        sewn.push_back(g == 0 ? Point{1600 + p.x, 1000 - p.y} : Point{700 - p.x, 1000 + p.y});
      }
      std::vector<Point> shown;
      for (const LayoutDesign* d : groups[g]) {
        const std::vector<Point> points = ShownStitchPoints(*d);
        shown.insert(shown.end(), points.begin(), points.end());
      }
      ASSERT_EQ(sewn, shown) << "layout " << layout << " group " << g + 1;
    }
  }
}

}  // namespace
