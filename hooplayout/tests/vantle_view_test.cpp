#include "hooplayout/vantle_view.h"

#include <gtest/gtest.h>

#include "design/thread_colors.h"
#include "hooplayout/arg_file.h"
#include "hooplayout/tests/design_builder.h"
#include "layoutcore/tests/fake_document_host.h"
#include "platform/file_io.h"
#include "platform/le_bytes.h"
#include "platform/profile.h"
#include "testing/recording_canvas.h"
#include "testing/recording_message_box.h"
#include "testing/stitch_stream_builder.h"
#include "testing/temp_dir.h"

namespace {

using hooplayout::CVantleView;
using hooplayout::PixelPoint;
using hooplayout::ViewCursor;
using vtest::CanvasOp;

struct FakeViewHost : hooplayout::VantleViewHost {
  PixelPoint scroll, client{300, 300}, cursor;
  std::pair<int, int> scrollSize;
  std::vector<PixelPoint> scrolledTo;
  std::vector<hooplayout::PixelRect> invalidated;
  int redraws = 0;
  std::vector<PixelPoint> pictures;
  std::optional<hooplayout::PrinterAreaMm> printer;
  std::vector<bool> portraitAsked;
  std::vector<hooplayout::PageSize> appPages;
  std::optional<int> zoomAnswer;
  std::optional<hooplayout::BackgroundSettings> backgroundAnswer;
  bool busy = false;

  PixelPoint ScrollPosition() override { return scroll; }
  PixelPoint ClientSize() override { return client; }
  PixelPoint CursorPosition() override { return cursor; }
  void SetScrollSize(int w, int h) override { scrollSize = {w, h}; }
  void ScrollTo(PixelPoint p) override { scrolledTo.push_back(p); }
  void Invalidate(const hooplayout::PixelRect& r) override { invalidated.push_back(r); }
  void RedrawAll() override { ++redraws; }
  void DrawPicture(const hooplayout::BackgroundPicture&, int x, int y) override { pictures.push_back({x, y}); }
  std::optional<hooplayout::PrinterAreaMm> DefaultPrinterArea(bool portrait) override {
    portraitAsked.push_back(portrait);
    return printer;
  }
  void SetApplicationPageSize(hooplayout::PageSize page) override { appPages.push_back(page); }
  std::optional<int> RunCustomZoomDialog(int) override { return zoomAnswer; }
  bool RunBackgroundDialog(hooplayout::BackgroundSettings& s) override {
    if (!backgroundAnswer) return false;
    s = *backgroundAnswer;
    return true;
  }
  bool TransferBusy() override { return busy; }
};

struct ProfileRoot {
  explicit ProfileRoot(const std::filesystem::path& p) { platform::SetProfileRoot(p); }
  ~ProfileRoot() { platform::SetProfileRoot({}); }
};

struct VantleView : ::testing::Test {
  vtest::TempDir dir;
  ProfileRoot root{dir.Path()};
  vtest::RecordingMessageBox box;
  edtest::FakeDocumentHost docHost;
  hooplayout::CVantleDoc doc{docHost};
  FakeViewHost host;
  std::optional<CVantleView> view;

  void SetUp() override { view.emplace(doc, host, "/opt/vantle/"); }

