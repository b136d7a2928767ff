#include "digitizer/stitch_preview.h"

#include <gtest/gtest.h>

#include "design/thread_colors.h"
#include "testing/qnf_file_builder.h"
#include "testing/recording_canvas.h"
#include "testing/sew_file_builder.h"

namespace digitizer {
namespace {

using vtest::CanvasOp;
using vtest::RecordingCanvas;

constexpr int kPreviewWidth = 110;
constexpr int kPreviewHeight = 200;

TEST(DesignPreview, DrawsStitchesScaledIntoTheNormalHoop) {
  vtest::QnfFileSpec spec;
  spec.threadCodes = {5, 7};
  // A stitch (10, 20) up, a jump (0, -10) with the pen down, a colour change, a stitch, end.
  spec.stitches = {10, 20, 0x80, 0x02, 0, 0xF6, 0x80, 0x01, 0, 0, 30, 0, 0x80, 0x10};
  RecordingCanvas canvas;
  EXPECT_EQ(DrawDesignPreview(vtest::BuildQnfFile(spec), canvas, kPreviewWidth, kPreviewHeight), "Normal Hoop");
  const auto fills = canvas.Of(CanvasOp::kFill);
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[0].colour, kEmptyPreviewGrey);
  EXPECT_EQ(fills[1].colour, platform::kPaletteWhite);
  EXPECT_EQ(fills[1].points[1], (platform::CanvasPoint{kPreviewWidth, kPreviewWidth}));  // a square hoop

