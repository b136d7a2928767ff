#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "design/jump_chain.h"
#include "design/thread_colors.h"
#include "digitizer/stitch_view_drawing.h"
#include "digitizer/stitch_view_model.h"
#include "testing/recording_canvas.h"
#include "testing/stitch_stream_builder.h"
#include "testing/stitch_walker.h"

namespace digitizer {
namespace {

using platform::PenStyle;

const StitchViewArea kStandardArea = StitchViewAreaOf(440, 440, {});
using vtest::CanvasOp;
using vtest::CanvasPrimitive;

// Puts the stitch bytes into a fresh design of the standard hoop; the pair count is the
// stream's unless given.
void Load(CStitchDesign& design, const std::vector<uint8_t>& bytes, std::vector<int> codes,
          int32_t pairs = -1) {
  auto record = std::make_unique<design::StitchRecord>(design::StitchRecord::kPictorelStitchRoom);
  std::copy(bytes.begin(), bytes.end(), record->StitchArea().begin());
  record->SetPairCount(pairs < 0 ? static_cast<int32_t>(bytes.size() / 2) : pairs);
  record->SetColourCount(static_cast<int32_t>(codes.size()));
  for (std::size_t i = 0; i < codes.size(); ++i) record->SetThreadCode(static_cast<int>(i), codes[i]);
  design.AttachStitches(std::move(record));
}

std::vector<CanvasPrimitive> LinesOf(const vtest::RecordingCanvas& canvas, PenStyle style) {
  std::vector<CanvasPrimitive> out;
  for (const auto& p : canvas.Of(CanvasOp::kLine)) {
    if (p.penStyle == style) out.push_back(p);
  }
  return out;
}

// A design that exercises every pair rule: stitches, a jump chain with its landing, a sewn
// long stitch, the second jump code, a marker, an unknown code, and a colour change whose new
// block starts with a jump.
std::vector<uint8_t> EveryRuleStream() {
  vtest::StitchStreamBuilder b;
  b.Stitch(10, 5).Stitch(-3, 20).Stitch(7, -7);
  design::ForEachJumpChainPair(300, -40, [&](int dx, int dy) { b.Jump(dx, dy); });
  b.Stitch(4, 4).Stitch(5, 5);                  // landing, then a stitch
  b.Jump(119, 6).Stitch(2, 2);                  // a sewn long stitch: no landing after it
  b.Marker().Control(0x7E).Stitch(-6, 1);
  b.ColourChange().Jump(-50, 30).Stitch(1, 1).Stitch(8, -2);  // block start: jump, landing
  b.JumpAlt(20, 20).Stitch(3, 3).Stitch(-4, 9);
  b.End();
  return b.Bytes();
}

TEST(StitchViewDrawing, EveryStitchLineIsASewnSegmentInItsThreadColour) {
  CStitchDesign design;
  const std::vector<uint8_t> bytes = EveryRuleStream();
  Load(design, bytes, {5, 51});
  vtest::RecordingCanvas canvas;
  ASSERT_EQ(DrawStitchDesign(design, canvas, kFullZoom, 0), 0);

  const vtest::WalkResult walk = vtest::WalkStitches(bytes);
  ASSERT_TRUE(walk.ended);
  const auto solid = LinesOf(canvas, PenStyle::kSolid);
  ASSERT_EQ(solid.size(), walk.sewn.size());
  // The walker keeps dy upwards from (0, 0); the view starts at the work area's centre with
  // y downwards.
  const int startX = 440 * 5 / 4;
  const int startY = 440 * 5 / 4;
  for (std::size_t i = 0; i < solid.size(); ++i) {
    const vtest::SewnSegment& s = walk.sewn[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(solid[i].points[0], (platform::CanvasPoint{startX + s.x0, startY - s.y0}));
    EXPECT_EQ(solid[i].points[1], (platform::CanvasPoint{startX + s.x1, startY - s.y1}));
    EXPECT_EQ(solid[i].colour, design::GetThreadColor(s.colour == 0 ? 5 : 51));
    EXPECT_EQ(solid[i].penWidth, kFullZoomPenWidth);
  }
  // Jumps inside a block (the chain, its landing, the second jump code and its landing) are
  // dotted; the jump and landing that open the second block draw nothing.
  int chainPairs = 0;
  design::ForEachJumpChainPair(300, -40, [&](int, int) { ++chainPairs; });
  const auto dotted = LinesOf(canvas, PenStyle::kDotted);
  EXPECT_EQ(static_cast<int>(dotted.size()), chainPairs + 1 + 2);
  for (const auto& d : dotted) EXPECT_EQ(d.penWidth, 0);
  EXPECT_EQ(dotted.back().colour, design::GetThreadColor(51));
}

TEST(StitchViewDrawing, ZoomScalesPointsAndThePenFollowsTheChoice) {
  CStitchDesign design;
  Load(design, vtest::StitchStreamBuilder().Stitch(10, 10).End().Bytes(), {1});
  vtest::RecordingCanvas canvas;
  DrawStitchDesign(design, canvas, 8, 0);
  const auto lines = canvas.Of(CanvasOp::kLine);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].points[0], (platform::CanvasPoint{1100, 1100}));
  EXPECT_EQ(lines[0].points[1], (platform::CanvasPoint{1120, 1080}));
  EXPECT_EQ(lines[0].penWidth, 0);  // the thinnest pen widens only at 100 %