  hooplayout::DesignPosition Add(int32_t startX, int32_t startY, const std::vector<uint8_t>& s,
                                 std::vector<int16_t> codes = {3}) {
    return doc.AddDesign(hltest::Design("d", startX, startY, s, codes));
  }
  std::vector<vtest::CanvasPrimitive> Paint(platform::CanvasRect clip = {0, 0, 600, 500}) {
    vtest::RecordingCanvas canvas;
    view->OnPaint(canvas, clip);
    return canvas.Primitives();
  }
  static std::vector<vtest::CanvasPrimitive> Lines(const std::vector<vtest::CanvasPrimitive>& all,
                                                   platform::PenStyle style = platform::PenStyle::kSolid) {
    // Stitches come as line runs: each neighbouring pair of points is one line.
    std::vector<vtest::CanvasPrimitive> out;
    for (const auto& p : all) {
      if (p.penStyle != style) continue;
      if (p.op == CanvasOp::kLine) out.push_back(p);
      if (p.op != CanvasOp::kLineRun) continue;
      for (std::size_t i = 1; i < p.points.size(); ++i) {
        vtest::CanvasPrimitive line = p;
        line.op = CanvasOp::kLine;
        line.points = {p.points[i - 1], p.points[i]};
        out.push_back(line);
      }
    }
    return out;
  }
};

TEST(VantlePage, PrinterPageIsDoubledMillimetresUnlessBelowTheDefault) {
  using hooplayout::PageSizeFromPrinter;
  EXPECT_EQ(PageSizeFromPrinter(std::nullopt).width, 498);
  EXPECT_EQ(PageSizeFromPrinter(std::nullopt).height, 360);
  const auto a4 = PageSizeFromPrinter(hooplayout::PrinterAreaMm{200, 287});
  EXPECT_EQ(a4.width, 498);
  EXPECT_EQ(a4.height, 574);
  const auto wide = PageSizeFromPrinter(hooplayout::PrinterAreaMm{300, 178});
  EXPECT_EQ(wide.width, 600);
  EXPECT_EQ(wide.height, 360);
}

TEST_F(VantleView, PrintSwitchesAreReadAsZeroOrOneAndWrittenBack) {
  view.reset();
  platform::Profile profile("Tessaly");
  profile.WriteInt("Print", "Color", 1);
  profile.WriteInt("Print", "View", 7);
  view.emplace(doc, host, "/opt/vantle/");
  EXPECT_TRUE(view->PrintInColour());
  EXPECT_FALSE(view->PrintView());
  view.reset();
  EXPECT_EQ(profile.GetInt("Print", "View", -1), 0);
  EXPECT_EQ(profile.GetInt("Print", "Color", -1), 1);
}

TEST_F(VantleView, InitialUpdateSetsScrollSizesPortraitPageAndRebuildsOldLayouts) {
  host.printer = hooplayout::PrinterAreaMm{260, 190};
  const auto corner = vtest::StitchStreamBuilder().Stitch(40, 0).Stitch(0, -20).End().Bytes();
  std::list<hooplayout::LayoutDesign> list{hltest::Design("old", 200, 100, corner)};
  ASSERT_FALSE(platform::WriteWholeFile(dir / "x.arr", hooplayout::WriteArgLayout(2, 9, list)));
  ASSERT_TRUE(doc.OnOpenDocument((dir / "x.arr").string()));
  view->SetZoom(400);
  view->OnInitialUpdate();
  EXPECT_EQ(host.scrollSize, std::make_pair(490, 430));
  EXPECT_EQ(view->Zoom(), 100.0f);
  EXPECT_EQ(host.portraitAsked.back(), true);
  EXPECT_EQ(host.appPages.back().width, 520);
  EXPECT_EQ(host.appPages.back().height, 380);
  EXPECT_EQ(view->Sheets(), std::make_pair(2, 1));
  EXPECT_EQ(view->DesignCount(), 1);
  EXPECT_EQ(doc.GetDesignList().front().centreX, 204);  // start offset: half width 6 - right 10
}

TEST_F(VantleView, PaintsLayersInOrder) {
  const auto prims = Paint();
  ASSERT_GE(prims.size(), 3u);
  EXPECT_EQ(prims[0].op, CanvasOp::kFill);
  EXPECT_EQ(prims[0].colour, hooplayout::kOutsideGrey);
  EXPECT_EQ(prims[1].op, CanvasOp::kFill);
  EXPECT_EQ(prims[1].colour, platform::PaletteRgb(0xEB, 0xFF, 0xFF));
  EXPECT_EQ(prims[1].points[0], (platform::CanvasPoint{20, 20}));
  EXPECT_EQ(prims[1].points[1], (platform::CanvasPoint{480, 420}));
  const auto dotted = Lines(prims, platform::PenStyle::kDotted);
  // 20 rows and 23 columns of grid, two centre lines, the two inner position edges.
  ASSERT_EQ(dotted.size(), 20u + 23u + 2u + 2u);
  EXPECT_EQ(dotted[0].colour, platform::PaletteRgb(0xF0, 0xF0, 0xF0));
  EXPECT_EQ(dotted[20].points[0].x, 30);  // first column at 10
  EXPECT_EQ(dotted[43].colour, platform::PaletteRgb(0xDC, 0xDC, 0xDC));
  EXPECT_EQ(dotted[43].points[0].x, 250);  // x = 230
  EXPECT_EQ(dotted[44].points[0].y, 220);  // y = 200
  EXPECT_EQ(dotted[45].points[0].x, 200);  // x = 180
  EXPECT_EQ(dotted[46].points[0].x, 300);  // x = 280
  EXPECT_EQ(dotted[46].colour, platform::kPaletteBlack);
  const auto& frame = prims.back();
  EXPECT_EQ(frame.op, CanvasOp::kRectangle);
  EXPECT_EQ(frame.penWidth, 2);
  EXPECT_TRUE(view->AllValid());
}

TEST_F(VantleView, GridAndCentreLinesFollowTheirSwitchesAndATransferStopsAfterThePicture) {
  hooplayout::BackgroundSettings settings = view->Background();
  settings.gridOn = false;
  settings.centreLineOn = false;
  host.backgroundAnswer = settings;
  view->ChooseBackground();
  EXPECT_EQ(Lines(Paint(), platform::PenStyle::kDotted).size(), 2u);
  Add(100, 100, vtest::StitchStreamBuilder().Stitch(10, 0).End().Bytes());
  host.busy = true;
  const auto prims = Paint();
  EXPECT_EQ(prims.size(), 2u);  // the two fills
}

TEST_F(VantleView, DesignsAreCheckedAgainstTheTwoPositionsAndInvalidOnesAreGrey) {
  // From x = 150 (stitch 750) the needle goes 850..1450: over both inner edges.
  vtest::StitchStreamBuilder b;
  for (int i = 0; i < 7; ++i) b.Stitch(100, 0);
  const auto wide = b.End().Bytes();
  const auto invalid = Add(150, 100, wide, {5});
  Add(300, 100, wide, {5});  // stitch 1600..2200: space A
  const auto prims = Paint();
  EXPECT_FALSE(view->AllValid());
  const auto lines = Lines(prims);
  ASSERT_EQ(lines.size(), 14u);
  // The tail is drawn first, so the head (the newest) ends on top.
  EXPECT_EQ(lines[0].colour, hooplayout::kInvalidDesignGrey);
  EXPECT_EQ(lines[0].points[0], (platform::CanvasPoint{170, 120}));
  EXPECT_EQ(lines[7].colour, design::ThreadCodeToRGB(5));
  EXPECT_EQ(lines[7].points[0], (platform::CanvasPoint{320, 120}));
  doc.RemoveDesign(invalid);
  Paint();
  EXPECT_TRUE(view->AllValid());
}

TEST_F(VantleView, StitchesAreTurnedClockwiseAndJumpsMoveThePen) {
  const auto s = vtest::StitchStreamBuilder()
                     .Stitch(10, 0)        // right
                     .ColourChange()
                     .Stitch(0, 10)        // up
                     .Jump(20, 0)          // moves
                     .Stitch(5, 0)         // the landing moves too
                     .Stitch(5, 0)         // drawn
                     .Jump(119, 0)         // a sewn long stitch: drawn
                     .End()
                     .Bytes();
  auto at = Add(100, 100, s, {5, 9});
  at->angle = 0;
  auto lines = Lines(Paint());
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].points[1], (platform::CanvasPoint{122, 120}));
  EXPECT_EQ(lines[0].colour, design::ThreadCodeToRGB(5));
  EXPECT_EQ(lines[1].points[1], (platform::CanvasPoint{122, 118}));  // dy grows upward
  EXPECT_EQ(lines[1].colour, design::ThreadCodeToRGB(9));
  EXPECT_EQ(lines[2].points[0], (platform::CanvasPoint{127, 118}));
  EXPECT_EQ(lines[2].points[1], (platform::CanvasPoint{128, 118}));
  EXPECT_EQ(lines[3].points[1].x, 151);  // 128 + 23.8, truncated
  at->angle = 90;
  lines = Lines(Paint());
  EXPECT_EQ(lines[0].points[1], (platform::CanvasPoint{120, 122}));  // right turns to down
  EXPECT_EQ(lines[1].points[1], (platform::CanvasPoint{122, 122}));  // up turns to right
}

