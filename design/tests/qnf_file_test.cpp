#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "design/qnf_exporter.h"
#include "design/qnf_file.h"
#include "design/qnf_reader.h"
#include "platform/file_io.h"
#include "platform/le_bytes.h"
#include "testing/file_size_limit.h"
#include "testing/fixed_clock.h"
#include "testing/qnf_file_builder.h"
#include "testing/recording_message_box.h"
#include "testing/stitch_stream_builder.h"
#include "testing/temp_dir.h"

namespace {

using design::CQnfExporter;
using design::QnfReadStatus;
using design::StitchRecord;
using Bytes = std::vector<uint8_t>;

Bytes SimpleStitches() {
  return vtest::StitchStreamBuilder().Stitch(10, 0).Stitch(0, 10).ColourChange().Stitch(-5, -5).End().Bytes();
}

// A working record as the editor holds it: colours, flags and stitches.
StitchRecord MakeWorking(const Bytes& stitches, int colours, int32_t flags = 1) {
  StitchRecord r;
  r.SetFlags(flags);
  r.SetColourCount(colours);
  for (int i = 0; i < colours; ++i) {
    r.SetThreadCode(i, 200 + i);
    r.SetThreadType(i, 13);
  }
  std::copy(stitches.begin(), stitches.end(), r.Stitches());
  r.SetPairCount(static_cast<int32_t>(stitches.size() / 2));
  return r;
}

int32_t I32At(const Bytes& b, std::size_t offset) { return platform::ReadI32(&b[offset]); }

TEST(QnfReader, ReadsFieldsAndSwapsTheMarginBlocks) {
  vtest::QnfFileSpec spec;
  spec.threadCodes = {5, 6, 7};
  spec.threadTypes = {13, 13, 14};
  spec.stitches = SimpleStitches();
  spec.flags = 10;
  spec.hoopCode = 2;
  spec.extents[0] = 1; spec.extents[1] = 2; spec.extents[2] = 3; spec.extents[3] = 4;
  spec.standardMargins[0] = 549;
  spec.smallMargins[0] = 249;
  spec.largeMargins[0] = 699;
  spec.trailer = {1, 2, 3};  // a parts block after the end pair is not looked at
  StitchRecord record;
  ASSERT_EQ(design::ReadQnf(vtest::BuildQnfFile(spec), record), QnfReadStatus::kOk);
  EXPECT_EQ(record.StitchDataOffset(), 116 + 24);
  EXPECT_EQ(record.Flags(), 10);
  EXPECT_EQ(record.ColourCount(), 3);
  EXPECT_EQ(record.PairCount(), 6);
  EXPECT_EQ(record.Hoop(), 2);
  EXPECT_EQ(record.GetExtents(), (design::Extents{1, 2, 3, 4}));
  EXPECT_EQ(record.StandardHoopMargins().left, 549);
  EXPECT_EQ(record.SmallHoopMargins().left, 249);
  EXPECT_EQ(record.LargeHoopMargins().left, 699);
  EXPECT_EQ(record.LargeHoopMarginsCopy().left, 699);
  EXPECT_EQ(platform::ReadI32(&record.Bytes()[52]), 249);  // small before standard in the record
  EXPECT_EQ(platform::ReadI32(&record.Bytes()[68]), 549);
  EXPECT_EQ(record.ThreadCode(2), 7);
  EXPECT_EQ(record.ThreadType(2), 14);
  EXPECT_TRUE(std::equal(spec.stitches.begin(), spec.stitches.end(), record.Stitches()));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(record.DateText()), 14), "20260102030405");
}

TEST(QnfReader, PairCountLimits) {
  vtest::QnfFileSpec spec;
  Bytes stitches(2 * 65535, 0);
  stitches[stitches.size() - 2] = 0x80;
  stitches[stitches.size() - 1] = 0x10;
  spec.stitches = stitches;
  StitchRecord record;
  EXPECT_EQ(design::ReadQnf(vtest::BuildQnfFile(spec), record), QnfReadStatus::kOk);
  EXPECT_EQ(record.PairCount(), 65535);

  stitches.insert(stitches.begin(), {0, 0});
  spec.stitches = stitches;
  EXPECT_EQ(design::ReadQnf(vtest::BuildQnfFile(spec), record), QnfReadStatus::kUnsupported);
  EXPECT_EQ(record.ColourCount(), 0);

  // Too many pairs is what the user is told, even when the colour count or the stitch-data
  // offset is a lie as well.
  spec.colourCount = 0;
  EXPECT_EQ(design::ReadQnf(vtest::BuildQnfFile(spec), record), QnfReadStatus::kUnsupported);
  spec.colourCount = std::nullopt;
  spec.stitchDataOffset = 0;
  EXPECT_EQ(design::ReadQnf(vtest::BuildQnfFile(spec), record), QnfReadStatus::kUnsupported);
  EXPECT_EQ(record.ColourCount(), 0);
}

