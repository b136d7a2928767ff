#include "editor/layout_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "design/stitch_encoder.h"
#include "editor/tests/layout_file_builder.h"
#include "testing/stitch_stream_builder.h"

namespace {

using design::StitchRecord;
using editor::DesignObject;
using editor::LayoutFormat;
using editor::ReadLayout;
using editor::WriteBdz;
using edtest::Bytes;

Bytes Stream(int steps, int colourChanges) {
  vtest::StitchStreamBuilder b;
  b.Jump(3, -4);
  for (int c = 0; c <= colourChanges; ++c) {
    if (c > 0) b.ColourChange();
    for (int i = 0; i < steps; ++i) b.Stitch((i % 7) - 3, (i % 5) - 2 + c);
  }
  b.Jump(119, 0).Stitch(2, 2).End();
  return b.Bytes();
}

void Fill(StitchRecord& r, const Bytes& stitches, int colours, int hoop) {
  r.Clear();
  r.SetStitchDataOffset(116 + 8 * colours);
  r.SetFlags(1);
  std::memcpy(r.DateText(), "2026120905060000", 16);
  r.SetColourCount(colours);
  r.SetPairCount(static_cast<int32_t>(stitches.size() / 2));
  r.SetHoop(hoop);
  r.SetExtents({11, 22, 33, 44});
  for (int i = 0; i < colours; ++i) {
    r.SetThreadCode(i, 100 + i);
    r.SetThreadType(i, 13);
  }
  std::memcpy(r.Stitches(), stitches.data(), stitches.size());
}

DesignObject MakeDesign(int seed, int colours, int hoop) {
  DesignObject d;
  d.name = "/home/u/designs/rose" + std::to_string(seed) + ".qnf";
  d.centreX = 100 + seed * 37;
  d.centreY = 90 + seed * 11;
  d.rotation = (seed * 90 + 45) % 360 - 180;
  d.mirroredH = seed & 1;
  d.mirroredV = (seed >> 1) & 1;
  d.extents = {-20 - seed, -30, 21 + seed, 31};
  d.halfWidth = 21 + seed;
  d.halfHeight = 31;
  d.placedHalfWidth = 20;
  d.placedHalfHeight = 30;
  d.scaleX = 0.8 + seed * 0.0625;
  d.scaleY = 1.2 - seed * 0.03125;
  d.groupMark1 = -1;
  d.groupMark2 = -1;
  editor::GiveNewRecords(d);
  Fill(*d.source, Stream(10 + seed, colours - 1), colours, hoop);
  Fill(*d.working, Stream(12 + seed, colours - 1), colours, hoop);
  return d;
}

// What the file carries of a record: the head fields, the colour tables and the pairs.
void ExpectSameRecord(const StitchRecord& a, const StitchRecord& b) {
  EXPECT_EQ(a.StitchDataOffset(), b.StitchDataOffset());
  EXPECT_EQ(a.Flags(), b.Flags());
  EXPECT_EQ(0, std::memcmp(a.DateText(), b.DateText(), 16));
  ASSERT_EQ(a.ColourCount(), b.ColourCount());
  ASSERT_EQ(a.PairCount(), b.PairCount());
  EXPECT_EQ(a.Hoop(), b.Hoop());
  EXPECT_EQ(a.GetExtents(), b.GetExtents());
  for (int i = 0; i < a.ColourCount(); ++i) {
    EXPECT_EQ(a.ThreadCode(i), b.ThreadCode(i));
    EXPECT_EQ(a.ThreadType(i), b.ThreadType(i));
  }
  EXPECT_EQ(0, std::memcmp(a.Stitches(), b.Stitches(), 2 * a.PairCount()));
}

void ExpectSameDesign(const DesignObject& a, const DesignObject& b) {
  EXPECT_EQ(a.name, b.name);
  EXPECT_EQ(a.centreX, b.centreX);
  EXPECT_EQ(a.centreY, b.centreY);
  EXPECT_EQ(a.rotation, b.rotation);
  EXPECT_EQ(a.mirroredH, b.mirroredH);
  EXPECT_EQ(a.mirroredV, b.mirroredV);
  EXPECT_EQ(a.extents, b.extents);
  EXPECT_EQ(a.halfWidth, b.halfWidth);
  EXPECT_EQ(a.halfHeight, b.halfHeight);
  EXPECT_EQ(a.placedHalfWidth, b.placedHalfWidth);
  EXPECT_EQ(a.placedHalfHeight, b.placedHalfHeight);
  EXPECT_EQ(a.scaleX, b.scaleX);
  EXPECT_EQ(a.scaleY, b.scaleY);
  EXPECT_EQ(a.groupMark1, b.groupMark1);
  EXPECT_EQ(a.groupMark2, b.groupMark2);
  EXPECT_EQ(a.monogram, b.monogram);
  ExpectSameRecord(*a.source, *b.source);
  ExpectSameRecord(*a.working, *b.working);
}

std::list<DesignObject> SampleLayout() {
  std::list<DesignObject> designs;
  designs.push_back(MakeDesign(0, 1, 0));
  designs.push_back(MakeDesign(1, 5, 2));
  designs.push_back(MakeDesign(2, 78, 2));
  DesignObject lettering = MakeDesign(3, 3, 0);
  for (std::size_t i = 0; i < editor::kMonogramBlockSize; ++i) {
    lettering.monogram.bytes[i] = static_cast<uint8_t>('A' + i % 26);
  }
  designs.push_back(std::move(lettering));
  return designs;
}

TEST(BdzFile, RoundTripKeepsEveryFieldAndTheListOrder) {
  const auto designs = SampleLayout();
  const Bytes file = WriteBdz(0, 3, 2, designs);
  const auto layout = ReadLayout(file);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->format, LayoutFormat::kBdz);
  EXPECT_EQ(layout->hoopKind, 0);
  EXPECT_EQ(layout->sheetsAcross, 3);
  EXPECT_EQ(layout->sheetsDown, 2);
  ASSERT_EQ(layout->designs.size(), designs.size());
  auto read = layout->designs.begin();
  for (const auto& d : designs) ExpectSameDesign(d, *read++);
  // Written again, the file is the same to the byte.
  EXPECT_EQ(WriteBdz(0, 3, 2, layout->designs), file);
}

