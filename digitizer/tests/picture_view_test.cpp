#include "digitizer/picture_view.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>

#include "digitizer/picture_view_commands.h"
#include "platform/profile.h"
#include "testing/bitmap_builder.h"
#include "testing/recording_message_box.h"
#include "testing/temp_dir.h"

namespace digitizer {
namespace {

namespace cmd = pview_cmd;
using pview_colour::kFillRegistered;
using pview_colour::kFillSelection;
using pview_colour::kLineRegistered;
using pview_colour::kLineSelection;
using platform::kPaletteBlack;
using platform::kPaletteWhite;

// Answers the view's dialogs from a script and keeps what it was asked.
class ScriptedHost : public PictureViewHost {
 public:
  ViewPixel ScrollPosition() override { return scroll; }
  ViewPixel ClientSize() override { return client; }
  void SetScrollSize(int width, int height) override { total = {width, height}; }
  void ScrollTo(ViewPixel position) override { scroll = position; }
  void Repaint() override {}
  void RepaintRect(int, int, int, int) override {}
  void SetWaitCursor(bool) override {}
  void CaptureMouse(bool) override {}
  std::optional<StitchSetting> RunStitchDialog(StitchDialogKind, const StitchSetting&) override { return stitch; }
  std::optional<TracingOptions> RunTracingOptions(const TracingOptions&) override { return std::nullopt; }
  int RunAssignToLines() override { return assignAnswer; }
  bool RunSatinDialog(std::span<const uint8_t>, int, int, SatinSettings& entries, int&) override {
    ++satinRuns;
    if (satinOk) entries[0].spacing = 0.4;
    return satinOk;
  }
  std::optional<TracingOptions> RunPreviewOutline(const PixelImage&, PixelImage&, const TracingOptions&) override {
    return std::nullopt;
  }
  AutoRegisterResult RunAutoRegister(AutoRegisterRun& run, PixelImage& fill, PixelImage& line,
                                     AutoRegisterDesign& design, const AutoRegisterSettings& settings) override {
    const std::atomic<bool> cancel{false};
    return run.Run(fill, line, design, settings, cancel, nullptr);
  }
  bool RunMakingStitch(MakeStitchRun&, CStitchDesign&) override { return true; }
  std::optional<std::vector<uint8_t>> ClipboardDib() override { return clipboard; }
  std::optional<ClipboardMetafileData> ClipboardMetafile() override { return std::nullopt; }
  bool ClipboardHasPicture() override { return clipboard.has_value(); }
  void SetClipboardDib(std::span<const uint8_t> packed) override { clipboard.emplace(packed.begin(), packed.end()); }
  bool AskSaveModified() override { return true; }
  void SetModified(bool m) override { modified = m; }
  void UpdateAllViews() override {}
  void UpdateStatusPanes(const StatusPaneUpdate&) override {}
  void PostToFrame(int message, int wparam, int lparam) override { posted.push_back({message, wparam, lparam}); }
  void Activate() override {}

  ViewPixel scroll{0, 0};
  ViewPixel client{500, 500};
  ViewPixel total{0, 0};
  std::optional<StitchSetting> stitch;
  int assignAnswer = 2;
  bool satinOk = true;
  int satinRuns = 0;
  bool modified = false;
  std::optional<std::vector<uint8_t>> clipboard;
  std::vector<std::array<int, 3>> posted;
};

class PictureViewTest : public ::testing::Test {
 protected:
  PictureViewTest() {
    platform::SetProfileRoot(dir_.Path());
    view_.SetDrawingSize(kSize, kSize);
    view_.OnInitialUpdate();
  }
  ~PictureViewTest() override { platform::SetProfileRoot({}); }

  // A black square outline from (a, a) to (b, b) on both working bitmaps, as the pencil draws.
  void DrawSquare(int a, int b) {
    for (PixelImage* image : {&view_.FillBitmap(), &view_.LineBitmap()}) {
      for (int i = a; i <= b; ++i) {
        image->Set(i, a, kPaletteBlack);
        image->Set(i, b, kPaletteBlack);
        image->Set(a, i, kPaletteBlack);
        image->Set(b, i, kPaletteBlack);
      }
    }
  }
  // Picture pixel (x, y) as a window point at zoom 1, unscrolled.
  static ViewPixel At(int x, int y) { return {x + BmpViewModel::kOrigin, y + BmpViewModel::kOrigin}; }
  void ChooseType(int type) {
    StitchSetting s;
    s.fillType = type;
    host_.stitch = s;
    view_.RunCommand(cmd::kStitch);
  }
  void Pencil(int x, int y) {
    view_.RunCommand(cmd::kPencil);
    view_.OnLeftButtonDown(At(x, y));
    view_.OnButtonUp(At(x, y));
    view_.OnLeftButtonDown(At(x, y));
    view_.OnMouseMove(At(x + 1, y), true);  // a pencil stroke marks the view as drawn on
    view_.OnButtonUp(At(x + 1, y));
    view_.RunCommand(cmd::kPencil);
  }

