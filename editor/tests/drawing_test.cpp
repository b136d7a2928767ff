#include <gtest/gtest.h>

#include "design/thread_colors.h"
#include "editor/tests/view_fixture.h"
#include "layoutcore/stitch_extents.h"
#include "testing/recording_canvas.h"
#include "testing/stitch_walker.h"

namespace {

using edtest::ViewFixture;
using vtest::CanvasOp;

using Drawing = ViewFixture;

// The 1-pixel strokes in a colour, one line each, whether drawn as lines or polylines.
std::vector<vtest::CanvasPrimitive> LinesIn(const vtest::RecordingCanvas& canvas, uint32_t colour) {
  std::vector<vtest::CanvasPrimitive> lines;
  for (const auto& p : canvas.Segments()) {
    if (p.colour == colour && p.penWidth == 1) lines.push_back(p);
  }
  return lines;
}



TEST_F(Drawing, GridLinesLieTenMillimetresApartThroughTheCentre) {
  vtest::RecordingCanvas canvas;
  view.OnDraw(canvas);
  std::vector<int> rows, columns;
  for (const auto& line : LinesIn(canvas, 0x02DCDCDC)) {
    EXPECT_EQ(line.penStyle, platform::PenStyle::kDotted);
    if (line.points[0].y == line.points[1].y) rows.push_back(line.points[0].y - 21);
    else columns.push_back(line.points[0].x - 21);
  }
  ASSERT_EQ(rows.size(), 18u);
  EXPECT_EQ(rows.front(), 0);
  EXPECT_EQ(rows.back(), 340);
  ASSERT_EQ(columns.size(), 25u);
  EXPECT_EQ(columns.front(), 9);
  EXPECT_EQ(columns.back(), 489);
  // Centre lines in black, the border 2 pixels wide.
  EXPECT_EQ(LinesIn(canvas, platform::kPaletteBlack).size(), 2u);
  const auto border = canvas.Of(CanvasOp::kPolyline);
  ASSERT_FALSE(border.empty());
  EXPECT_EQ(border[0].penWidth, 2);
  EXPECT_EQ(border[0].points[2], (platform::CanvasPoint{519, 381}));
}

TEST_F(Drawing, EveryPaintTakesThePageLastMeasured) {
  viewHost.page = {554, 380};  // after a Print Setup
  vtest::RecordingCanvas canvas;
  view.OnDraw(canvas);
  EXPECT_EQ(canvas.Of(CanvasOp::kPolyline)[0].points[2], (platform::CanvasPoint{554 + 21, 380 + 21}));
  EXPECT_EQ(view.LayoutWidth(), 554);
}

TEST_F(Drawing, SheetBordersInRedWhenThereAreSeveralSheets) {
  viewHost.sheets = std::make_pair(3, 2);
  view.OnCommand(editor::cmd::kSheets);
  vtest::RecordingCanvas canvas;
  view.OnDraw(canvas);
  const auto red = LinesIn(canvas, 0x020000FF);
  ASSERT_EQ(red.size(), 3u);
  EXPECT_EQ(red[0].points[0].x, 21 + 498);
  EXPECT_EQ(red[1].points[0].x, 21 + 996);
  EXPECT_EQ(red[2].points[0].y, 21 + 360);
}

TEST_F(Drawing, DesignsInTheirThreadColoursAndGrayOutside) {
  const auto inside = Place(100, 100, 200, 100);
  edtest::FillRectangleDesign(*inside->working, 200, 100, {20, 30});
  view.OnCommand(editor::cmd::kGridLightGray);  // grid off: gray lines are designs only
  Place(-30, 100, 100, 100);
  vtest::RecordingCanvas canvas;
  view.OnDraw(canvas);
  const uint32_t first = design::ThreadCodeToRGB(20), second = design::ThreadCodeToRGB(30);
  ASSERT_NE(first, second);
  const auto a = LinesIn(canvas, first), b = LinesIn(canvas, second);
  EXPECT_FALSE(a.empty());
  EXPECT_FALSE(b.empty());
  EXPECT_FALSE(LinesIn(canvas, 0x02DCDCDC).empty());  // the design outside the layout
  // The first colour's rectangle lies about the centre (100, 100) -> pixel (120, 120).
  int minX = 1 << 30, maxX = -(1 << 30);
  for (const auto& line : a) {
    for (const auto& p : line.points) {
      minX = std::min(minX, p.x);
      maxX = std::max(maxX, p.x);
    }
  }
  EXPECT_EQ(minX, 120 - 20);
  EXPECT_EQ(maxX, 120 + 20);
}

TEST_F(Drawing, JumpsMoveLongStitchesDrawAndUnknownCodesAreSkipped) {
  design::StitchRecord r;
  const auto s = vtest::StitchStreamBuilder()
                     .Stitch(50, 0)
                     .JumpAlt(50, 0)   // read as a jump: no line
                     .Stitch(10, 0)    // the landing: no line either
                     .Stitch(10, 0)
                     .Control(0x07)    // unknown: skipped, no stitch of -128
                     .Jump(119, 0)     // a sewn long stitch: drawn
                     .Stitch(5, 0)
                     .End();
  r.SetColourCount(1);
  r.SetThreadCode(0, 1);
  std::copy(s.Bytes().begin(), s.Bytes().end(), r.Stitches());
  editor::DesignObject d;
  d.centreX = 100;
  d.centreY = 100;
  d.working = std::make_shared<design::StitchRecord>(r);
  d.source = d.working;
  d.halfWidth = d.halfHeight = d.placedHalfWidth = d.placedHalfHeight = 10;
  doc.AddDesign(d);
  view.OnCommand(editor::cmd::kGridLightGray);
  view.OnCommand(editor::cmd::kCentreLineBlack);
  vtest::RecordingCanvas canvas;
  view.OnDraw(canvas);
  const auto lines = LinesIn(canvas, design::ThreadCodeToRGB(1));
  // At zoom 100 one stitch unit is 0.2 pixels: 50 -> 10 pixels.
  std::vector<std::pair<int, int>> spans;
  for (const auto& l : lines) spans.push_back({l.points[0].x, l.points[1].x});
  EXPECT_EQ(spans, (std::vector<std::pair<int, int>>{{120, 130}, {142, 144}, {144, 167}, {167, 168}}));
  // The extents walk reads the same way.
  EXPECT_EQ(editor::MeasureStitches(r).maxX, 244);
}

TEST_F(Drawing, ASewnLongStitchEndsTheJumpRunSoThePairAfterItIsSewn) {
  design::StitchRecord r;
  const auto s = vtest::StitchStreamBuilder()
                     .Stitch(50, 0)
                     .Jump(50, 0)   // a jump run begins: no line
                     .Jump(119, 0)  // a sewn long stitch ends it: drawn
                     .Stitch(10, 0) // sewn, not a landing: drawn
                     .End();
  r.SetColourCount(1);
  r.SetThreadCode(0, 1);
  std::copy(s.Bytes().begin(), s.Bytes().end(), r.Stitches());
  editor::DesignObject d;
  d.centreX = 100;
  d.centreY = 100;
  d.working = std::make_shared<design::StitchRecord>(r);
  d.source = d.working;
  d.halfWidth = d.halfHeight = d.placedHalfWidth = d.placedHalfHeight = 10;
  doc.AddDesign(d);
  view.OnCommand(editor::cmd::kGridLightGray);
  view.OnCommand(editor::cmd::kCentreLineBlack);
  vtest::RecordingCanvas canvas;
  view.OnDraw(canvas);
  std::vector<std::pair<int, int>> spans;
  for (const auto& l : LinesIn(canvas, design::ThreadCodeToRGB(1))) {
    spans.push_back({l.points[0].x, l.points[1].x});
  }
  EXPECT_EQ(spans, (std::vector<std::pair<int, int>>{{120, 130}, {140, 163}, {163, 165}}));
}

// At zoom 500 one stitch unit is one pixel: every line the view draws must be a segment
// the reference walker sews, in its colour block's thread colour, and nothing more.
TEST_F(Drawing, LinesDrawnAreExactlyTheSegmentsTheReferenceWalkerSews) {
  vtest::StitchStreamBuilder b;
  b.Stitch(3, 4).Stitch(-7, 2).Jump(30, -20).Jump(12, 5).Stitch(6, 6).Stitch(-4, 9);
  b.ColourChange().Stitch(8, -3).JumpAlt(-40, 10).Marker().Stitch(2, 2).Stitch(5, -5);
  b.Jump(119, 7).Stitch(-3, -3).Jump(10, 10).Jump(0, -119).Stitch(4, 1);
  b.ColourChange().Jump(25, 25).ColourChange().Stitch(1, 1).Stitch(9, 0).Control(0x21).Stitch(0, 9);
  b.End();
  const std::vector<int32_t> codes{1, 2, 3};
  design::StitchRecord r;
  r.SetColourCount(static_cast<int32_t>(codes.size()));
  for (std::size_t i = 0; i < codes.size(); ++i) r.SetThreadCode(static_cast<int>(i), codes[i]);
  std::copy(b.Bytes().begin(), b.Bytes().end(), r.Stitches());
  editor::DesignObject d;
  d.centreX = 100;
  d.centreY = 100;
  d.working = std::make_shared<design::StitchRecord>(r);
  d.source = d.working;
  d.halfWidth = d.halfHeight = d.placedHalfWidth = d.placedHalfHeight = 10;
  doc.AddDesign(d);
  view.OnCommand(editor::cmd::kGridLightGray);
  view.OnCommand(editor::cmd::kCentreLineBlack);
  view.SetZoom(500);
  vtest::RecordingCanvas canvas;
  view.OnDraw(canvas);

  const int originX = 100 * 5 + 20, originY = 100 * 5 + 20;
  std::vector<std::tuple<int, int, int, int, uint32_t>> expected, drawn;
  const vtest::WalkResult walk = vtest::WalkStitches(b.Bytes());
  for (const auto& s : walk.sewn) {
    const int block = std::min(s.colour, static_cast<int>(codes.size()) - 1);
    expected.emplace_back(originX + s.x0, originY - s.y0, originX + s.x1, originY - s.y1,
                          design::ThreadCodeToRGB(codes[block]));
  }
  for (const auto& l : canvas.Segments()) {
    if (l.penWidth != 1) continue;  // the layout's 2-pixel border
    drawn.emplace_back(l.points[0].x, l.points[0].y, l.points[1].x, l.points[1].y, l.colour);
  }
  EXPECT_EQ(drawn, expected);
  EXPECT_EQ(walk.longStitches, 2);
}

TEST_F(Drawing, SelectionFrameWithHandlesAndNothingDrawnDuringATransfer) {
  Place(100, 100, 200, 100);
  vtest::RecordingCanvas canvas;
  view.OnDraw(canvas);
  const auto polylines = canvas.Of(CanvasOp::kPolyline);
  ASSERT_EQ(polylines.size(), 7u);  // border, the frame's white halo, frame, four handles
  EXPECT_EQ(polylines[2].points.size(), 5u);
  EXPECT_EQ(polylines[2].points[0], (platform::CanvasPoint{120 - 22, 120 - 12}));
  EXPECT_EQ(polylines[2].colour, platform::kPaletteBlack);
  // The halo lies under the frame, wider, so the frame shows on a black background too.
  EXPECT_EQ(polylines[1].points, polylines[2].points);
  EXPECT_EQ(polylines[1].colour, platform::kPaletteWhite);
  EXPECT_GT(polylines[1].penWidth, polylines[2].penWidth);
  viewHost.transferBusy = true;
  canvas.Clear();
  view.OnDraw(canvas);
  EXPECT_EQ(canvas.Primitives().size(), 1u);
  EXPECT_EQ(canvas.Primitives()[0].op, CanvasOp::kFill);
  EXPECT_EQ(canvas.Primitives()[0].colour, 0x02FFFFEBu);
}

}  // namespace