TEST(BdzFile, HeadAndDesignWithoutLetteringByteByByte) {
  std::list<DesignObject> designs{MakeDesign(0, 2, 0)};
  const DesignObject& d = designs.front();
  const Bytes file = WriteBdz(2, 1, 3, designs);
  ASSERT_EQ(std::string(file.begin(), file.begin() + 10), "Corvan bdz");
  const Bytes head(file.begin() + 10, file.begin() + 26);
  EXPECT_EQ(head, (Bytes{2, 0, 0, 0, 1, 0, 0, 0, 3, 0, 0, 0, 1, 0, 0, 0}));
  // Name with a one-byte prefix, 13 integers, 2 doubles, 2 group marks, the flag -1 and
  // no block, then two stitch blocks of 52 + 16 bytes of head and colour tables.
  const std::size_t flagAt = 26 + 1 + d.name.size() + 13 * 4 + 16 + 8;
  EXPECT_EQ(file[26], d.name.size());
  EXPECT_EQ(Bytes(file.begin() + flagAt, file.begin() + flagAt + 4), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
  const std::size_t blocks = 2 * (52 + 16) + 2 * d.source->PairCount() + 2 * d.working->PairCount();
  EXPECT_EQ(file.size(), flagAt + 4 + blocks);
}

TEST(BdzFile, ArchiveStringLengthPrefixes) {
  for (std::size_t n : {0u, 254u, 255u, 0xFFFDu, 0xFFFEu}) {
    Bytes out;
    editor::AppendArchiveString(out, std::string(n, 'x'));
    const std::size_t prefix = n < 255 ? 1 : n < 0xFFFE ? 3 : 7;
    ASSERT_EQ(out.size(), prefix + n) << n;
    if (n >= 255) {
      EXPECT_EQ(out[0], 0xFF);
    }
    if (n == 255) {
      EXPECT_EQ(out[1] | out[2] << 8, 255);
    }
    if (n == 0xFFFE) {
      EXPECT_EQ((Bytes(out.begin(), out.begin() + 7)), (Bytes{0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0, 0}));
    }
  }
}

TEST(BdzFile, AMonogramFlagOtherThanOneMeansNoBlock) {
  std::list<DesignObject> designs{MakeDesign(1, 1, 0)};
  Bytes file = WriteBdz(0, 1, 1, designs);
  const std::size_t flagAt = 26 + 1 + designs.front().name.size() + 13 * 4 + 16 + 8;
  file[flagAt] = 0;  // 0xFFFFFF00: neither 1 nor -1
  const auto layout = ReadLayout(file);
  ASSERT_TRUE(layout);
  EXPECT_FALSE(layout->designs.front().monogram.IsLettering());
}

TEST(BdzFile, EveryTruncationIsRefused) {
  std::list<DesignObject> designs{MakeDesign(0, 2, 0), MakeDesign(3, 1, 2)};
  designs.back().monogram.bytes[0] = 'M';
  const Bytes file = WriteBdz(2, 1, 1, designs);
  ASSERT_TRUE(ReadLayout(file));
  for (std::size_t n = 0; n < file.size(); n += (n < 200 || file.size() - n < 400) ? 1 : 97) {
    EXPECT_FALSE(ReadLayout(std::span(file.data(), n))) << n;
  }
}

// Offsets into a one-design file, for planting lies.
struct OneDesignFile {
  Bytes file;
  std::size_t designAt = 26;
  std::size_t halfAt, scaleAt, sourceBlockAt;
  OneDesignFile() {
    std::list<DesignObject> designs{MakeDesign(0, 2, 0)};
    file = WriteBdz(0, 1, 1, designs);
    const std::size_t nameEnd = designAt + 1 + designs.front().name.size();
    halfAt = nameEnd + 9 * 4;
    scaleAt = nameEnd + 13 * 4;
    sourceBlockAt = scaleAt + 16 + 8 + 4;
  }
  void Put(std::size_t at, int32_t v) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
  }
};

