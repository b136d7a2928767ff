#include "digitizer/ui/make_stitch_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <gtest/gtest.h>

#include "design/hoop.h"
#include "digitizer/bit_mask.h"

namespace digitizer_ui {
namespace {

TEST(MakeStitchDialog, ControlsFollowTheRulesAndTheSizeStaysInsideTheWorkArea) {
  digitizer::CStitchDesign design;
  design.SetHoop(design::kStandardHoop);
  uint8_t* packed = design.AddPart(1, 0);
  const int rowBytes = digitizer::CBitMask::PackedRowBytes(design.WorkWidth());
  for (int row = 0; row < 100; ++row) {
    for (int column = 0; column < 100; ++column) packed[row * rowBytes + column / 8] |= 0x80 >> (column % 8);
  }
  CMakeStitchDlg dialog(nullptr, design, {0, 0, 150});
  EXPECT_EQ(dialog.windowTitle(), "Make Stitch");
  // The region touches the border: 150 % is lowered to what fits.
  EXPECT_EQ(dialog.SizeSpin()->value(), 100);
  EXPECT_EQ(dialog.SizeSlider()->value(), 100);
  EXPECT_EQ(dialog.SizeLabel()->text(), "100");
  dialog.SizeSpin()->setValue(140);
  EXPECT_EQ(dialog.SizeSpin()->value(), 100) << "the spin is set back to the cap";
  dialog.SizeSlider()->setValue(200 - 60);
  EXPECT_EQ(dialog.Options().sizePercent, 60);
  EXPECT_EQ(dialog.SizeSpin()->value(), 60);

  dialog.RotationButton(1080)->click();
  EXPECT_EQ(dialog.RotationSpin()->value(), 180);
  EXPECT_EQ(dialog.Options().rotationDegrees, 180);
  dialog.RotationSpin()->stepUp();
  EXPECT_EQ(dialog.Options().rotationDegrees, 185);
  dialog.FlipRadio(1119)->setChecked(true);
  EXPECT_EQ(dialog.Options().flip, 1);
  // A typed 359 is kept; the arrows stop at 355.
  dialog.RotationSpin()->setValue(359);
  EXPECT_EQ(dialog.Options().rotationDegrees, 359);
  dialog.RotationSpin()->stepUp();
  EXPECT_EQ(dialog.Options().rotationDegrees, 355);
  bool makeButton = false;
  for (auto* button : dialog.findChildren<QPushButton*>()) makeButton |= button->text() == "&Make";
  EXPECT_TRUE(makeButton);
}

}  // namespace
}  // namespace digitizer_ui