  static constexpr int kSize = 48;
  vtest::TempDir dir_;
  vtest::RecordingMessageBox boxes_;
  CImportDoc doc_{dir_.Path()};
  ScriptedHost host_;
  BmpViewModel view_{doc_, host_};
};

// ---------------------------------------------------------------- flood fill

TEST(BorderFloodFill, FillsInsideABorderAndRefusesTheBorderItself) {
  PixelImage image(10, 10, kPaletteWhite);
  for (int i = 2; i <= 7; ++i) {
    image.Set(i, 2, kPaletteBlack), image.Set(i, 7, kPaletteBlack);
    image.Set(2, i, kPaletteBlack), image.Set(7, i, kPaletteBlack);
  }
  BorderFloodFill fill;
  EXPECT_FALSE(fill.Fill(image, 2, 4, kFillSelection, kPaletteBlack));
  EXPECT_FALSE(fill.Fill(image, -1, 4, kFillSelection, kPaletteBlack));
  ASSERT_TRUE(fill.Fill(image, 4, 4, kFillSelection, kPaletteBlack));
  EXPECT_EQ(image.At(3, 3), kFillSelection);
  EXPECT_EQ(image.At(6, 6), kFillSelection);
  EXPECT_EQ(image.At(1, 1), kPaletteWhite);
  EXPECT_EQ(image.At(8, 5), kPaletteWhite);
  // A region filled already fills again (its grey is not the border) and ends.
  EXPECT_TRUE(fill.Fill(image, 4, 4, kPaletteWhite, kPaletteBlack));
  EXPECT_EQ(image.At(5, 5), kPaletteWhite);
}

// Over random pictures the fill paints exactly the 4-connected non-border area of the start.
TEST(BorderFloodFill, PaintsExactlyTheFourConnectedAreaOfTheStart) {
  std::mt19937 random(7);
  BorderFloodFill fill;
  for (int round = 0; round < 200; ++round) {
    const int w = 1 + static_cast<int>(random() % 30);
    const int h = 1 + static_cast<int>(random() % 30);
    PixelImage image(w, h, kPaletteWhite);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        if (random() % 100 < 40) image.Set(x, y, kPaletteBlack);
      }
    }
    const int sx = static_cast<int>(random() % w);
    const int sy = static_cast<int>(random() % h);
    // The area by a plain breadth-first walk.
    std::vector<char> area(static_cast<std::size_t>(w * h), 0);
    if (image.At(sx, sy) != kPaletteBlack) {
      std::deque<std::pair<int, int>> queue{{sx, sy}};
      area[static_cast<std::size_t>(sy * w + sx)] = 1;
      while (!queue.empty()) {
        const auto [x, y] = queue.front();
        queue.pop_front();
        for (const auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
          const int nx = x + dx, ny = y + dy;
          if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
          char& seen = area[static_cast<std::size_t>(ny * w + nx)];
          if (seen || image.At(nx, ny) == kPaletteBlack) continue;
          seen = 1;
          queue.push_back({nx, ny});
        }
      }
    }
    EXPECT_EQ(fill.Fill(image, sx, sy, kFillSelection, kPaletteBlack), image.At(sx, sy) != kPaletteBlack);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const platform::PaletteColour c = image.At(x, y);
        if (area[static_cast<std::size_t>(y * w + x)]) {
          ASSERT_EQ(c, kFillSelection) << round << " " << x << "," << y;
        } else {
          ASSERT_NE(c, kFillSelection) << round << " " << x << "," << y;
        }
      }
    }
  }
}

// ---------------------------------------------------------------- placement, zoom and mapping