TEST(BdzFile, LyingCountsAreRefused) {
  struct Lie { const char* what; std::size_t at; int32_t value; };
  OneDesignFile base;
  const std::size_t colours = base.sourceBlockAt + 24, pairs = base.sourceBlockAt + 28;
  const Lie lies[] = {
      {"hoop kind 1", 10, 1},        {"hoop kind -1", 10, -1},
      {"design count 100", 22, 100}, {"design count -1", 22, -1},
      {"design count 2", 22, 2},     {"half width 0", base.halfAt, 0},
      {"placed half -5", base.halfAt + 8, -5},
      {"colour count 0", colours, 0}, {"colour count 79", colours, 79},
      {"pair count 0", pairs, 0},    {"pair count 65537", pairs, 65537},
      {"pair count huge", pairs, 0x7FFFFFFF}, {"centre far out", base.designAt + 1 + 25, 1 << 30},
      {"half width huge", base.halfAt, 1 << 30}, {"placed half huge", base.halfAt + 12, 0x7FFFFFFF},
      {"extent far out", base.halfAt - 16, -(1 << 30)},
      {"mirror flag 2", base.halfAt - 24, 2}, {"mirror flag -1", base.halfAt - 20, -1},
  };
  for (const Lie& lie : lies) {
    OneDesignFile f;
    f.Put(lie.at, lie.value);
    EXPECT_FALSE(ReadLayout(f.file)) << lie.what;
  }
  OneDesignFile nan;
  const double bad = std::numeric_limits<double>::quiet_NaN();
  std::memcpy(&nan.file[nan.scaleAt], &bad, 8);
  EXPECT_FALSE(ReadLayout(nan.file));
  OneDesignFile wrongMagic;
  wrongMagic.file[7] = 'B';
  EXPECT_FALSE(ReadLayout(wrongMagic.file));
}

TEST(BdzFile, AStitchBlockWithoutItsEndPairIsRefused) {
  std::list<DesignObject> designs{MakeDesign(0, 1, 0)};
  auto& rec = *designs.front().working;
  const int pairs = rec.PairCount();
  rec.Stitches()[2 * pairs - 1] = 0x11;  // the end pair is gone
  EXPECT_FALSE(ReadLayout(WriteBdz(0, 1, 1, designs)));
}

TEST(BdzFile, AStitchBlockIsCheckedAgainstItsStream) {
  // A pair count past the end pair: the stream decides, and what lay behind it is dropped.
  std::list<DesignObject> designs{MakeDesign(0, 2, 0)};
  StitchRecord& rec = *designs.front().working;
  const int32_t pairs = rec.PairCount();
  for (int i = 0; i < 10; ++i) rec.Stitches()[2 * pairs + i] = 0x33;
  rec.SetPairCount(pairs + 5);
  rec.SetStitchDataOffset(999);  // follows from the colour count
  auto layout = ReadLayout(WriteBdz(0, 1, 1, designs));
  ASSERT_TRUE(layout);
  const StitchRecord& read = *layout->designs.front().working;
  EXPECT_EQ(read.PairCount(), pairs);
  EXPECT_EQ(read.StitchDataOffset(), 116 + 16);
  EXPECT_EQ(read.Stitches()[2 * pairs], 0);

  // A jump move of (-128, 16) is a move: the block is read whole.
  const Bytes odd = vtest::StitchStreamBuilder().Jump(3, 3).Raw(0x80, 0x02).Raw(0x80, 0x10).Stitch(4, 4).End().Bytes();
  Fill(rec, odd, 2, 0);
  layout = ReadLayout(WriteBdz(0, 1, 1, designs));
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->designs.front().working->PairCount(), static_cast<int32_t>(odd.size() / 2));

  // A hoop code the machine does not know is refused.
  Fill(rec, odd, 2, 7);
  EXPECT_FALSE(ReadLayout(WriteBdz(0, 1, 1, designs)));
}

