// The weave fills through the library's boundary, on a corpus of part masks at several
// angles: the output must decode cleanly, stay on the part and cover it row by row.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "stitchgen/seamlib.h"
#include "testing/mask_corpus.h"
#include "testing/stitch_walker.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr int kStartX = 700;  // the needle of part 1 of a 560 x 800 area, 0.1 mm
constexpr int kStartY = 1000;
constexpr double kRadiansPerDegree = 0.01745327777777778;
constexpr int kGrid = 980;

int TypeCodeFor(int angle) { return angle == 0 ? 0 : (angle << 8) | 1; }

// One part made as Pictorel makes it, followed by the end pair.
struct MadePart {
  int result = 0;
  Bytes bytes;  // up to and including the end pair
  vtest::WalkResult walk;
};

MadePart MakePart(const Bytes& mask, int typeCode) {
  std::unique_ptr<uint8_t[]> area(new uint8_t[kSeamlibStitchAreaBytes]());
  Bytes work = mask;
  MadePart made;
  made.result = StChgStitch(typeCode, 1, 560, 800, reinterpret_cast<char*>(area.get()), work.data(),
                            nullptr, 0);
  StInsEndCode();
  made.walk = vtest::WalkStitches({area.get(), static_cast<std::size_t>(kSeamlibStitchAreaBytes)});
  if (made.walk.ended) made.bytes.assign(area.get(), area.get() + made.walk.endOffset + 2);
  return made;
}

// Grid space of a weave turned by angle: rows run along the fill direction.
struct GridPoint {
  double g;
  double h;
};

GridPoint ToGrid(int stitchX, int stitchY, int angle) {
  const double b = -angle * kRadiansPerDegree;
  // The machine's points are truncated towards zero: half a unit puts them back in the middle.
  const double x = (stitchX + 0.5) / 10 - 70.3;
  const double y = (stitchY + 0.5) / 10 - 100.3;
  const double d = x * std::cos(b) + y * std::sin(b);
  const double f = -x * std::sin(b) + y * std::cos(b);
  return {490 + 4 * d, 490 + 4 * f};
}

// The part's pixels turned into grid space.
std::vector<uint8_t> RegionInGrid(const Bytes& mask, int angle) {
  std::vector<uint8_t> grid(kGrid * kGrid, 0);
  const double a = angle * kRadiansPerDegree;
  for (int i = 1; i <= 800; ++i) {
    for (int j = 1; j <= 560; ++j) {
      if (mask[i * 562 + j] == 0) continue;
      const int u = j - 281, v = i - 401;
      const int column = 490 + static_cast<int>(u * std::cos(a) - v * std::sin(a));
      const int row = 490 + static_cast<int>(u * std::sin(a) + v * std::cos(a));
      grid[row * kGrid + column] = 1;
    }
  }
  return grid;
}

// Within the row-line extension (2 pixels along the row, one more for rounding) of the part,
// or one row beside it where a row is bridged under the turn of the row above.
bool NearRegion(const std::vector<uint8_t>& grid, GridPoint p) {
  const int g = static_cast<int>(std::lround(p.g));
  const int h = static_cast<int>(std::lround(p.h));
  for (int dh = -1; dh <= 1; ++dh) {
    for (int dg = -3; dg <= 3; ++dg) {
      const int x = g + dg, y = h + dh;
      if (x >= 0 && y >= 0 && x < kGrid && y < kGrid && grid[y * kGrid + x] != 0) return true;
    }
  }
  return false;
}

// The sweep's closing tie-off: (a, 0), (a, 0), (-a, 0), (-a, 0) with |a| = 5; its first
// three points reach back along the last stitch and are not row points.
std::vector<bool> TieOffExcursions(const vtest::WalkResult& walk) {
  std::vector<bool> skip(walk.points.size(), false);
  for (std::size_t i = 1; i + 3 < walk.points.size(); ++i) {
    auto step = [&](std::size_t k) {
      return std::pair{walk.points[k].x - walk.points[k - 1].x, walk.points[k].y - walk.points[k - 1].y};
    };
    const auto [a0, b0] = step(i);
    if (std::abs(a0) != 5 || b0 != 0) continue;
    if (step(i + 1) == std::pair{a0, 0} && step(i + 2) == std::pair{-a0, 0} &&
        step(i + 3) == std::pair{-a0, 0}) {
      skip[i] = skip[i + 1] = skip[i + 2] = true;
    }
  }
  return skip;
}