TEST(FitPlacement, BigPicturesShrinkToTheWorkAreaAndSmallOnesAreCentred) {
  EXPECT_EQ(FitPlacement(880, 440, 440, 440), (ViewRect{2, 112, 442, 332}));
  EXPECT_EQ(FitPlacement(200, 100, 440, 440), (ViewRect{122, 172, 322, 272}));
  EXPECT_EQ(FitPlacement(440, 440, 440, 440), (ViewRect{2, 2, 442, 442}));
  EXPECT_EQ(FitPlacement(300, 900, 440, 440), (ViewRect{149, 2, 295, 442}));
}

TEST_F(PictureViewTest, ZoomModeStepsBetweenOneAndFifteenAndScrollsToTheClickedPixel) {
  view_.ToggleZoomMode();
  host_.client = {100, 100};
  // Picture pixel (50, 30) under the click; at zoom 2 it lies at 100, 60 in the content.
  view_.OnLeftButtonDown({52, 32});
  EXPECT_EQ(view_.Zoom(), 2);
  EXPECT_EQ(host_.total, (ViewPixel{2 * (kSize + 5), 2 * (kSize + 5)}));
  EXPECT_EQ(host_.scroll, (ViewPixel{48, 28}));
  for (int i = 0; i < 20; ++i) view_.OnLeftButtonDown({52, 32});
  EXPECT_EQ(view_.Zoom(), 15);
  for (int i = 0; i < 20; ++i) view_.OnRightButtonDown({10, 10});
  EXPECT_EQ(view_.Zoom(), 1);
  // The whole picture fits the window again: no scrolling.
  EXPECT_EQ(host_.scroll, (ViewPixel{0, 0}));
  view_.ToggleZoomMode();
  EXPECT_FALSE(view_.ZoomMode());
}

TEST_F(PictureViewTest, AWindowPointMapsToThePicturePixelThroughScrollAndZoom) {
  view_.SetZoomFactor(3);
  host_.scroll = {30, 9};
  EXPECT_EQ(view_.PicturePixel({2, 2}), (ViewPixel{10, 3}));
  EXPECT_EQ(view_.PicturePixel({6, 7}), (ViewPixel{11, 4}));
}

TEST(RectTracker, MovesAndSizesByItsHandlesAndKeepsItsMinimumSize) {
  RectTracker tracker(50, 50);
  tracker.SetRect({100, 100, 300, 200});
  EXPECT_EQ(tracker.HitTest(150, 150), TrackerHit::kMove);
  EXPECT_EQ(tracker.HitTest(96, 96), TrackerHit::kTopLeft);
  EXPECT_EQ(tracker.HitTest(303, 150), TrackerHit::kRight);
  EXPECT_EQ(tracker.HitTest(200, 203), TrackerHit::kBottom);
  EXPECT_EQ(tracker.HitTest(50, 50), TrackerHit::kNone);
  EXPECT_FALSE(tracker.Begin(50, 50));

  ASSERT_TRUE(tracker.Begin(150, 150));
  tracker.Drag(160, 130);
  EXPECT_TRUE(tracker.End());
  EXPECT_EQ(tracker.Rect(), (ViewRect{110, 80, 310, 180}));
  // The top-left handle dragged past the opposite corner stops 50 pixels short of it.
  ASSERT_TRUE(tracker.Begin(106, 76));
  tracker.Drag(400, 400);
  tracker.End();
  EXPECT_EQ(tracker.Rect(), (ViewRect{260, 130, 310, 180}));
}

// ---------------------------------------------------------------- Register

TEST_F(PictureViewTest, AClickInsideARegionSelectsItAndRegisterMakesItAPart) {
  DrawSquare(4, 20);
  Pencil(40, 40);
  view_.OnLeftButtonDown(At(10, 10));
  EXPECT_TRUE(view_.Selected());
  EXPECT_EQ(view_.FillBitmap().At(10, 10), kFillSelection);
  EXPECT_EQ(view_.FillBitmap().At(30, 30), kPaletteWhite);

  view_.OnRegister();
  ASSERT_EQ(doc_.Design().GetPartCount(), 1);
  EXPECT_FALSE(view_.Selected());
  EXPECT_EQ(view_.FillBitmap().At(10, 10), kFillRegistered);
  EXPECT_EQ(doc_.Design().EditState(), kStitchesFromParts);
  const PartRecord& part = *doc_.Design().GetPartList().GetPart(0);
  EXPECT_EQ(part.stitch, 0);
  // Row 10, pixels 5..19 inside the square: the mask's bit 1 exactly there.
  const std::size_t row = static_cast<std::size_t>(CBitMask::PackedRowBytes(kSize)) * 10;
  EXPECT_EQ(part.mask[row + 0], 0x07);  // pixels 5, 6, 7
  EXPECT_EQ(part.mask[row + 1], 0xFF);
  EXPECT_EQ(part.mask[row + 2], 0xF0);  // pixels 16..19
  EXPECT_GT(doc_.Design().GetStitchCount(), 0);
  EXPECT_TRUE(host_.modified);
}

