#include <gtest/gtest.h>

#include <algorithm>

#include "design/thread_colors.h"
#include "editor/command_ids.h"
#include "editor/template_commands.h"
#include "editor/tests/view_fixture.h"
#include "layoutcore/template_geometry.h"
#include "layoutcore/template_printer.h"
#include "platform/profile.h"
#include "testing/recording_canvas.h"
#include "testing/temp_dir.h"

namespace {

using editor::PrintPoint;
using platform::CanvasPoint;
using vtest::CanvasOp;
using vtest::CanvasPrimitive;

constexpr int kW = 2700;   // a 270 x 190 mm page
constexpr int kB = -1900;

TEST(TemplateGeometry, RotationRoundsHalfAwayFromZero) {
  EXPECT_EQ(editor::RotateVector(1000, 0, 90), (PrintPoint{0, 1000}));
  EXPECT_EQ(editor::RotateVector(0, 190, 270), (PrintPoint{190, 0}));
  EXPECT_EQ(editor::RotateVector(-250, 0, 180), (PrintPoint{250, 0}));
  // -7 x cos 45 = -4.95: rounded, not truncated.
  EXPECT_EQ(editor::RotateVector(-7, 0, 45), (PrintPoint{-5, -5}));
  EXPECT_EQ(editor::RotatePointAbout({100, -100}, {110, -100}, 90), (PrintPoint{100, -90}));
  EXPECT_EQ(editor::PrintAngle(0), 0);
  EXPECT_EQ(editor::PrintAngle(90), 270);
  EXPECT_EQ(editor::PrintAngle(270), 90);
}

TEST(TemplateGeometry, ATemplateLargerThanThePrintableAreaIsAskedAbout) {
  // A landscape sheet on A4 upright: 39 mm too wide.
  EXPECT_EQ(editor::CutTemplateQuestion(249, 180, {210, 297}),
            "The size of the template (249 x 180 mm) exceeds the printable area of the paper (210 x 297 mm).\n"
            "The template will be cut off.\n\nPrint anyway?");
  EXPECT_TRUE(editor::CutTemplateQuestion(249, 180, {279.4, 179.9}));  // a tenth too low
  // The paper it was measured on, and any larger one, print it whole.
  for (const editor::PrintableAreaMm area : {editor::PrintableAreaMm{249, 180}, {249.6, 180.9}, {297, 210}}) {
    EXPECT_FALSE(editor::CutTemplateQuestion(249, 180, area)) << area.width << " x " << area.height;
  }
}

TEST(TemplateGeometry, SheetOffsetsRunAcrossThenDown) {
  const editor::PrintPaper paper{kW, kB};
  EXPECT_EQ(editor::SheetOffset(1, 2, 2, paper), (PrintPoint{0, 0}));
  EXPECT_EQ(editor::SheetOffset(2, 2, 2, paper), (PrintPoint{kW, 0}));
  EXPECT_EQ(editor::SheetOffset(3, 2, 2, paper), (PrintPoint{0, kB}));  // the lower-left sheet
  EXPECT_EQ(editor::SheetOffset(4, 2, 2, paper), (PrintPoint{kW, kB}));
  EXPECT_EQ(editor::SheetOffset(2, 2, 1, paper), (PrintPoint{kW, 0}));
  EXPECT_EQ(editor::SheetOffset(2, 1, 2, paper), (PrintPoint{0, kB}));
  EXPECT_EQ(editor::SheetOffset(3, 3, 1, paper), (PrintPoint{2 * kW, 0}));
  EXPECT_EQ(editor::SheetOffset(3, 1, 3, paper), (PrintPoint{0, 2 * kB}));
  EXPECT_EQ(editor::SheetOffset(5, 3, 2, paper), (PrintPoint{kW, kB}));
  EXPECT_EQ(editor::SheetOffset(5, 2, 3, paper), (PrintPoint{0, 2 * kB}));
  EXPECT_EQ(editor::SheetOffset(9, 3, 3, paper), (PrintPoint{2 * kW, 2 * kB}));
  EXPECT_EQ(editor::SheetOffset(1, 1, 1, paper), (PrintPoint{0, 0}));
}

class TemplatePrinting : public ::testing::Test {
 protected:
  vtest::TempDir dir;
  edtest::FakeDocumentHost docHost;
  editor::CBroderaDoc doc{docHost};
  editor::CTemplatePrinter printer;
  vtest::RecordingCanvas canvas;