TEST_F(VantleView, SelectionFrameIsTheTurnedHalfSizeRectangleWithCornerCircles) {
  auto at = Add(100, 100, vtest::StitchStreamBuilder().Stitch(10, 0).End().Bytes());
  at->halfWidth = 30;
  at->halfHeight = 20;
  doc.SetModifiedFlag(false);
  view->SetZoom(200);
  view->ShowSelection(at);
  EXPECT_TRUE(doc.IsModified());  // fetching a design counts as a change
  const auto& corners = view->FrameCorners();
  EXPECT_EQ(corners[0], (PixelPoint{160, 180}));  // (100 - 30, 100 - 20) at 200 %
  EXPECT_EQ(corners[2], (PixelPoint{280, 260}));
  EXPECT_EQ(view->FrameMidpoints()[0], (PixelPoint{220, 180}));
  ASSERT_FALSE(host.invalidated.empty());
  EXPECT_EQ(host.invalidated.back(), (hooplayout::PixelRect{150, 170, 290, 270}));  // 2 + 8 around
  vtest::RecordingCanvas canvas;
  view->OnPaint(canvas, {0, 0, 1000, 900});
  const auto polylines = canvas.Of(CanvasOp::kPolyline);
  ASSERT_EQ(polylines.size(), 5u);
  EXPECT_EQ(polylines[0].penWidth, 2);
  EXPECT_EQ(polylines[0].points.size(), 5u);
  EXPECT_EQ(polylines[1].penWidth, 1);
  EXPECT_EQ(polylines[1].points[0], (platform::CanvasPoint{168, 180}));  // radius 8 at 200 %
}

