#include "digitizer/file_dialog_rules.h"

#include <gtest/gtest.h>

#include "testing/bitmap_builder.h"
#include "testing/recording_canvas.h"

namespace digitizer {
namespace {

TEST(FileDialogRules, TitlesAndPreviewAreas) {
  EXPECT_EQ(PictureDialogTitle("bmp"), "Import Color Bitmap");
  EXPECT_EQ(PictureDialogTitle("wmf"), "Import Clipart File");
  EXPECT_EQ(PictureDialogTitle(""), "Import File");
  EXPECT_EQ(DesignDialogTitle(true), "Open");
  EXPECT_EQ(DesignDialogTitle(false), "Save As");
  EXPECT_EQ(PreviewArea({10, 20, 110, 220}, PreviewFrameKind::kPicture), (platform::CanvasRect{12, 22, 107, 217}));
  EXPECT_EQ(PreviewArea({10, 20, 110, 220}, PreviewFrameKind::kDesign), (platform::CanvasRect{12, 22, 108, 218}));
  EXPECT_EQ(PreviewArea({0, 0, 3, 3}, PreviewFrameKind::kPicture), (platform::CanvasRect{2, 2, 2, 2}));
}

TEST(FileDialogRules, TheSameNameTwiceEmptiesThePreviewAndAThirdTimeShowsIt) {
  PreviewSelection selection;
  EXPECT_EQ(selection.NameChanged("/d/rose.QNF", {".qnf", ".bmp"}, true), PreviewAction::kLoad);
  EXPECT_EQ(selection.NameChanged("/d/rose.QNF", {".qnf", ".bmp"}, true), PreviewAction::kClear);
  EXPECT_EQ(selection.NameChanged("/d/rose.QNF", {".qnf", ".bmp"}, true), PreviewAction::kLoad);
  // Forgetting (the Preview box ticked again) loads the same name at once.
  selection.Forget();
  EXPECT_EQ(selection.NameChanged("/d/rose.QNF", {".qnf", ".bmp"}, true), PreviewAction::kLoad);

  EXPECT_EQ(selection.NameChanged("/d/notes.txt", {".qnf", ".bmp"}, true), PreviewAction::kNone);
  EXPECT_EQ(selection.NameChanged("/d/*", {".qnf", ".bmp"}, true), PreviewAction::kNone);
  EXPECT_EQ(selection.NameChanged("/d/lily.bmp", {".qnf", ".bmp"}, false), PreviewAction::kNone);
}

TEST(FileDialogRules, AThinLineOfALargeMonochromePictureSurvivesThePreview) {
  vtest::BmpSpec spec;
  spec.width = 2000;
  spec.height = 2000;
  spec.bitCount = 1;
  spec.colours = {0x000000, 0xFFFFFF};
  // White, with one black column at x = 1000 and one black row at y = 1999.
  spec.pixel = [](int x, int y) { return (x == 1000 || y == 1999) ? 0u : 1u; };
  CDib dib;
  ASSERT_TRUE(dib.ReadFileImage(vtest::BuildBmp(spec)));
  const PixelImage preview = ReduceMonochrome(dib, 100, 80);
  // Width rounded up to 2000 (already a multiple of 16): column 1000 -> 50; row 1999 -> 79.
  for (int y = 0; y < 80; ++y) EXPECT_EQ(preview.At(50, y), platform::kPaletteBlack) << y;
  for (int x = 0; x < 100; ++x) EXPECT_EQ(preview.At(x, 79), platform::kPaletteBlack) << x;
  EXPECT_EQ(preview.At(10, 10), platform::kPaletteWhite);

  vtest::RecordingCanvas canvas;
  DrawPicturePreview(dib, canvas, 100, 80);
  EXPECT_FALSE(canvas.Of(vtest::CanvasOp::kFill).empty());
  // An empty picture draws nothing.
  canvas.Clear();
  DrawPicturePreview(CDib{}, canvas, 100, 80);
  EXPECT_TRUE(canvas.Primitives().empty());
}

TEST(FileDialogRules, TheCompanionPictureIsTallForTheLargeHoopOrAWidePicture) {
  EXPECT_EQ(CompanionPictureTarget(440, 0, 120, 200), (platform::CanvasRect{0, 0, 120, 120}));
  EXPECT_EQ(CompanionPictureTarget(441, 0, 120, 200), (platform::CanvasRect{0, 0, 112, 200}));
  EXPECT_EQ(CompanionPictureTarget(200, 2, 120, 200), (platform::CanvasRect{0, 0, 112, 200}));
}

}  // namespace
}  // namespace digitizer
