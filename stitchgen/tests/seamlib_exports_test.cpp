// The library as Pictorel calls it: the six exports, the shared cursor between calls, and
// the bytes they write.

#include "stitchgen/seamlib.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "testing/mask_corpus.h"
#include "testing/recording_message_box.h"
#include "testing/stitch_walker.h"

namespace {

using Bytes = std::vector<uint8_t>;
using vtest::MaskBuilder;

// The caller's stitch area, exactly as long as the library may use, on the heap: the
// sanitizer sees every byte written or read outside it.
struct StitchArea {
  std::unique_ptr<uint8_t[]> bytes{new uint8_t[kSeamlibStitchAreaBytes]()};
  char* Out() { return reinterpret_cast<char*>(bytes.get()); }
  Bytes Head(std::size_t n) const { return Bytes(bytes.get(), bytes.get() + n); }
  vtest::WalkResult Walk() const {
    return vtest::WalkStitches({bytes.get(), static_cast<std::size_t>(kSeamlibStitchAreaBytes)});
  }
};

int Make(StitchArea& area, MaskBuilder mask, int typeCode, int partNo = 1, int width = 560,
         int height = 800) {
  return StChgStitch(typeCode, partNo, width, height, area.Out(), mask.Bytes().data(), nullptr, 0);
}

// Absolute needle positions (0.1 mm, y downwards) of the stitches and landings, from a part
// 1 needle at (700, 1000).
std::vector<std::pair<int, int>> NeedlePoints(const vtest::WalkResult& walk) {
  std::vector<std::pair<int, int>> points;
  for (const auto& p : walk.points) {
    if (p.kind != vtest::NeedleKind::kJump) points.emplace_back(700 + p.x, 1000 - p.y);
  }
  return points;
}

TEST(SeamlibExports, AThreeRowBarIsWovenRightLeftRightWithBrickPointsAndATieOff) {
  // Work pixels 100..139 x 99..101: mask rows 100 (even, walked rightwards), 101, 102.
  StitchArea area;
  MaskBuilder bar;
  bar.Rect(100, 99, 40, 3);
  const int result = Make(area, bar, 0);
  StInsEndCode();
  const auto walk = area.Walk();
  ASSERT_TRUE(walk.ended);
  EXPECT_EQ(area.Head(4), (Bytes{0x80, 0x02, 0x00, 0x00}));
  EXPECT_EQ(result, static_cast<int>(walk.endOffset / 2) + 4);
  const std::vector<std::pair<int, int>> expected = {
      // row n = 101 from its left end less 2 pixels (99) to its right end plus 2 (142),
      // through the phase of n mod 8 = 5: x = 104, 120, 136
      {248, 250}, {260, 250}, {300, 250}, {340, 250}, {355, 250},
      // row n = 102 back, phase 544 - 16k: x = 128, 112, then 99
      {320, 253}, {280, 253}, {248, 253},
      // row n = 103, phase 12 + 16k: x = 108, 124, 140, then 142
      {270, 255}, {310, 255}, {350, 255}, {355, 255},
      // the tie-off after a rightward stitch: back 1 mm and forward again
      {350, 255}, {345, 255}, {350, 255}, {355, 255}};
  EXPECT_EQ(NeedlePoints(walk), expected);
  // The first move, from the middle of the work area, is a jump chain with no 119 in it.
  EXPECT_EQ(walk.longStitches, 0);
  EXPECT_GT(walk.jumps, 1);
}

TEST(SeamlibExports, EachRowNumberStartsItsBrickPhaseWhereItShould) {
  // Mask rows 1..10 are row numbers n = 2..11. Rising rows (odd n) step up from 0, 4, 8,
  // 12; falling rows from 548, 552, 556, 544 (n mod 8 = 0, 2, 4, 6): 4, 8, 12, 0 mod 16.
  StitchArea area;
  MaskBuilder block;
  block.Rect(20, 0, 520, 10);
  ASSERT_GT(Make(area, block, 0), 6);
  StInsEndCode();
  const auto points = NeedlePoints(area.Walk());
  std::map<int, std::vector<int>> pixelXByRow;
  for (const auto& [x, y] : points) pixelXByRow[y].push_back(2 * x / 5);
  const int phaseOf[8] = {4, 0, 8, 4, 12, 8, 0, 12};  // by n mod 8
  int rowsSeen = 0;
  for (int row = 1; row <= 10; ++row) {
    const int n = row + 1;
    const auto& xs = pixelXByRow[(250 * row + 50) / 100];
    ASSERT_GT(xs.size(), 20u) << n;
    ++rowsSeen;
    // Inner points only: the first and last of a row are its extended ends.
    for (std::size_t i = 1; i + 1 < xs.size(); ++i) {
      if (xs[i] <= 24 || xs[i] >= 536) continue;  // near the ends: the tie-off
      EXPECT_EQ(xs[i] % 16, phaseOf[n % 8]) << "n = " << n << ", x = " << xs[i];
    }
  }
  EXPECT_EQ(rowsSeen, 10);
}

TEST(SeamlibExports, RowsReachTwoPixelsPastBothEndsOnlyWhenBothFit) {
  struct Case {
    int left, right;                // work pixels of the part
    int sewnLeft, sewnRight;        // mask pixels of the outermost needle points
  };
  const Case cases[] = {{10, 557, 9, 560},   // mask 11..558: extended
                        {10, 558, 11, 559},  // mask 11..559: the right end would pass 560
                        {0, 300, 1, 301},    // mask 1..301: the left end would pass 0
                        {1, 300, 0, 303}};   // mask 2..301: extended
  for (const Case& c : cases) {
    SCOPED_TRACE(c.left);
    StitchArea area;
    MaskBuilder block;
    block.Rect(c.left, 300, c.right - c.left + 1, 5);
    ASSERT_GT(Make(area, block, 0), 6);
    StInsEndCode();
    // Each row ends where it is walked to: rising rows (even mask row) at the right,
    // falling rows at the left.
    std::map<int, std::pair<int, int>> endsByRow;
    for (const auto& [x, y] : NeedlePoints(area.Walk())) {
      auto [it, fresh] = endsByRow.try_emplace(y, x, x);
      it->second = {std::min(it->second.first, x), std::max(it->second.second, x)};
    }
    for (int row = 301; row <= 305; ++row) {
      const auto ends = endsByRow[(250 * row + 50) / 100];
      if (row % 2 == 0) {
        EXPECT_EQ(ends.second, (5 * c.sewnRight + 1) / 2) << row;
      } else {
        EXPECT_EQ(ends.first, (5 * c.sewnLeft + 1) / 2) << row;
      }
    }
  }
}

TEST(SeamlibExports, AShortRunIsOneStitchBetweenItsExtendedEnds) {
  StitchArea area;
  MaskBuilder run;
  run.Rect(200, 49, 11, 4);  // 11 pixels: 14 apart once extended
  Make(area, run, 0);
  StInsEndCode();
  const auto points = NeedlePoints(area.Walk());
  ASSERT_FALSE(points.empty());
  for (const auto& [x, y] : points) {
    const bool atAnEnd = x == (5 * 199 + 1) / 2 || x == (5 * 213 + 1) / 2;
    const bool inTieOff = x == (5 * 213 + 1) / 2 - 5 || x == (5 * 213 + 1) / 2 - 10 ||
                          x == (5 * 199 + 1) / 2 + 5 || x == (5 * 199 + 1) / 2 + 10;
    EXPECT_TRUE(atAnEnd || inTieOff) << x << "," << y;
  }
}

TEST(SeamlibExports, PartsTooThinToWeaveWriteOnlyTheZeroJump) {
  for (int rows : {1, 2}) {
    StitchArea area;
    MaskBuilder bar;
    bar.Rect(100, 300, 200, rows);
    EXPECT_EQ(Make(area, bar, 0), 6) << rows;  // 4 bytes / 2 + 4
    EXPECT_EQ(StInsEndCode() != 0, true);
    EXPECT_EQ(area.Head(6), (Bytes{0x80, 0x02, 0x00, 0x00, 0x80, 0x10}));
  }
}

TEST(SeamlibExports, VerticalWeaveIsTheDiagonalWeaveAtNinetyDegrees) {
  MaskBuilder part;
  part.Rect(150, 200, 120, 90).Disc(300, 500, 60);
  StitchArea vertical;
  StitchArea diagonal;
  const int verticalResult = Make(vertical, part, 2);
  StInsEndCode();
  const int diagonalResult = Make(diagonal, part, (90 << 8) | 1);
  StInsEndCode();
  ASSERT_GT(verticalResult, 6);
  EXPECT_EQ(verticalResult, diagonalResult);
  const auto walk = vertical.Walk();
  EXPECT_EQ(vertical.Head(walk.endOffset + 2), diagonal.Head(walk.endOffset + 2));
  // Rows of the grid run down the part: all stitches but the turns and tie-offs are upright.
  int upright = 0;
  for (const auto& s : walk.sewn) upright += std::abs(s.x1 - s.x0) <= 1;
  EXPECT_GT(upright, static_cast<int>(walk.sewn.size() * 3 / 4));
}

TEST(SeamlibExports, TheTypeCodeIsASixteenBitValueWidenedWithoutSign) {
  // 180 degrees in the high byte sets bit 15: as a sign-extended int it is negative.
  MaskBuilder part;
  part.Rect(100, 100, 200, 100);
  StitchArea zeroExtended;
  StitchArea signExtended;
  const int a = Make(zeroExtended, part, (180 << 8) | 1);
  const int b = Make(signExtended, part, static_cast<int16_t>((180 << 8) | 1));
  EXPECT_GT(a, 6);
  EXPECT_EQ(a, b);
  EXPECT_EQ(zeroExtended.Head(2 * (a - 4)), signExtended.Head(2 * (a - 4)));
}

TEST(SeamlibExports, UnknownFillTypesWriteNothing) {
  MaskBuilder part;
  part.Rect(100, 100, 100, 100);
  for (int type : {10, 11, 255}) {
    StitchArea area;
    EXPECT_EQ(Make(area, part, type | (20 << 8)), 0) << type;
    EXPECT_EQ(area.Head(4), (Bytes{0, 0, 0, 0})) << type;
  }
}

TEST(SeamlibExports, TheFirstPartSetsTheCursorEvenWhenItMakesNothing) {
  MaskBuilder part;
  part.Rect(100, 100, 100, 100);
  auto previous = std::make_unique<StitchArea>();
  ASSERT_GT(Make(*previous, part, 0), 6);
  StInsEndCode();
  previous.reset();  // the previous design's area is gone

  StitchArea next;
  EXPECT_EQ(Make(next, part, 10), 0);
  StInsEndCode();  // must land in the new area, not the freed one
  EXPECT_EQ(next.Head(2), (Bytes{0x80, 0x10}));
  EXPECT_EQ(StBackEndCode(), 1);
  EXPECT_EQ(StBackEndCode(), 0);  // nothing before the start of the area is looked at

  // A refused part 1 (an impossible work area) also begins the new design.
  StitchArea third;
  EXPECT_EQ(Make(third, part, 0, 1, 561, 800), -1);
  EXPECT_EQ(Make(third, part, 0, 1, 560, 0), -1);
  EXPECT_EQ(Make(third, part, 0, 1, 0x7FFFFFFF, -0x7FFFFFFF), -1);
  EXPECT_EQ(StChgStitch(0, 1, 560, 800, third.Out(), nullptr, nullptr, 0), -1);
  StInsStopCode();
  EXPECT_EQ(third.Head(4), (Bytes{0x80, 0x01, 0x00, 0x00}));
}

TEST(SeamlibExports, ALaterPartMustContinueTheAreaOfTheFirst) {
  MaskBuilder part;
  part.Rect(100, 100, 100, 100);
  StitchArea first;
  StitchArea other;
  ASSERT_GT(Make(first, part, 0), 6);
  EXPECT_EQ(Make(other, part, 0, 2), -1);
  EXPECT_EQ(other.Head(4), (Bytes{0, 0, 0, 0}));
}

TEST(SeamlibExports, StopEndAndBackStepCodes) {
  StitchArea area;
  MaskBuilder empty;
  ASSERT_EQ(Make(area, empty, 10), 0);  // begins the sequence, writes nothing
  StInsEndCode();
  EXPECT_EQ(StBackEndCode(), 1);  // the cursor is back on the 0x80 of the end pair
  StInsStopCode();
  StInsEndCode();
  EXPECT_EQ(area.Head(6), (Bytes{0x80, 0x01, 0x00, 0x00, 0x80, 0x10}));
  // No end pair within the last 20 bytes: 0, and the cursor stays.
  StBackEndCode();
  for (int i = 0; i < 5; ++i) StInsStopCode();
  EXPECT_EQ(StBackEndCode(), 0);
  StInsEndCode();
  EXPECT_EQ(area.Head(26)[24], 0x80);
  EXPECT_EQ(area.Head(26)[25], 0x10);
}

TEST(SeamlibExports, MoreThan126RegionsFailThePartWithoutWriting) {
  MaskBuilder dots;
  for (int i = 0; i < 130; ++i) dots.Rect(5 + (i % 40) * 12, 5 + (i / 40) * 12, 4, 4);
  StitchArea area;
  EXPECT_EQ(Make(area, dots, 0), -1);
  EXPECT_EQ(Make(area, dots, (45 << 8) | 1), -1);
  StInsEndCode();
  EXPECT_EQ(area.Head(2), (Bytes{0x80, 0x10}));
}

TEST(SeamlibExports, AMaskWithAnUntidyBorderOrValuesIsReadAsZeroAndOne) {
  MaskBuilder clean;
  clean.Rect(0, 0, 560, 40).Rect(30, 100, 200, 100);
  MaskBuilder untidy = clean;
  for (std::size_t i = 0; i < 562; ++i) untidy.Bytes()[i] = 0xFF;  // top border row
  for (std::size_t row = 0; row < 802; ++row) untidy.Bytes()[row * 562 + 561] = 0x81;
  for (int y = 100; y < 200; ++y) untidy.Set(100, y, 0xC3);
  StitchArea a;
  StitchArea b;
  const int ra = Make(a, clean, 0);
  const int rb = Make(b, untidy, 0);
  EXPECT_EQ(ra, rb);
  EXPECT_EQ(a.Head(2 * (ra - 4)), b.Head(2 * (rb - 4)));
}

TEST(SeamlibExports, APartPastTheLimitFailsWithoutWritingBeyondIt) {
  // Full-area parts of about 57,000 bytes each: the third cannot fit.
  MaskBuilder full;
  full.Rect(0, 0, 560, 800);
  StitchArea area;
  int results[3] = {};
  for (int part = 0; part < 3; ++part) {
    if (part > 0) {
      StBackEndCode();
      StInsStopCode();
    }
    results[part] = Make(area, full, part == 1 ? (45 << 8) | 1 : 0, part + 1);
    StInsEndCode();
  }
  EXPECT_GT(results[0], 6);
  EXPECT_GT(results[1], 6);
  EXPECT_EQ(results[2], -1);
  const auto walk = area.Walk();
  ASSERT_TRUE(walk.ended);
  EXPECT_LE(walk.endOffset, static_cast<std::size_t>(kSeamlibStitchAreaBytes - 2));
  EXPECT_EQ(walk.colourChanges, 2);
  EXPECT_EQ(walk.longStitches, 0);
}

TEST(SeamlibExports, SatinFailureCountIsReadAndCleared) {
  StSatinFailure();
  EXPECT_EQ(StSatinFailure(), 0);
  EXPECT_EQ(StSatinFailure(), 0);
}

TEST(SeamlibExports, TestMessageShowsTwoBoxesAndAnswers100) {
  vtest::RecordingMessageBox boxes;
  int owner = 0;
  EXPECT_EQ(DllTestMess(&owner, "hello"), 100);
  const auto shown = boxes.Shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, " Test DLL\nDon't forget [xxxxx.def]");
  EXPECT_EQ(shown[0].caption, "Attention");
  EXPECT_EQ(shown[1].text, "hello");
  EXPECT_EQ(shown[1].caption, "MESSAGE");
  EXPECT_EQ(shown[0].owner, &owner);
  EXPECT_EQ(shown[0].flags, platform::kMbOk);
}

