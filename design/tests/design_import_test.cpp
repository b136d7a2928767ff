#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <vector>

#include "design/design_import.h"
#include "design/import_preview.h"
#include "design/qnf_reader.h"
#include "design/sew_reader.h"
#include "platform/file_io.h"
#include "testing/qnf_file_builder.h"
#include "testing/recording_canvas.h"
#include "testing/sew_file_builder.h"
#include "testing/stitch_stream_builder.h"
#include "testing/temp_dir.h"

namespace {

using design::DesignFileKind;
using design::ImportRefusal;
using design::SewReadStatus;
using design::StitchRecord;
using Bytes = std::vector<uint8_t>;

Bytes Plain(int pairs) {  // pairs plain stitches to and fro and the end pair
  vtest::StitchStreamBuilder b;
  for (int i = 0; i < pairs; ++i) b.Stitch(i % 2 ? -1 : 1, 0);
  return b.End().Bytes();
}

// A design sewn width x height (0.1 mm), its corner reached in steps of at most 100. It
// starts where it stands: a SEW file's first pair lands its lead-in jumps.
Bytes Sewn(int width, int height) {
  vtest::StitchStreamBuilder b;
  b.Stitch(0, 0);
  for (int x = width; x > 0; x -= 100) b.Stitch(std::min(x, 100), 0);
  for (int y = height; y > 0; y -= 100) b.Stitch(0, -std::min(y, 100));
  return b.End().Bytes();
}

ImportRefusal Import(const vtest::TempDir& dir, const std::string& name, const Bytes& file,
                     StitchRecord& record) {
  const auto path = dir / name;
  EXPECT_FALSE(platform::WriteWholeFile(path, file));
  return design::ReadDesignForImport(path, design::DesignFileKindOf(path), record);
}

TEST(SewReader, ReadsCodesLeadInAndHeaderFields) {
  const Bytes stitches = vtest::StitchStreamBuilder().Stitch(10, -3).ColourChange().Stitch(0, 5).End().Bytes();
  std::vector<uint16_t> codes;
  for (uint16_t c = 1; c <= 12; ++c) codes.push_back(static_cast<uint16_t>(c * 3));
  StitchRecord record;
  ASSERT_EQ(design::ReadSew(vtest::BuildSewFile({codes, stitches, {}}), record), SewReadStatus::kOk);
  EXPECT_EQ(record.ColourCount(), 12);
  EXPECT_EQ(record.ThreadCode(0), 3);
  EXPECT_EQ(record.ThreadCode(11), 36);
  EXPECT_EQ(record.ThreadType(11), 13);
  EXPECT_EQ(record.Flags(), 1);
  EXPECT_EQ(record.StitchDataOffset(), 116 + 8 * 12);
  // n pairs in the file (end pair included) give n + 4: two lead-in jumps of two pairs.
  EXPECT_EQ(record.PairCount(), static_cast<int32_t>(stitches.size() / 2 + 4));
  const Bytes leadIn = {0x80, 0x02, 0xA6, 0x32, 0x80, 0x02, 0xA6, 0x32};
  EXPECT_TRUE(std::equal(leadIn.begin(), leadIn.end(), record.Stitches()));
  EXPECT_TRUE(std::equal(stitches.begin(), stitches.end(), record.Stitches() + 8));
  EXPECT_EQ(record.Stitches()[8 + stitches.size()], 0);  // nothing copied past the end pair
  EXPECT_EQ(record.Hoop(), 0);
  EXPECT_EQ(record.GetExtents(), design::Extents{});
}

TEST(SewReader, RefusesColourCountsOutside1To12) {
  StitchRecord record;
  const Bytes stitches = Plain(3);
  EXPECT_EQ(design::ReadSew(vtest::BuildSewFile({{1}, stitches, uint16_t{0}}), record), SewReadStatus::kDefective);
  EXPECT_EQ(design::ReadSew(vtest::BuildSewFile({std::vector<uint16_t>(13, 1), stitches, {}}), record),
            SewReadStatus::kDefective);
  EXPECT_EQ(design::ReadSew(vtest::BuildSewFile({{1}, stitches, uint16_t{0xFFFF}}), record),
            SewReadStatus::kDefective);
  EXPECT_EQ(record.ColourCount(), 0);
}

TEST(SewReader, EndPairMustLieWithinTheStitchLimit) {
  StitchRecord record;
  // 65,536 bytes with the 8-byte lead-in: the file's last usable pair ends at 65,528.
  // Pair count limit 32,767 bites first: at most 32,763 file pairs, end pair included.
  EXPECT_EQ(design::ReadSew(vtest::BuildSewFile({{1}, Plain(32762), {}}), record), SewReadStatus::kOk);
  EXPECT_EQ(record.PairCount(), 32767);
  EXPECT_EQ(design::ReadSew(vtest::BuildSewFile({{1}, Plain(32763), {}}), record), SewReadStatus::kDefective);
  EXPECT_EQ(record.ColourCount(), 0);
  // Never reaching the end pair within 65,536 bytes, though the file goes on and ends later.
  Bytes endless = Plain(40000);
  EXPECT_EQ(design::ReadSew(vtest::BuildSewFile({{1}, endless, {}}), record), SewReadStatus::kDefective);
  // No end pair at all, or a file that stops before the stitch area.
  endless.resize(endless.size() - 2);
  EXPECT_EQ(design::ReadSew(vtest::BuildSewFile({{1}, endless, {}}), record), SewReadStatus::kDefective);
  Bytes shortFile = vtest::BuildSewFile({{1}, {}, {}});
  shortFile.resize(7000);
  EXPECT_EQ(design::ReadSew(shortFile, record), SewReadStatus::kDefective);
}

TEST(SewReader, AnEndCodeInsideAJumpMoveIsNotTheEnd) {
  // 0x80 0x10 as the move of a jump is data: the real end comes later.
  const Bytes stitches = vtest::StitchStreamBuilder().Control(0x02).Raw(0x80, 0x10).Stitch(3, 3).End().Bytes();
  StitchRecord record;
  ASSERT_EQ(design::ReadSew(vtest::BuildSewFile({{1}, stitches, {}}), record), SewReadStatus::kOk);
  EXPECT_EQ(record.PairCount(), 4 + 4);
}

TEST(SewReader, SurvivesEveryTruncationAndRandomDamage) {
  const Bytes stitches = vtest::StitchStreamBuilder().Stitch(5, 5).Jump(100, -20).Stitch(1, 1).ColourChange().Stitch(-2, 0).End().Bytes();
  const Bytes whole = vtest::BuildSewFile({{4, 9}, stitches, {}});
  StitchRecord record;
  for (std::size_t size = 0; size < whole.size(); ++size) {
    const Bytes cut(whole.begin(), whole.begin() + static_cast<long>(size));
    ASSERT_EQ(design::ReadSew(cut, record), SewReadStatus::kDefective) << size;
    ASSERT_EQ(record.ColourCount(), 0);
  }
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    Bytes damaged = whole;
    for (int i = 0; i < 4; ++i) {
      const std::size_t at = random() % 2 == 0 ? random() % 4 : 7544 + random() % stitches.size();
      damaged[at] = static_cast<uint8_t>(random());
    }
    const SewReadStatus status = design::ReadSew(damaged, record);
    if (status == SewReadStatus::kOk) {
      EXPECT_GE(record.ColourCount(), 1);
      EXPECT_LE(record.ColourCount(), 12);
      EXPECT_LE(record.PairCount(), 32767);
    } else {
      EXPECT_EQ(record.ColourCount(), 0);
    }
  }
}

