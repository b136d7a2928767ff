#include "hooplayout/arg_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "hooplayout/tests/design_builder.h"
#include "platform/le_bytes.h"
#include "testing/stitch_stream_builder.h"

namespace {

using hooplayout::ArgLayout;
using hooplayout::LayoutDesign;
using hooplayout::ReadArgLayout;
using hooplayout::WriteArgLayout;
using Bytes = std::vector<uint8_t>;

Bytes Square() {
  return vtest::StitchStreamBuilder().Jump(-20, 10).Stitch(40, 0).ColourChange().Stitch(0, -20).End().Bytes();
}

// Every field set to a value of its own, so that a swapped pair of fields shows.
LayoutDesign Distinct(const std::string& name, int seed) {
  LayoutDesign d = hltest::Design(name, 100 + seed, 150 + seed, Square(), {5, 9});
  int32_t v = seed * 100;
  for (int32_t* f : {&d.reserved1, &d.reserved2, &d.reserved3, &d.reserved4, &d.reserved5,
                     &d.extents.left, &d.extents.top, &d.extents.right, &d.extents.bottom,
                     &d.reserved6, &d.reserved7, &d.startOffsetX, &d.startOffsetY, &d.halfWidth,
                     &d.halfHeight, &d.sourceHalfWidth, &d.sourceHalfHeight,
                     &d.sourceStartOffsetX, &d.sourceStartOffsetY, &d.reserved10, &d.reserved11}) {
    *f = ++v;
  }
  d.centreX = 200 + seed;
  d.centreY = 210 + seed;
  d.angle = -45 + seed;
  d.flipH = 1;
  d.flipV = seed % 2;
  d.scaleX = 0.85;
  d.scaleY = 1.15;
  d.reserved8 = 3.5;
  d.reserved9 = -7.25;
  d.source->SetThreadType(1, 14);
  d.source->Stitches()[2] = 0x05;  // the two records differ
  return d;
}

void ExpectSameDesign(const LayoutDesign& a, const LayoutDesign& b) {
  EXPECT_EQ(a.name, b.name);
  for (auto f : {&LayoutDesign::startX, &LayoutDesign::startY, &LayoutDesign::reserved1,
                 &LayoutDesign::reserved2, &LayoutDesign::angle, &LayoutDesign::reserved3,
                 &LayoutDesign::flipH, &LayoutDesign::flipV, &LayoutDesign::reserved4,
                 &LayoutDesign::reserved5, &LayoutDesign::centreX, &LayoutDesign::centreY,
                 &LayoutDesign::reserved6, &LayoutDesign::reserved7, &LayoutDesign::startOffsetX,
                 &LayoutDesign::startOffsetY, &LayoutDesign::halfWidth, &LayoutDesign::halfHeight,
                 &LayoutDesign::sourceHalfWidth, &LayoutDesign::sourceHalfHeight,
                 &LayoutDesign::sourceStartOffsetX, &LayoutDesign::sourceStartOffsetY,
                 &LayoutDesign::reserved10, &LayoutDesign::reserved11}) {
    EXPECT_EQ(a.*f, b.*f);
  }
  EXPECT_EQ(a.extents, b.extents);
  for (auto f : {&LayoutDesign::scaleX, &LayoutDesign::scaleY, &LayoutDesign::reserved8,
                 &LayoutDesign::reserved9}) {
    EXPECT_EQ(a.*f, b.*f);
  }
  EXPECT_EQ(a.monogram, b.monogram);
  EXPECT_EQ(*a.working, *b.working);
  EXPECT_EQ(*a.source, *b.source);
}

std::list<LayoutDesign> Designs(int count) {
  std::list<LayoutDesign> designs;
  for (int i = 0; i < count; ++i) designs.push_back(hltest::Design("d" + std::to_string(i), 50, 50, Square()));
  return designs;
}

// Bytes of one design without lettering: name, 26 integers, 4 doubles, 2 integers, the
// flag, and two blocks of count, colours, two tables and the stitches.
std::size_t DesignSize(const std::string& name, std::size_t stitchBytes) {
  return 1 + name.size() + 26 * 4 + 4 * 8 + 2 * 4 + 4 + 2 * (4 + 2 + 200 + 200 + stitchBytes);
}

TEST(ArgFile, RoundTripKeepsEveryFieldBothRecordsTheLetteringAndTheOrder) {
  std::list<LayoutDesign> designs{Distinct("C:/designs/rose.qnf", 1), Distinct("tulip.sew", 2)};
  designs.front().monogram.bytes[0] = 'A';
  designs.front().monogram.bytes[5755] = 0x7E;
  designs.front().transient = 1;
  const Bytes file = WriteArgLayout(2, 3, designs);
  const auto read = ReadArgLayout(file);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->sheetsAcross, 2);
  EXPECT_EQ(read->sheetsDown, 3);
  ASSERT_EQ(read->designs.size(), 2u);
  ExpectSameDesign(read->designs.front(), designs.front());
  ExpectSameDesign(read->designs.back(), designs.back());
  EXPECT_EQ(read->designs.front().transient, 0);  // never stored
  EXPECT_NE(read->designs.front().working, designs.front().working);  // records of its own
}

