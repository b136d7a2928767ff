// Hostile parts through every fill type: noise, one-pixel specks, lines touching every border,
// the full area, with random parameters and column records. No crash, no byte past the stitch
// area (the sanitizer watches the heap area), no hang, and a stream that decodes cleanly.

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "stitchgen/tests/fill_test_support.h"
#include "testing/mask_corpus.h"

namespace {

using filltest::Bytes;
using vtest::MaskBuilder;

std::vector<std::pair<std::string, Bytes>> HostileMasks(std::mt19937& random) {
  std::vector<std::pair<std::string, Bytes>> masks;
  std::bernoulli_distribution half(0.5);
  std::bernoulli_distribution sparse(0.03);
  MaskBuilder noise;
  MaskBuilder specks;
  for (int y = 0; y < 800; ++y) {
    for (int x = 0; x < 560; ++x) {
      if (half(random)) noise.Set(x, y);
      if (x % 3 == 0 && y % 3 == 0 && sparse(random)) specks.Set(x, y);
    }
  }
  masks.emplace_back("noise", noise.Bytes());
  masks.emplace_back("specks", specks.Bytes());

  MaskBuilder borders;
  borders.Rect(0, 0, 560, 1).Rect(0, 799, 560, 1).Rect(0, 0, 1, 800).Rect(559, 0, 1, 800);
  borders.Rect(0, 400, 560, 1).Rect(280, 0, 1, 800);
  masks.emplace_back("border lines", borders.Bytes());

  MaskBuilder full;
  full.Rect(0, 0, 560, 800);
  masks.emplace_back("full area", full.Bytes());

  // A comb of one-pixel lines and a checkerboard: junctions everywhere.
  MaskBuilder comb;
  for (int x = 0; x < 560; x += 2) comb.Rect(x, 0, 1, 800);
  comb.Rect(0, 300, 560, 1);
  masks.emplace_back("comb", comb.Bytes());
  MaskBuilder checker;
  for (int y = 100; y < 300; ++y) {
    for (int x = 100; x < 300; ++x) {
      if ((x + y) % 2 == 0) checker.Set(x, y);
    }
  }
  masks.emplace_back("checkerboard", checker.Bytes());
  return masks;
}

std::vector<SatinColumnRecord> RandomRecords(std::mt19937& random) {
  std::uniform_int_distribution<int> coordinate(-5, 900);
  std::uniform_int_distribution<int> pick(0, 5);
  const double spacings[] = {0.6,    0.3,
                             1.0,    std::numeric_limits<double>::quiet_NaN(),
                             -1e300, std::numeric_limits<double>::infinity()};
  std::vector<SatinColumnRecord> records(10);
  for (auto& r : records) {
    r = SatinColumnRecord{coordinate(random), coordinate(random), coordinate(random),
                          coordinate(random), spacings[pick(random)]};
  }
  return records;
}

TEST(FillFuzz, EveryFillTypeSurvivesHostileParts) {
  std::mt19937 random(20261209);
  std::uniform_int_distribution<int> parameter(0, 255);
  for (const auto& [name, mask] : HostileMasks(random)) {
    for (int type = 0; type <= 9; ++type) {
      SCOPED_TRACE(name + ", type " + std::to_string(type));
      const int typeCode = type | (parameter(random) << 8);
      const std::vector<SatinColumnRecord> records = RandomRecords(random);
      const filltest::MadePart made = filltest::MakePart(mask, typeCode, records.data());
      ASSERT_TRUE(made.walk.ended);
      EXPECT_TRUE(made.walk.error.empty());
      EXPECT_GE(made.result, -1);
      EXPECT_LE(made.walk.endOffset, static_cast<std::size_t>(kSeamlibStitchAreaBytes - 2));
      if (made.result > 0) {
        EXPECT_EQ(made.result, static_cast<int>(made.bytes.size() / 2) + 4);
        EXPECT_EQ(Bytes(made.bytes.begin(), made.bytes.begin() + 4),
                  (Bytes{0x80, 0x02, 0x00, 0x00}));
      }
      StSatinFailure();
    }
  }
}

// Small random parts at random places and sizes, many times over: the line walkers and the
// column builder meet every odd neighbourhood.
TEST(FillFuzz, RandomScrapsDecodeCleanly) {
  std::mt19937 random(7000);
  std::uniform_int_distribution<int> coordinate(-10, 570);
  std::uniform_int_distribution<int> size(1, 40);
  std::uniform_int_distribution<int> parameter(0, 255);
  for (int trial = 0; trial < 20; ++trial) {
    MaskBuilder m;
    for (int shape = 0; shape < 30; ++shape) {
      const int x = coordinate(random);
      const int y = coordinate(random) + 100;
      switch (shape % 3) {
        case 0:
          m.Rect(x, y, size(random), 1 + size(random) % 3);
          break;
        case 1:
          m.Ring(x, y, size(random) + 2, size(random) % 3);
          break;
        default:
          m.Rect(x, y, 1, size(random) * 3);
          break;
      }
    }
    const std::vector<SatinColumnRecord> records = RandomRecords(random);
    for (int type = 3; type <= 9; ++type) {
      SCOPED_TRACE(std::to_string(trial) + ", type " + std::to_string(type));
      const filltest::MadePart made =
          filltest::MakePart(m.Bytes(), type | (parameter(random) << 8), records.data());
      ASSERT_TRUE(made.walk.ended);
      EXPECT_TRUE(made.walk.error.empty());
      EXPECT_GE(made.result, -1);
    }
    StSatinFailure();
  }
}

// A design whose first two parts nearly fill the stitch area: whatever the third part's fill
// type, it ends at the limit without passing it, and the design still decodes to its end.
TEST(FillFuzz, EveryFillTypeStopsAtTheLimitOfANearlyFullArea) {
  MaskBuilder full;
  full.Rect(0, 0, 560, 800);
  MaskBuilder third;
  third.Rect(10, 10, 540, 9).Rect(10, 30, 1, 700).Rect(20, 30, 400, 400);
  std::vector<SatinColumnRecord> records(10, SatinColumnRecord{0, 0, 0, 0, 0.4});
  records[0] = SatinColumnRecord{9, 14, 550, 14, 0.4};
  records[1] = SatinColumnRecord{9, 100, 11, 100, 0.4};
  records[2] = SatinColumnRecord{19, 230, 420, 230, 0.4};
  for (int type = 3; type <= 9; ++type) {
    SCOPED_TRACE(type);
    std::unique_ptr<uint8_t[]> area(new uint8_t[kSeamlibStitchAreaBytes]());
    char* out = reinterpret_cast<char*>(area.get());
    int results[3] = {};
    for (int part = 0; part < 3; ++part) {
      if (part > 0) {
        StBackEndCode();
        StInsStopCode();
      }
      Bytes mask = part < 2 ? full.Bytes() : third.Bytes();
      const int typeCode = part < 2 ? 0 : type | (10 << 8);
      results[part] = StChgStitch(typeCode, part + 1, 560, 800, out, mask.data(),
                                  part < 2 ? nullptr : records.data(), 0);
      StInsEndCode();
    }
    StSatinFailure();
    EXPECT_GT(results[1], 6);
    EXPECT_GE(results[2], -1);
    const auto walk =
        vtest::WalkStitches({area.get(), static_cast<std::size_t>(kSeamlibStitchAreaBytes)});
    ASSERT_TRUE(walk.ended);
    EXPECT_TRUE(walk.error.empty());
    EXPECT_LE(walk.endOffset, static_cast<std::size_t>(kSeamlibStitchAreaBytes - 2));
    EXPECT_EQ(walk.colourChanges, 2);
  }
}

}  // namespace
