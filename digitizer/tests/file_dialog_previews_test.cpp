#include "digitizer/file_dialog_previews.h"

#include <gtest/gtest.h>

#include "platform/file_io.h"
#include "platform/le_bytes.h"
#include "digitizer/tests/canvas_pixels.h"
#include "testing/bitmap_builder.h"
#include "testing/fixed_clock.h"
#include "testing/qnf_file_builder.h"
#include "testing/recording_canvas.h"
#include "testing/recording_message_box.h"
#include "testing/sew_file_builder.h"
#include "testing/temp_dir.h"

namespace digitizer {
namespace {

using vtest::CanvasOp;

void Write(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  ASSERT_FALSE(platform::WriteWholeFile(path, bytes));
}

TEST(DesignPreviewFiles, ReadsTheDesignAndItsCompanionBitmap) {
  vtest::TempDir dir;
  vtest::RecordingMessageBox boxes;
  vtest::QnfFileSpec spec;
  spec.hoopCode = 2;
  spec.stitches = {10, 0, 0x80, 0x10};
  Write(dir / "rose.qnf", vtest::BuildQnfFile(spec));
  vtest::BmpSpec bmp;
  bmp.width = 560;
  bmp.height = 800;
  Write(dir / "rose.bmp", vtest::BuildBmp(bmp));

  DesignPreview preview;
  preview.Load(dir / "rose", false);
  ASSERT_TRUE(preview.HasDesign());
  ASSERT_TRUE(preview.HasPicture());
  vtest::RecordingCanvas canvas;
  preview.DrawDesign(canvas, 112, 160);
  EXPECT_EQ(preview.HoopLabel(), "Large Hoop");
  EXPECT_EQ(canvas.Of(CanvasOp::kLine).size(), 1u);
  canvas.Clear();
  preview.DrawPicture(canvas, 112, 160);
  // Grey, then the tall white area of a wide picture, 8 narrower than the preview.
  EXPECT_EQ(canvas.Of(CanvasOp::kFill)[1].points[1], (platform::CanvasPoint{104, 160}));

  // In bitmap mode the design is not read and the label is a single blank.
  preview.Load(dir / "rose", true);
  EXPECT_FALSE(preview.HasDesign());
  EXPECT_TRUE(preview.HasPicture());
  EXPECT_EQ(preview.HoopLabel(), " ");
  EXPECT_EQ(boxes.Count(), 0u);
}

TEST(DesignPreviewFiles, ALargeHoopCompanionKeepsItsThinLines) {
  vtest::TempDir dir;
  vtest::QnfFileSpec spec;
  spec.hoopCode = 2;
  spec.stitches = {10, 0, 0x80, 0x10};
  Write(dir / "rose.qnf", vtest::BuildQnfFile(spec));
  vtest::BmpSpec bmp;
  bmp.width = 560;
  bmp.height = 800;
  bmp.bitCount = 1;
  bmp.colours = {0x000000, 0xFFFFFF};
  // One black line a pixel wide down the middle and one across.
  bmp.pixel = [](int x, int y) { return (x == 281 || y == 397) ? 0u : 1u; };
  Write(dir / "rose.bmp", vtest::BuildBmp(bmp));
  DesignPreview preview;
  preview.Load(dir / "rose", false);
  vtest::RecordingCanvas canvas;
  preview.DrawPicture(canvas, 112, 160);
  const PixelImage painted = PaintedPixels(canvas, 112, 160);
  // Drawn 8 pixels in from the left, 104 wide: column 281 of 560 lands on 8 + 52.
  for (int y = 0; y < 160; ++y) EXPECT_EQ(painted.At(8 + 52, y), platform::kPaletteBlack) << y;
  for (int x = 8; x < 112; ++x) EXPECT_EQ(painted.At(x, 79), platform::kPaletteBlack) << x;
}

TEST(DesignPreviewFiles, AMissingFileIsSilentAndAnUnreadableOneIsReported) {
  vtest::TempDir dir;
  vtest::RecordingMessageBox boxes;
  DesignPreview preview;
  preview.Load(dir / "none", false);
  EXPECT_FALSE(preview.HasDesign());
  EXPECT_EQ(boxes.Count(), 0u);
  vtest::RecordingCanvas canvas;
  preview.DrawDesign(canvas, 100, 100);
  EXPECT_EQ(canvas.Of(CanvasOp::kFill)[0].colour, kEmptyPreviewGrey);

  // A folder where the design should be cannot be read: the file error message.
  std::filesystem::create_directory(dir / "odd.qnf");
  preview.Load(dir / "odd", false);
  ASSERT_EQ(boxes.Count(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, "There is an error in a file.\nQuit operation.");
  EXPECT_EQ(boxes.Shown()[0].caption, "Error");
}

TEST(PicturePreviewFiles, ABitmapIsShownAndAMissingOneLeavesGrey) {
  vtest::TempDir dir;
  vtest::RecordingMessageBox boxes;
  vtest::BmpSpec bmp;
  Write(dir / "pic.bmp", vtest::BuildBmp(bmp));
  PicturePreview preview;
  preview.Load(dir / "pic.bmp");
  EXPECT_TRUE(preview.IsValid());
  preview.Load(dir / "gone.bmp");
  EXPECT_FALSE(preview.IsValid());
  vtest::RecordingCanvas canvas;
  preview.Draw(canvas, 50, 50);
  ASSERT_EQ(canvas.Primitives().size(), 1u);
  EXPECT_EQ(canvas.Primitives()[0].colour, kEmptyPreviewGrey);
  EXPECT_EQ(boxes.Count(), 0u);

  // A damaged bitmap is an error in the file, and the preview stays white.
  Write(dir / "bad.bmp", {'B', 'M', 1, 2, 3});
  preview.Load(dir / "bad.bmp");
  ASSERT_EQ(boxes.Count(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, "There is an error in a file.\nQuit operation.");
  EXPECT_EQ(boxes.Shown()[0].caption, "Error");
  EXPECT_TRUE(preview.IsValid());
}

class SewFileTest : public ::testing::Test {
 protected:
  void LoadReaching(int rightOfStart) {
    vtest::SewFileSpec spec;
    spec.threadCodes = {1};
    int left = rightOfStart;
    while (left > 0) {
      const int step = std::min(left, 100);
      spec.stitches.insert(spec.stitches.end(), {static_cast<uint8_t>(step), 0});
      left -= step;
    }
    spec.stitches.insert(spec.stitches.end(), {0x80, 0x10});
    std::vector<uint8_t> file = vtest::BuildSewFile(spec);
    platform::WriteU16(&file[2 * kSewStitchCountsWord], static_cast<uint16_t>(spec.stitches.size() / 2));
    Write(dir_ / "old.sew", file);
    preview_.Load(dir_ / "old.bmp", false);  // the path is always taken with .sew
  }

  vtest::TempDir dir_;
  vtest::RecordingMessageBox boxes_;
  vtest::FixedClock clock_{{2026, 1, 2, 3, 4, 5}};
  std::vector<uint8_t> buffer_ = std::vector<uint8_t>(kSewBufferBytes, 0);
  SewPreview preview_{buffer_};
};

TEST_F(SewFileTest, ADesignBeyondTheStandardHoopAsksAndCancelKeepsTheDialogOpen) {
  LoadReaching(660);  // from 100 left of the centre to 560 right of it
  ASSERT_TRUE(preview_.IsLoaded());
  EXPECT_EQ(preview_.Extents().right, 560);
  boxes_.Script({platform::kIdCancel});
  EXPECT_EQ(preview_.ConfirmName(clock_), SewPreview::OkOutcome::kStayOpen);
  ASSERT_EQ(boxes_.Count(), 1u);
  EXPECT_EQ(boxes_.Shown()[0].caption, "Confirm");
  EXPECT_EQ(boxes_.Shown()[0].flags, platform::kMbYesNoCancel | platform::kMbIconInformation);
  EXPECT_FALSE(preview_.Conversion().converted);

  boxes_.Script({platform::kIdYes});
  EXPECT_EQ(preview_.ConfirmName(clock_), SewPreview::OkOutcome::kClose);
  EXPECT_TRUE(preview_.LargeHoop());
  ASSERT_TRUE(preview_.Conversion().converted);
  EXPECT_EQ(platform::ReadI32(buffer_.data() + 32), 2);
  EXPECT_EQ(platform::ReadI32(buffer_.data() + 44), 510);  // 150 left of the large hoop's centre + 660
}

TEST_F(SewFileTest, NoKeepsTheStandardHoopAndAFittingDesignIsNotQuestioned) {
  LoadReaching(660);
  boxes_.Script({platform::kIdNo});
  EXPECT_EQ(preview_.ConfirmName(clock_), SewPreview::OkOutcome::kClose);
  EXPECT_FALSE(preview_.LargeHoop());
  ASSERT_TRUE(preview_.Conversion().converted);
  // Beyond the standard hoop: its margins are all -1.
  EXPECT_EQ(platform::ReadI32(buffer_.data() + 52), -1);

  boxes_.Clear();
  LoadReaching(300);
  EXPECT_EQ(preview_.ConfirmName(clock_), SewPreview::OkOutcome::kClose);
  EXPECT_EQ(boxes_.Count(), 0u);
  EXPECT_TRUE(preview_.Conversion().converted);
}

}  // namespace
}  // namespace digitizer
