#include "digitizer/modify_stitch_rules.h"

#include <gtest/gtest.h>

#include "platform/message_box.h"

namespace digitizer {
namespace {

TEST(ModifyStitchRules, ARememberedSizeAboveTheLargestOpensAtTheLargest) {
  const ModifyStitchModel model({kFlipNone, 0, 150});
  EXPECT_EQ(model.Settings().sizePercent, 120);
  EXPECT_EQ(model.SliderPosition(), 80);
  EXPECT_EQ(model.SizeText(), "120");
  EXPECT_EQ(ModifyStitchModel({kFlipNone, 0, 10}).Settings().sizePercent, 80);
}

TEST(ModifyStitchRules, SliderRunsUpsideDownAndSpinFollowsTheSameLimits) {
  ModifyStitchModel model({kFlipNone, 0, 100});
  EXPECT_EQ(model.SliderPosition(), 100);
  model.MoveSlider(85);
  EXPECT_EQ(model.Settings().sizePercent, 115);
  EXPECT_EQ(model.SliderPosition(), 85);
  model.MoveSlider(60);  // past the top
  EXPECT_EQ(model.Settings().sizePercent, 120);
  model.MoveSpin(95);
  EXPECT_EQ(model.Settings().sizePercent, 95);
  EXPECT_EQ(model.SliderPosition(), 105);
  EXPECT_EQ(model.SizeText(), " 95");
  model.MoveSpin(121);
  EXPECT_EQ(model.Settings().sizePercent, 120);
}

TEST(ModifyStitchRules, RotationButtonsSetAQuarterTurnAndRedrawAtOnce) {
  ModifyStitchModel model({kFlipNone, 45, 100});
  const int before = model.Redraws();
  model.PressRotationButton(1081);
  EXPECT_EQ(model.Settings().rotationDegrees, 270);
  EXPECT_EQ(model.Redraws(), before + 1);
  model.PressRotationButton(1079);
  EXPECT_EQ(model.Settings().rotationDegrees, 90);
  model.PressRotationButton(1082);  // the edit box, not a button
  EXPECT_EQ(model.Settings().rotationDegrees, 90);
  model.SetRotation(400);
  EXPECT_EQ(model.Settings().rotationDegrees, 355);
  model.SetRotation(-5);
  EXPECT_EQ(model.Settings().rotationDegrees, 0);
}

TEST(ModifyStitchRules, FlipRadiosMapToFlipCodes) {
  ModifyStitchModel model({kFlipVertical, 0, 100});
  EXPECT_EQ(model.FlipRadio(), 1120);
  model.ChooseFlipRadio(1119);
  EXPECT_EQ(model.Settings().flip, kFlipHorizontal);
  model.ChooseFlipRadio(1200);
  EXPECT_EQ(model.Settings().flip, kFlipNone);
}

TEST(ModifyStitchRules, PreviewPointFlipsThenTurnsThenScales) {
  // A quarter turn counter-clockwise on a y-down screen takes right (1, 0) to up (0, -1).
  PreviewPoint p = ModifyPreviewPoint({kFlipNone, 90, 100}, {1, 0});
  EXPECT_NEAR(p.x, 0, 1e-9);
  EXPECT_NEAR(p.y, -1, 1e-9);
  p = ModifyPreviewPoint({kFlipHorizontal, 90, 120}, {1, 0});
  EXPECT_NEAR(p.x, 0, 1e-9);
  EXPECT_NEAR(p.y, 1.2, 1e-9);
  p = ModifyPreviewPoint({kFlipVertical, 0, 80}, {2, 5});
  EXPECT_NEAR(p.x, 1.6, 1e-9);
  EXPECT_NEAR(p.y, -4, 1e-9);
}

TEST(ModifyStitchRules, AssignLinesButtonsAnswerYesNoCancel) {
  EXPECT_EQ(AssignLinesAnswer(1000), platform::kIdYes);
  EXPECT_EQ(AssignLinesAnswer(1001), platform::kIdNo);
  EXPECT_EQ(AssignLinesAnswer(2), platform::kIdCancel);
}

}  // namespace
}  // namespace digitizer
