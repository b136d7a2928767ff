#include "hooplayout/lettering_qnf_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/le_bytes.h"
#include "testing/fixed_clock.h"
#include "testing/stitch_stream_builder.h"

using hooplayout::LetteringQnfImage;
using hooplayout::ScanLetteringStream;
using vtest::StitchStreamBuilder;

namespace {

void Fill(design::LayoutStitchRecord& record, const std::vector<uint8_t>& stitches) {
  std::memcpy(record.Stitches(), stitches.data(), stitches.size());
}

}  // namespace

TEST(LetteringStreamScan, JumpsBeforeTheFirstStitchDoNotCountButLaterOnesDo) {
  const auto bytes = StitchStreamBuilder()
                         .Jump(-50, 40)   // up-left before any stitch: not counted
                         .Stitch(10, -20) // lands at (-40, -20) with y down
                         .ColourChange()  // four bytes, no move
                         .Marker()
                         .JumpAlt(100, 0) // (60, -20), counted
                         .Stitch(0, -30)  // (60, 10)
                         .End()
                         .Bytes();
  const auto scan = ScanLetteringStream(bytes);
  ASSERT_TRUE(scan);
  EXPECT_EQ(scan->pairCount, static_cast<int32_t>(bytes.size() / 2));
  EXPECT_EQ(scan->extents, (design::Extents{40, 20, 60, 10}));
}

TEST(LetteringStreamScan, HostileStreamsAreRefusedNotOverrun) {
  EXPECT_FALSE(ScanLetteringStream(StitchStreamBuilder().Stitch(1, 1).Bytes()));            // no end
  EXPECT_FALSE(ScanLetteringStream(StitchStreamBuilder().Stitch(1, 1).Control(2).Bytes()));  // jump cut off
  EXPECT_FALSE(ScanLetteringStream(std::vector<uint8_t>{0x80}));                            // half a pair
  const auto scan = ScanLetteringStream(StitchStreamBuilder().End().Bytes());
  ASSERT_TRUE(scan);
  EXPECT_EQ(scan->pairCount, 1);
  EXPECT_EQ(scan->extents, design::Extents{});
}

TEST(LetteringQnfFile, HeaderFieldsByteForByte) {
  vtest::FixedClock clock({2026, 3, 7, 9, 5, 1});
  design::LayoutStitchRecord record;
  record.SetThreadCode(0, 0x1234);
  const auto stitches = StitchStreamBuilder().Stitch(100, -100).Stitch(-120, 50).End().Bytes();
  Fill(record, stitches);
  const std::vector<uint8_t> image = LetteringQnfImage(record);
  ASSERT_EQ(image.size(), 124u + stitches.size());
  const uint8_t* p = image.data();
  using platform::ReadI32;
  EXPECT_EQ(ReadI32(p + 0), 124);
  EXPECT_EQ(ReadI32(p + 4), 1);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(p + 8), 14), "20260307090501");
  EXPECT_EQ(p[22], 0);
  EXPECT_EQ(p[23], 0);
  EXPECT_EQ(ReadI32(p + 24), 1);
  EXPECT_EQ(ReadI32(p + 28), 3);
  EXPECT_EQ(ReadI32(p + 32), 2);
  // (100, 100) then (-20, 50): left 20, top 0, right 100, bottom 100.
  const int32_t expected[] = {20, 0, 100, 100, -1, -1, -1, -1, -1, -1, -1, -1,
                              680, 1000, 600, 900, 680, 1000, 600, 900, 0x1234, 13};
  for (std::size_t i = 0; i < std::size(expected); ++i) EXPECT_EQ(ReadI32(p + 36 + 4 * i), expected[i]) << i;
  EXPECT_EQ(std::vector<uint8_t>(image.begin() + 124, image.end()), stitches);
}

TEST(LetteringQnfFile, LargeHoopMarginsKeepTheirSignAndARecordWithoutEndWritesNothing) {
  design::LayoutStitchRecord record;
  StitchStreamBuilder wide;
  for (int i = 0; i < 13; ++i) wide.Stitch(120, 0);  // 1560 wide: beyond the 1400 hoop
  Fill(record, wide.End().Bytes());
  const std::vector<uint8_t> image = LetteringQnfImage(record);
  ASSERT_FALSE(image.empty());
  EXPECT_EQ(platform::ReadI32(image.data() + 84 + 8), 700 - 1560);
  EXPECT_EQ(platform::ReadI32(image.data() + 100 + 8), 700 - 1560);

  design::LayoutStitchRecord endless;
  std::memset(endless.Stitches(), 1, endless.StitchArea().size());
  EXPECT_TRUE(LetteringQnfImage(endless).empty());
}