// A sewn stitch stays on the part: each end within the row extension of it (3 pixels, with
// rounding), and every point between, half a pixel apart, within a pixel of it (the fill
// closes one-pixel gaps). Grid space, so that every angle is measured along its rows.
bool StaysOnPart(const std::vector<uint8_t>& grid, GridPoint a, GridPoint b) {
  auto near = [&](GridPoint p, int reach) {
    const int g = static_cast<int>(std::lround(p.g));
    const int h = static_cast<int>(std::lround(p.h));
    for (int y = h - reach; y <= h + reach; ++y) {
      for (int x = g - reach; x <= g + reach; ++x) {
        if (x >= 0 && y >= 0 && x < kGrid && y < kGrid && grid[y * kGrid + x] != 0) return true;
      }
    }
    return false;
  };
  if (!near(a, 3) || !near(b, 3)) return false;
  const double length = std::hypot(b.g - a.g, b.h - a.h);
  const int samples = static_cast<int>(length * 2);
  for (int k = 1; k < samples; ++k) {
    const double t = static_cast<double>(k) / samples;
    if (std::min(t, 1 - t) * length <= 3) continue;
    if (!near({a.g + t * (b.g - a.g), a.h + t * (b.h - a.h)}, 1)) return false;
  }
  return true;
}

// The longest stitch of the rows: a brick of 16 pixels (4 mm) taken into the next row, with
// the truncation of both of its needle points.
const double kLongestRowStitch = std::hypot(16.0, 1.0) * 2.5 + 1.5;

struct Coverage {
  std::size_t regionRows = 0;
  std::size_t crossedRows = 0;
  double Share() const { return regionRows == 0 ? 1.0 : double(crossedRows) / regionRows; }
};

Coverage RowCoverage(const std::vector<uint8_t>& grid, const vtest::WalkResult& walk, int angle) {
  std::set<int> regionRows;
  for (int y = 0; y < kGrid; ++y) {
    for (int x = 0; x < kGrid; ++x) {
      if (grid[y * kGrid + x] != 0) {
        regionRows.insert(y);
        break;
      }
    }
  }
  std::set<int> crossed;
  for (const auto& s : walk.sewn) {
    const GridPoint a = ToGrid(kStartX + s.x0, kStartY - s.y0, angle);
    const GridPoint b = ToGrid(kStartX + s.x1, kStartY - s.y1, angle);
    if (std::abs(a.h - b.h) < 0.5 && std::abs(a.g - b.g) >= 0.5) {
      crossed.insert(static_cast<int>(std::lround((a.h + b.h) / 2)));
    }
  }
  Coverage c;
  c.regionRows = regionRows.size();
  for (int row : regionRows) c.crossedRows += crossed.count(row);
  return c;
}