  const auto lines = canvas.Of(CanvasOp::kLine);
  ASSERT_EQ(lines.size(), 3u);
  // From the centre (550, 550) to (560, 530): one pixel per 10 (110 pixels for 1100).
  EXPECT_EQ(lines[0].points[0], (platform::CanvasPoint{55, 55}));
  EXPECT_EQ(lines[0].points[1], (platform::CanvasPoint{56, 53}));
  EXPECT_EQ(lines[0].colour, design::GetThreadColor(5));
  // The jump after a stitch is a dotted line (dy -10 is downwards).
  EXPECT_EQ(lines[1].points[1], (platform::CanvasPoint{56, 54}));
  EXPECT_EQ(lines[1].penStyle, platform::PenStyle::kDotted);
  // The next colour's stitch starts where the change moved the pen, solid, in the second thread.
  EXPECT_EQ(lines[2].points[1], (platform::CanvasPoint{59, 54}));
  EXPECT_EQ(lines[2].colour, design::GetThreadColor(7));
  EXPECT_EQ(lines[2].penStyle, platform::PenStyle::kSolid);
}

TEST(DesignPreview, HoopCodesPickTheFrameAndLabel) {
  vtest::QnfFileSpec spec;
  spec.stitches = {10, 0, 0x80, 0x10};
  spec.hoopCode = 2;
  RecordingCanvas canvas;
  EXPECT_EQ(DrawDesignPreview(vtest::BuildQnfFile(spec), canvas, kPreviewWidth, kPreviewHeight), "Large Hoop");
  EXPECT_EQ(canvas.Of(CanvasOp::kFill)[1].points[1], (platform::CanvasPoint{kPreviewWidth, kPreviewHeight}));
  // From (800, 1000) of 1600 x 2000: pixel (55, 100).
  EXPECT_EQ(canvas.Of(CanvasOp::kLine)[0].points[0], (platform::CanvasPoint{55, 100}));

  spec.hoopCode = 1;
  canvas.Clear();
  EXPECT_EQ(DrawDesignPreview(vtest::BuildQnfFile(spec), canvas, kPreviewWidth, kPreviewHeight), "Small Hoop");
  EXPECT_EQ(canvas.Of(CanvasOp::kLine)[0].points[1], (platform::CanvasPoint{57, 55}));  // 260 of 500
}

TEST(DesignPreview, NoStitchesForABadColourCountOrALyingHeader) {
  vtest::QnfFileSpec spec;
  spec.stitches = {10, 0, 0x80, 0x10};
  for (int32_t lie : {0, 79}) {
    spec.colourCount = lie;
    RecordingCanvas canvas;
    DrawDesignPreview(vtest::BuildQnfFile(spec), canvas, kPreviewWidth, kPreviewHeight);
    EXPECT_TRUE(canvas.Of(CanvasOp::kLine).empty()) << lie;
    EXPECT_EQ(canvas.Of(CanvasOp::kFill).size(), 2u);  // still an empty white hoop
  }
  spec.colourCount.reset();
  // A stitch offset past the file, a pair count far beyond it, a file cut inside the header.
  spec.stitchDataOffset = 1 << 20;
  RecordingCanvas canvas;
  DrawDesignPreview(vtest::BuildQnfFile(spec), canvas, kPreviewWidth, kPreviewHeight);
  EXPECT_TRUE(canvas.Of(CanvasOp::kLine).empty());
  spec.stitchDataOffset.reset();
  spec.pairCount = 1000000;
  std::vector<uint8_t> file = vtest::BuildQnfFile(spec);
  file.resize(file.size() - 2);  // the end pair cut away: the walk stops at the file's end
  DrawDesignPreview(file, canvas, kPreviewWidth, kPreviewHeight);
  EXPECT_EQ(canvas.Of(CanvasOp::kLine).size(), 1u);
  file.resize(40);
  canvas.Clear();
  EXPECT_EQ(DrawDesignPreview(file, canvas, kPreviewWidth, kPreviewHeight), "Normal Hoop");
  EXPECT_TRUE(canvas.Of(CanvasOp::kLine).empty());
}

std::vector<uint8_t> SewWith(std::vector<uint16_t> codes, std::vector<uint16_t> counts, std::vector<uint8_t> stitches) {
  vtest::SewFileSpec spec;
  spec.threadCodes = codes;
  spec.stitches = std::move(stitches);
  std::vector<uint8_t> file = vtest::BuildSewFile(spec);
  for (std::size_t i = 0; i < counts.size(); ++i) {
    file[2 * (kSewStitchCountsWord + i)] = static_cast<uint8_t>(counts[i]);
    file[2 * (kSewStitchCountsWord + i) + 1] = static_cast<uint8_t>(counts[i] >> 8);
  }
  return file;
}

TEST(SewPreview, ExtentsAreMeasuredFromTheStartPointRelativeToTheHoopCentre) {
  // 60 right, then 20 down (dy upwards in the stitch bytes), end.
  const std::vector<uint8_t> sew = SewWith({3}, {3}, {60, 0, 0, 0xEC, 0x80, 0x10});
  const PreviewExtents standard = SewWalk(sew, false, nullptr, 110, 110);
  // Start (450, 460) in 1100 x 1100: centre-relative (-100, -90).
  EXPECT_EQ(standard.left, -100);
  EXPECT_EQ(standard.top, -90);
  EXPECT_EQ(standard.right, -40);
  EXPECT_EQ(standard.bottom, -70);
  const PreviewExtents large = SewWalk(sew, true, nullptr, 140, 200);
  // Start (550, 910) in 1400 x 2000: (-150, -90).
  EXPECT_EQ(large.left, -150);
  EXPECT_EQ(large.top, -90);

  RecordingCanvas canvas;
  SewWalk(sew, false, &canvas, 110, 110);
  const auto lines = canvas.Of(CanvasOp::kLine);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].points[0], (platform::CanvasPoint{45, 46}));
  EXPECT_EQ(lines[0].colour, design::GetThreadColor(3));
}

TEST(SewPreview, ABadColourCountOrTooManyStitchesIsNotWalked) {
  const std::vector<uint8_t> thirteen =
      SewWith({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}, {}, {60, 0, 0x80, 0x10});
  EXPECT_FALSE(ReadSewLayout(thirteen).valid);
  EXPECT_EQ(SewWalk(thirteen, false, nullptr, 110, 110).right, -100);
  const std::vector<uint8_t> huge = SewWith({1, 2, 3, 4, 5}, {60000, 60000, 60000, 60000, 10000}, {60, 0, 0x80, 0x10});
  EXPECT_FALSE(ReadSewLayout(huge).valid);
  // A word budget larger than the file stops at the file's end.
  const std::vector<uint8_t> shortFile = SewWith({1}, {30000}, {60, 0, 10, 0});
  EXPECT_TRUE(ReadSewLayout(shortFile).valid);
  EXPECT_EQ(SewWalk(shortFile, false, nullptr, 110, 110).right, -30);
}

}  // namespace
}  // namespace digitizer
