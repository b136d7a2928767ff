#include "digitizer/stitch_choice_model.h"

#include <gtest/gtest.h>

#include <clocale>

#include "design/thread_colors.h"
#include "digitizer/part_names.h"

namespace digitizer {
namespace {

namespace id = stitch_dialog_id;

StitchSetting Start(int type) {
  StitchSetting setting;
  setting.fillType = type;
  return setting;
}

TEST(StitchChoice, DiagonalWeaveWithoutCustomAngleIsFortyFive) {
  StitchChoiceModel model(StitchDialogKind::kFill, Start(kHorizontalWeave));
  EXPECT_STREQ(model.Caption(), "F i l l");
  model.TypeText(id::kAngleEdit, "10");
  model.ClickRadio(id::kDweave);
  EXPECT_EQ(model.Setting().fillType, kDiagonalWeave);
  EXPECT_EQ(model.Setting().angle, 45);
  EXPECT_FALSE(model.IsEnabled(id::kAngleEdit));
  EXPECT_EQ(model.FillName(), "Diagonal weave (45 deg)");
  EXPECT_EQ(model.CheckedRadio(), id::kDweave);
  // OK keeps the 45 the dialog showed, not the disabled edit's 10.
  model.Ok();
  EXPECT_EQ(model.Setting().angle, 45);
  EXPECT_EQ(model.PreviewIcon(), kDiagonalWeave);
}

TEST(StitchChoice, CustomAngleIsClampedAndChoosesTheIcon) {
  StitchChoiceModel model(StitchDialogKind::kFill, Start(kHorizontalWeave));
  model.ClickCheck(id::kAngleCheck);  // ticks and reselects the diagonal weave
  EXPECT_EQ(model.Setting().fillType, kDiagonalWeave);
  EXPECT_TRUE(model.IsEnabled(id::kAngleSpin));
  model.TypeText(id::kAngleEdit, "200");
  model.Ok();
  EXPECT_EQ(model.Setting().angle, 180);
  EXPECT_EQ(model.PreviewIcon(), 0);

  model.MoveSpin(id::kAngleSpin, 90);
  EXPECT_EQ(model.Text(id::kAngleEdit), " 90");
  EXPECT_EQ(model.Setting().angle, 90);
  EXPECT_EQ(model.FillName(), "Diagonal weave (90 deg)");
  EXPECT_EQ(model.PreviewIcon(), 2);
  model.MoveSpin(id::kAngleSpin, 75);
  EXPECT_EQ(model.PreviewIcon(), 7);
  model.MoveSpin(id::kAngleSpin, 179);
  EXPECT_EQ(model.PreviewIcon(), 10);

  // Another weave drops the custom angle.
  model.ClickRadio(id::kHweave + kVerticalWeave);
  EXPECT_EQ(model.Setting().angle, 0);
  EXPECT_FALSE(model.IsChecked(id::kAngleCheck));
  EXPECT_EQ(model.FillName(), "Vertical weave");
  EXPECT_EQ(model.PreviewIcon(), kVerticalWeave);
}

TEST(StitchChoice, LineValuesClampAndShowInTheName) {
  StitchChoiceModel model(StitchDialogKind::kLine, Start(kZigzag2mm));
  EXPECT_STREQ(model.Caption(), "L i n e");
  model.ClickRadio(id::kZzLine);
  EXPECT_EQ(model.Setting().zigzagWidthMm, 1.4);
  EXPECT_EQ(model.FillName(), "Zigzag stitch (1.4 mm)");
  EXPECT_EQ(model.PreviewIcon(), 5);
  model.ClickCheck(id::kWidthCheck);
  model.TypeText(id::kWidthEdit, "0.5");
  model.Ok();
  EXPECT_EQ(model.Setting().zigzagWidthMm, 1.0);
  model.MoveSpin(id::kWidthSpin, 47);
  EXPECT_EQ(model.Text(id::kWidthEdit), "4.7");
  EXPECT_DOUBLE_EQ(model.Setting().zigzagWidthMm, 4.7);
  EXPECT_EQ(model.PreviewIcon(), 9);
  model.MoveSpin(id::kWidthSpin, 99);  // the spin stops at 5.0 mm
  EXPECT_EQ(model.Text(id::kWidthEdit), "5.0");
  model.TypeText(id::kWidthEdit, "2.26");
  EXPECT_EQ(model.SpinPosition(id::kWidthSpin), 23);
  model.TypeText(id::kWidthEdit, "-3");
  EXPECT_EQ(model.SpinPosition(id::kWidthSpin), 10);

  model.ClickCheck(id::kLengthCheck);  // ticks and reselects the straight stitch
  EXPECT_EQ(model.Setting().fillType, kStraightStitch);
  model.TypeText(id::kLengthEdit, "3.66666666666");  // cut at 10 characters
  EXPECT_EQ(model.Text(id::kLengthEdit), "3.66666666");
  model.Ok();
  EXPECT_DOUBLE_EQ(model.Setting().straightLengthMm, 3.66666666);
  EXPECT_EQ(model.PreviewIcon(), 13);
  model.TypeText(id::kLengthEdit, "garbage");
  model.Ok();
  EXPECT_EQ(model.Setting().straightLengthMm, 1.0);

  // A fixed zigzag clears both custom values.
  model.ClickRadio(id::kZzLine + 2);
  EXPECT_EQ(model.Setting().fillType, kZigzag3mm);
  EXPECT_FALSE(model.IsChecked(id::kWidthCheck));
  EXPECT_FALSE(model.IsChecked(id::kLengthCheck));
  EXPECT_FALSE(model.IsEnabled(id::kLengthEdit));
  EXPECT_EQ(model.PreviewIcon(), 2);
  // The Line dialog has no weaves.
  model.ClickRadio(id::kHweave);
  EXPECT_EQ(model.Setting().fillType, kZigzag3mm);
}

TEST(StitchChoice, NumbersIgnoreTheUsersLocale) {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  // A locale with a decimal comma, when the machine has one.
  std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  StitchChoiceModel model(StitchDialogKind::kLine, Start(kZigzagStitch));
  model.ClickCheck(id::kWidthCheck);
  model.TypeText(id::kWidthEdit, "2.5");
  model.Ok();
  EXPECT_EQ(model.Setting().zigzagWidthMm, 2.5);
  model.MoveSpin(id::kWidthSpin, 33);
  EXPECT_EQ(model.Text(id::kWidthEdit), "3.3");
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(StitchChoice, StitchDialogClearsLineValuesWhenAWeaveIsChosen) {
  StitchSetting start = Start(kZigzagStitch);
  start.customWidth = true;
  start.zigzagWidthMm = 3.0;
  start.customLength = true;
  StitchChoiceModel model(StitchDialogKind::kStitch, start);
  EXPECT_STREQ(model.Caption(), "Stitch");
  EXPECT_TRUE(model.IsEnabled(id::kWidthEdit));
  EXPECT_FALSE(model.IsEnabled(id::kLengthEdit));  // the straight stitch is not chosen
  EXPECT_EQ(model.FillName(), "Zigzag stitch (3.0 mm)");
  model.ClickRadio(id::kHweave + kCrossStitch);
  EXPECT_FALSE(model.IsChecked(id::kWidthCheck));
  EXPECT_FALSE(model.IsChecked(id::kLengthCheck));
  EXPECT_FALSE(model.IsEnabled(id::kWidthSpin));
  EXPECT_EQ(model.ColourButtonCount(), 0);
}

TEST(StitchChoice, DoubleClicksCloseAsOk) {
  StitchChoiceModel model(StitchDialogKind::kFill, Start(kHorizontalWeave));
  EXPECT_FALSE(model.ClickRadio(id::kTweave));
  EXPECT_TRUE(model.DoubleClickRadio(id::kTweave));
  EXPECT_EQ(model.Setting().fillType, kSatinStitch);
  EXPECT_FALSE(model.DoubleClickRadio(id::kZzLine));  // no line radios here
  EXPECT_TRUE(model.DoubleClickColour(id::kFirstColour + 3));
  EXPECT_EQ(model.Setting().colourIndex, 3);
  EXPECT_FALSE(model.DoubleClickColour(id::kFirstColour + 39));
}

class ScriptedSatin : public SatinSettingsEditor {
 public:
  explicit ScriptedSatin(bool accept) : accept_(accept) {}
  bool EditSatin(SatinSettings& settings) override {
    ++calls;
    settings[2].x1 = 77;
    return accept_;
  }
  int calls = 0;

 private:
  bool accept_;
};

TEST(StitchChoice, SatinInThePartsEditorEditsThePartsColumns) {
  PartRecord part;
  part.satin[2].x1 = 5;
  ScriptedSatin cancelled(false);
  {
    StitchChoiceModel model(StitchDialogKind::kFill, Start(kHorizontalWeave), &part, &cancelled);
    model.ClickRadio(id::kTweave);
    EXPECT_EQ(cancelled.calls, 1);
    EXPECT_EQ(part.satin[2].x1, 5);
  }
  ScriptedSatin accepted(true);
  StitchChoiceModel model(StitchDialogKind::kFill, Start(kHorizontalWeave), &part, &accepted);
  model.ClickRadio(id::kTweave);
  EXPECT_EQ(part.satin[2].x1, 77);
  // The double-click that follows the click neither closes nor opens the settings again.
  EXPECT_FALSE(model.DoubleClickRadio(id::kTweave));
  EXPECT_EQ(accepted.calls, 1);
  EXPECT_EQ(model.Setting().fillType, kSatinStitch);
}

TEST(StitchChoice, ColourPagesAndNames) {
  StitchSetting start = Start(kHorizontalWeave);
  start.colourIndex = 50;
  StitchChoiceModel model(StitchDialogKind::kFill, start);
  EXPECT_EQ(model.Page(), 1);
  model.ClickColour(id::kFirstColour);
  EXPECT_EQ(model.Setting().colourIndex, 39);
  const auto& row = design::ExtendedThreadColorTable()[39];
  EXPECT_EQ(model.ColourName(), std::string(row.name) + " (" + std::string(row.shortName) + ")");
  EXPECT_EQ(model.SwatchColour(), platform::PaletteRgb(row.red, row.green, row.blue));
  model.SelectPage(0);
  model.ClickColour(id::kFirstColour + 38);
  EXPECT_EQ(model.Setting().colourIndex, 38);
  model.ClickColour(id::kFirstColour + 39);  // no such button on a page
  EXPECT_EQ(model.Setting().colourIndex, 38);
  model.SelectPage(5);
  EXPECT_EQ(model.Page(), 1);

  StitchSetting outside = start;
  outside.colourIndex = 200;
  StitchChoiceModel clamped(StitchDialogKind::kLine, outside);
  EXPECT_EQ(clamped.Setting().colourIndex, 77);
  EXPECT_EQ(clamped.Page(), 1);

  StitchChoiceModel thread(StitchDialogKind::kThreadColor, start);
  EXPECT_STREQ(thread.Caption(), "Thread Color");
  EXPECT_EQ(thread.ColourButtonCount(), 78);
  thread.ClickColour(id::kFirstColour + 77);
  EXPECT_EQ(thread.Setting().colourIndex, 77);
  const auto& last = design::ExtendedThreadColorTable()[77];
  EXPECT_EQ(thread.ButtonColour(id::kFirstColour + 77), platform::PaletteRgb(last.red, last.green, last.blue));
}

TEST(StitchChoice, PartsEditorValuesRoundTripThroughTheDialogs) {
  const FillStitchChoice fill{12, kDiagonalWeave, 30};
  StitchChoiceModel fillModel(StitchDialogKind::kFill, FillDialogStart(fill));
  fillModel.Ok();
  const FillStitchChoice fillBack = FillDialogResult(fillModel.Setting());
  EXPECT_EQ(fillBack.angle, 30);
  EXPECT_EQ(fillBack.colourIndex, 12);
  EXPECT_EQ(fillBack.fillType, kDiagonalWeave);

  const LineStitchChoice line{40, kStraightStitch, 1.4, 3.2};
  StitchChoiceModel lineModel(StitchDialogKind::kLine, LineDialogStart(line));
  EXPECT_TRUE(lineModel.IsEnabled(id::kLengthEdit));
  EXPECT_FALSE(lineModel.IsChecked(id::kWidthCheck));
  lineModel.Ok();
  const LineStitchChoice lineBack = LineDialogResult(lineModel.Setting());
  EXPECT_DOUBLE_EQ(lineBack.straightLengthMm, 3.2);
  EXPECT_EQ(lineBack.fillType, kStraightStitch);
  EXPECT_EQ(lineBack.colourIndex, 40);
}

}  // namespace
}  // namespace digitizer