TEST(QnfReader, RefusesLyingAndTruncatedFiles) {
  vtest::QnfFileSpec good;
  good.threadCodes = {1, 2};
  good.stitches = SimpleStitches();
  StitchRecord record;
  const Bytes goodFile = vtest::BuildQnfFile(good);
  ASSERT_EQ(design::ReadQnf(goodFile, record), QnfReadStatus::kOk);

  EXPECT_EQ(design::ReadQnf(Bytes{}, record), QnfReadStatus::kEmpty);
  // Every truncation is refused.
  for (std::size_t n = 1; n < goodFile.size(); ++n) {
    ASSERT_NE(design::ReadQnf(std::span(goodFile.data(), n), record), QnfReadStatus::kOk) << n;
    ASSERT_EQ(record.ColourCount(), 0);
  }

  auto refused = [&](const vtest::QnfFileSpec& spec) {
    return design::ReadQnf(vtest::BuildQnfFile(spec), record) == QnfReadStatus::kDefective;
  };
  for (int32_t colours : {0, -1, 79, 1000000, INT32_MIN}) {
    auto spec = good;
    spec.colourCount = colours;
    EXPECT_TRUE(refused(spec)) << colours;
  }
  for (int32_t pairs : {0, -5, 7, 5, 4}) {  // 6 is the truth
    auto spec = good;
    spec.pairCount = pairs;
    EXPECT_TRUE(refused(spec)) << pairs;
  }
  for (int32_t offset : {0, 116, 131, 133, -1, 1 << 30}) {
    auto spec = good;
    spec.stitchDataOffset = offset;
    EXPECT_TRUE(refused(spec)) << offset;
  }
  {
    auto spec = good;  // no end pair at all
    spec.stitches = vtest::StitchStreamBuilder().Stitch(1, 1).Stitch(2, 2).Bytes();
    EXPECT_TRUE(refused(spec));
  }
  {
    auto spec = good;  // the end pair is taken by a jump as its move
    spec.stitches = vtest::StitchStreamBuilder().Stitch(1, 1).Control(0x02).End().Bytes();
    EXPECT_TRUE(refused(spec));
  }
  {
    auto spec = good;  // the design ends before its last pair
    spec.stitches = vtest::StitchStreamBuilder().Stitch(1, 1).End().Stitch(2, 2).End().Bytes();
    EXPECT_TRUE(refused(spec));
  }
}

TEST(QnfReader, SurvivesRandomCorruption) {
  vtest::QnfFileSpec spec;
  spec.threadCodes = {1, 2, 3};
  spec.stitches = SimpleStitches();
  const Bytes base = vtest::BuildQnfFile(spec);
  std::mt19937 random(5);
  StitchRecord record(4096);
  for (int trial = 0; trial < 20000; ++trial) {
    Bytes file = base;
    const int flips = 1 + trial % 6;
    for (int i = 0; i < flips; ++i) {
      file[random() % file.size()] = static_cast<uint8_t>(random());
    }
    if (trial % 3 == 0) file.resize(random() % (file.size() + 1));
    if (design::ReadQnf(file, record) == QnfReadStatus::kOk) {
      ASSERT_GE(record.ColourCount(), 1);
      ASSERT_LE(record.ColourCount(), 78);
      ASSERT_EQ(design::FindEndPair(record.StitchArea()), 2 * (record.PairCount() - 1));
    }
  }
}