TEST(DesignImport, ExtensionPicksTheReader) {
  EXPECT_EQ(design::DesignFileKindOf("a/b/Rose.QNF"), DesignFileKind::kQnf);
  EXPECT_EQ(design::DesignFileKindOf("rose.Sew"), DesignFileKind::kSew);
  EXPECT_EQ(design::DesignFileKindOf("rose.bdz"), DesignFileKind::kNone);
  EXPECT_EQ(design::DesignFileKindOf("rose"), DesignFileKind::kNone);
}

TEST(DesignImport, QnfPairLimitIs65535) {
  vtest::TempDir dir;
  StitchRecord record;
  vtest::QnfFileSpec spec;
  spec.stitches = Plain(65534);
  EXPECT_EQ(Import(dir, "max.qnf", vtest::BuildQnfFile(spec), record), ImportRefusal::kNone);
  EXPECT_EQ(record.PairCount(), 65535);
  spec.stitches = Plain(65535);
  EXPECT_EQ(Import(dir, "over.qnf", vtest::BuildQnfFile(spec), record), ImportRefusal::kUnsupported);
  EXPECT_EQ(record.ColourCount(), 0);
}

TEST(DesignImport, WhatFollowsTheDesignIsNeverReadHoweverLong) {
  // A parts block of several megabytes after the end pair, as a digitized design may carry.
  vtest::TempDir dir;
  StitchRecord record;
  vtest::QnfFileSpec spec;
  spec.threadCodes = std::vector<int32_t>(78, 5);
  spec.stitches = Plain(65534);
  spec.trailer = Bytes(5 << 20, 0x5A);
  EXPECT_EQ(Import(dir, "parts.qnf", vtest::BuildQnfFile(spec), record), ImportRefusal::kNone);
  EXPECT_EQ(record.PairCount(), 65535);
  EXPECT_EQ(record.ColourCount(), 78);
  StitchRecord viaReader;
  const design::QnfFileResult read = design::ReadQnfFile(dir / "parts.qnf", viaReader);
  EXPECT_FALSE(read.error);
  EXPECT_EQ(read.status, design::QnfReadStatus::kOk);
  EXPECT_TRUE(viaReader == record);

  Bytes sew = vtest::BuildSewFile({{7}, Plain(3), {}});
  sew.resize(sew.size() + (3 << 20), 0x11);
  EXPECT_EQ(Import(dir, "long.sew", sew, record), ImportRefusal::kNone);
  EXPECT_EQ(record.PairCount(), 8);
}