TEST(BdzFile, ARotationBeyondAFullTurnIsReduced) {
  std::list<DesignObject> designs{MakeDesign(0, 1, 0)};
  designs.front().rotation = 725;
  const auto layout = ReadLayout(WriteBdz(0, 1, 1, designs));
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->designs.front().rotation, 5);
}

// ---- the older forms ----

Bytes OldStitches() {
  return vtest::StitchStreamBuilder().Jump(10, 10).Stitch(20, 0).Stitch(0, 20).Stitch(-20, 0).End().Bytes();
}

edtest::OldStitchSpec OldBlock(uint16_t colours = 2) {
  edtest::OldStitchSpec s;
  s.colourCount = colours;
  s.threadCodes = {7, 9};
  s.stitches = OldStitches();
  return s;
}

TEST(ArfFile, ReadsDesignsRecentredWithTheHoopOfTheLargeHoop) {
  edtest::ArfDesignSpec d;
  d.name = "old.qnf";
  d.rotation = 90;
  d.mirroredH = 1;
  d.centreX = 300;
  d.centreY = 310;
  d.scaleX = 1.1;
  d.working = OldBlock();
  d.source = OldBlock();
  const auto layout = ReadLayout(edtest::ArfFile(2, 3, {d, d}));
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->format, LayoutFormat::kArf);
  EXPECT_EQ(layout->hoopKind, 2);
  EXPECT_EQ(layout->sheetsAcross, 2);
  EXPECT_EQ(layout->sheetsDown, 3);
  ASSERT_EQ(layout->designs.size(), 2u);
  const DesignObject& read = layout->designs.front();
  EXPECT_EQ(read.name, "old.qnf");
  EXPECT_EQ(read.rotation, 90);
  EXPECT_EQ(read.mirroredH, 1);
  EXPECT_EQ(read.centreX, 300);
  EXPECT_EQ(read.scaleX, 1.1);
  EXPECT_FALSE(read.monogram.IsLettering());
  const StitchRecord& r = *read.source;
  EXPECT_EQ(r.ColourCount(), 2);
  EXPECT_EQ(r.ThreadCode(0), 7);
  EXPECT_EQ(r.ThreadCode(1), 9);
  EXPECT_EQ(r.ThreadType(0), 13);
  EXPECT_EQ(r.ThreadType(11), 13);
  EXPECT_EQ(r.Flags(), 1);
  EXPECT_EQ(r.StitchDataOffset(), 116 + 16);
  // Recentred: the square of side 20 runs from -10 to 10 about its middle.
  EXPECT_EQ(r.GetExtents(), (design::Extents{10, 10, 10, 10}));
}

TEST(ArfFile, RefusesLyingStitchForms) {
  auto withSource = [](const edtest::OldStitchSpec& s) {
    edtest::ArfDesignSpec d;
    d.working = OldBlock();
    d.source = s;
    return edtest::ArfFile(1, 1, {d});
  };
  EXPECT_TRUE(ReadLayout(withSource(OldBlock())));
  EXPECT_FALSE(ReadLayout(withSource(OldBlock(0))));
  EXPECT_FALSE(ReadLayout(withSource(OldBlock(13))));
  edtest::OldStitchSpec noEnd = OldBlock();
  noEnd.stitches.resize(noEnd.stitches.size() - 2);
  noEnd.trailerBytes = 0;
  EXPECT_FALSE(ReadLayout(withSource(noEnd)));
  // Pairs and trailer past the record's 131,072 bytes.
  edtest::OldStitchSpec tooLong = OldBlock();
  Bytes many;
  for (int i = 0; i < (131072 - 1700) / 2; ++i) many.insert(many.end(), {1, 0});
  many.insert(many.end(), {0x80, 0x10});
  tooLong.stitches = many;
  EXPECT_FALSE(ReadLayout(withSource(tooLong)));
  tooLong.stitches.erase(tooLong.stitches.begin(), tooLong.stitches.begin() + 2);
  EXPECT_TRUE(ReadLayout(withSource(tooLong)));
  // The last record may end before its trailer does.
  edtest::OldStitchSpec shortTrailer = OldBlock();
  shortTrailer.trailerBytes = 5;
  EXPECT_TRUE(ReadLayout(withSource(shortTrailer)));
}