TEST(QnfExporter, StitchDataOffsetFollowsTheColourCount) {
  CQnfExporter exporter;
  for (const auto& [colours, offset] : {std::pair{1, 124}, {78, 740}}) {
    StitchRecord out;
    const StitchRecord working = MakeWorking(SimpleStitches(), colours);
    const std::string name = "rose";
    EXPECT_EQ(exporter.FillHeader(0, 1, 'a', out, {working, name}, 0), "rose");
    EXPECT_EQ(out.StitchDataOffset(), offset);
    const Bytes image = design::QnfFileImage(out);
    EXPECT_EQ(image.size(), static_cast<std::size_t>(offset) + SimpleStitches().size());
    EXPECT_EQ(I32At(image, 0), offset);
  }
}

TEST(QnfExporter, ExtentsAndHoopFit) {
  CQnfExporter exporter;
  // Never left of or below the first point.
  EXPECT_EQ(exporter.GetExtents(vtest::StitchStreamBuilder().Stitch(10, 20).Stitch(5, -3).End().Bytes()),
            (design::Extents{0, 20, 15, 0}));
  // A jump's move pair counts like a plain pair.
  EXPECT_EQ(exporter.GetExtents(vtest::StitchStreamBuilder().Jump(-30, -40).End().Bytes()),
            (design::Extents{30, 0, 0, 40}));

  StitchRecord r;
  r.SetExtents({600, 200, 600, 200});
  exporter.SetHoopFit(r, 0);
  EXPECT_EQ(r.StandardHoopMargins(), design::MarginBlock{});
  EXPECT_EQ(r.LargeHoopMargins(), (design::MarginBlock{100, 800, 100, 800}));
  EXPECT_EQ(r.LargeHoopMarginsCopy(), (design::MarginBlock{100, 800, 100, 800}));
  EXPECT_EQ(r.SmallHoopMargins(), design::MarginBlock{});

  r.SetExtents({100, 100, 100, 100});
  exporter.SetHoopFit(r, 0);
  EXPECT_EQ(r.StandardHoopMargins(), (design::MarginBlock{450, 450, 450, 450}));
  exporter.SetHoopFit(r, 2);  // a large-hoop layout never gets standard-hoop margins
  EXPECT_EQ(r.StandardHoopMargins(), design::MarginBlock{});
  EXPECT_EQ(r.SmallHoopMargins(), design::MarginBlock{});

  r.SetExtents({701, 0, 0, 0});
  exporter.SetHoopFit(r, 2);
  EXPECT_EQ(r.LargeHoopMargins(), design::MarginBlock{});
}

TEST(QnfExporter, DropsMarkersWithThePairAfterThem) {
  CQnfExporter exporter;
  const Bytes source = vtest::StitchStreamBuilder().Stitch(1, 1).Marker().Stitch(9, 9).Stitch(2, 2).End().Bytes();
  Bytes target(64, 0xEE);
  EXPECT_EQ(exporter.CopyStitches(source, target), 3);
  EXPECT_EQ(Bytes(target.begin(), target.begin() + 6),
            vtest::StitchStreamBuilder().Stitch(1, 1).Stitch(2, 2).End().Bytes());
  // No end pair within the source, or no room in the target: nothing usable.
  EXPECT_EQ(exporter.CopyStitches(vtest::StitchStreamBuilder().Stitch(1, 1).Bytes(), target), 0);
  EXPECT_EQ(exporter.CopyStitches(source, std::span(target.data(), 4)), 0);
}

TEST(QnfExporter, AControlPairBehindAMarkerStays) {
  CQnfExporter exporter;
  Bytes target(64, 0xEE);
  // A marker right before the end pair: the end pair stays; what lies behind it (an older
  // design's stitches) is never copied.
  const Bytes atEnd = vtest::StitchStreamBuilder().Stitch(1, 1).Marker().End().Stitch(50, 50).End().Bytes();
  EXPECT_EQ(exporter.CopyStitches(atEnd, target), 2);
  EXPECT_EQ(Bytes(target.begin(), target.begin() + 4), vtest::StitchStreamBuilder().Stitch(1, 1).End().Bytes());
  // Before a colour change (as where two hoop positions were joined) or a jump.
  const Bytes joined =
      vtest::StitchStreamBuilder().Stitch(1, 1).Marker().ColourChange().Marker().Jump(3, 3).Stitch(2, 2).End().Bytes();
  EXPECT_EQ(exporter.CopyStitches(joined, target), 7);
  EXPECT_EQ(Bytes(target.begin(), target.begin() + 14),
            vtest::StitchStreamBuilder().Stitch(1, 1).ColourChange().Jump(3, 3).Stitch(2, 2).End().Bytes());
  // A jump move of (-128, 16) is a move, not the end pair.
  const Bytes odd = vtest::StitchStreamBuilder().Raw(0x80, 0x02).Raw(0x80, 0x10).Stitch(4, 4).End().Bytes();
  EXPECT_EQ(exporter.CopyStitches(odd, target), 4);
  EXPECT_EQ(Bytes(target.begin(), target.begin() + 8), odd);
  EXPECT_EQ(exporter.GetExtents(odd), (design::Extents{128, 20, 0, 0}));
}