TEST(ArgFile, AJumpMoveOfMinus128And16IsNoEndPair) {
  const Bytes odd =
      vtest::StitchStreamBuilder().Jump(3, 3).Raw(0x80, 0x02).Raw(0x80, 0x10).Stitch(4, 4).End().Bytes();
  std::list<LayoutDesign> designs{hltest::Design("odd.qnf", 50, 50, odd)};
  const auto read = ReadArgLayout(WriteArgLayout(1, 1, designs));
  ASSERT_TRUE(read);
  const auto& working = *read->designs.front().working;
  EXPECT_TRUE(std::equal(odd.begin(), odd.end(), working.Stitches()));
}

TEST(ArgFile, HeadAndFieldsStandWhereTheFormSaysByteForByte) {
  std::list<LayoutDesign> designs{Distinct("ab", 1)};
  const Bytes file = WriteArgLayout(1, 2, designs);
  ASSERT_EQ(file.size(), 10u + 12u + DesignSize("ab", 14));
  EXPECT_EQ(std::memcmp(file.data(), "Corvan arg", 10), 0);
  EXPECT_EQ(platform::ReadI32(&file[10]), 1);
  EXPECT_EQ(platform::ReadI32(&file[14]), 2);
  EXPECT_EQ(platform::ReadI32(&file[18]), 1);
  EXPECT_EQ(file[22], 2);  // the name's length, then its characters
  EXPECT_EQ(file[23], 'a');
  const std::size_t fields = 25;
  EXPECT_EQ(platform::ReadI32(&file[fields]), 101);         // start x
  EXPECT_EQ(platform::ReadI32(&file[fields + 16]), -44);    // angle
  EXPECT_EQ(platform::ReadI32(&file[fields + 24]), 1);      // flip horizontal
  EXPECT_EQ(platform::ReadI32(&file[fields + 40]), 106);    // extents left
  EXPECT_EQ(platform::ReadI32(&file[fields + 56]), 201);    // centre x
  const std::size_t doubles = fields + 26 * 4;
  double scaleX = 0;
  const uint64_t bits = platform::ReadU32(&file[doubles]) | uint64_t{platform::ReadU32(&file[doubles + 4])} << 32;
  std::memcpy(&scaleX, &bits, 8);
  EXPECT_EQ(scaleX, 0.85);
  const std::size_t flag = doubles + 32 + 8;
  EXPECT_EQ(platform::ReadI32(&file[flag]), -1);  // no lettering: no block
  const std::size_t working = flag + 4;
  EXPECT_EQ(platform::ReadI32(&file[working]), 7);  // pair count
  EXPECT_EQ(platform::ReadI16(&file[working + 4]), 2);
  EXPECT_EQ(platform::ReadI16(&file[working + 6]), 5);
  EXPECT_EQ(platform::ReadI16(&file[working + 8]), 9);
  EXPECT_EQ(Bytes(file.begin() + working + 406, file.begin() + working + 420), Square());
}

TEST(ArgFile, DesignCountMustBeOneToFifty) {
  EXPECT_FALSE(ReadArgLayout(WriteArgLayout(1, 1, {})));
  EXPECT_FALSE(ReadArgLayout(WriteArgLayout(1, 1, Designs(51))));
  const auto fifty = ReadArgLayout(WriteArgLayout(1, 1, Designs(50)));
  ASSERT_TRUE(fifty);
  EXPECT_EQ(fifty->designs.size(), 50u);
  EXPECT_EQ(fifty->designs.back().name, "d49");
}

TEST(ArgFile, WrongMagicIsRefused) {
  Bytes file = WriteArgLayout(1, 1, Designs(1));
  file[7] = 'A';
  EXPECT_FALSE(ReadArgLayout(file));
  EXPECT_FALSE(ReadArgLayout(Bytes(file.begin(), file.begin() + 9)));
}

TEST(ArgFile, EveryTruncationIsRefusedCleanly) {
  std::list<LayoutDesign> designs{Distinct("rose", 1), Distinct("tulip", 2)};
  designs.front().monogram.bytes[0] = 'M';
  const Bytes file = WriteArgLayout(1, 1, designs);
  ASSERT_TRUE(ReadArgLayout(file));
  for (std::size_t n = 0; n < file.size(); n += (n < 600 ? 1 : 97)) {
    EXPECT_FALSE(ReadArgLayout(Bytes(file.begin(), file.begin() + static_cast<long>(n)))) << n;
  }
}