TEST_F(PictureViewTest, RegisterWithNothingSelectedSaysSoAndAddsNoPart) {
  Pencil(40, 40);
  view_.OnRegister();
  ASSERT_EQ(boxes_.Count(), 1u);
  EXPECT_EQ(boxes_.Shown()[0].text, "No parts are selected.");
  EXPECT_EQ(boxes_.Shown()[0].caption, "Attention");
  EXPECT_EQ(boxes_.Shown()[0].flags, platform::kMbOk | platform::kMbIconInformation);
  EXPECT_EQ(doc_.Design().GetPartCount(), 0);
  EXPECT_EQ(doc_.Design().EditState(), kNothingMade);
}

TEST_F(PictureViewTest, TheSeventyEighthPartRegistersAndTheSeventyNinthIsRefused) {
  DrawSquare(4, 20);
  Pencil(40, 40);
  for (int i = 0; i < 77; ++i) doc_.Design().AddPart(1, 0)[0] = 0x80;
  view_.OnLeftButtonDown(At(10, 10));
  view_.OnRegister();
  EXPECT_EQ(doc_.Design().GetPartCount(), 78);
  EXPECT_EQ(boxes_.Count(), 0u);

  view_.OnLeftButtonDown(At(30, 30));  // outside the square
  view_.OnRegister();
  EXPECT_EQ(doc_.Design().GetPartCount(), 78);
  ASSERT_EQ(boxes_.Count(), 1u);
  EXPECT_EQ(boxes_.Shown()[0].text, "Over seventy-eight parts.\nCannot be registered.");
  EXPECT_EQ(boxes_.Shown()[0].caption, "Attention");
  EXPECT_EQ(boxes_.Shown()[0].flags, platform::kMbOk | platform::kMbIconError);
  // The refused selection stays on the picture.
  EXPECT_EQ(view_.FillBitmap().At(30, 30), kFillSelection);
}

TEST_F(PictureViewTest, SatinCancelledAddsNoPartAndLeavesTheRegionSelected) {
  DrawSquare(4, 20);
  Pencil(40, 40);
  ChooseType(4);
  host_.satinOk = false;
  view_.OnLeftButtonDown(At(10, 10));
  view_.OnRegister();
  EXPECT_EQ(host_.satinRuns, 1);
  EXPECT_EQ(doc_.Design().GetPartCount(), 0);
  EXPECT_TRUE(view_.Selected());
  EXPECT_EQ(view_.FillBitmap().At(10, 10), kFillSelection);

  host_.satinOk = true;
  view_.OnRegister();
  ASSERT_EQ(doc_.Design().GetPartCount(), 1);
  EXPECT_EQ(doc_.Design().GetPartList().GetPart(0)->satin[0].spacing, 0.4);
}

TEST_F(PictureViewTest, LineTypesTraceALineAndRegisterItsPixels) {
  Pencil(40, 40);
  for (PixelImage* image : {&view_.FillBitmap(), &view_.LineBitmap()}) {
    for (int y = 5; y <= 25; ++y) image->Set(10, y, kPaletteBlack);
  }
  ChooseType(9);
  view_.OnLeftButtonDown(At(13, 15));  // three pixels right of the line
  EXPECT_TRUE(view_.Selected());
  EXPECT_EQ(view_.LineBitmap().At(10, 15), kLineSelection);
  view_.OnRegister();
  ASSERT_EQ(doc_.Design().GetPartCount(), 1);
  EXPECT_EQ(doc_.Design().GetPartList().GetPart(0)->stitch, 20 * 256 + 9);
  EXPECT_EQ(view_.LineBitmap().At(10, 15), kLineRegistered);
  EXPECT_EQ(view_.FillBitmap().At(10, 15), kPaletteBlack);
}

