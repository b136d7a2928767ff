#include "design/card/card_preview.h"

#include <gtest/gtest.h>

#include "design/thread_colors.h"
#include "testing/qnf_file_builder.h"
#include "testing/recording_canvas.h"

namespace {

using platform::CanvasPoint;
using vtest::CanvasOp;

std::vector<uint8_t> Design(std::vector<uint8_t> stitches, int32_t hoop,
                            std::vector<int32_t> codes = {5}) {
  vtest::QnfFileSpec spec;
  spec.hoopCode = hoop;
  spec.threadCodes = std::move(codes);
  spec.stitches = std::move(stitches);
  return vtest::BuildQnfFile(spec);
}

TEST(CardPreviewTest, HoopNames) {
  EXPECT_STREQ(card::CardHoopName(1), "Small Hoop");
  EXPECT_STREQ(card::CardHoopName(2), "Large Hoop");
  EXPECT_STREQ(card::CardHoopName(0), "Normal Hoop");
  EXPECT_STREQ(card::CardHoopName(-7), "Normal Hoop");
}

TEST(CardPreviewTest, TheLargeHoopTakesTheWholeFrameFromItsMiddle) {
  vtest::RecordingCanvas canvas;
  card::DrawCardPreview(canvas, {0, 0, 160, 200}, Design({10, 10, 0x80, 0x10}, 2));
  const auto fills = canvas.Of(CanvasOp::kFill);
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[0].colour, card::kCardPreviewGrey);
  EXPECT_EQ(fills[1].colour, platform::kPaletteWhite);
  EXPECT_EQ(fills[1].points[1], (CanvasPoint{160, 200}));
  const auto lines = canvas.Of(CanvasOp::kLine);
  ASSERT_EQ(lines.size(), 1u);
  // 1600 x 2000 onto 160 x 200; dy is stored upwards.
  EXPECT_EQ(lines[0].points[0], (CanvasPoint{80, 100}));
  EXPECT_EQ(lines[0].points[1], (CanvasPoint{81, 99}));
  EXPECT_EQ(lines[0].colour, design::GetThreadColor(5));
}

TEST(CardPreviewTest, SmallAndNormalHoopsAreSquaresAsWideAsTheFrame) {
  vtest::RecordingCanvas small;
  card::DrawCardPreview(small, {2, 2, 102, 152}, Design({50, static_cast<uint8_t>(-50), 0x80, 0x10}, 1));
  EXPECT_EQ(small.Of(CanvasOp::kFill)[1].points[1], (CanvasPoint{102, 102}));
  const auto line = small.Of(CanvasOp::kLine).at(0);
  EXPECT_EQ(line.points[0], (CanvasPoint{52, 52}));  // the middle of 500 x 500
  EXPECT_EQ(line.points[1], (CanvasPoint{62, 62}));

  vtest::RecordingCanvas normal;
  card::DrawCardPreview(normal, {0, 0, 110, 150}, Design({100, 0, 0x80, 0x10}, 0));
  EXPECT_EQ(normal.Of(CanvasOp::kLine).at(0).points[1], (CanvasPoint{65, 55}));
}

TEST(CardPreviewTest, JumpsColoursMarkersAndTheEnd) {
  vtest::RecordingCanvas canvas;
  const std::vector<uint8_t> stitches = {
      0x80, 0x02, 100, 0,   // at the start: a move
      0x80, 0x04, 100, 0,   // still nothing sewn: a move
      10, 0,                // sewn
      0x80, 0x02, 100, 0,   // a jump after sewing: dotted
      0x80, 0x03,           // a marker: nothing
      0x80, 0x01, 0, 0,     // next colour, the needle is up again
      0x80, 0x02, 100, 0,   // a move
      10, 0,                // sewn in the second colour
      0x80, 0x01, 0, 0,     // no third colour: the drawing ends here
      10, 0, 0x80, 0x10};
  card::DrawCardPreview(canvas, {0, 0, 1100, 1100}, Design(stitches, 0, {5, 9}));
  const auto lines = canvas.Of(CanvasOp::kLine);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].points[0], (CanvasPoint{750, 550}));
  EXPECT_EQ(lines[0].points[1], (CanvasPoint{760, 550}));
  EXPECT_EQ(lines[0].penStyle, platform::PenStyle::kSolid);
  EXPECT_EQ(lines[1].points[1], (CanvasPoint{860, 550}));
  EXPECT_EQ(lines[1].penStyle, platform::PenStyle::kDotted);
  EXPECT_EQ(lines[1].colour, design::GetThreadColor(5));
  EXPECT_EQ(lines[2].points[0], (CanvasPoint{960, 550}));
  EXPECT_EQ(lines[2].colour, design::GetThreadColor(9));
  EXPECT_EQ(lines[2].penStyle, platform::PenStyle::kSolid);
}

TEST(CardPreviewTest, LyingCountsNeverReadPastTheBuffer) {
  vtest::QnfFileSpec spec;
  spec.stitches = {1, 1, 1, 1};  // no end pair, and the count claims far more
  spec.pairCount = 1 << 29;
  const auto image = vtest::BuildQnfFile(spec);
  vtest::RecordingCanvas canvas;
  card::DrawCardPreview(canvas, {0, 0, 110, 110}, image);
  EXPECT_EQ(canvas.Of(CanvasOp::kLine).size(), 2u);

  // A jump whose move pair is missing ends the drawing.
  spec.stitches = {1, 1, 0x80, 0x02};
  spec.pairCount = 3;
  vtest::RecordingCanvas cut;
  card::DrawCardPreview(cut, {0, 0, 110, 110}, vtest::BuildQnfFile(spec));
  EXPECT_EQ(cut.Of(CanvasOp::kLine).size(), 1u);

  // No sound head: the white box of a normal hoop and nothing on it.
  spec.colourCount = 0;
  vtest::RecordingCanvas none;
  card::DrawCardPreview(none, {0, 0, 110, 110}, vtest::BuildQnfFile(spec));
  EXPECT_TRUE(none.Of(CanvasOp::kLine).empty());
  EXPECT_EQ(none.Of(CanvasOp::kFill).size(), 2u);
  card::DrawCardPreview(none, {0, 0, 110, 110}, {});
}

}  // namespace