TEST(ArgFile, LyingFieldsAreRefused) {
  const std::size_t flagAt = 10 + 12 + 1 + 2 + 26 * 4 + 32 + 8;
  const std::size_t colourAt = flagAt + 4 + 4;
  auto refusedWith = [&](std::size_t at, std::vector<uint8_t> patch) {
    Bytes file = WriteArgLayout(1, 1, {hltest::Design("ab", 50, 50, Square())});
    std::copy(patch.begin(), patch.end(), file.begin() + static_cast<long>(at));
    return !ReadArgLayout(file);
  };
  EXPECT_TRUE(refusedWith(colourAt, {0, 0}));           // no colours
  EXPECT_TRUE(refusedWith(colourAt, {101, 0}));         // more than the tables hold
  EXPECT_TRUE(refusedWith(colourAt, {0xFF, 0xFF}));     // negative
  EXPECT_TRUE(refusedWith(22, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}));  // a 2 GB name
  EXPECT_TRUE(refusedWith(25 + 24, {2, 0, 0, 0}));      // a flip that is neither 0 nor 1
  EXPECT_TRUE(refusedWith(25, {0, 0, 0, 0x40}));        // a start a billion units out
  EXPECT_TRUE(refusedWith(25 + 26 * 4, {0, 0, 0, 0, 0, 0, 0xF8, 0x7F}));  // scale NaN
  EXPECT_FALSE(refusedWith(colourAt, {100, 0}));
}

TEST(ArgFile, MonogramFlagOtherThanOneMeansNoBlock) {
  LayoutDesign d = hltest::Design("ab", 50, 50, Square());
  d.monogram.bytes[1] = 9;  // first byte 0: not lettering, written with the flag -1
  const Bytes file = WriteArgLayout(1, 1, {d});
  const auto read = ReadArgLayout(file);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->designs.front().monogram, editor::MonogramBlock{});
  Bytes zeroFlag = file;
  platform::WriteI32(&zeroFlag[10 + 12 + 3 + 26 * 4 + 32 + 8], 0);
  ASSERT_TRUE(ReadArgLayout(zeroFlag));
}

TEST(ArgFile, BlockWithoutEndPairIsReadToTheLimitAndClosed) {
  LayoutDesign d = hltest::Design("ab", 50, 50, Square());
  Bytes endless(hooplayout::kMaxBlockStitchBytes, 0x01);
  std::copy(endless.begin(), endless.end(), d.working->Stitches());
  d.working->SetPairCount(1 << 30);  // a lie
  const Bytes file = WriteArgLayout(1, 1, {d});
  const auto read = ReadArgLayout(file);
  ASSERT_TRUE(read);
  const auto& w = *read->designs.front().working;
  EXPECT_EQ(w.Stitches()[249998], 0x01);
  EXPECT_EQ(w.Stitches()[250000], 0x80);  // closed in the record's last two bytes
  EXPECT_EQ(w.Stitches()[250001], 0x10);
  EXPECT_EQ(w.PairCount(), 125001);  // never more than the record holds
  EXPECT_EQ(*read->designs.front().source, *d.source);  // the next block read in its place
}

TEST(ArgFile, AnglesAreKeptWithinOneTurn) {
  LayoutDesign d = hltest::Design("ab", 50, 50, Square());
  d.angle = 725;
  const auto read = ReadArgLayout(WriteArgLayout(1, 1, {d}));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->designs.front().angle, 5);
}

}  // namespace

namespace {

TEST(ArgFile, OlderLayoutsKeepPlacementFieldsOfTheirOwnGeometry) {
  LayoutDesign d = hltest::Design("old", 50, 60, Square());
  d.scaleX = 0.0;   // no scale in the old geometry
  d.flipH = 3;
  d.halfWidth = 1 << 30;
  const Bytes file = WriteArgLayout(1, 1, {d});
  EXPECT_FALSE(ReadArgLayout(file));
  const auto read = ReadArgLayout(file, hooplayout::ArgPlacement::kOld);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->designs.front().startX, 50);
  LayoutDesign far = d;
  far.startX = 1 << 30;  // the start point is still a position
  EXPECT_FALSE(ReadArgLayout(WriteArgLayout(1, 1, {far}), hooplayout::ArgPlacement::kOld));
}

// Bytes changed at random in a sound file: each result is refused or read into sound
// records, never read out of bounds (the sanitizers watch), and what is read writes again.
TEST(ArgFile, RandomlyDamagedFilesAreReadSafely) {
  std::list<LayoutDesign> designs{Distinct("rose", 1), Distinct("tulip", 2)};
  designs.front().monogram.bytes[0] = 'M';
  const Bytes sound = WriteArgLayout(1, 1, designs);
  uint32_t state = 12345;
  auto next = [&] { return state = state * 1103515245u + 12345u; };
  for (int round = 0; round < 300; ++round) {
    Bytes file = sound;
    const int changes = 1 + static_cast<int>(next() % 4);
    for (int c = 0; c < changes; ++c) file[next() % file.size()] = static_cast<uint8_t>(next() >> 16);
    const auto read = ReadArgLayout(file);
    if (!read) continue;
    for (const LayoutDesign& d : read->designs) {
      EXPECT_GE(d.working->ColourCount(), 1);
      EXPECT_LE(d.working->ColourCount(), 100);
      EXPECT_LE(d.working->PairCount(), 125001);
    }
    EXPECT_TRUE(ReadArgLayout(WriteArgLayout(read->sheetsAcross, read->sheetsDown, read->designs)));
  }
}

}  // namespace