// Checks one part woven at one angle: a clean stream that starts with the zero jump, no
// needle point off the part beyond the row extension, the result as bytes / 2 + 4, and
// (where the part is thick enough to weave) 95 % of its rows crossed by a row line.
void ExpectSoundWeave(const Bytes& mask, int angle, bool thickEnough) {
  const MadePart made = MakePart(mask, TypeCodeFor(angle));
  ASSERT_TRUE(made.walk.ended);
  EXPECT_TRUE(made.walk.error.empty());
  EXPECT_EQ(made.walk.longStitches, 0);
  EXPECT_EQ(made.walk.colourChanges, 0);
  ASSERT_GE(made.bytes.size(), 6u);
  EXPECT_EQ(Bytes(made.bytes.begin(), made.bytes.begin() + 4), (Bytes{0x80, 0x02, 0x00, 0x00}));
  EXPECT_EQ(made.result, static_cast<int>(made.walk.endOffset / 2) + 4);

  const auto grid = RegionInGrid(mask, angle);
  const auto skip = TieOffExcursions(made.walk);
  int outside = 0;
  for (std::size_t i = 0; i < made.walk.points.size(); ++i) {
    const auto& p = made.walk.points[i];
    if (p.kind == vtest::NeedleKind::kJump || skip[i]) continue;
    if (!NearRegion(grid, ToGrid(kStartX + p.x, kStartY - p.y, angle))) {
      if (++outside <= 3) {
        ADD_FAILURE() << "needle point off the part at " << kStartX + p.x << "," << kStartY - p.y;
      }
    }
  }
  EXPECT_EQ(outside, 0);

  // Between sections, and across a hole, the needle jumps; over the part no stitch is
  // longer than the rows' own. The sweep's tie-off (stitch points 1..3 after its last row
  // point) goes along x whatever the angle and may leave the part by a millimetre.
  int across = 0;
  int tooLong = 0;
  std::size_t sewnIndex = 0;
  for (std::size_t i = 1; i < made.walk.points.size(); ++i) {
    const auto& p = made.walk.points[i];
    if (p.kind != vtest::NeedleKind::kStitch) continue;
    const vtest::SewnSegment& s = made.walk.sewn[sewnIndex++];
    if (std::hypot(s.x1 - s.x0, s.y1 - s.y0) > kLongestRowStitch && ++tooLong <= 3) {
      ADD_FAILURE() << "a stitch longer than a brick: " << s.x0 << "," << s.y0 << " to " << s.x1 << "," << s.y1;
    }
    if (skip[i] || skip[i - 1]) continue;  // the tie-off
    const GridPoint a = ToGrid(kStartX + s.x0, kStartY - s.y0, angle);
    const GridPoint b = ToGrid(kStartX + s.x1, kStartY - s.y1, angle);
    if (!StaysOnPart(grid, a, b) && ++across <= 3) {
      ADD_FAILURE() << "a stitch across bare fabric: " << s.x0 << "," << s.y0 << " to " << s.x1 << "," << s.y1;
    }
  }
  EXPECT_EQ(across, 0);
  EXPECT_EQ(tooLong, 0);
  if (!thickEnough) return;
  const Coverage coverage = RowCoverage(grid, made.walk, angle);
  EXPECT_GE(coverage.Share(), 0.95) << coverage.crossedRows << " of " << coverage.regionRows;
}

class WeaveCorpus : public ::testing::TestWithParam<int> {};

TEST_P(WeaveCorpus, DecodesCleanlyStaysOnThePartAndCoversItsRows) {
  const int angle = GetParam();
  for (const auto& mask : vtest::BuildMaskCorpus()) {
    SCOPED_TRACE(mask.name + " at " + std::to_string(angle) + " degrees");
    // A one-pixel line is less than three rows across the fill direction at 0 and 180
    // degrees (and a stair of short runs at the others): nothing but the zero jump.
    const bool line = mask.name == "one-pixel line";
    ExpectSoundWeave(mask.bytes, angle, !line);
    if (line && angle % 180 == 0) {
      EXPECT_EQ(MakePart(mask.bytes, TypeCodeFor(angle)).result, 6);
    }
  }
}

// Branches that rise from branches: every fork leaves a part above the row being sewn, so
// sweeps nest within sweeps.
void DrawTree(vtest::MaskBuilder& m, int x, int bottom, int height, int span, int level) {
  m.Rect(x - 4, bottom - height, 9, height);
  if (level == 0) return;
  const int top = bottom - height;
  m.Rect(x - span, top - 6, 2 * span + 1, 6);
  DrawTree(m, x - span, top - 6, height * 3 / 4, span / 2, level - 1);
  DrawTree(m, x + span, top - 6, height * 3 / 4, span / 2, level - 1);
}

