#include "hooplayout/template_pages.h"

#include <gtest/gtest.h>

#include "hooplayout/tests/design_builder.h"
#include "layoutcore/tests/fake_document_host.h"
#include "testing/recording_canvas.h"
#include "testing/stitch_stream_builder.h"

using hooplayout::PlaceOnPage;
using vtest::CanvasOp;
using vtest::CanvasPrimitive;

namespace {

std::vector<uint8_t> Hook() { return vtest::StitchStreamBuilder().Stitch(10, 0).Stitch(0, 10).End().Bytes(); }

struct TemplatePages : ::testing::Test {
  edtest::FakeDocumentHost docHost;
  hooplayout::CVantleDoc doc{docHost};
  editor::CTemplatePrinter printer;
  hooplayout::VantleTemplatePages pages{printer};

  TemplatePages() {
    printer.SetFlags(1, 0);
    printer.BeginPrinting({200, 290, 16, [](const std::string&) { return editor::TextExtent{10, 10}; }});
    doc.SetTitle("Roses.arg");
  }
  ~TemplatePages() override { printer.EndPrinting(); }

  std::vector<CanvasPrimitive> Print(int page, std::optional<editor::PrintArea> visible = std::nullopt) {
    vtest::RecordingCanvas canvas;
    pages.PrintPage(canvas, page, doc, visible);
    return canvas.Primitives();
  }
  static std::vector<CanvasPrimitive> StitchLines(const std::vector<CanvasPrimitive>& all) {
    std::vector<CanvasPrimitive> out;
    for (const auto& p : all) {
      if (p.op == CanvasOp::kLine && p.penWidth == editor::kPrintStitchPenWidth) out.push_back(p);
    }
    return out;
  }
  static std::vector<std::string> Texts(const std::vector<CanvasPrimitive>& all) {
    std::vector<std::string> out;
    for (const auto& p : all) {
      if (p.op == CanvasOp::kText) out.push_back(p.text);
    }
    return out;
  }
};

}  // namespace

TEST_F(TemplatePages, DesignsGoToThePageOfTheirPositionAndAnEmptyPageStaysBlank) {
  doc.AddDesign(hltest::Design("b", 100, 200, Hook()));  // stitch x 500: left of space A
  EXPECT_TRUE(Print(1).empty());
  const auto page2 = Print(2);
  EXPECT_EQ(doc.GetPrintListA().size(), 0u);
  ASSERT_EQ(doc.GetPrintListB().size(), 1u);
  EXPECT_EQ(Texts(page2), (std::vector<std::string>{"PAGE 2", "Roses.arg"}));
  const auto lines = StitchLines(page2);
  ASSERT_EQ(lines.size(), 2u);
  // Page 2 starts at the layout's left edge; y upward from the top of the field.
  EXPECT_EQ(lines[0].points, (std::vector<platform::CanvasPoint>{{500, -1000}, {510, -1000}}));
  EXPECT_EQ(lines[1].points, (std::vector<platform::CanvasPoint>{{510, -1000}, {510, -990}}));
  EXPECT_EQ(lines[0].colour, printer.PrintColour(3));

  bool field = false;
  for (const auto& p : page2) {
    if (p.op == CanvasOp::kRectangle && p.penWidth == 2) {
      field = p.points == std::vector<platform::CanvasPoint>{{0, -2000}, {1400, 0}};
    }
  }
  EXPECT_TRUE(field);
}

TEST_F(TemplatePages, SpaceADesignsAreShiftedByTheOverlapAndListedHeadFirst) {
  doc.AddDesign(hltest::Design("first", 300, 100, Hook()));
  doc.AddDesign(hltest::Design("second", 320, 100, Hook()));
  const auto page1 = Print(1);
  ASSERT_EQ(doc.GetPrintListA().size(), 2u);
  // The design list runs head first; each is put at the head of its print list.
  EXPECT_EQ(doc.GetPrintListA().front(), &doc.GetDesignList().back());
  EXPECT_EQ(StitchLines(page1).front().points.front(), (platform::CanvasPoint{300 * 5 - 900, -500}));
  EXPECT_EQ(Texts(page1).front(), "PAGE 1");
  EXPECT_TRUE(Print(2).empty());
}

TEST_F(TemplatePages, ARotatedDesignTurnsAboutItsCentre) {
  hooplayout::LayoutDesign d = hltest::Design("r", 100, 200, Hook());
  d.angle = 90;
  d.startOffsetX = 10;  // the start 5 mm right of the centre before turning
  const hooplayout::PagePlacement place = PlaceOnPage(d, 2);
  EXPECT_EQ(place.start, (editor::PrintPoint{500, -1000}));
  EXPECT_EQ(place.printAngle, 270);
  // Turned a quarter clockwise on paper, the offset (50, 0) points down: the centre is above.
  EXPECT_EQ(place.centre, (editor::PrintPoint{500, -950}));

  doc.AddDesign(d);
  const auto lines = StitchLines(Print(2));
  ASSERT_FALSE(lines.empty());
  // The first stitch (10, 0) runs downward on paper, as it does on screen.
  EXPECT_EQ(lines[0].points, (std::vector<platform::CanvasPoint>{{500, -1000}, {500, -1010}}));
}