  TemplatePrinting() { platform::SetProfileRoot(dir.Path()); }
  ~TemplatePrinting() override { platform::SetProfileRoot({}); }

  void Begin(int colours = 256) {
    printer.BeginPrinting({270, 190, colours, [](const std::string&) { return editor::TextExtent{100, 30}; }});
  }

  // A 20 x 10 mm rectangle centred at the layout point, in the thread codes given.
  void Add(int32_t x, int32_t y, int32_t rotation = 0, std::vector<int32_t> codes = {5}) {
    editor::DesignObject d;
    d.centreX = x;
    d.centreY = y;
    d.rotation = rotation;
    editor::GiveNewRecords(d);
    edtest::FillRectangleDesign(*d.working, 200, 100, std::move(codes));
    doc.AddDesign(d);
  }

  std::vector<CanvasPrimitive> Lines(uint32_t colour, int width) const {
    std::vector<CanvasPrimitive> out;
    for (const auto& p : canvas.Of(CanvasOp::kLine)) {
      if (p.colour == colour && p.penWidth == width) out.push_back(p);
    }
    return out;
  }
  bool HasLine(CanvasPoint a, CanvasPoint b, uint32_t colour, int width) const {
    for (const auto& p : Lines(colour, width)) {
      if (p.points[0] == a && p.points[1] == b) return true;
    }
    return false;
  }
};

TEST_F(TemplatePrinting, OutlineTemplateHasPageCrossMarkLabelAndCropMarks) {
  Add(100, 100);
  Begin();
  canvas.Clear();
  printer.PrintPage(canvas, {1, {}}, doc);
  const uint32_t black = platform::kPaletteBlack, white = platform::kPaletteWhite;
  EXPECT_TRUE(HasLine({0, kB / 2}, {kW, kB / 2}, black, 1));
  EXPECT_TRUE(HasLine({kW / 2, 0}, {kW / 2, kB}, black, 1));
  // The design at layout (100, 100) lies at (500, -500): halo, then the mark.
  EXPECT_TRUE(HasLine({250, -500}, {750, -500}, white, 23));
  EXPECT_TRUE(HasLine({500, -310}, {500, -750}, white, 23));
  EXPECT_TRUE(HasLine({250, -500}, {750, -500}, black, 3));
  EXPECT_TRUE(HasLine({500, -310}, {500, -750}, black, 3));
  const auto polylines = canvas.Of(CanvasOp::kPolyline);
  const std::vector<CanvasPoint> arrow{{490, -310}, {500, -250}, {510, -310}};
  EXPECT_EQ(std::count_if(polylines.begin(), polylines.end(), [&](const CanvasPrimitive& p) { return p.points == arrow; }), 2);
  // The label to the right of and above the mark, on a white box one unit larger.
  const auto texts = canvas.Of(CanvasOp::kText);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "No.1");
  EXPECT_EQ(texts[0].points[0], (CanvasPoint{520, -300}));
  const auto fills = canvas.Of(CanvasOp::kFill);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].points[0], (CanvasPoint{519, -331}));
  EXPECT_EQ(fills[0].points[1], (CanvasPoint{621, -299}));
  EXPECT_EQ(fills[0].colour, white);
  // Crop marks, 10 mm at each corner, drawn last.
  const std::vector<std::vector<CanvasPoint>> crops{{{0, -100}, {0, 0}, {100, 0}},
                                                    {{kW - 101, 0}, {kW, 0}, {kW, -99}},
                                                    {{kW - 1, kB + 101}, {kW - 1, kB + 1}, {kW - 101, kB + 1}},
                                                    {{100, kB + 1}, {0, kB + 1}, {0, kB + 99}}};
  ASSERT_GE(polylines.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(polylines[polylines.size() - 4 + i].points, crops[i]);
}