TEST(ArfFile, RefusesLyingDesignCountsAndHalfSizes) {
  edtest::ArfDesignSpec d;
  d.working = d.source = OldBlock();
  Bytes file = edtest::ArfFile(1, 1, {d});
  file[18] = 100;
  EXPECT_FALSE(ReadLayout(file));
  d.placedHalfWidth = 0;
  EXPECT_FALSE(ReadLayout(edtest::ArfFile(1, 1, {d})));
}

TEST(ArrFile, RotationCodesAndDegrees) {
  const std::vector<edtest::ArrDesignSpec> designs{{"x", 10, 20, 2, 1}, {"y", 30, 40, 3, 2}, {"z", 1, 2, 7, 1}};
  const std::vector<edtest::OldStitchSpec> blocks{OldBlock(), OldBlock(1)};
  const auto coded = ReadLayout(edtest::ArrFile("241_PC R.W", designs, blocks));
  ASSERT_TRUE(coded);
  EXPECT_EQ(coded->format, LayoutFormat::kArrCode);
  EXPECT_FALSE(coded->hoopKindRead);
  std::vector<int> rotations;
  for (const auto& d : coded->designs) rotations.push_back(d.rotation);
  EXPECT_EQ(rotations, (std::vector<int>{180, 270, 0}));
  const auto angles = ReadLayout(edtest::ArrFile("241_PC Q.W", designs, blocks));
  ASSERT_TRUE(angles);
  rotations.clear();
  for (const auto& d : angles->designs) rotations.push_back(d.rotation);
  EXPECT_EQ(rotations, (std::vector<int>{2, 3, 7}));
  // Designs naming the same block get copies of their own; working records come later.
  const auto& first = angles->designs.front();
  const auto& third = angles->designs.back();
  ASSERT_TRUE(first.source && third.source);
  EXPECT_NE(first.source, third.source);
  EXPECT_EQ(*first.source, *third.source);
  EXPECT_EQ(first.source->ColourCount(), 2);
  EXPECT_EQ((++angles->designs.begin())->source->ColourCount(), 1);
  EXPECT_FALSE(first.working);
  EXPECT_EQ(first.source->Hoop(), 0);
  EXPECT_EQ(first.source->StitchDataOffset(), 116 + 16);
}

TEST(ArrFile, RefusesBadCountsAndBlockNumbers) {
  const std::vector<edtest::OldStitchSpec> blocks{OldBlock()};
  EXPECT_FALSE(ReadLayout(edtest::ArrFile("241_PC Q.W", {}, blocks)));
  EXPECT_FALSE(ReadLayout(edtest::ArrFile("241_PC Q.W", std::vector<edtest::ArrDesignSpec>(21), blocks)));
  EXPECT_TRUE(ReadLayout(edtest::ArrFile("241_PC Q.W", std::vector<edtest::ArrDesignSpec>(20), blocks)));
  EXPECT_FALSE(ReadLayout(edtest::ArrFile("241_PC Q.W", {{"x", 1, 1, 0, 2}}, blocks)));
  EXPECT_FALSE(ReadLayout(edtest::ArrFile("241_PC Q.W", {{"x", 1, 1, 0, 0}}, blocks)));
  EXPECT_FALSE(ReadLayout(edtest::ArrFile("241_PC Q.W", {{"x", 1, 1, 0, 1}}, blocks, 0)));
  EXPECT_FALSE(ReadLayout(edtest::ArrFile("241_PC Q.W", {{"x", 1, 1, 0, 1}}, blocks, 2)));
  EXPECT_FALSE(ReadLayout(edtest::ArrFile("241_PC Q.W", {{"x", 1, 1, 0, 1}}, blocks, 100000)));
}

TEST(StitchHeader, NormalizeClearsTheDateAndSetsTypesAndOffset) {
  StitchRecord r;
  std::memset(r.DateText(), '9', 16);
  r.SetColourCount(5);
  r.SetHoop(2);
  r.SetFlags(7);
  editor::NormalizeStitchHeader(r);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(r.DateText()[i], 0);
  EXPECT_EQ(r.Hoop(), 0);
  EXPECT_EQ(r.Flags(), 1);
  EXPECT_EQ(r.ThreadType(11), 13);
  EXPECT_EQ(r.ThreadType(12), 0);
  EXPECT_EQ(r.StitchDataOffset(), 116 + 40);
}

}  // namespace