TEST(DesignImport, QnfSizeLimitsOfTheLargestHoop) {
  vtest::TempDir dir;
  StitchRecord record;
  vtest::QnfFileSpec spec;
  spec.stitches = Plain(2);
  auto withExtents = [&](int32_t l, int32_t t, int32_t r, int32_t b) {
    spec.extents[0] = l;
    spec.extents[1] = t;
    spec.extents[2] = r;
    spec.extents[3] = b;
    return Import(dir, "size.qnf", vtest::BuildQnfFile(spec), record);
  };
  EXPECT_EQ(withExtents(700, 1000, 700, 1000), ImportRefusal::kNone);
  EXPECT_EQ(withExtents(701, 1000, 700, 1000), ImportRefusal::kExceedsHoopLimits);
  EXPECT_EQ(record.ColourCount(), 0);
  EXPECT_EQ(withExtents(700, 1000, 700, 1001), ImportRefusal::kExceedsHoopLimits);
  // Extents that would overflow a 32-bit sum.
  EXPECT_EQ(withExtents(0x7FFFFFFF, 0, 0x7FFFFFFF, 0), ImportRefusal::kExceedsHoopLimits);
}

TEST(DesignImport, QnfAndSewAreMeasuredByTheirStitchesAsPlaced) {
  vtest::TempDir dir;
  StitchRecord record;
  auto qnf = [&](const Bytes& stitches) {
    vtest::QnfFileSpec spec;  // claims 25 mm square whatever it holds
    spec.extents[0] = spec.extents[1] = spec.extents[2] = spec.extents[3] = 125;
    spec.stitches = stitches;
    return Import(dir, "claim.qnf", vtest::BuildQnfFile(spec), record);
  };
  auto sew = [&](const Bytes& stitches) {
    return Import(dir, "old.sew", vtest::BuildSewFile({{7}, stitches, {}}), record);
  };
  using Importer = std::function<ImportRefusal(const Bytes&)>;
  for (const Importer& import : {Importer(qnf), Importer(sew)}) {
    EXPECT_EQ(import(Sewn(1400, 2000)), ImportRefusal::kNone);
    EXPECT_GT(record.ColourCount(), 0);
    EXPECT_EQ(import(Sewn(1401, 2000)), ImportRefusal::kExceedsHoopLimits);
    EXPECT_EQ(record.ColourCount(), 0);
    EXPECT_EQ(import(Sewn(1400, 2001)), ImportRefusal::kExceedsHoopLimits);
    EXPECT_EQ(import(Sewn(1600, 100)), ImportRefusal::kExceedsHoopLimits);
    EXPECT_EQ(import(Sewn(20000, 0)), ImportRefusal::kExceedsHoopLimits);
    // Moves before the first stitch are dropped when the design is placed: they count nothing.
    Bytes far = vtest::StitchStreamBuilder().Jump(100, 100).Jump(100, 100).Jump(100, 0).Bytes();
    const Bytes design = Sewn(1400, 2000);
    far.insert(far.end(), design.begin(), design.end());
    EXPECT_EQ(import(far), ImportRefusal::kNone);
  }
}