TEST(QnfExporter, ARecordWithBytesBehindItsDesignExportsOnlyTheDesign) {
  CQnfExporter exporter;
  const Bytes design = vtest::StitchStreamBuilder().Stitch(5, 5).Marker().End().Bytes();
  Bytes stream = design;
  const Bytes old = vtest::StitchStreamBuilder().Stitch(100, 100).Stitch(-90, 0).End().Bytes();
  stream.insert(stream.end(), old.begin(), old.end());
  const StitchRecord working = MakeWorking(stream, 1);
  StitchRecord out;
  const std::string name = "rose";
  exporter.FillHeader(0, 1, 'a', out, {working, name}, 0);
  EXPECT_EQ(out.PairCount(), 2);
  EXPECT_EQ(out.GetExtents(), (design::Extents{0, 5, 5, 0}));
  const Bytes image = design::QnfFileImage(out);
  ASSERT_EQ(image.size(), 116u + 8u + 4u);
  EXPECT_EQ(Bytes(image.end() - 4, image.end()), vtest::StitchStreamBuilder().Stitch(5, 5).End().Bytes());
}

TEST(QnfExporter, BatchHeaderOfASend) {
  vtest::FixedClock clock({2026, 12, 9, 7, 5, 3});
  CQnfExporter exporter;
  const StitchRecord working = MakeWorking(
      vtest::StitchStreamBuilder().Stitch(10, 10).Marker().Stitch(1, 1).Stitch(-20, -30).End().Bytes(), 2, 4);
  const std::string name = "leaf";
  const int count = 3;
  std::vector<int> numbers;
  for (int index = count - 1; index >= 0; --index) {
    StitchRecord out;
    exporter.FillHeader(index, count, 'c', out, {working, name}, 2);
    numbers.push_back(out.BatchNumber());
    EXPECT_EQ(out.BatchLetter(), 'c');
    EXPECT_EQ(out.Hoop(), 2);
    EXPECT_EQ(out.Flags(), 4);
    EXPECT_EQ(out.PairCount(), 3);  // the marker and its pair are gone
    // Extents are measured on the source stream, marker pair included.
    EXPECT_EQ(out.GetExtents(), (design::Extents{9, 11, 11, 19}));
    EXPECT_EQ(out.StandardHoopMargins(), design::MarginBlock{});
    EXPECT_EQ(out.SmallHoopMargins(), design::MarginBlock{});
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(out.DateText()), 14), "20261209070503");
  }
  EXPECT_EQ(numbers, (std::vector<int>{1, 2, 3}));
}

TEST(QnfExporter, FileLayoutIsFieldByField) {
  vtest::FixedClock clock({2026, 1, 2, 3, 4, 5});
  CQnfExporter exporter;
  const StitchRecord working = MakeWorking(SimpleStitches(), 2);
  StitchRecord out;
  const std::string name = "x";
  exporter.FillHeader(0, 1, 'a', out, {working, name}, 0);
  const Bytes image = design::QnfFileImage(out);
  ASSERT_EQ(image.size(), 116u + 16 + SimpleStitches().size());
  EXPECT_EQ(I32At(image, 0), 132);
  EXPECT_EQ(I32At(image, 4), 1);
  EXPECT_EQ(std::string(image.begin() + 8, image.begin() + 22), "20260102030405");
  EXPECT_EQ(image[22], 'a');
  EXPECT_EQ(image[23], 1);
  EXPECT_EQ(I32At(image, 24), 2);
  EXPECT_EQ(I32At(image, 28), 6);
  EXPECT_EQ(I32At(image, 32), 0);
  EXPECT_EQ(I32At(image, 36), 0);    // left
  EXPECT_EQ(I32At(image, 40), 10);   // top
  EXPECT_EQ(I32At(image, 44), 10);   // right
  EXPECT_EQ(I32At(image, 48), 0);    // bottom
  EXPECT_EQ(I32At(image, 52), 550);  // standard-hoop block first in the file
  EXPECT_EQ(I32At(image, 56), 540);
  EXPECT_EQ(I32At(image, 68), -1);   // small-hoop block second
  EXPECT_EQ(I32At(image, 84), 700);
  EXPECT_EQ(I32At(image, 88), 990);
  EXPECT_EQ(I32At(image, 100), 700);
  EXPECT_EQ(I32At(image, 116), 200);
  EXPECT_EQ(I32At(image, 120), 201);
  EXPECT_EQ(I32At(image, 124), 13);
  EXPECT_EQ(I32At(image, 128), 13);
  const Bytes stitches = SimpleStitches();
  EXPECT_TRUE(std::equal(stitches.begin(), stitches.end(), image.begin() + 132));
}