TEST_F(VantleView, ZoomStepsStopAtTheEndsAndKeepThePointUnderTheMouse) {
  view->SetZoom(800);
  const int redraws = host.redraws;
  view->ZoomIn();
  EXPECT_EQ(view->Zoom(), 800.0f);
  EXPECT_EQ(host.redraws, redraws);
  view->SetZoom(50);
  view->ZoomOut();
  EXPECT_EQ(view->Zoom(), 50.0f);
  view->SetZoom(200);
  view->ZoomOut();
  EXPECT_EQ(view->Zoom(), 100.0f);
  view->SetZoom(75);
  host.cursor = {100, 50};
  host.scroll = {0, 0};
  host.client = {300, 500};
  view->ZoomIn();
  EXPECT_EQ(view->Zoom(), 100.0f);
  EXPECT_EQ(host.scrollSize, std::make_pair(490, 430));
  // x: the layout is wider than the window; y: it is not, so nothing to keep.
  EXPECT_EQ(host.scrolledTo.back(), (PixelPoint{(100 * 100 / 75) - 100 - 20, 0}));
  EXPECT_EQ(view->ZoomPaneText(), " 100 % ");
  view->SetZoom(200);
  EXPECT_EQ(host.scrollSize, std::make_pair(950, 830));
}

TEST_F(VantleView, CustomZoomTakesTheChosenValueAndZeroIsActualSize) {
  host.zoomAnswer = 400;
  view->CustomZoom();
  EXPECT_EQ(view->Zoom(), 400.0f);
  const int redraws = host.redraws;
  view->CustomZoom();  // unchanged: no repaint
  EXPECT_EQ(host.redraws, redraws);
  host.zoomAnswer = 0;
  view->CustomZoom();
  EXPECT_EQ(view->Zoom(), 100.0f);
  host.zoomAnswer.reset();
  view->CustomZoom();
  EXPECT_EQ(view->Zoom(), 100.0f);
  host.zoomAnswer = -50;
  view->SetZoom(200);
  view->CustomZoom();
  EXPECT_EQ(view->Zoom(), 100.0f);
  view->SetZoom(0);  // nothing to divide by later: the actual size
  EXPECT_EQ(view->Zoom(), 100.0f);
  view->ZoomIn();
  EXPECT_EQ(view->Zoom(), 200.0f);
}