TEST_F(TemplatePrinting, TheOutlineFollowsTheDesignsEdgeAtFullSize) {
  Add(100, 100);
  Begin();
  printer.PrintPage(canvas, {1, {}}, doc);
  // The outline: 1-unit black lines around the 20 x 10 mm rectangle at (500, -500), the
  // pen's width (2.5 mm) and a pixel's rounding beyond its stitches.
  int left = INT32_MAX, right = INT32_MIN, top = INT32_MIN, bottom = INT32_MAX;
  std::size_t count = 0;
  for (const auto& line : Lines(platform::kPaletteBlack, 1)) {
    if (line.points[0].x == kW / 2 || line.points[0].y == kB / 2) continue;  // the page cross
    for (const auto& p : line.points) {
      left = std::min(left, p.x), right = std::max(right, p.x);
      bottom = std::min(bottom, p.y), top = std::max(top, p.y);
    }
    ++count;
  }
  EXPECT_GT(count, 50u);
  EXPECT_NEAR(left, 400, 15);
  EXPECT_NEAR(right, 600, 15);
  EXPECT_NEAR(top, -450, 15);
  EXPECT_NEAR(bottom, -550, 15);
}

TEST_F(TemplatePrinting, LabelsMoveAwayFromThePagesTopAndRightEdges) {
  Add(10, 100);    // (50, -500): label beside the mark
  Add(530, 10);    // (2650, -50): near the top right corner
  Add(100, 370);   // (500, -1850): near the bottom
  Begin();
  printer.PrintPage(canvas, {1, {}}, doc);
  const auto texts = canvas.Of(CanvasOp::kText);
  ASSERT_EQ(texts.size(), 3u);
  // Drawn from the list's tail: the first added is No.1.
  EXPECT_EQ(texts[0].text, "No.1");
  EXPECT_EQ(texts[0].points[0], (CanvasPoint{70, -300}));
  EXPECT_EQ(texts[1].text, "No.2");
  EXPECT_EQ(texts[1].points[0], (CanvasPoint{2650 - 200, -50 - 200}));  // left, and below
  EXPECT_EQ(texts[2].text, "No.3");
  EXPECT_EQ(texts[2].points[0], (CanvasPoint{520, -1850 + 200}));
}

TEST_F(TemplatePrinting, PageThreeOfTwoByTwoShowsTheLowerLeftSheet) {
  doc.SetSheetLayout(2, 2);
  Add(100, 400);  // 200 mm down: on the lower sheets, 10 mm from their top
  Begin();
  EXPECT_EQ(editor::CTemplatePrinter::PageCount(doc), 4);
  printer.PrintPage(canvas, {3, {}}, doc);
  EXPECT_TRUE(HasLine({250, -100}, {750, -100}, platform::kPaletteBlack, 3));
  // Too near the page's top for a label above it: below the mark.
  EXPECT_EQ(canvas.Of(CanvasOp::kText)[0].points[0], (CanvasPoint{520, -300}));
  // A design left of a right-hand sheet gets its label right of the mark.
  canvas.Clear();
  printer.PrintPage(canvas, {4, {}}, doc);
  EXPECT_EQ(canvas.Of(CanvasOp::kText)[0].points[0], (CanvasPoint{500 - kW + 200, -300}));
}

TEST_F(TemplatePrinting, MarksTurnWithTheDesignButLabelsDoNot) {
  Add(100, 100, 90);  // a quarter turn clockwise on screen
  Begin();
  printer.PrintPage(canvas, {1, {}}, doc);
  EXPECT_TRUE(HasLine({500, -250}, {500, -750}, platform::kPaletteBlack, 3));
  EXPECT_TRUE(HasLine({690, -500}, {250, -500}, platform::kPaletteBlack, 3));
  const std::vector<CanvasPoint> arrow{{690, -490}, {750, -500}, {690, -510}};
  const auto polylines = canvas.Of(CanvasOp::kPolyline);
  EXPECT_TRUE(std::any_of(polylines.begin(), polylines.end(), [&](const CanvasPrimitive& p) { return p.points == arrow; }));
  EXPECT_EQ(canvas.Of(CanvasOp::kText)[0].points[0], (CanvasPoint{520, -300}));
}

