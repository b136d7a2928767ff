#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <gtest/gtest.h>

#include "digitizer/ui/open_picture_dialog.h"
#include "digitizer/ui/open_save_dialog.h"
#include "digitizer/ui/open_sew_dialog.h"
#include "platform/file_io.h"
#include "platform/le_bytes.h"
#include "testing/fixed_clock.h"
#include "testing/qnf_file_builder.h"
#include "testing/recording_message_box.h"
#include "testing/sew_file_builder.h"
#include "testing/temp_dir.h"

namespace digitizer_ui {
namespace {

QString PathOf(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

TEST(FileDialogs, TitlesFollowTheDefaultExtensionAndTheMode) {
  EXPECT_EQ(COpenPicture(nullptr, "bmp", "", "Bitmap (*.bmp)").windowTitle(), "Import Color Bitmap");
  EXPECT_EQ(COpenPicture(nullptr, "wmf", "", "Clipart (*.wmf)").windowTitle(), "Import Clipart File");
  EXPECT_EQ(COpenSave(nullptr, false, "qnf", "", "Design (*.qnf)").windowTitle(), "Save As");
  std::vector<uint8_t> buffer(digitizer::kSewBufferBytes);
  EXPECT_EQ(COpenSew(nullptr, buffer, "", "Sew (*.sew)").windowTitle(), "Open Sew File");
}

TEST(FileDialogs, TheDesignDialogPreviewsAndTheSameNameTwiceClearsIt) {
  vtest::TempDir dir;
  vtest::RecordingMessageBox boxes;
  vtest::QnfFileSpec spec;
  spec.hoopCode = 1;
  spec.stitches = {10, 0, 0x80, 0x10};
  ASSERT_FALSE(platform::WriteWholeFile(dir / "rose.qnf", vtest::BuildQnfFile(spec)));
  COpenSave dialog(nullptr, true, "qnf", "", "Design (*.qnf)");
  dialog.NameChanged(PathOf(dir / "rose.qnf"));
  EXPECT_TRUE(dialog.Preview().HasDesign());
  EXPECT_EQ(dialog.HoopLabel()->text(), "Small Hoop");
  dialog.NameChanged(PathOf(dir / "rose.qnf"));
  EXPECT_FALSE(dialog.Preview().HasDesign());
  dialog.NameChanged(PathOf(dir / "rose.qnf"));
  EXPECT_TRUE(dialog.Preview().HasDesign());
  // Switching the preview off drops it.
  dialog.PreviewBox()->setChecked(false);
  EXPECT_FALSE(dialog.Preview().HasDesign());
  EXPECT_EQ(dialog.HoopLabel()->text(), "");
}

TEST(FileDialogs, TheSewDialogAsksForTheLargeHoopAndConvertsOnOk) {
  vtest::TempDir dir;
  vtest::RecordingMessageBox boxes;
  vtest::FixedClock clock({2026, 5, 6, 7, 8, 9});
  vtest::SewFileSpec spec;
  for (int i = 0; i < 7; ++i) spec.stitches.insert(spec.stitches.end(), {100, 0});  // 700 right
  spec.stitches.insert(spec.stitches.end(), {0x80, 0x10});
  std::vector<uint8_t> file = vtest::BuildSewFile(spec);
  platform::WriteU16(&file[50], 8);
  ASSERT_FALSE(platform::WriteWholeFile(dir / "old.sew", file));

  std::vector<uint8_t> buffer(digitizer::kSewBufferBytes);
  COpenSew dialog(nullptr, buffer, "", "Sew (*.sew)");
  // The same file chosen twice empties the preview, as a change of folder does.
  dialog.NameChanged(PathOf(dir / "old.sew"));
  EXPECT_TRUE(dialog.Preview().IsLoaded());
  dialog.NameChanged(PathOf(dir / "old.sew"));
  EXPECT_FALSE(dialog.Preview().IsLoaded());
  dialog.setDirectory(PathOf(dir.Path()));
  dialog.selectFile(PathOf(dir / "old.sew"));
  dialog.show();
  boxes.Script({platform::kIdCancel});
  dialog.accept();
  EXPECT_EQ(boxes.Count(), 1u);
  EXPECT_TRUE(dialog.isVisible());  // Cancel keeps the dialog open
  EXPECT_FALSE(dialog.Conversion().converted);

  boxes.Script({platform::kIdYes});
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_TRUE(dialog.HoopButton(1)->isChecked());
  ASSERT_TRUE(dialog.Conversion().converted);
  EXPECT_EQ(platform::ReadI32(buffer.data() + 32), 2);
}

}  // namespace
}  // namespace digitizer_ui
