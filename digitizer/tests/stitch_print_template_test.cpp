#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "design/thread_colors.h"
#include "digitizer/stitch_print_template.h"
#include "digitizer/stitch_view_drawing.h"
#include "testing/recording_canvas.h"
#include "testing/stitch_stream_builder.h"
#include "testing/stitch_walker.h"

namespace digitizer {
namespace {

using platform::CanvasPoint;
using platform::CanvasRect;
using platform::PenStyle;
using vtest::CanvasOp;

void Load(CStitchDesign& design, const std::vector<uint8_t>& bytes, const std::vector<int>& codes) {
  auto record = std::make_unique<design::StitchRecord>(design::StitchRecord::kPictorelStitchRoom);
  std::copy(bytes.begin(), bytes.end(), record->StitchArea().begin());
  record->SetPairCount(static_cast<int32_t>(bytes.size() / 2));
  record->SetColourCount(static_cast<int32_t>(codes.size()));
  for (std::size_t i = 0; i < codes.size(); ++i) record->SetThreadCode(static_cast<int>(i), codes[i]);
  design.AttachStitches(std::move(record));
}

// Blocks of a few stitches each, one per code.
std::vector<uint8_t> Blocks(int count) {
  vtest::StitchStreamBuilder b;
  for (int i = 0; i < count; ++i) {
    if (i > 0) b.ColourChange();
    b.Stitch(20, 0).Stitch(0, 20).Jump(-30, 10).Stitch(5, 5);
  }
  return b.End().Bytes();
}

// A page of 20 cm x 27 cm in 0.1 mm.
constexpr CanvasRect kPage{0, 0, 2000, 2700};

TEST(StitchPrintTemplate, FiveBlocksFillOneRowAndStartTheNext) {
  CStitchDesign design;
  Load(design, Blocks(5), {1, 2, 3, 4, 5});
  const PrintLayout l = LayoutPrintPage(design, kPage);
  EXPECT_EQ(l.cellWidth, 400);
  EXPECT_EQ(l.cellHeight, 400);
  EXPECT_EQ(l.innerWidth, 340);
  EXPECT_EQ(l.rows, 2);
  // 2700 - 1100 - 200 = 1400 below the outline: three rows.
  EXPECT_EQ(l.rowsOnFirstPage, 3);
  EXPECT_EQ(l.pages, 1);

  vtest::RecordingCanvas canvas;
  DrawForPrint(design, canvas, 1, kPage);
  const auto cells = canvas.Of(CanvasOp::kFill);
  ASSERT_EQ(cells.size(), 5u);
  const int rowTop = 1100 + 250;
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(cells[k].points[0], (CanvasPoint{400 * (k + 1) - 340 + 200, rowTop}));
  }
  EXPECT_EQ(cells[4].points[0], (CanvasPoint{260, rowTop + 400}));
  const auto labels = canvas.Of(CanvasOp::kText);
  ASSERT_EQ(labels.size(), 5u);
  EXPECT_EQ(labels[0].points[0], (CanvasPoint{270, rowTop - 32}));
  EXPECT_EQ(labels[3].text, CellLabel(4));
  EXPECT_NE(CellLabel(4).find(" ("), std::string::npos);
  EXPECT_EQ(CellLabel(4).back(), ')');
  EXPECT_EQ(CellLabel(999), "");
}

TEST(StitchPrintTemplate, ManyBlocksGoOnFurtherPagesAndNarrowPagesEnd) {
  CStitchDesign design;
  std::vector<int> codes(40);
  for (int i = 0; i < 40; ++i) codes[i] = i + 1;
  Load(design, Blocks(40), codes);
  const PrintLayout l = LayoutPrintPage(design, kPage);
  EXPECT_EQ(l.rows, 10);
  EXPECT_EQ(l.rowsPerPage, 6);  // (2700 - 200) / 400
  EXPECT_EQ(l.pages, 1 + 2);    // 3 rows, then 6, then 1

  vtest::RecordingCanvas canvas;
  DrawForPrint(design, canvas, 3, kPage);
  const auto cells = canvas.Of(CanvasOp::kFill);
  ASSERT_EQ(cells.size(), 4u);  // blocks 37..40
  EXPECT_EQ(cells[0].points[0].y, 150);
  EXPECT_EQ(canvas.Of(CanvasOp::kText).at(0).text, CellLabel(37));
  canvas.Clear();
  DrawForPrint(design, canvas, 4, kPage);
  EXPECT_TRUE(canvas.Primitives().empty());

  // Too narrow for a cell: no pages. Too short for a row: still one row a page.
  EXPECT_EQ(LayoutPrintPage(design, {0, 0, 400, 2700}).pages, 0);
  const PrintLayout shortPage = LayoutPrintPage(design, {0, 0, 2000, 300});
  EXPECT_EQ(shortPage.rowsPerPage, 1);
  EXPECT_EQ(shortPage.pages, 1 + 10);  // the outline fills page 1
}

TEST(StitchPrintTemplate, CellsDrawOnlyTheirBlocksStitchesScaledIntoTheCell) {
  CStitchDesign design;
  const std::vector<uint8_t> bytes = Blocks(3);
  Load(design, bytes, {7, 2, 9});
  vtest::RecordingCanvas canvas;
  DrawForPrint(design, canvas, 1, kPage);
  const vtest::WalkResult walk = vtest::WalkStitches(bytes);
  std::vector<vtest::CanvasPrimitive> cellLines;
  for (const auto& p : canvas.Of(CanvasOp::kLine)) {
    if (p.penWidth == 2 && p.colour != platform::kPaletteBlack && p.colour != platform::kPaletteWhite) {
      cellLines.push_back(p);
    }
  }
  ASSERT_EQ(cellLines.size(), walk.sewn.size());
  const int rowTop = 1350;
  for (std::size_t i = 0; i < cellLines.size(); ++i) {
    const vtest::SewnSegment& s = walk.sewn[i];
    const int left = 400 * (s.colour + 1) - 340 + 200;
    // Design point (550 + x, 550 - y) in 0.1 mm, scaled by 340 / 1100.
    const CanvasPoint to{left + (550 + s.x1) * 340 / 1100, rowTop + (550 - s.y1) * 340 / 1100};
    EXPECT_EQ(cellLines[i].points[1], to) << i;
    const platform::PaletteColour want =
        s.colour == 1 ? kPaleThreadOnPaper : design::GetThreadColor(s.colour == 0 ? 7 : 9);
    EXPECT_EQ(cellLines[i].colour, want) << i;
  }
  const auto dotted = canvas.Of(CanvasOp::kLine);
  EXPECT_EQ(std::count_if(dotted.begin(), dotted.end(),
                          [](const auto& p) { return p.penStyle == PenStyle::kDotted; }),
            2 * walk.jumps);  // each jump and the landing after it
}

TEST(StitchPrintTemplate, OutlineTracesTheStitchedBorderAndMarksTheCentre) {
  CStitchDesign design;
  vtest::StitchStreamBuilder b;
  b.Stitch(100, 0).Stitch(0, -100).Stitch(-100, 0).Stitch(0, 100);
  Load(design, b.End().Bytes(), {1});
  vtest::RecordingCanvas canvas;
  DrawForPrint(design, canvas, 1, kPage);
  const auto polylines = canvas.Of(CanvasOp::kPolyline);
  ASSERT_GE(polylines.size(), 2u);  // the traced border and the circle
  // Every traced point lies on the square's band, centred on the page: the square spans
  // 550..650 across and 550..650 down in 0.1 mm, plus the pen's pixel either side.
  const int left = (2000 - 1100) / 2;
  for (std::size_t i = 0; i + 1 < polylines.size(); ++i) {
    EXPECT_EQ(polylines[i].penWidth, 1);
    for (const CanvasPoint& p : polylines[i].points) {
      EXPECT_GE(p.x, left + 545);
      EXPECT_LE(p.x, left + 655);
      EXPECT_GE(p.y, 150 + 545);
      EXPECT_LE(p.y, 150 + 655);
    }
  }
  // The centre cross: white under-strokes then black ones, the vertical first.
  const auto lines = canvas.Of(CanvasOp::kLine);
  ASSERT_GE(lines.size(), 8u);
  EXPECT_EQ(lines[0].colour, platform::kPaletteWhite);
  EXPECT_EQ(lines[0].penWidth, 12);
  EXPECT_EQ(lines[0].points[0], (CanvasPoint{left + 550, 150 + 550 - 250}));
  EXPECT_EQ(lines[0].points[1], (CanvasPoint{left + 550, 150 + 550 + 250}));
  EXPECT_EQ(lines[4].colour, platform::kPaletteBlack);
  EXPECT_EQ(lines[4].penWidth, 2);
  EXPECT_EQ(lines[6].points[1], (CanvasPoint{left + 540, 150 + 550 - 190}));
}

TEST(StitchPrintTemplate, AStraightStitchPartIsOutlinedWithTheThinPen) {
  // One 20 mm straight-stitch line (type 9, 2.0 mm stitches): its outline is one pixel tall.
  CStitchDesign design;
  vtest::StitchStreamBuilder b;
  for (int i = 0; i < 10; ++i) b.Stitch(20, 0);
  Load(design, b.End().Bytes(), {1});
  design.Record()->SetThreadType(0, 0x1409);
  design.SetEditState(kStitchesFromParts);
  vtest::RecordingCanvas canvas;
  DrawForPrint(design, canvas, 1, kPage);
  const auto polylines = canvas.Of(CanvasOp::kPolyline);
  ASSERT_GE(polylines.size(), 2u);
  int top = 1 << 30, bottom = -(1 << 30);
  for (std::size_t i = 0; i + 1 < polylines.size(); ++i) {
    for (const CanvasPoint& p : polylines[i].points) top = std::min(top, p.y), bottom = std::max(bottom, p.y);
  }
  EXPECT_LE(bottom - top, 2) << "a three-pixel pen would give a band 5 units tall";
}

TEST(StitchPrintTemplate, HeaderSkipsAnUntitledDocumentAndTheFooterNumbersThePage) {
  vtest::RecordingCanvas canvas;
  DrawPrintHeaderFooter(canvas, "Untitled", 2, kPage);
  auto texts = canvas.Of(CanvasOp::kText);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "- 2 -");
  EXPECT_EQ(texts[0].points[0].y, 2800);
  canvas.Clear();
  DrawPrintHeaderFooter(canvas, "rose.qnf", 1, kPage);
  texts = canvas.Of(CanvasOp::kText);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "rose.qnf");
  EXPECT_EQ(texts[0].points[0], (CanvasPoint{70, 70}));

  CStitchDesign design;
  Load(design, Blocks(5), {1, 2, 3, 4, 5});
  canvas.Clear();
  EXPECT_EQ(PrintTemplatePage(design, canvas, "rose.qnf", 1, kPage), 1);
  EXPECT_EQ(canvas.Of(CanvasOp::kText).size(), 2u + 5u);
  EXPECT_EQ(canvas.Of(CanvasOp::kFill).size(), 5u);
}

}  // namespace
}  // namespace digitizer