TEST_F(TemplatePrinting, ColourViewPrintsOnlyTheStitchesAndTheCropMarks) {
  Add(100, 100, 0, {5, 12});
  printer.SetFlags(1, 1);
  Begin();
  printer.PrintPage(canvas, {1, {}}, doc);
  EXPECT_TRUE(canvas.Of(CanvasOp::kText).empty());
  EXPECT_TRUE(canvas.Of(CanvasOp::kFill).empty());
  EXPECT_EQ(canvas.Of(CanvasOp::kPolyline).size(), 4u);  // the crop marks alone
  EXPECT_TRUE(Lines(platform::kPaletteBlack, 1).empty());  // no page cross
  const uint32_t first = design::ThreadIndexToRGB(design::ThreadCodeToIndex(5));
  const uint32_t second = design::ThreadIndexToRGB(design::ThreadCodeToIndex(12));
  EXPECT_FALSE(Lines(first, 5).empty());
  EXPECT_FALSE(Lines(second, 5).empty());
  // The rectangle's stitches stay inside its 20 x 10 mm about (500, -500).
  for (const auto& line : canvas.Of(CanvasOp::kLine)) {
    for (const auto& p : line.points) {
      EXPECT_GE(p.x, 400);
      EXPECT_LE(p.x, 600);
      EXPECT_GE(p.y, -550);
      EXPECT_LE(p.y, -450);
    }
  }
}

TEST_F(TemplatePrinting, ABlackAndWhitePrinterGetsGrayLevels) {
  Add(100, 100, 0, {5});
  printer.SetFlags(1, 0);
  Begin(2);
  EXPECT_TRUE(printer.Monochrome());
  printer.PrintPage(canvas, {1, {}}, doc);
  const uint32_t colour = design::ThreadIndexToRGB(design::ThreadCodeToIndex(5));
  const auto level = static_cast<uint8_t>((59 * platform::PaletteGreen(colour) + 30 * platform::PaletteRed(colour) +
                                           11 * platform::PaletteBlue(colour)) / 100);
  const uint32_t gray = platform::PaletteRgb(level, level, level);
  EXPECT_FALSE(Lines(gray, 5).empty());
  EXPECT_TRUE(Lines(colour, 5).empty() || colour == gray);
}

TEST_F(TemplatePrinting, ThreadsWithoutAPrintColourPrintBlack) {
  Begin();
  // "Any" sits past the 78 print colours; 999 is no thread at all.
  EXPECT_EQ(printer.PrintColour(design::ThreadIndexToCode(design::kAnyThreadIndex)), platform::kPaletteBlack);
  EXPECT_EQ(printer.PrintColour(999), platform::kPaletteBlack);
  EXPECT_EQ(printer.PrintColour(design::ThreadIndexToCode(editor::kPaperWhiteThreadIndex)),
            editor::kPaperWhiteThreadColour);
}

TEST_F(TemplatePrinting, PreviewSkipsDesignsOutsideTheShownArea) {
  Add(100, 100);
  printer.SetFlags(1, 0);
  Begin();
  const uint32_t colour = design::ThreadIndexToRGB(design::ThreadCodeToIndex(5));
  printer.PrintPage(canvas, {1, editor::PrintArea{2000, -1500, 2700, -1900}}, doc);
  EXPECT_TRUE(Lines(colour, 5).empty());
  EXPECT_FALSE(canvas.Of(CanvasOp::kText).empty());  // the mark and label still print
  canvas.Clear();
  // The hoop frame reaches 70 mm right of the centre: that is enough to be drawn.
  printer.PrintPage(canvas, {1, editor::PrintArea{1150, -1500, 2700, -1900}}, doc);
  EXPECT_FALSE(Lines(colour, 5).empty());
}

class TemplateModes : public TemplatePrinting {
 protected:
  struct Host : editor::PrintHost {
    int prints = 0, previews = 0;
    void PrintTemplate() override { ++prints; }
    void PreviewTemplate() override { ++previews; }
  } host;
  editor::TemplateCommands commands{printer, doc};
};

TEST_F(TemplateModes, EachModeSetsBothFlagsTicksItselfAndNamesItselfInThePane) {
  commands.RunCommand(editor::cmd::kColourTemplate);
  EXPECT_EQ(printer.ColourFlag(), 1);
  EXPECT_EQ(printer.ViewFlag(), 0);
  EXPECT_TRUE(commands.QueryCommand(editor::cmd::kColourTemplate).checked);
  EXPECT_FALSE(commands.QueryCommand(editor::cmd::kOutlineTemplate).checked);
  EXPECT_EQ(commands.PaneText(editor::cmd::kPaneTemplate), "Color Template");
  commands.RunCommand(editor::cmd::kColourView);
  EXPECT_TRUE(commands.QueryCommand(editor::cmd::kColourView).checked);
  EXPECT_FALSE(commands.QueryCommand(editor::cmd::kColourTemplate).checked);
  EXPECT_EQ(commands.PaneText(editor::cmd::kPaneTemplate), "Color View");
  commands.RunCommand(editor::cmd::kOutlineTemplate);
  EXPECT_EQ(printer.ColourFlag(), 0);
  EXPECT_EQ(printer.ViewFlag(), 0);
  EXPECT_EQ(commands.PaneText(editor::cmd::kPaneTemplate), "Outline Template");
  EXPECT_FALSE(commands.PaneText(editor::cmd::kPaneZoom).has_value());
}

