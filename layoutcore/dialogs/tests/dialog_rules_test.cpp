#include <gtest/gtest.h>

#include "layoutcore/dialogs/custom_zoom_rules.h"
#include "layoutcore/dialogs/int_field.h"
#include "layoutcore/dialogs/rotate_flip_rules.h"
#include "layoutcore/dialogs/sheet_count_rules.h"
#include "platform/profile.h"
#include "testing/temp_dir.h"

namespace {

using namespace editor;

// Every test gets its own settings folder.
class WithProfile : public ::testing::Test {
 protected:
  WithProfile() { platform::SetProfileRoot(dir_.Path()); }
  ~WithProfile() override { platform::SetProfileRoot({}); }
  vtest::TempDir dir_;
  platform::Profile profile_{"Brodera"};
};

TEST(IntField, ParsesSignedWholeNumbersOnly) {
  EXPECT_EQ(ParseDialogInt("45"), 45);
  EXPECT_EQ(ParseDialogInt(" -7 "), -7);
  EXPECT_EQ(ParseDialogInt("+3"), 3);
  EXPECT_FALSE(ParseDialogInt(""));
  EXPECT_FALSE(ParseDialogInt("4.5"));
  EXPECT_FALSE(ParseDialogInt("12abc"));
  EXPECT_FALSE(ParseDialogInt("99999999999"));
  EXPECT_EQ(RangeMessage(0, 360), "Please enter an integer between 0 and 360.");
  EXPECT_EQ(ReadIntInRange("361", 0, 360).message, "Please enter an integer between 0 and 360.");
  EXPECT_EQ(ReadIntInRange("360", 0, 360).value, 360);
}

TEST(CustomZoom, OddZoomShowsItsTextAndKeepsOkOffUntilAChoice) {
  CustomZoomRules rules(150);
  EXPECT_EQ(rules.CurrentText(), "150%");
  EXPECT_EQ(rules.RadioIndex(), -1);
  EXPECT_FALSE(rules.OkEnabled());
  EXPECT_EQ(rules.ChosenZoom(), 150);
  rules.Choose(1);
  EXPECT_TRUE(rules.OkEnabled());
  EXPECT_EQ(rules.ChosenZoom(), 75);
  rules.Choose(9);  // no such button
  EXPECT_EQ(rules.ChosenZoom(), 75);
}

TEST(CustomZoom, ZoomOfAButtonSelectsIt) {
  CustomZoomRules rules(400);
  EXPECT_EQ(rules.RadioIndex(), 4);
  EXPECT_TRUE(rules.OkEnabled());
  EXPECT_EQ(kZoomChoices[0].controlId, 1008);
  EXPECT_EQ(CustomZoomRules::RadioIndexOf(800), 6);
  EXPECT_EQ(CustomZoomRules(-2147483647).CurrentText().size(), kZoomTextLength);
}

TEST_F(WithProfile, RotateFreeCounterClockwiseReturns360MinusDegreesAndStoresThem) {
  RotateFlipRules rules(LoadRotateSettings(profile_));
  EXPECT_EQ(rules.Index(), kRotate90);
  EXPECT_EQ(rules.Angle(), 90);
  EXPECT_EQ(rules.Direction(), kClockwise);
  rules.Choose(kFreeRotate);
  rules.SetDirection(kCounterClockwise);
  EXPECT_TRUE(rules.FreeRotate());
  EXPECT_EQ(rules.Confirm("45", profile_), std::nullopt);
  EXPECT_EQ(rules.Angle(), 315);
  EXPECT_EQ(profile_.GetInt("Rotate", "Degrees", -1), 45);
  EXPECT_EQ(profile_.GetInt("Rotate", "Index", -1), 5);
  EXPECT_EQ(profile_.GetInt("Rotate", "Dir", -1), 0);
  EXPECT_EQ(profile_.GetInt("Rotate", "FreeRotate", -1), 1);

  // The next run starts where this one ended.
  RotateFlipRules again(LoadRotateSettings(profile_));
  EXPECT_TRUE(again.FreeRotate());
  EXPECT_EQ(again.Degrees(), 45);
  EXPECT_EQ(again.Angle(), 0);
}

TEST_F(WithProfile, RotateRefusesBadDegreesBeforeStoringAnything) {
  RotateFlipRules rules(RotateSettings{kFreeRotate, kClockwise, 1, 30});
  EXPECT_EQ(rules.Confirm("400", profile_), "Please enter an integer between 0 and 360.");
  EXPECT_EQ(rules.Confirm("-5", profile_), "Please enter an integer between 0 and 360.");
  EXPECT_EQ(rules.Confirm("ten", profile_), "Please enter an integer between 0 and 360.");
  EXPECT_EQ(profile_.GetInt("Rotate", "Degrees", -1), -1);
  EXPECT_EQ(profile_.GetInt("Rotate", "Index", -1), -1);
  EXPECT_EQ(rules.Confirm("360", profile_), std::nullopt);
  EXPECT_EQ(rules.Angle(), 360);
}

TEST_F(WithProfile, RotateChoicesSetAngleAndFreeRotationFollowsTheIndex) {
  RotateFlipRules rules(RotateSettings{kRotate180, kClockwise, 0, 0});
  EXPECT_EQ(rules.Angle(), 180);
  rules.Choose(kRotate270);
  EXPECT_EQ(rules.Angle(), 270);
  EXPECT_FALSE(rules.FreeRotate());
  rules.Choose(kFlipHorizontal);
  EXPECT_EQ(rules.Index(), 4);
  EXPECT_FALSE(rules.FreeRotate());
  // A fixed choice ignores the typed degrees, even a bad one.
  EXPECT_EQ(rules.Confirm("999", profile_), std::nullopt);
  EXPECT_EQ(profile_.GetInt("Rotate", "FreeRotate", -1), 0);
  EXPECT_EQ(profile_.GetInt("Rotate", "Degrees", -1), -1);

  // A profile that says free rotation beside a fixed index: the index wins.
  RotateFlipRules mixed(RotateSettings{kRotate90, kClockwise, 1, 45});
  EXPECT_FALSE(mixed.FreeRotate());
  EXPECT_EQ(mixed.Angle(), 90);
  RotateFlipRules freeByIndex(RotateSettings{kFreeRotate, kClockwise, 0, 45});
  EXPECT_TRUE(freeByIndex.FreeRotate());
  // An unknown index becomes 0 with no turn.
  RotateFlipRules unknown(RotateSettings{9, kClockwise, 0, 0});
  EXPECT_EQ(unknown.Index(), 0);
  EXPECT_EQ(unknown.Angle(), 0);
  // Degrees outside the field's range are shown within it.
  EXPECT_EQ(RotateFlipRules(RotateSettings{kFreeRotate, kClockwise, 1, 500}).Degrees(), 360);
}

TEST(SheetCount, CountsOutsideTheRangeStartAsOneAndTypedOnesAreChecked) {
  SheetCountRules rules(0, 4);
  EXPECT_EQ(rules.Across(), 1);
  EXPECT_EQ(rules.Down(), 1);
  EXPECT_EQ(rules.Confirm("2", "4"), "Please enter an integer between 1 and 3.");
  EXPECT_EQ(rules.Across(), 1);  // nothing taken from a refused OK
  EXPECT_EQ(rules.Confirm("x", "2"), "Please enter an integer between 1 and 3.");
  EXPECT_EQ(rules.Confirm("3", "2"), std::nullopt);
  EXPECT_EQ(rules.Across(), 3);
  EXPECT_EQ(rules.Down(), 2);
  EXPECT_EQ(SheetCountRules(2, 3).Down(), 3);
}

}  // namespace
