#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>

#include "layoutcore/ui/custom_zoom_dialog.h"
#include "layoutcore/ui/rotate_flip_dialog.h"
#include "layoutcore/ui/sheet_count_dialog.h"
#include "testing/recording_message_box.h"
#include "testing/temp_dir.h"

namespace {

using namespace editor_ui;

TEST(EditorDialogs, CustomZoomEnablesOkOnceAZoomIsClicked) {
  CCustomZoomDlg dialog(nullptr, 150);
  EXPECT_EQ(dialog.CurrentText(), "150%");
  EXPECT_FALSE(dialog.OkButton()->isEnabled());
  dialog.Radio(3)->click();
  EXPECT_TRUE(dialog.OkButton()->isEnabled());
  EXPECT_EQ(dialog.ChosenZoom(), 200);
  CCustomZoomDlg atHundred(nullptr, 100);
  EXPECT_TRUE(atHundred.Radio(2)->isChecked());
}

TEST(EditorDialogs, RotateFlipFreeRotationTypedAndStored) {
  vtest::TempDir dir;
  platform::SetProfileRoot(dir.Path());
  vtest::RecordingMessageBox box;
  {
    platform::Profile profile("Brodera");
    CRotateFlipDlg dialog(nullptr, profile);
    EXPECT_FALSE(dialog.Degrees()->isEnabled());
    dialog.Choice(editor::kFreeRotate)->click();
    EXPECT_TRUE(dialog.Degrees()->isEnabled());
    dialog.CounterClockwise()->click();
    dialog.Degrees()->Edit()->setText("400");
    dialog.open();
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(box.Count(), 1u);
    EXPECT_EQ(box.Shown()[0].text, "Please enter an integer between 0 and 360.");
    dialog.Degrees()->Edit()->setText("45");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Angle(), 315);
    EXPECT_EQ(profile.GetInt("Rotate", "Degrees", -1), 45);

    CRotateFlipDlg again(nullptr, profile);
    EXPECT_TRUE(again.Choice(editor::kFreeRotate)->isChecked());
    EXPECT_TRUE(again.CounterClockwise()->isChecked());
    EXPECT_EQ(again.Degrees()->Text(), "45");
    again.Choice(editor::kRotate180)->click();
    EXPECT_FALSE(again.Degrees()->isEnabled());
    EXPECT_EQ(again.Angle(), 180);
  }
  platform::SetProfileRoot({});
}

TEST(EditorDialogs, SheetCountRefusesFourAndSpinsWithinRange) {
  vtest::RecordingMessageBox box;
  CSheetCountDlg dialog(nullptr, 2, 9);
  EXPECT_EQ(dialog.DownField()->Text(), "1");
  dialog.DownField()->Edit()->setText("4");
  dialog.open();
  // The whole caption shows: bold, beside the title bar's three buttons.
  QFont bold = dialog.font();
  bold.setBold(true);
  EXPECT_GE(dialog.width(), QFontMetrics(bold).horizontalAdvance(dialog.windowTitle()) + 3 * 32);
  dialog.accept();
  EXPECT_TRUE(dialog.isVisible());
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text, "Please enter an integer between 1 and 3.");
  dialog.DownField()->Step(1);
  dialog.DownField()->Step(1);
  EXPECT_EQ(dialog.DownField()->Text(), "3");
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Across(), 2);
  EXPECT_EQ(dialog.Down(), 3);
}

}  // namespace