TEST_F(TemplateModes, FlagsComeFromTheProfileAndGoBack) {
  platform::Profile profile("Brodera");
  profile.WriteInt("Print", "Color", 1);
  profile.WriteInt("Print", "View", 7);  // not a flag: read as 0
  commands.LoadFlags("Brodera");
  EXPECT_EQ(printer.ColourFlag(), 1);
  EXPECT_EQ(printer.ViewFlag(), 0);
  commands.RunCommand(editor::cmd::kColourView);
  commands.SaveFlags("Brodera");
  EXPECT_EQ(platform::Profile("Brodera").GetInt("Print", "View", -1), 1);
  EXPECT_EQ(platform::Profile("Brodera").GetInt("Print", "Color", -1), 1);
}

TEST_F(TemplateModes, PrintingNeedsDesignsAndAPrinterWindow) {
  EXPECT_FALSE(commands.QueryCommand(editor::cmd::kFilePrint).enabled);
  commands.SetPrintHost(&host);
  EXPECT_FALSE(commands.QueryCommand(editor::cmd::kFilePrintPreview).enabled);
  Add(100, 100);
  EXPECT_TRUE(commands.QueryCommand(editor::cmd::kFilePrint).enabled);
  commands.RunCommand(editor::cmd::kFilePrint);
  commands.RunCommand(editor::cmd::kFilePrintPreview);
  EXPECT_EQ(host.prints, 1);
  EXPECT_EQ(host.previews, 1);
}

}  // namespace

namespace {

TEST_F(TemplatePrinting, ColourStitchesStopAfterTheSeventyEighthColour) {
  editor::DesignObject d;
  d.centreX = 100;
  d.centreY = 100;
  editor::GiveNewRecords(d);
  vtest::StitchStreamBuilder stream;
  for (int block = 0; block < 80; ++block) {
    if (block > 0) stream.ColourChange();
    stream.Stitch(block % 2 ? -10 : 10, 0);
  }
  stream.End();
  std::memcpy(d.working->Stitches(), stream.Bytes().data(), stream.Bytes().size());
  d.working->SetPairCount(static_cast<int32_t>(stream.Pairs()));
  printer.SetFlags(1, 1);
  Begin();
  printer.DrawStitchesForPrint(canvas, *d.working, {500, -500}, 0);
  const auto lines = canvas.Of(CanvasOp::kLine);
  ASSERT_EQ(lines.size(), 78u);
  EXPECT_EQ(lines[0].points[0], (CanvasPoint{500, -500}));
  EXPECT_EQ(lines[0].points[1], (CanvasPoint{510, -500}));
  EXPECT_EQ(lines[0].penWidth, 5);
}

}  // namespace

namespace {

TEST_F(TemplatePrinting, BothJumpCodesMoveWithoutALineAndTheLandingIsNotSewn) {
  design::StitchRecord record;
  vtest::StitchStreamBuilder stream;
  stream.Stitch(10, 0).Jump(0, 50).Stitch(0, 10).Stitch(10, 0).JumpAlt(0, 50).Stitch(0, 10).Stitch(10, 0).End();
  std::memcpy(record.Stitches(), stream.Bytes().data(), stream.Bytes().size());
  Begin();
  printer.DrawStitchesForPrint(canvas, record, {0, 0}, 0);
  std::vector<std::pair<CanvasPoint, CanvasPoint>> lines;
  for (const auto& line : canvas.Of(CanvasOp::kLine)) lines.emplace_back(line.points[0], line.points[1]);
  const std::vector<std::pair<CanvasPoint, CanvasPoint>> expected{
      {{0, 0}, {10, 0}}, {{10, 60}, {20, 60}}, {{20, 120}, {30, 120}}};
  EXPECT_EQ(lines, expected);
}

}  // namespace