TEST(DesignImport, LyingAndTruncatedQnfFilesGetTheirRefusal) {
  vtest::TempDir dir;
  StitchRecord record;
  vtest::QnfFileSpec sound;
  sound.threadCodes = {1, 5, 9};
  sound.stitches = vtest::StitchStreamBuilder().Stitch(5, 5).ColourChange().Jump(30, 30).Stitch(1, 1).ColourChange().Stitch(2, 2).End().Bytes();
  const Bytes whole = vtest::BuildQnfFile(sound);
  EXPECT_EQ(Import(dir, "d.qnf", whole, record), ImportRefusal::kNone);
  EXPECT_EQ(Import(dir, "d.qnf", {}, record), ImportRefusal::kEmpty);
  for (std::size_t size = 1; size < whole.size(); ++size) {
    const Bytes cut(whole.begin(), whole.begin() + static_cast<long>(size));
    ASSERT_EQ(Import(dir, "d.qnf", cut, record), ImportRefusal::kDefective) << size;
    ASSERT_EQ(record.ColourCount(), 0);
  }
  auto lie = [&](auto change) {
    vtest::QnfFileSpec spec = sound;
    change(spec);
    return Import(dir, "lie.qnf", vtest::BuildQnfFile(spec), record);
  };
  EXPECT_EQ(lie([](auto& s) { s.colourCount = 0; }), ImportRefusal::kDefective);
  EXPECT_EQ(lie([](auto& s) { s.colourCount = 79; }), ImportRefusal::kDefective);
  EXPECT_EQ(lie([](auto& s) { s.colourCount = -1; }), ImportRefusal::kDefective);
  EXPECT_EQ(lie([](auto& s) { s.pairCount = 0; }), ImportRefusal::kDefective);
  EXPECT_EQ(lie([](auto& s) { s.pairCount = -5; }), ImportRefusal::kDefective);
  EXPECT_EQ(lie([](auto& s) { s.pairCount = 65536; }), ImportRefusal::kUnsupported);
  EXPECT_EQ(lie([](auto& s) { s.pairCount = 100; }), ImportRefusal::kDefective);   // bytes missing
  EXPECT_EQ(lie([](auto& s) { s.pairCount = 3; }), ImportRefusal::kDefective);     // end pair cut off
  EXPECT_EQ(lie([](auto& s) { s.stitchDataOffset = 1 << 30; }), ImportRefusal::kDefective);
  EXPECT_EQ(record.ColourCount(), 0);
}

TEST(DesignImport, SewThroughTheImportAndFilesThatCannotBeOpened) {
  vtest::TempDir dir;
  StitchRecord record;
  EXPECT_EQ(Import(dir, "old.SEW", vtest::BuildSewFile({{7}, Plain(3), {}}), record), ImportRefusal::kNone);
  EXPECT_EQ(record.PairCount(), 8);
  EXPECT_EQ(Import(dir, "bad.sew", vtest::BuildSewFile({{7}, Plain(3), uint16_t{13}}), record),
            ImportRefusal::kDefective);
  // A design read before leaves nothing behind when the next file is not there.
  EXPECT_EQ(Import(dir, "old.sew", vtest::BuildSewFile({{7}, Plain(3), {}}), record), ImportRefusal::kNone);
  EXPECT_EQ(design::ReadDesignForImport(dir / "gone.qnf", DesignFileKind::kQnf, record),
            ImportRefusal::kCannotOpen);
  EXPECT_EQ(record.ColourCount(), 0);
  EXPECT_EQ(design::ReadDesignForImport(dir.Path(), DesignFileKind::kQnf, record),
            ImportRefusal::kCannotOpen);
}