TEST(QnfExporter, RandomDesignsRoundTripByteIdentical) {
  std::mt19937 random(99);
  CQnfExporter exporter;
  vtest::TempDir dir;
  vtest::RecordingMessageBox box;
  for (int trial = 0; trial < 60; ++trial) {
    const int colours = 1 + static_cast<int>(random() % 78);
    vtest::StitchStreamBuilder b;
    const int stitches = static_cast<int>(random() % 3000);
    int changes = 0;
    for (int i = 0; i < stitches; ++i) {
      switch (random() % 20) {
        case 0: b.Jump(static_cast<int>(random() % 255) - 127, static_cast<int>(random() % 255) - 127); break;
        case 1: if (changes + 1 < colours) { b.ColourChange(); ++changes; } break;
        default: b.Stitch(static_cast<int>(random() % 255) - 127, static_cast<int>(random() % 256) - 128);
      }
    }
    StitchRecord working = MakeWorking(b.End().Bytes(), colours, static_cast<int32_t>(random() % 12));
    StitchRecord out;
    const std::string name = "d";
    exporter.FillHeader(static_cast<int>(random() % 5), 5, 'a', out, {working, name},
                        random() % 2 ? 2 : 0);
    const auto path = dir / ("d" + std::to_string(trial) + ".qnf");
    ASSERT_TRUE(exporter.WriteFile(out, path));
    Bytes file;
    ASSERT_FALSE(platform::ReadWholeFile(path, file));
    ASSERT_EQ(file, design::QnfFileImage(out));
    StitchRecord back;
    ASSERT_EQ(design::ReadQnf(file, back), QnfReadStatus::kOk);
    EXPECT_EQ(design::QnfFileImage(back), file);
    EXPECT_FALSE(design::DeleteTempFile(path));
  }
  EXPECT_EQ(box.Count(), 0u);
}

TEST(QnfExporter, WriteFailuresAreReportedAndLeaveNoPartialFile) {
  vtest::RecordingMessageBox box;
  vtest::TempDir dir;
  CQnfExporter exporter;
  StitchRecord out;
  Bytes stitches(40000, 1);
  stitches[stitches.size() - 2] = 0x80;
  stitches[stitches.size() - 1] = 0x10;
  const StitchRecord working = MakeWorking(stitches, 1);
  const std::string name = "n";
  exporter.FillHeader(0, 1, 'a', out, {working, name}, 0);

  // Cannot be created: nothing written, nothing shown.
  EXPECT_FALSE(exporter.WriteFile(out, dir / "no-such-folder" / "a.qnf"));
  EXPECT_EQ(box.Count(), 0u);

  // Fails half way: "File Error", and the truncated design is gone.
  {
    vtest::FileSizeLimit limit(1000);
    EXPECT_FALSE(exporter.WriteFile(out, dir / "b.qnf"));
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "b.qnf"));
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text, "File Error");

  // A record that is not a design is not written at all.
  StitchRecord empty;
  EXPECT_FALSE(exporter.WriteFile(empty, dir / "c.qnf"));
  EXPECT_FALSE(std::filesystem::exists(dir / "c.qnf"));

  EXPECT_TRUE(platform::IsNotFound(design::DeleteTempFile(dir / "c.qnf")));
}

}  // namespace