TEST_F(PictureViewTest, AllLinesMarksEveryLinePixelInsideTheTracker) {
  Pencil(40, 40);
  for (int x = 3; x <= 30; ++x) view_.LineBitmap().Set(x, 8, kPaletteBlack);
  ChooseType(6);
  EXPECT_TRUE(view_.QueryCommand(cmd::kAllLines).enabled);
  view_.RunCommand(cmd::kAllLines);
  EXPECT_TRUE(view_.AllLinesMode());
  host_.assignAnswer = 6;
  view_.RunCommand(cmd::kAllLines);
  EXPECT_FALSE(view_.AllLinesMode());
  EXPECT_TRUE(view_.Selected());
  EXPECT_EQ(view_.LineBitmap().At(3, 8), kLineSelection);
  EXPECT_EQ(view_.LineBitmap().At(30, 8), kLineSelection);
}

// ---------------------------------------------------------------- settings, commands, clipboard

TEST(StitchCodeOf, ParametersRideInTheHighByteInTenthsOfAMillimetre) {
  StitchSetting s;
  s.fillType = 1;
  EXPECT_EQ(StitchCodeOf(s), 45 * 256 + 1);
  s.customAngle = true, s.angle = 90;
  EXPECT_EQ(StitchCodeOf(s), 90 * 256 + 1);
  s.fillType = 5;
  EXPECT_EQ(StitchCodeOf(s), 14 * 256 + 5);
  s.customWidth = true, s.zigzagWidthMm = 2.3;  // 2.3 x 10 falls just short of 23 in binary
  EXPECT_EQ(StitchCodeOf(s), 23 * 256 + 5);
  s.fillType = 9;
  EXPECT_EQ(StitchCodeOf(s), 20 * 256 + 9);
  s.fillType = 3;
  EXPECT_EQ(StitchCodeOf(s), 3);
}

TEST_F(PictureViewTest, DrawingToolsAreOfferedOnlyOnTheOutlineDrawingOutsideZoomMode) {
  EXPECT_TRUE(view_.QueryCommand(cmd::kPencil).enabled);
  view_.RunCommand(cmd::kPencil);
  EXPECT_TRUE(view_.QueryCommand(cmd::kPencil).checked);
  view_.RunCommand(cmd::kEraser);
  EXPECT_EQ(view_.Tool(), DrawingTool::kEraser);
  view_.ToggleZoomMode();
  EXPECT_EQ(view_.Tool(), DrawingTool::kNone);
  EXPECT_FALSE(view_.QueryCommand(cmd::kEraser).enabled);
  EXPECT_FALSE(view_.QueryCommand(cmd::kRegister).enabled);
  EXPECT_FALSE(view_.QueryCommand(cmd::kOutline).enabled);
  EXPECT_FALSE(view_.QueryCommand(12345).handled);
}

TEST_F(PictureViewTest, CopiedDrawingPastesBackAsTheSamePicture) {
  DrawSquare(4, 20);
  Pencil(40, 40);
  view_.OnCopy();
  ASSERT_TRUE(host_.clipboard.has_value());

  CImportDoc other(dir_.Path());
  ScriptedHost otherHost;
  otherHost.clipboard = host_.clipboard;
  BmpViewModel pasted(other, otherHost);
  pasted.SetDrawingSize(kSize, kSize);
  pasted.OnInitialUpdate();
  pasted.OnPaste();
  EXPECT_EQ(other.PictureStateValue(), kBitmapToTrace);
  EXPECT_TRUE(pasted.Placeable());
  EXPECT_EQ(pasted.Placement(), (ViewRect{2, 2, 2 + kSize, 2 + kSize}));
  const CDib& picture = other.ImportedPicture();
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const bool black = view_.LineBitmap().At(x, y) != kPaletteWhite;
      ASSERT_EQ(picture.PixelColour(x, y) == kPaletteBlack, black) << x << "," << y;
    }
  }
}

// What a document save writes as the outline picture: every non-white pixel of the line
// bitmap black (registered lines too), white stays white; a blank drawing reports no black.
TEST_F(PictureViewTest, TheOutlineForSaveIsTheLineBitmapInBlackAndWhite) {
  CDib blank;
  EXPECT_FALSE(view_.PrepareOutline(blank));
  ASSERT_TRUE(blank.HasHeader());
  EXPECT_EQ(blank.BitCount(), 1);

  view_.LineBitmap().Set(9, 3, kPaletteBlack);
  view_.LineBitmap().Set(40, 47, kLineRegistered);
  CDib outline;
  EXPECT_TRUE(view_.PrepareOutline(outline));
  EXPECT_EQ(outline.GetDimensions().width, kSize);
  EXPECT_EQ(outline.GetDimensions().height, kSize);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const bool black = (x == 9 && y == 3) || (x == 40 && y == 47);
      ASSERT_EQ(outline.PixelColour(x, y), black ? kPaletteBlack : kPaletteWhite) << x << "," << y;
    }
  }
}