  canvas.Clear();
  DrawStitchDesign(design, canvas, kFullZoom, 7);
  EXPECT_EQ(canvas.Of(CanvasOp::kLine).at(0).penWidth, 7);
}

TEST(StitchViewDrawing, HoopFrameTurnsRedWhenTheStitchesLeaveIt) {
  CStitchDesign design;
  Load(design, vtest::StitchStreamBuilder().Stitch(100, 0).End().Bytes(), {1});
  vtest::RecordingCanvas canvas;
  DrawStitchDesign(design, canvas, kFullZoom, 0);
  auto frame = canvas.Of(CanvasOp::kRectangle);
  ASSERT_EQ(frame.size(), 1u);
  EXPECT_EQ(frame[0].colour, kHoopInsideGrey);
  EXPECT_EQ(frame[0].points[1], (platform::CanvasPoint{1100, 1100}));
  EXPECT_TRUE(design.IsInsideHoop());

  // 550 + 6 x 100 reaches 1150, beyond the frame's 1100 and its 7-unit allowance.
  vtest::StitchStreamBuilder wide;
  for (int i = 0; i < 6; ++i) wide.Stitch(100, 0);
  Load(design, wide.End().Bytes(), {1});
  canvas.Clear();
  DrawStitchDesign(design, canvas, kFullZoom, 0);
  EXPECT_EQ(canvas.Of(CanvasOp::kRectangle).at(0).colour, kHoopOutsideRed);
  EXPECT_FALSE(design.IsInsideHoop());
}

TEST(StitchViewDrawing, RefusesColourCountsOutsideTheTableAndDrawsNothingWhenBusy) {
  CStitchDesign design;
  vtest::RecordingCanvas canvas;
  EXPECT_EQ(DrawStitchDesign(design, canvas, kFullZoom, 0), 0);  // no record
  EXPECT_TRUE(canvas.Primitives().empty());

  const auto bytes = vtest::StitchStreamBuilder().Stitch(1, 1).End().Bytes();
  Load(design, bytes, {});
  EXPECT_EQ(DrawStitchDesign(design, canvas, kFullZoom, 0), -1);
  Load(design, bytes, {1});
  design.Record()->SetColourCount(design::kMaxColours + 1);
  EXPECT_EQ(DrawStitchDesign(design, canvas, kFullZoom, 0), -1);
  EXPECT_TRUE(canvas.Primitives().empty());

  Load(design, bytes, {1});
  design.SetBusy(true);
  EXPECT_EQ(DrawStitchDesign(design, canvas, kFullZoom, 0), 0);
  EXPECT_TRUE(canvas.Primitives().empty());
}

TEST(StitchViewDrawing, WalkStopsAtThePairCountTheColourCountAndACutControlPair) {
  CStitchDesign design;
  vtest::RecordingCanvas canvas;
  // No end pair: the head's pair count is the limit.
  Load(design, vtest::StitchStreamBuilder().Stitch(1, 0).Stitch(1, 0).Stitch(1, 0).Bytes(), {1}, 2);
  DrawStitchDesign(design, canvas, kFullZoom, 0);
  EXPECT_EQ(canvas.Of(CanvasOp::kLine).size(), 2u);

  // A colour change past the last colour ends the drawing.
  canvas.Clear();
  Load(design, vtest::StitchStreamBuilder().Stitch(1, 0).ColourChange().Stitch(1, 0).End().Bytes(), {1});
  DrawStitchDesign(design, canvas, kFullZoom, 0);
  EXPECT_EQ(canvas.Of(CanvasOp::kLine).size(), 1u);

  // A jump whose move pair lies past the pair count is not read.
  canvas.Clear();
  Load(design, vtest::StitchStreamBuilder().Stitch(1, 0).Jump(50, 50).Stitch(1, 0).Bytes(), {1}, 2);
  DrawStitchDesign(design, canvas, kFullZoom, 0);
  EXPECT_EQ(canvas.Of(CanvasOp::kLine).size(), 1u);
}

TEST(StitchViewModel, ClickZoomStaysBetweenOneAndThreeAndAQuarterTimes) {
  StcViewModel view;
  view.OnUpdate(kStandardArea);
  view.SetZoomMode(true);
  for (int i = 0; i < 20; ++i) view.OnClick(MouseButton::kLeft, false, 0, 0, 0, 0, 100, 100, kStandardArea);
  EXPECT_EQ(view.Zoom(), kMaxClickZoom);
  for (int i = 0; i < 20; ++i) view.OnClick(MouseButton::kRight, false, 0, 0, 0, 0, 100, 100, kStandardArea);
  EXPECT_EQ(view.Zoom(), kMinClickZoom);
  // From 50 % a zoom-in click goes to 100 %, from 75 % too (below 3 is lifted to 4).
  view.SetZoom(2, kStandardArea);
  view.OnClick(MouseButton::kLeft, false, 0, 0, 0, 0, 100, 100, kStandardArea);
  EXPECT_EQ(view.Zoom(), 4);
  EXPECT_EQ(NextClickZoom(MouseButton::kLeft, 3), 4);
  EXPECT_EQ(NextClickZoom(MouseButton::kLeft, 11), 12);
  EXPECT_EQ(NextClickZoom(MouseButton::kRight, 9), 8);

  view.SetZoomMode(false);
  EXPECT_FALSE(view.OnClick(MouseButton::kLeft, false, 0, 0, 0, 0, 100, 100, kStandardArea).handled);
  EXPECT_EQ(view.Zoom(), 4);
}

TEST(StitchViewModel, CtrlClicksStepThePenWidth) {
  std::vector<int> left;
  int w = 0;
  for (int i = 0; i < 6; ++i) left.push_back(w = NextPenWidth(MouseButton::kLeft, w));
  EXPECT_EQ(left, (std::vector<int>{1, 4, 7, 10, 10, 10}));
  std::vector<int> right;
  for (int i = 0; i < 5; ++i) right.push_back(w = NextPenWidth(MouseButton::kRight, w));
  EXPECT_EQ(right, (std::vector<int>{7, 4, 1, 0, 0}));
  EXPECT_EQ(NextPenWidth(MouseButton::kLeft, 3), 0);

  StcViewModel view;
  view.OnUpdate(kStandardArea);
  view.SetZoomMode(true);
  view.OnClick(MouseButton::kLeft, true, 0, 0, 0, 0, 100, 100, kStandardArea);
  EXPECT_EQ(view.PenWidth(), 1);
  EXPECT_EQ(view.Zoom(), kFullZoom);
  view.OnUpdate(kStandardArea);
  EXPECT_EQ(view.PenWidth(), 0);
  EXPECT_FALSE(view.ZoomMode());
}

TEST(StitchViewModel, ScrollSizesAndThePointUnderTheCursor) {
  StcViewModel view;
  view.OnUpdate(kStandardArea);
  // The hoop frame with 5 mm round it: s = 4 x (50 + 1100 + 50) = 4800.
  EXPECT_EQ(view.Scroll().x.first, -50);
  EXPECT_EQ(view.Scroll().x.total, 1200);
  EXPECT_EQ(view.Scroll().x.page, 240);
  EXPECT_EQ(view.Scroll().y.line, 24);
  view.SetZoom(8, StitchViewAreaOf(560, 800, {}));
  EXPECT_EQ(view.Scroll().x.first, -100);
  EXPECT_EQ(view.Scroll().x.total, 2 * (50 + 1400 + 50));
  EXPECT_EQ(view.Scroll().y.total, 2 * (50 + 2000 + 50));

  view.OnUpdate(kStandardArea);
  view.SetZoomMode(true);
  // Cursor at (100, 80) with the view scrolled to (50, 20): design point (150, 100).
  const auto r = view.OnClick(MouseButton::kLeft, false, 100, 80, 50, 20, 200, 200, kStandardArea);
  ASSERT_TRUE(r.handled);
  EXPECT_EQ(view.Zoom(), 5);
  EXPECT_EQ(r.scrollX, 150 * 5 / 4 - 100);
  EXPECT_EQ(r.scrollY, 100 * 5 / 4 - 80);
  // A client wide enough for the whole area shows it from its left edge.
  const auto wide = view.OnClick(MouseButton::kLeft, false, 100, 80, 7, 9, 6 * 1400 / 4, 200, kStandardArea);
  EXPECT_EQ(wide.scrollX, -6 * 50 / 4);
}

TEST(StitchViewModel, LongDesignsWaitForABusyTransfer) {
  EXPECT_TRUE(StcViewModel::ShouldDraw(kBusyDrawPairLimit, true));
  EXPECT_FALSE(StcViewModel::ShouldDraw(kBusyDrawPairLimit + 1, true));
  EXPECT_TRUE(StcViewModel::ShouldDraw(kBusyDrawPairLimit + 1, false));

  CStitchDesign design;
  vtest::StitchStreamBuilder b;
  b.Stitch(1, 0);
  Load(design, b.End().Bytes(), {1}, 32700);
  StcViewModel view;
  view.OnUpdate(kStandardArea);
  vtest::RecordingCanvas canvas;
  view.Draw(design, canvas, true);
  EXPECT_TRUE(canvas.Primitives().empty());
  view.Draw(design, canvas, false);
  EXPECT_FALSE(canvas.Primitives().empty());
}

TEST(StitchViewModel, BackgroundColourFollowsTheDialogsAnswer) {
  StcViewModel view;
  EXPECT_FALSE(view.FillsBackground());
  EXPECT_EQ(view.Background(), kDefaultBackground);
  view.OnBackgroundColour(true, platform::PaletteRgb(10, 20, 30));
  EXPECT_TRUE(view.FillsBackground());
  EXPECT_EQ(view.Background(), platform::PaletteRgb(10, 20, 30));
  view.OnBackgroundColour(false, 0);
  EXPECT_FALSE(view.FillsBackground());
  EXPECT_EQ(view.Background(), platform::PaletteRgb(10, 20, 30));
}

// At 100 % the view shows the fabric at true size: an inch of screen is 25.4 mm of stitches, and
// the standard and small hoop frames fit a 500-dot pane whole on a 96 dots-per-inch screen.
TEST(StitchViewModel, ScreenDotsShowTheFabricAtTrueSize) {
  EXPECT_EQ(UnitsFromDots(96, 96), 254);
  EXPECT_EQ(UnitsFromDots(120, 120), 254);
  EXPECT_EQ(UnitsFromDots(96, 0), 254);  // a screen without a density counts as 96
  for (const int work : {CStitchDesign::kSmallWorkSize, CStitchDesign::kStandardWorkSize}) {
    EXPECT_LE(5 * work / 2 * ScreenDotsPerUnit(96), 500.0) << work;
  }
}

}  // namespace
}  // namespace digitizer
