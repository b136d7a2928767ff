#include "digitizer/ui/stitch_workflow_dialogs.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <gtest/gtest.h>

#include "platform/message_box.h"

namespace digitizer_ui {
namespace {

TEST(ModifyStitchDialog, ARememberedSizeOf150ShowsTheLargestEverywhere) {
  CModifyStitchDlg dialog(nullptr, {digitizer::kFlipHorizontal, 90, 150});
  EXPECT_EQ(dialog.windowTitle(), "Modify Stitch");
  EXPECT_EQ(dialog.SizeSpin()->value(), 120);
  EXPECT_EQ(dialog.SizeSlider()->value(), 80);
  EXPECT_EQ(dialog.SizeLabel()->text(), "120");
  EXPECT_TRUE(dialog.FlipRadio(1119)->isChecked());
  EXPECT_EQ(dialog.RotationSpin()->value(), 90);
}

TEST(ModifyStitchDialog, Rotation270ButtonSetsTheAngleAndRedraws) {
  CModifyStitchDlg dialog(nullptr, {digitizer::kFlipNone, 0, 100});
  const int redraws = dialog.Model().Redraws();
  dialog.RotationButton(1081)->click();
  EXPECT_EQ(dialog.Settings().rotationDegrees, 270);
  EXPECT_EQ(dialog.RotationSpin()->value(), 270);
  EXPECT_GT(dialog.Model().Redraws(), redraws);
}

TEST(ModifyStitchDialog, SliderAndSpinFollowEachOther) {
  CModifyStitchDlg dialog(nullptr, {digitizer::kFlipNone, 0, 100});
  dialog.SizeSlider()->setValue(90);
  EXPECT_EQ(dialog.Settings().sizePercent, 110);
  EXPECT_EQ(dialog.SizeSpin()->value(), 110);
  EXPECT_EQ(dialog.SizeLabel()->text(), "110");
  dialog.SizeSpin()->setValue(85);
  EXPECT_EQ(dialog.SizeSlider()->value(), 115);
  EXPECT_EQ(dialog.SizeLabel()->text(), " 85");
  dialog.FlipRadio(1120)->setChecked(true);
  EXPECT_EQ(dialog.Settings().flip, digitizer::kFlipVertical);
}

TEST(AssignLinesDialog, ButtonsEndWithYesNoCancel) {
  for (auto [id, answer] : {std::pair{1000, platform::kIdYes}, std::pair{1001, platform::kIdNo},
                            std::pair{static_cast<int>(platform::kIdCancel), platform::kIdCancel}}) {
    CAssignLinesDlg dialog(nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Assign to Lines");
    dialog.Button(id)->click();
    EXPECT_EQ(dialog.result(), answer);
  }
}

TEST(HoopLimitDialog, ShowsItsThreeTexts) {
  CHoopLimitDlg dialog(nullptr);
  EXPECT_EQ(dialog.windowTitle(), "Attention");
  QStringList texts;
  for (QLabel* label : dialog.findChildren<QLabel*>()) texts << label->text();
  ASSERT_EQ(texts.size(), 3);
  EXPECT_TRUE(texts.contains(" The stitch exceed the hoop size limits."));
  EXPECT_TRUE(texts.contains(" Move the design(s) towards the center or reduce the size of the design."));
}

}  // namespace
}  // namespace digitizer_ui