TEST(WeaveNesting, BranchesAndASpiralAreSewnWhole) {
  vtest::MaskBuilder tree;
  DrawTree(tree, 280, 790, 200, 128, 5);
  vtest::MaskBuilder spiral;
  for (int turn = 0; turn < 8; ++turn) {
    const int inset = turn * 30;
    const int x0 = 20 + inset, y0 = 20 + inset, x1 = 540 - inset, y1 = 780 - inset;
    if (x1 - x0 < 40 || y1 - y0 < 40) break;
    spiral.Rect(x0, y0, x1 - x0, 12).Rect(x1 - 12, y0, 12, y1 - y0);
    spiral.Rect(x0 + 30, y1 - 12, x1 - x0 - 30, 12).Rect(x0 + 30, y0 + 30, 12, y1 - y0 - 30);
  }
  for (int angle : {0, 45, 90, 180}) {
    SCOPED_TRACE(angle);
    ExpectSoundWeave(tree.Bytes(), angle, true);
    ExpectSoundWeave(spiral.Bytes(), angle, true);
  }
}

// Random scraps of shapes and 2 x 2 specks: whatever the part, the library returns -1 (too many
// regions) or a clean stream that starts with the zero jump and counts its bytes.
TEST(WeaveRandomParts, AlwaysDecodeCleanlyOrFail) {
  std::mt19937 random(20261209);
  std::uniform_int_distribution<int> coordinate(0, 600);
  std::uniform_int_distribution<int> size(1, 120);
  std::uniform_int_distribution<int> angle(0, 255);
  for (int trial = 0; trial < 12; ++trial) {
    vtest::MaskBuilder m;
    for (int shape = 0; shape < 8; ++shape) {
      if (shape % 2 == 0) {
        m.Rect(coordinate(random), coordinate(random) + 100, size(random), size(random));
      } else {
        m.Ring(coordinate(random), coordinate(random) + 100, size(random), size(random) / 3);
      }
    }
    for (int speck = 0; speck < trial * 25; ++speck) {
      m.Rect(coordinate(random), coordinate(random) + 100, 2, 2);
    }
    const int turn = trial % 3 == 0 ? 0 : angle(random);
    SCOPED_TRACE(std::to_string(trial) + " at " + std::to_string(turn));
    const MadePart made = MakePart(m.Bytes(), TypeCodeFor(turn));
    ASSERT_TRUE(made.walk.ended);
    EXPECT_TRUE(made.walk.error.empty());
    if (made.result == -1) {
      EXPECT_EQ(made.walk.endOffset, 0u);  // refused before writing
      continue;
    }
    EXPECT_EQ(made.result, static_cast<int>(made.walk.endOffset / 2) + 4);
    EXPECT_EQ(Bytes(made.bytes.begin(), made.bytes.begin() + 4), (Bytes{0x80, 0x02, 0x00, 0x00}));
    EXPECT_EQ(made.walk.longStitches, 0);
  }
}

// Two sections of one part joined by a run one pixel high, too thin to weave: the rows of
// the first section cut it off at their turn, so it is left unsewn; it stays part of the
// part all the same. Work pixels; row is the run's row.
struct ThinRunPart {
  vtest::MaskBuilder mask;
  int runLeft = 0;   // the run's first and last work column
  int runRight = 0;
  int row = 0;
};

// A mask pixel's column and row of a needle point (absolute 0.1 mm) of the horizontal weave.
double PixelX(int needleX) { return needleX * 2.0 / 5 - 1; }
double PixelY(int needleY) { return needleY / 2.5 - 1; }

// A narrow section ending on the run's row, the run, and a narrow section starting on it:
// the move from the first section's last row to the second's first crosses the run.
ThinRunPart RunAlongTheLastRow(int row) {
  ThinRunPart part;
  part.runLeft = 72;
  part.runRight = 87;
  part.row = row;
  part.mask.Rect(60, 100, 12, row - 100 + 1).Rect(72, row, 16, 1).Rect(88, row, 12, 200);
  return part;
}