// A document's outline drawing smaller than the work area is shown centred in both bitmaps.
TEST_F(PictureViewTest, TheDocumentsDrawingIsCentredInTheWorkArea) {
  CDib& drawing = doc_.OutlinePicture();
  drawing.CreateMono(16, 8);
  std::vector<uint8_t> packed(static_cast<std::size_t>(CBitMask::PackedRowBytes(16)) * 8, 0xFF);
  packed[0] = 0x7F;  // the top-left pixel black
  ASSERT_TRUE(drawing.SetBitsFromTopDown(packed));
  view_.OnInitialUpdate();
  EXPECT_EQ(view_.FillBitmap().At(16, 20), kPaletteBlack);
  EXPECT_EQ(view_.LineBitmap().At(16, 20), kPaletteBlack);
  EXPECT_EQ(view_.FillBitmap().At(17, 20), kPaletteWhite);
  EXPECT_EQ(view_.FillBitmap().At(0, 0), kPaletteWhite);
}

TEST_F(PictureViewTest, OutlineTurnsThePastedPictureIntoTheOutlineDrawing) {
  vtest::BmpSpec spec;
  spec.width = 24;
  spec.height = 24;
  spec.pixel = [](int x, int y) { return x >= 6 && x < 18 && y >= 6 && y < 18 ? 0x00FF00u : 0xFFFFFFu; };
  const std::vector<uint8_t> file = vtest::BuildBmp(spec);
  host_.clipboard.emplace(file.begin() + CDib::kFileHeaderBytes, file.end());
  view_.OnPaste();
  // 24 x 24 fits the 48 x 48 work area: centred at (12, 12) of the work area.
  EXPECT_EQ(view_.Placement(), (ViewRect{14, 14, 38, 38}));
  view_.RunCommand(cmd::kOutline);
  EXPECT_EQ(doc_.PictureStateValue(), kNoPictureToTrace);
  EXPECT_FALSE(view_.Placeable());
  ASSERT_TRUE(doc_.OutlinePicture().HasHeader());
  // The green square's left edge lies at work column 18: a black line beside it in both
  // bitmaps and in the drawing, and white inside.
  int edge = -1;
  for (int x = 16; x <= 19 && edge < 0; ++x) {
    if (view_.FillBitmap().At(x, 24) == kPaletteBlack) edge = x;
  }
  ASSERT_GE(edge, 0);
  EXPECT_EQ(view_.LineBitmap().At(edge, 24), kPaletteBlack);
  EXPECT_EQ(doc_.OutlinePicture().PixelColour(edge, 24), kPaletteBlack);
  EXPECT_EQ(view_.FillBitmap().At(24, 24), kPaletteWhite);
  EXPECT_EQ(view_.FillBitmap().At(2, 2), kPaletteWhite);
}

TEST_F(PictureViewTest, AutoRegisterOnAPastedPictureMakesPartsWithStitchesInTheDocument) {
  vtest::BmpSpec spec;
  spec.width = kSize;
  spec.height = kSize;
  spec.pixel = [](int x, int y) { return x >= 8 && x < 40 && y >= 8 && y < 40 ? 0x0000FFu : 0xFFFFFFu; };
  const std::vector<uint8_t> file = vtest::BuildBmp(spec);
  host_.clipboard.emplace(file.begin() + CDib::kFileHeaderBytes, file.end());
  view_.OnPaste();
  ASSERT_TRUE(view_.QueryCommand(cmd::kAutoRegister).enabled);
  view_.RunCommand(cmd::kAutoRegister);
  ASSERT_EQ(doc_.Design().GetPartCount(), 1);
  EXPECT_GT(doc_.Design().GetStitchCount(), 0);
  EXPECT_EQ(doc_.PictureStateValue(), kNoPictureToTrace);
  EXPECT_TRUE(doc_.OutlinePicture().HasHeader());
  EXPECT_FALSE(view_.Placeable());
}

}  // namespace
}  // namespace digitizer