TEST(DesignImport, LargeHoopDesignDoesNotFitAStandardLayout) {
  StitchRecord record;
  record.SetHoop(2);
  EXPECT_TRUE(design::ExceedsLayoutHoop(record, 0));
  EXPECT_FALSE(design::ExceedsLayoutHoop(record, 2));
  record.SetHoop(0);
  EXPECT_FALSE(design::ExceedsLayoutHoop(record, 0));
}

// --- preview -------------------------------------------------------------------------

StitchRecord RecordOf(const Bytes& stitches, int colours) {
  StitchRecord r;
  r.SetColourCount(colours);
  std::copy(stitches.begin(), stitches.end(), r.Stitches());
  r.SetPairCount(static_cast<int32_t>(stitches.size() / 2));
  return r;
}

TEST(ImportPreview, DrawsStitchesFromTheCentreWithYDownwards) {
  // A 160 x 210 rectangle: ten stitch units per pixel.
  const StitchRecord r = RecordOf(vtest::StitchStreamBuilder().Stitch(100, 50).Stitch(-20, 0).End().Bytes(), 1);
  vtest::RecordingCanvas canvas;
  const platform::PaletteColour colours[] = {0x02010203};
  design::DrawDesignPreview(canvas, {10, 20, 170, 230}, r, colours);
  ASSERT_EQ(canvas.Primitives().front().op, vtest::CanvasOp::kFill);
  EXPECT_EQ(canvas.Primitives().front().colour, platform::kPaletteWhite);
  const auto lines = canvas.Of(vtest::CanvasOp::kLine);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].points[0], (platform::CanvasPoint{90, 125}));
  EXPECT_EQ(lines[0].points[1], (platform::CanvasPoint{100, 120}));
  EXPECT_EQ(lines[1].points[1], (platform::CanvasPoint{98, 120}));
  EXPECT_EQ(lines[0].colour, 0x02010203u);
}

TEST(ImportPreview, JumpsMoveLongStitchesSewAndColourChangesSwitchPens) {
  const Bytes s = vtest::StitchStreamBuilder()
                      .Stitch(10, 0)
                      .Jump(50, 0)
                      .Stitch(10, 0)    // landing: no line
                      .Stitch(10, 0)    // line
                      .Jump(119, 0)     // sewn long stitch: line, no landing after it
                      .Stitch(10, 0)    // line
                      .ColourChange()
                      .Stitch(0, 10)
                      .ColourChange()   // one change more than colours: the pen stays
                      .Stitch(0, 10)
                      .Marker()
                      .End()
                      .Stitch(99, 99)   // past the end pair: never drawn
                      .Bytes();
  StitchRecord r = RecordOf(s, 2);
  r.SetPairCount(r.PairCount() + 5);  // a pair count that runs past the end pair
  vtest::RecordingCanvas canvas;
  const platform::PaletteColour colours[] = {0x02000011, 0x02000022};
  design::DrawDesignPreview(canvas, {0, 0, 1600, 2100}, r, colours);
  const auto lines = canvas.Of(vtest::CanvasOp::kLine);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[1].points[0], (platform::CanvasPoint{870, 1050}));
  EXPECT_EQ(lines[1].points[1], (platform::CanvasPoint{880, 1050}));
  EXPECT_EQ(lines[2].points[1], (platform::CanvasPoint{999, 1050}));
  EXPECT_EQ(lines[3].colour, 0x02000011u);
  EXPECT_EQ(lines[4].colour, 0x02000022u);
  EXPECT_EQ(lines[5].colour, 0x02000022u);
  EXPECT_EQ(lines[5].points[1], (platform::CanvasPoint{1009, 1030}));
}

TEST(ImportPreview, ReadsNoFurtherThanTheRecord) {
  // A pair count far beyond the room, and stitch bytes with no end pair.
  StitchRecord r;
  r.SetColourCount(1);
  r.SetPairCount(0x7FFFFFFF);
  std::fill(r.Stitches(), r.Stitches() + r.StitchRoom(), uint8_t{1});
  vtest::RecordingCanvas canvas;
  const platform::PaletteColour colours[] = {platform::kPaletteBlack};
  design::DrawDesignPreview(canvas, {0, 0, 100, 100}, r, colours);
  EXPECT_EQ(canvas.Of(vtest::CanvasOp::kLine).size(), r.StitchRoom() / 2);
}

}  // namespace
