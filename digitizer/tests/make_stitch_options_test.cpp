#include "digitizer/make_stitch_options.h"

#include <gtest/gtest.h>

#include "design/hoop.h"
#include "digitizer/bit_mask.h"

namespace digitizer {
namespace {

void AddRectPart(CStitchDesign& design, int left, int top, int right, int bottom) {
  uint8_t* packed = design.AddPart(1, 0);
  const int rowBytes = CBitMask::PackedRowBytes(design.WorkWidth());
  for (int row = top; row <= bottom; ++row) {
    for (int column = left; column <= right; ++column) {
      packed[row * rowBytes + column / 8] |= static_cast<uint8_t>(0x80 >> (column % 8));
    }
  }
}

TEST(MakeStitchOptions, ARegionOnTheBorderCannotGrowAndTheSizeIsCapped) {
  CStitchDesign design;
  design.SetHoop(design::kStandardHoop);
  AddRectPart(design, 0, 0, 99, 99);
  // Outline (1, 1)-(100, 100): the middle sits 49 pixels from the border, half extent 49.
  EXPECT_EQ(FitSizePercent(GetOutlineRect(design), GetRotatedSize(design, 0), 440, 440), 100);
  MakeStitchOptionsModel model(design, {MakeStitchOptions::kFlipNone, 0, 150});
  EXPECT_EQ(model.Fit(), 100);
  EXPECT_EQ(model.Options().sizePercent, 100);
  EXPECT_EQ(model.SliderPosition(), 100);
  EXPECT_EQ(model.SelectionStart(), 100);
  EXPECT_EQ(model.SelectionEnd(), 150);
  model.MoveSlider(200 - 130);
  EXPECT_EQ(model.Options().sizePercent, 100);
  model.MoveSizeSpin(70);
  EXPECT_EQ(model.Options().sizePercent, 70);
  EXPECT_EQ(model.SizeText(), " 70");
  model.MoveSlider(200 - 20);
  EXPECT_EQ(model.Options().sizePercent, 50);
}

TEST(MakeStitchOptions, RotationArrowsSpeedUpWhenHeldAndStopAt355) {
  EXPECT_EQ(StepRotationSpin(0, 1, 0), 5);
  EXPECT_EQ(StepRotationSpin(100, 1, 4999), 105);
  EXPECT_EQ(StepRotationSpin(100, 1, 5000), 110);
  EXPECT_EQ(StepRotationSpin(100, -1, 10000), 80);
  EXPECT_EQ(StepRotationSpin(350, 1, 0), 355);
  EXPECT_EQ(StepRotationSpin(355, 1, 12000), 355);
  EXPECT_EQ(StepRotationSpin(5, -2, 0), 0);
}

TEST(MakeStitchOptions, FitIsNeverBelowFiftyNorAboveOneHundredFifty) {
  CStitchDesign corner;
  corner.SetHoop(design::kStandardHoop);
  AddRectPart(corner, 0, 0, 0, 300);
  EXPECT_EQ(FitSizePercent(GetOutlineRect(corner), GetRotatedSize(corner, 0), 440, 440), 50);
  CStitchDesign middle;
  middle.SetHoop(design::kStandardHoop);
  AddRectPart(middle, 200, 200, 239, 239);
  EXPECT_EQ(FitSizePercent(GetOutlineRect(middle), GetRotatedSize(middle, 0), 440, 440), 150);
  EXPECT_EQ(FitSizePercent(MaskRect{}, RotatedSize{}, 440, 440), 100);
}

TEST(MakeStitchOptions, TurningMeasuresAgainAndMayLowerTheSize) {
  CStitchDesign design;
  design.SetHoop(design::kStandardHoop);
  AddRectPart(design, 20, 200, 419, 219);  // 400 wide, 20 high
  const RotatedSize flat = GetRotatedSize(design, 0);
  EXPECT_EQ(flat.width, 399);
  EXPECT_EQ(flat.height, 19);
  const RotatedSize upright = GetRotatedSize(design, 90);
  EXPECT_NEAR(upright.width, 19, 1);
  EXPECT_NEAR(upright.height, 399, 1);

  MakeStitchOptionsModel model(design, {MakeStitchOptions::kFlipNone, 0, 150});
  const int measures = model.Measures();
  // Flat: the middle column 220 is 199 half-widths from each side at 110 %.
  EXPECT_EQ(model.Options().sizePercent, 110);
  model.PressRotationButton(MakeStitchOptionsModel::kRotate0Id + 1);
  EXPECT_EQ(model.Options().rotationDegrees, 90);
  EXPECT_EQ(model.Measures(), measures + 1);
  // Upright, the 400 pixels stand around row 210: (210 x 100 - 100) / 199.
  EXPECT_EQ(model.Fit(), 105);
  EXPECT_EQ(model.Options().sizePercent, 105);
  EXPECT_TRUE(model.SetRotation(90));
  EXPECT_EQ(model.Measures(), measures + 1) << "an unchanged rotation is not measured again";
  EXPECT_FALSE(model.SetRotation(360));
  EXPECT_FALSE(model.SetRotation(-5));
  EXPECT_EQ(model.Options().rotationDegrees, 90);
  model.PressRotationButton(MakeStitchOptionsModel::kRotate270Id);
  EXPECT_EQ(model.Options().rotationDegrees, 270);

  model.ChooseFlipRadio(MakeStitchOptionsModel::kOriginalId + 2);
  EXPECT_EQ(model.Options().flip, MakeStitchOptions::kFlipVertical);
  EXPECT_EQ(model.FlipRadio(), 1120);
  model.ChooseFlipRadio(1200);
  EXPECT_EQ(model.Options().flip, MakeStitchOptions::kFlipVertical);
}

}  // namespace
}  // namespace digitizer