// A design of several parts made as Pictorel's Make Stitch run makes it.
struct DesignRun {
  std::vector<int> results;
  vtest::WalkResult walk;
};

DesignRun MakeDesign(StitchArea& area, const std::vector<std::pair<MaskBuilder, int>>& parts,
                     bool withTransform) {
  DesignRun run;
  StSatinFailure();
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) {
      // The previous part ended where this one continues: right after its end pair.
      if (!withTransform) {
        EXPECT_EQ(StBackEndCode(), 1);
      }
      StInsStopCode();
    }
    MaskBuilder mask = parts[i].first;  // a fresh copy for each call
    const int result = StChgStitch(parts[i].second, static_cast<int>(i) + 1, 560, 800, area.Out(),
                                   mask.Bytes().data(), nullptr, 0);
    run.results.push_back(result);
    if (!withTransform || i + 1 == parts.size() || result < 1) StInsEndCode();
    if (result < 1 && withTransform) break;
  }
  run.walk = area.Walk();
  return run;
}

TEST(SeamlibExports, ADesignOfSeveralPartsDecodesToOneColourBlockPerPart) {
  MaskBuilder square, disc, ring;
  square.Rect(40, 40, 150, 150);
  disc.Disc(400, 200, 100);
  ring.Ring(280, 600, 150, 80);
  const std::vector<std::pair<MaskBuilder, int>> parts = {
      {square, 0}, {disc, (30 << 8) | 1}, {ring, 2}, {square, (135 << 8) | 1}};
  for (bool withTransform : {false, true}) {
    SCOPED_TRACE(withTransform ? "with transform" : "without transform");
    StitchArea area;
    const DesignRun run = MakeDesign(area, parts, withTransform);
    ASSERT_EQ(run.results.size(), parts.size());
    for (int result : run.results) EXPECT_GT(result, 6);
    ASSERT_TRUE(run.walk.ended);
    EXPECT_TRUE(run.walk.error.empty());
    EXPECT_EQ(run.walk.colourChanges, 3);
    EXPECT_EQ(run.walk.nonZeroColourPairs, 0);
    EXPECT_EQ(run.walk.longStitches, 0);
    // The needle carries on from part to part: each block's stitches lie on its own part.
    for (const auto& s : run.walk.sewn) {
      const int x = (2 * (700 + s.x1)) / 5;  // back to work pixels, roughly
      const int y = (2 * (1000 - s.y1)) / 5;
      const MaskBuilder& part = parts[s.colour].first;
      bool near = false;
      for (int dy = -3; dy <= 3 && !near; ++dy) {
        for (int dx = -4; dx <= 4 && !near; ++dx) near = part.At(x - 1 + dx, y - 1 + dy) != 0;
      }
      EXPECT_TRUE(near) << "colour " << s.colour << " at " << x << "," << y;
      if (!near) break;
    }
  }
}

TEST(SeamlibExports, APartThatMakesNothingEndsTheDesignWithTransform) {
  MaskBuilder square, line;
  square.Rect(40, 40, 150, 150);
  line.Rect(40, 400, 300, 1);
  StitchArea area;
  const DesignRun run = MakeDesign(area, {{square, 0}, {line, 10}, {square, 0}}, true);
  ASSERT_EQ(run.results.size(), 2u);
  EXPECT_EQ(run.results[1], 0);
  ASSERT_TRUE(run.walk.ended);
  EXPECT_EQ(run.walk.colourChanges, 1);
}

}  // namespace