// A tall section, the run, and a U whose left arm the sweep of its right arm climbs: the
// climb passes the run's row beside the left arm.
ThinRunPart RunIntoAClimbedArm(int row) {
  ThinRunPart part;
  part.runLeft = 100;
  part.runRight = 299;
  part.row = row;
  part.mask.Rect(60, 100, 40, 300).Rect(100, row, 200, 1);
  part.mask.Rect(300, 130, 30, 250).Rect(400, 110, 30, 270).Rect(300, 380, 130, 30);
  return part;
}

// Over the part the needle is sewn, in steps; it jumps only where the way leaves the part:
// for every jump of one pair or less, some point of the way, beyond the reach of a row line's
// ends, has no part pixel around it.
TEST(WeaveThinRuns, AMoveAcrossARunTooThinToWeaveIsSewnNotJumped) {
  for (int row = 150; row < 174; ++row) {
    SCOPED_TRACE(row);
    const ThinRunPart part = RunAlongTheLastRow(row);
    const MadePart made = MakePart(part.mask.Bytes(), 0);
    ASSERT_TRUE(made.walk.ended);
    const auto onPart = [&](double x, double y) {
      for (int column : {static_cast<int>(std::floor(x)), static_cast<int>(std::ceil(x))}) {
        for (int r : {static_cast<int>(std::floor(y)), static_cast<int>(std::ceil(y))}) {
          if (part.mask.At(column, r) != 0) return true;
        }
      }
      return false;
    };
    const auto& points = made.walk.points;
    for (std::size_t i = 1; i < points.size(); ++i) {
      if (points[i].kind != vtest::NeedleKind::kJump || points[i - 1].kind == vtest::NeedleKind::kJump) continue;
      std::size_t landing = i;
      while (landing < points.size() && points[landing].kind != vtest::NeedleKind::kLanding) ++landing;
      ASSERT_LT(landing, points.size());
      const auto& from = points[i - 1];
      const auto& to = points[landing];
      if (i == 1 || std::abs(to.x - from.x) > 127 || std::abs(to.y - from.y) > 127) continue;
      const double x0 = PixelX(kStartX + from.x), y0 = PixelY(kStartY - from.y);
      const double x1 = PixelX(kStartX + to.x), y1 = PixelY(kStartY - to.y);
      const double length = std::hypot(x1 - x0, y1 - y0);
      const int samples = static_cast<int>(length * 2);
      bool leaves = false;
      for (int k = 1; k < samples && !leaves; ++k) {
        const double along = length * k / samples;
        if (along <= 3 || length - along <= 3) continue;
        leaves = !onPart(x0 + (x1 - x0) * k / samples, y0 + (y1 - y0) * k / samples);
      }
      EXPECT_TRUE(leaves || samples <= 12) << "a jump over the part from " << x0 << "," << y0 << " to " << x1 << "," << y1;
    }
  }
}

// The travel stitches of a climb stay in the section climbed: a run too thin to weave beside
// it, leading to another section, is no part of the climb's row, so the needle never lands
// on it (it is sewn, if at all, as a row line).
TEST(WeaveThinRuns, AClimbsTravelStitchesStayOffARunTooThinToWeave) {
  for (int row = 150; row < 174; ++row) {
    SCOPED_TRACE(row);
    const ThinRunPart part = RunIntoAClimbedArm(row);
    const MadePart made = MakePart(part.mask.Bytes(), 0);
    ASSERT_TRUE(made.walk.ended);
    for (const auto& p : made.walk.points) {
      if (p.kind != vtest::NeedleKind::kLanding) continue;
      const double x = PixelX(kStartX + p.x), y = PixelY(kStartY - p.y);
      EXPECT_FALSE(x > part.runLeft + 4 && x < part.runRight - 4 && std::abs(y - part.row) <= 1.5)
          << "the needle lands on the thin run at " << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Angles, WeaveCorpus, ::testing::Values(0, 30, 45, 90, 135, 180));

}  // namespace