TEST_F(VantleView, BackgroundPictureIsTiledOverTheClipBoxOrRefusedWithItsMessage) {
  std::vector<uint8_t> bmp(14 + 40 + 100 * 80 * 3, 0);
  bmp[0] = 'B';
  bmp[1] = 'M';
  platform::WriteU32(&bmp[14], 40);
  platform::WriteI32(&bmp[18], 100);
  platform::WriteI32(&bmp[22], 80);
  platform::WriteU16(&bmp[28], 24);
  ASSERT_FALSE(platform::WriteWholeFile(dir / "tile.bmp", bmp));
  hooplayout::BackgroundSettings settings = view->Background();
  settings.picturePath = (dir / "tile.bmp").string();
  host.backgroundAnswer = settings;
  view->ChooseBackground();
  ASSERT_TRUE(view->Picture());
  Paint({0, 0, 250, 170});
  EXPECT_EQ(host.pictures.size(), 9u);  // 3 across, 3 down
  EXPECT_EQ(host.pictures.back(), (PixelPoint{200, 160}));

  settings.picturePath = (dir / "missing.bmp").string();
  host.backgroundAnswer = settings;
  view->ChooseBackground();
  EXPECT_FALSE(view->Picture());
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text, "Faied to open the bitmap file");
  box.Clear();
  bmp[0] = 'X';
  ASSERT_FALSE(platform::WriteWholeFile(dir / "tile.bmp", bmp));
  EXPECT_FALSE(view->LoadBackgroundPicture((dir / "tile.bmp").string()));
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text, "Not a bitmap file");
}

TEST_F(VantleView, CursorFollowsTheToolTheGestureAndTheCornerHandles) {
  EXPECT_EQ(view->CursorAt({50, 50}, true), ViewCursor::kDefault);
  view->SetZoomTool(true);
  EXPECT_EQ(view->CursorAt({50, 50}, true), ViewCursor::kZoom);
  EXPECT_EQ(view->CursorAt({50, 50}, false), ViewCursor::kArrow);
  view->SetZoomTool(false);
  view->Drag().rotating = true;
  EXPECT_EQ(view->CursorAt({50, 50}, true), ViewCursor::kRotate);
  view->Drag() = {};
  view->Drag().buttonDown = view->Drag().moved = true;
  EXPECT_EQ(view->CursorAt({50, 50}, true), ViewCursor::kSizeAll);
  view->Drag().clampedAtEdge = true;
  EXPECT_EQ(view->CursorAt({50, 50}, true), ViewCursor::kNo);
  view->Drag() = {};
  auto at = Add(100, 100, vtest::StitchStreamBuilder().Stitch(10, 0).End().Bytes());
  at->halfWidth = 30;
  at->halfHeight = 20;
  view->ShowSelection(at);
  EXPECT_EQ(view->CursorAt({90, 100}, true), ViewCursor::kSizeNwse);   // top-left (90, 100)
  EXPECT_EQ(view->CursorAt({151, 98}, true), ViewCursor::kSizeNesw);   // top-right (150, 100)
  EXPECT_EQ(view->CursorAt({150, 140}, true), ViewCursor::kSizeNwse);  // bottom-right
  EXPECT_EQ(view->CursorAt({154, 100}, true), ViewCursor::kArrow);     // beyond 3 pixels
}

TEST_F(VantleView, ADefectiveLayoutIsReportedAndTheLayoutOnScreenStays) {
  Add(100, 100, vtest::StitchStreamBuilder().Stitch(10, 0).End().Bytes());
  view->OnLayoutLoadFailed();
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text, "This file may be defective.");
  EXPECT_EQ(box.Shown()[0].caption, "File Open");
  EXPECT_EQ(doc.GetDesignList().size(), 1u);
  // With nothing on screen a new layout starts, titled "Untitled".
  doc.OnNewDocument();
  view->OnLayoutLoadFailed();
  EXPECT_EQ(doc.GetTitle(), "Untitled");
}

}  // namespace
