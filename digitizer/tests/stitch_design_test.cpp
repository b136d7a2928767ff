#include "digitizer/stitch_design.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "design/hoop.h"
#include "design/qnf_file.h"
#include "digitizer/pack_bytes.h"
#include "digitizer/part_names.h"
#include "platform/le_bytes.h"
#include "testing/fixed_clock.h"
#include "testing/qnf_file_builder.h"
#include "testing/recording_message_box.h"
#include "testing/stitch_stream_builder.h"
#include "testing/temp_dir.h"

namespace digitizer {
namespace {

using Bytes = std::vector<uint8_t>;
namespace qnf = design::qnf_offset;

constexpr platform::LocalTime kWriteTime{2026, 3, 4, 5, 6, 7};

Bytes SimpleStitches() {
  return vtest::StitchStreamBuilder().Stitch(10, 0).Stitch(0, 10).End().Bytes();
}

// A design made from two parts the way Make Stitch leaves it: one colour block per part.
void MakeTwoPartDesign(CStitchDesign& design, int16_t secondColour) {
  design.SetHoop(design::kStandardHoop);
  uint8_t* first = design.AddPart(5, MakeStitchCode(kDiagonalWeave, 30));
  first[0] = 0x80;
  first[design.MaskBytes() - 1] = 0x01;
  SatinSettings satin{};
  satin[0] = {1, 2, 3, 4, 0.5};
  satin[9] = {-9, 8, -7, 6, 2.25};  // the payload's very last bytes
  uint8_t* second = design.AddPartWithSettings(secondColour, MakeStitchCode(kSatinStitch, 0), satin);
  std::fill_n(second + 100, 300, 0xFF);

  design.ResetStitches();
  design::StitchRecord& record = *design.Record();
  const Bytes stitches =
      vtest::StitchStreamBuilder().Stitch(20, 5).ColourChange().Stitch(-30, -40).End().Bytes();
  std::copy(stitches.begin(), stitches.end(), record.Stitches());
  record.SetColourCount(2);
  record.SetThreadCode(0, 5);
  record.SetThreadCode(1, secondColour);
  design.SetEditState(kStitchesFromParts);
}

Bytes Written(CStitchDesign& design) {
  Bytes out;
  EXPECT_EQ(design.Write(out), 1);
  return out;
}

TEST(StitchDesign, HoopSetsTheWorkAreaAndMaskSize) {
  CStitchDesign design;
  design.SetHoop(design::kSmallHoop);
  EXPECT_EQ(design.WorkWidth(), 200);
  EXPECT_EQ(design.MaskBytes(), 5200u);
  design.SetHoop(design::kLargeHoop);
  EXPECT_EQ(design.WorkHeight(), 800);
  EXPECT_EQ(design.MaskBytes(), 56000u);
  design.SetHoop(7);
  EXPECT_EQ(design.HoopKind(), design::kStandardHoop);
  EXPECT_EQ(design.WorkWidth(), 440);
  EXPECT_EQ(design.MaskBytes(), 24640u);
  EXPECT_EQ(design.WorkMask(1).size(), 450724u);
  EXPECT_EQ(design.BitmapBits().size(), 56942u);
}

TEST(StitchDesign, AQnfFileWithoutPartsReadsAsStitchesOnly) {
  vtest::QnfFileSpec spec;
  spec.threadCodes = {3, 4};
  spec.stitches = vtest::StitchStreamBuilder().Stitch(1, 1).ColourChange().Stitch(2, 2).End().Bytes();
  spec.hoopCode = design::kLargeHoop;
  CStitchDesign design;
  EXPECT_EQ(design.Read(vtest::BuildQnfFile(spec)), 1);
  EXPECT_EQ(design.Error(), kDesignOk);
  EXPECT_EQ(design.EditState(), kStitchesOnly);
  EXPECT_EQ(design.GetPartCount(), 0);
  EXPECT_EQ(design.PairCount(), 5);
  EXPECT_EQ(design.GetStitchCount(), 5);
  EXPECT_EQ(design.HoopKind(), design::kLargeHoop);
  EXPECT_EQ(design.Record()->StitchDataOffset(), 740);
  EXPECT_EQ(design.Record()->ThreadCode(1), 4);
  EXPECT_EQ(design.Record()->ThreadType(1), 13);
}

TEST(StitchDesign, MalformedHeadersAreRefusedWithTheirCodes) {
  struct Case {
    const char* what;
    vtest::QnfFileSpec spec;
    int error;
  };
  auto with = [](auto change) {
    vtest::QnfFileSpec spec;
    spec.stitches = SimpleStitches();
    change(spec);
    return spec;
  };
  const Case cases[] = {
      {"offset 100", with([](auto& s) { s.stitchDataOffset = 100; }), kDesignBadHeader},
      {"negative pair count", with([](auto& s) { s.pairCount = -1; }), kDesignBadHeader},
      {"250,001 pairs", with([](auto& s) { s.pairCount = 250001; }), kDesignTooManyStitchesOnRead},
      {"no colours", with([](auto& s) { s.colourCount = 0; }), kDesignBadColourCount},
      {"79 colours", with([](auto& s) { s.colourCount = 79; }), kDesignBadColourCount},
      {"table cut short", with([](auto& s) { s.colourCount = 60; s.stitchDataOffset = 116 + 8 * 60; s.stitches.clear(); }),
       kDesignShortRead},
      {"offset past the table", with([](auto& s) { s.stitchDataOffset = 116 + 8 * 2; }), kDesignBadHeader},
      {"more colour blocks than colours",
       with([](auto& s) { s.stitches = vtest::StitchStreamBuilder().Stitch(1, 1).ColourChange().Stitch(2, 2).End().Bytes(); }),
       kDesignBadColourCount},
      {"no stitch bytes", with([](auto& s) { s.stitches.clear(); }), kDesignShortRead},
      {"no end pair", with([](auto& s) { s.stitches = {1, 1, 2, 2}; }), kDesignShortRead},
  };
  for (const Case& c : cases) {
    CStitchDesign design;
    EXPECT_EQ(design.Read(vtest::BuildQnfFile(c.spec)), 0) << c.what;
    EXPECT_EQ(design.Error(), c.error) << c.what;
  }
  CStitchDesign design;
  EXPECT_EQ(design.Read(Bytes(115, 0)), 0);
  EXPECT_EQ(design.Error(), kDesignBadHeader);
}

TEST(StitchDesign, ALyingPairCountIsRecomputedFromTheStream) {
  const Bytes stitches = vtest::StitchStreamBuilder().Stitch(5, 0).Stitch(0, 5).Stitch(-5, 0).End().Bytes();
  for (const int32_t lie : {0, 1, 2, 9, 5000}) {
    vtest::QnfFileSpec spec;
    spec.stitches = stitches;
    spec.pairCount = lie;
    CStitchDesign design;
    ASSERT_EQ(design.Read(vtest::BuildQnfFile(spec)), 1) << lie;
    EXPECT_EQ(design.Record()->PairCount(), 4) << lie;
    EXPECT_EQ(design.GetStitchCount(), 4);
    Bytes out;
    ASSERT_EQ(design.Write(out), 1);
    EXPECT_EQ(platform::ReadI32(&out[qnf::kPairCount]), 4);
  }
  // Past the format's most pairs with no end pair: refused as too many stitches.
  vtest::QnfFileSpec spec;
  spec.stitches.assign(2 * 250001, 1);
  spec.pairCount = 10;
  CStitchDesign design;
  EXPECT_EQ(design.Read(vtest::BuildQnfFile(spec)), 0);
  EXPECT_EQ(design.Error(), kDesignTooManyStitchesOnRead);
}

TEST(StitchDesign, WrittenPartsReadBackWhole) {
  vtest::FixedClock clock(kWriteTime);
  CStitchDesign design;
  MakeTwoPartDesign(design, 9);
  const Bytes file = Written(design);

  CStitchDesign back;
  ASSERT_EQ(back.Read(file), 1);
  EXPECT_EQ(back.EditState(), kPartsRead);
  EXPECT_EQ(back.ExtensionVersion(), PartsExtension::kVersion);
  ASSERT_EQ(back.GetPartCount(), 2);
  for (int i = 0; i < 2; ++i) {
    const PartRecord& a = *design.GetPartList().GetPart(i);
    const PartRecord& b = *back.GetPartList().GetPart(i);
    EXPECT_EQ(a.colour, b.colour);
    EXPECT_EQ(a.stitch, b.stitch);
    EXPECT_EQ(a.mask, b.mask);
  }
  // The last part's last satin record, which lies in the payload's last 12 bytes.
  const SatinColumnRecord& last = back.GetPartList().GetPart(1)->satin[9];
  EXPECT_EQ(last.x1, -9);
  EXPECT_EQ(last.y2, 6);
  EXPECT_EQ(last.spacing, 2.25);
  EXPECT_EQ(back.GetPartList().GetPart(1)->satin[0].spacing, 0.5);
  // A plain part keeps no satin records.
  EXPECT_EQ(back.GetPartList().GetPart(0)->satin[0].x1, 0);

  // Read back, the design writes the same bytes again.
  EXPECT_EQ(Written(back), file);
}

TEST(StitchDesign, QnfImageHeaderAndMergedColours) {
  vtest::FixedClock clock(kWriteTime);
  CStitchDesign design;
  MakeTwoPartDesign(design, 5);  // both parts in colour 5: one block
  Bytes image;
  const std::size_t size = design.BuildQnfImage(design.GetStitchCount(), image);
  ASSERT_EQ(size, 116u + 8 + 2 * 4);
  EXPECT_EQ(platform::ReadI32(&image[qnf::kStitchDataOffset]), 124);
  EXPECT_EQ(platform::ReadI32(&image[qnf::kFlags]), 10);
  EXPECT_EQ(std::memcmp(&image[qnf::kDateText], "20260304050607\0\0", 16), 0);
  EXPECT_EQ(platform::ReadI32(&image[qnf::kColourCount]), 1);
  EXPECT_EQ(platform::ReadI32(&image[qnf::kPairCount]), 4);
  EXPECT_EQ(design.GetOutputCount(), 4);
  // Needle at (20, -5) then (-10, 35), y downwards.
  EXPECT_EQ(platform::ReadI32(&image[qnf::kExtents]), 10);
  EXPECT_EQ(platform::ReadI32(&image[qnf::kExtents + 4]), 5);
  EXPECT_EQ(platform::ReadI32(&image[qnf::kExtents + 8]), 20);
  EXPECT_EQ(platform::ReadI32(&image[qnf::kExtents + 12]), 35);
  EXPECT_EQ(platform::ReadI32(&image[qnf::kStandardHoopMargins]), 540);
  EXPECT_EQ(platform::ReadI32(&image[qnf::kSmallHoopMargins + 12]), 215);
  EXPECT_EQ(platform::ReadI32(&image[qnf::kLargeHoopMargins + 4]), 995);
  EXPECT_EQ(platform::ReadI32(&image[qnf::kLargeHoopMarginsCopy + 8]), 680);
  EXPECT_EQ(platform::ReadI32(&image[116]), 5);
  EXPECT_EQ(platform::ReadI32(&image[120]), 13);
  EXPECT_EQ(Bytes(image.begin() + 124, image.end()), (Bytes{20, 5, 0, 0, 0xE2, 0xD8, 0x80, 0x10}));

  // The colour change's own zero pair stays as a plain pair.
  // Stitches that were not made from the parts keep every colour change.
  design.SetEditState(kStitchesOnly);
  design.BuildQnfImage(design.GetStitchCount(), image);
  EXPECT_EQ(platform::ReadI32(&image[qnf::kColourCount]), 2);
  EXPECT_EQ(platform::ReadI32(&image[qnf::kPairCount]), 5);
  // And write no parts block.
  Bytes file;
  ASSERT_EQ(design.Write(file), 1);
  EXPECT_EQ(file, image);
}

TEST(StitchDesign, QnfImageDropsMarkersKeepsBothJumpsAndFlagsMissingMargins) {
  vtest::FixedClock clock(kWriteTime);
  CStitchDesign design;
  design.ResetStitches();
  design::StitchRecord& record = *design.Record();
  const Bytes stitches = vtest::StitchStreamBuilder()
                             .Marker()
                             .Jump(100, 0)
                             .Control(0x07)
                             .JumpAlt(100, 0)
                             .Jump(100, 0)
                             .Jump(100, 0)
                             .Jump(100, 0)
                             .Jump(100, 0)
                             .End()
                             .Bytes();
  std::copy(stitches.begin(), stitches.end(), record.Stitches());
  record.SetColourCount(1);
  Bytes image;
  design.BuildQnfImage(design.GetStitchCount(), image);
  const Bytes expected = vtest::StitchStreamBuilder()
                             .Jump(100, 0)
                             .JumpAlt(100, 0)
                             .Jump(100, 0)
                             .Jump(100, 0)
                             .Jump(100, 0)
                             .Jump(100, 0)
                             .End()
                             .Bytes();
  EXPECT_EQ(Bytes(image.begin() + 124, image.end()), expected);
  // 600 to the right: outside the standard and small hoops, inside the large one.
  EXPECT_EQ(platform::ReadI32(&image[qnf::kStandardHoopMargins]), -1);
  EXPECT_EQ(platform::ReadI32(&image[qnf::kStandardHoopMargins + 4]), -1);
  EXPECT_EQ(platform::ReadI32(&image[qnf::kSmallHoopMargins + 8]), -1);
  EXPECT_EQ(platform::ReadI32(&image[qnf::kLargeHoopMargins + 8]), 100);
}

TEST(StitchDesign, StitchesWithMoreColourBlocksThanAFileHoldsAreNotWritten) {
  CStitchDesign design;
  design.ResetStitches();
  vtest::StitchStreamBuilder builder;
  for (int i = 0; i < design::kMaxColours; ++i) builder.Stitch(1, 1).ColourChange();
  const Bytes stitches = builder.End().Bytes();
  std::copy(stitches.begin(), stitches.end(), design.Record()->Stitches());
  Bytes out;
  EXPECT_EQ(design.Write(out), 0);
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(design.Error(), kDesignBadColourCount);
}

TEST(StitchDesign, StitchCountStopsAtTheLimitAndUnendedStitchesAreNotWritten) {
  CStitchDesign design;
  EXPECT_EQ(design.GetStitchCount(), 0);
  design.ResetStitches();
  std::fill_n(design.Record()->Stitches(), 2 * 260000, 1);
  EXPECT_EQ(design.GetStitchCount(), kMaxDesignPairs);
  Bytes out;
  EXPECT_EQ(design.Write(out), 0);
  EXPECT_EQ(design.Error(), kDesignTooManyStitchesOnWrite);
  EXPECT_TRUE(out.empty());
}

// A parts block the way older writers made it: R without the payload's last 12 bytes.
Bytes ShortRawExtension(const Bytes& payload) {
  const std::size_t raw = payload.size() - 12;
  Bytes packed(PackedBytesBound(raw));
  packed.resize(PackBytes(packed, std::span(payload).first(raw)));
  Bytes block{0x03, 0x01, 0x04, 0x01, 0x05, 0x09, 0x02, 0x0A, 0, 0, 0, 0, 0, 0, 0, 0};
  platform::WriteU32(&block[8], static_cast<uint32_t>(raw));
  platform::WriteU32(&block[12], static_cast<uint32_t>(packed.size()));
  block.insert(block.end(), packed.begin(), packed.end());
  return block;
}

Bytes Payload(int32_t count, int32_t width, int32_t height, std::size_t maskBytes, uint8_t fill) {
  Bytes payload(12 + static_cast<std::size_t>(count) * (maskBytes + 244), fill);
  platform::WriteI32(&payload[0], count);
  platform::WriteI32(&payload[4], width);
  platform::WriteI32(&payload[8], height);
  for (int32_t i = 0; i < count; ++i) {
    platform::WriteU32(&payload[12 + 4 * static_cast<std::size_t>(i)], (7u << 16) | kSatinStitch);
  }
  return payload;
}

TEST(StitchDesign, OlderFilesReadTheirLastTwelvePayloadBytesAsZero) {
  vtest::QnfFileSpec spec;
  spec.stitches = SimpleStitches();
  spec.trailer = ShortRawExtension(Payload(1, 200, 200, 5200, 0x5A));
  CStitchDesign design;
  ASSERT_EQ(design.Read(vtest::BuildQnfFile(spec)), 1);
  EXPECT_EQ(design.EditState(), kPartsRead);
  ASSERT_EQ(design.GetPartCount(), 1);
  EXPECT_EQ(design.WorkWidth(), 200);
  EXPECT_EQ(design.HoopKind(), design::kStandardHoop);  // the header's, not the payload's
  const PartRecord& part = *design.GetPartList().GetPart(0);
  EXPECT_EQ(part.colour, 7);
  EXPECT_EQ(part.mask, Bytes(5200, 0x5A));
  EXPECT_EQ(part.satin[8].x1, 0x5A5A5A5A);
  EXPECT_EQ(part.satin[9].x1, 0x5A5A5A5A);
  EXPECT_EQ(part.satin[9].y2, 0);
  EXPECT_EQ(part.satin[9].spacing, 0.0);
}

TEST(StitchDesign, HostilePartsBlocksLeaveTheStitchesWithoutParts) {
  auto withTrailer = [](Bytes trailer) {
    vtest::QnfFileSpec spec;
    spec.stitches = SimpleStitches();
    spec.trailer = std::move(trailer);
    return vtest::BuildQnfFile(spec);
  };
  const Bytes good = ShortRawExtension(Payload(1, 200, 200, 5200, 0));
  struct Case {
    const char* what;
    Bytes trailer;
  };
  std::vector<Case> cases;
  {
    Bytes b = good;
    platform::WriteU32(&b[8], 0xFFFFFFF0u);  // a raw length past any design
    cases.push_back({"huge R", b});
  }
  {
    Bytes b = good;
    platform::WriteU32(&b[12], platform::ReadU32(&b[8]) + 1);
    cases.push_back({"P above R", b});
  }
  {
    Bytes b = good;
    b.resize(b.size() - 3);
    cases.push_back({"packed bytes cut", b});
  }
  {
    Bytes b = good;
    b[16] = 0;  // a literal token of 0xNN bytes where a run was
    b[17] = 200;
    cases.push_back({"does not unpack", b});
  }
  cases.push_back({"79 parts", ShortRawExtension(Payload(79, 200, 200, 1, 0))});
  cases.push_back({"odd work size", ShortRawExtension(Payload(1, 300, 200, 7600, 0))});
  {
    // Two parts claimed, one part's bytes packed.
    Bytes payload = Payload(1, 200, 200, 5200, 0);
    platform::WriteI32(&payload[0], 2);
    cases.push_back({"count beyond R", ShortRawExtension(payload)});
  }
  cases.push_back({"unknown version", Bytes{0x03, 0x01, 0x04, 0x01, 0x05, 0x09, 0x02, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0}});
  cases.push_back({"unprintable mismatch", Bytes(16, 0xEE)});

  for (const Case& c : cases) {
    CStitchDesign design;
    EXPECT_EQ(design.Read(withTrailer(c.trailer)), 1) << c.what;
    EXPECT_EQ(design.Error(), kDesignOk) << c.what;
    EXPECT_EQ(design.GetPartCount(), 0) << c.what;
    EXPECT_EQ(design.EditState(), kStitchesOnly) << c.what;
    EXPECT_EQ(design.GetStitchCount(), 3) << c.what;
  }
}

TEST(StitchDesign, AnOlderBlockIsKeptBehindTheEndPair) {
  vtest::QnfFileSpec spec;
  spec.stitches = SimpleStitches();
  Bytes trailer(16 + 2000, 0x33);
  trailer[0] = 'A';
  spec.trailer = trailer;
  CStitchDesign design;
  ASSERT_EQ(design.Read(vtest::BuildQnfFile(spec)), 1);
  EXPECT_EQ(design.ExtensionVersion(), PartsExtension::kOlderBlock);
  EXPECT_EQ(design.EditState(), kNothingMade);
  const uint8_t* afterEnd = design.Record()->Stitches() + 6;
  EXPECT_EQ(afterEnd[0], 'A');
  EXPECT_EQ(afterEnd[16 + 1599], 0x33);
  EXPECT_EQ(afterEnd[16 + 1600], 0);
}

TEST(StitchDesign, ExtensionHeadTest) {
  std::array<uint8_t, 16> head{0x03, 0x01, 0x04, 0x01, 0x05, 0x09, 0x02, 0x0A, 0x10, 0, 0, 0, 0x08, 0, 0, 0};
  PartsExtension e = ReadExtensionHead(head);
  EXPECT_EQ(e.version, 10);
  EXPECT_EQ(e.rawLength, 16u);
  EXPECT_EQ(e.packedLength, 8u);
  head[3] = 21;
  EXPECT_EQ(ReadExtensionHead(head).version, -1);
  head[3] = 125;
  EXPECT_EQ(ReadExtensionHead(head).version, -1);
  head[3] = 126;
  EXPECT_EQ(ReadExtensionHead(head).version, 1);
  head[3] = 20;
  EXPECT_EQ(ReadExtensionHead(head).version, 1);
}

TEST(StitchDesign, InsideHoopLimits) {
  CStitchDesign design;
  design.SetDrawnExtents({-7, -7, 1107, 1107});
  EXPECT_TRUE(design.IsInsideHoop());
  design.SetDrawnExtents({-8, 0, 100, 100});
  EXPECT_FALSE(design.IsInsideHoop());
  design.SetDrawnExtents({0, 0, 1108, 100});
  EXPECT_FALSE(design.IsInsideHoop());
  design.SetHoop(design::kLargeHoop);
  design.SetDrawnExtents({0, 0, 1401, 2001});
  EXPECT_TRUE(design.IsInsideHoop());
  design.SetDrawnExtents({-1, 0, 100, 100});
  EXPECT_FALSE(design.IsInsideHoop());
  design.SetDrawnExtents({0, 0, 100, 2002});
  EXPECT_FALSE(design.IsInsideHoop());
}

TEST(StitchDesign, FilesOnDisk) {
  vtest::FixedClock clock(kWriteTime);
  vtest::RecordingMessageBox boxes;
  vtest::TempDir dir;
  CStitchDesign design;
  EXPECT_FALSE(design.ReadFile(dir.Path() / "missing.qnf"));
  ASSERT_EQ(boxes.Count(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, "Stitch File Read Error");

  MakeTwoPartDesign(design, 9);
  ASSERT_TRUE(design.WriteFile(dir.Path() / "x.qnf"));
  CStitchDesign back;
  ASSERT_TRUE(back.ReadFile(dir.Path() / "x.qnf"));
  EXPECT_EQ(back.GetPartCount(), 2);

  CStitchDesign empty;
  EXPECT_FALSE(empty.WriteFile(dir.Path() / "y.qnf"));
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "y.qnf"));
}

}  // namespace
}  // namespace digitizer