TEST_F(TemplatePages, ColourChangesBeyondTheThreadTableKeepTheLastColour) {
  const auto stitches =
      vtest::StitchStreamBuilder().Stitch(10, 0).ColourChange().Stitch(10, 0).ColourChange().Stitch(10, 0).End().Bytes();
  hooplayout::LayoutDesign d = hltest::Design("c", 100, 200, stitches, {3, 9});
  d.working->SetColourCount(2);
  doc.AddDesign(d);
  const auto lines = StitchLines(Print(2));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].colour, printer.PrintColour(3));
  EXPECT_EQ(lines[1].colour, printer.PrintColour(9));
  EXPECT_EQ(lines[2].colour, printer.PrintColour(9));

  // A record from a file claiming more colours than it has slots reads no further.
  doc.GetDesignList().front().working->SetColourCount(32000);
  EXPECT_EQ(StitchLines(Print(2)).size(), 3u);
}

TEST_F(TemplatePages, PreviewSkipsDesignsOutOfSightButKeepsTheMarks) {
  doc.AddDesign(hltest::Design("b", 100, 200, Hook()));
  const auto page = Print(2, editor::PrintArea{5000, -5000, 6000, -6000});
  EXPECT_TRUE(StitchLines(page).empty());
  EXPECT_EQ(Texts(page).size(), 2u);
}

TEST_F(TemplatePages, OutlineModeDrawsTheTracedEdgeInThinBlackLines) {
  printer.SetFlags(0, 0);
  vtest::StitchStreamBuilder square;
  for (int i = 0; i < 4; ++i) square.Stitch(100, 0);
  for (int i = 0; i < 4; ++i) square.Stitch(0, -100);
  for (int i = 0; i < 4; ++i) square.Stitch(-100, 0);
  for (int i = 0; i < 4; ++i) square.Stitch(0, 100);
  hooplayout::LayoutDesign d = hltest::Design("o", 100, 200, square.End().Bytes());
  d.startOffsetX = -40;  // the start 20 mm left of the centre
  doc.AddDesign(d);
  const auto page = Print(2);
  EXPECT_TRUE(StitchLines(page).empty());
  // The outline comes before the page's marks, which begin with the dotted overlap line.
  int minX = INT32_MAX, maxX = INT32_MIN, minY = INT32_MAX, maxY = INT32_MIN;
  for (const auto& p : page) {
    if (p.penStyle == platform::PenStyle::kDotted) break;
    ASSERT_EQ(p.op, CanvasOp::kLine);
    EXPECT_EQ(p.colour, platform::kPaletteBlack);
    for (const auto& q : p.points) {
      minX = std::min(minX, q.x);
      maxX = std::max(maxX, q.x);
      minY = std::min(minY, q.y);
      maxY = std::max(maxY, q.y);
    }
  }
  // The traced square stands where the stitches are: x 500..900, y -1400..-1000.
  EXPECT_NEAR(minX, 500, 15);
  EXPECT_NEAR(maxX, 900, 15);
  EXPECT_NEAR(minY, -1400, 15);
  EXPECT_NEAR(maxY, -1000, 15);
}

TEST_F(TemplatePages, TheOverlapsCentreLinesAreDashDotAndItsEdgeDotted) {
  doc.AddDesign(hltest::Design("a", 300, 200, Hook()));
  doc.AddDesign(hltest::Design("b", 100, 200, Hook()));
  using Segment = std::pair<platform::CanvasPoint, platform::CanvasPoint>;
  struct Expected {
    int page;
    std::vector<Segment> dashDot;
    int dottedX;
  };
  for (const Expected& e : {Expected{1, {{{0, -1000}, {500, -1000}}, {{250, -600}, {250, -1400}}}, 500},
                            Expected{2, {{{900, -1000}, {1400, -1000}}, {{1150, -600}, {1150, -1400}}}, 900}}) {
    std::vector<Segment> dashDot;
    std::vector<int> dottedX;
    for (const auto& p : Print(e.page)) {
      if (p.op != CanvasOp::kLine) continue;
      if (p.penStyle == platform::PenStyle::kDashDot) dashDot.push_back({p.points[0], p.points[1]});
      if (p.penStyle == platform::PenStyle::kDotted) dottedX.push_back(p.points[0].x);
    }
    ASSERT_EQ(dashDot.size(), e.dashDot.size()) << e.page;
    for (std::size_t i = 0; i < dashDot.size(); ++i) {
      EXPECT_EQ(dashDot[i].first.x, e.dashDot[i].first.x) << e.page;
      EXPECT_EQ(dashDot[i].first.y, e.dashDot[i].first.y) << e.page;
      EXPECT_EQ(dashDot[i].second.x, e.dashDot[i].second.x) << e.page;
      EXPECT_EQ(dashDot[i].second.y, e.dashDot[i].second.y) << e.page;
    }
    EXPECT_EQ(dottedX, std::vector<int>{e.dottedX}) << e.page;
  }
}
