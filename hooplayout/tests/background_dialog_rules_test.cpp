#include "hooplayout/background_dialog_rules.h"

#include <gtest/gtest.h>

#include "platform/profile.h"
#include "testing/temp_dir.h"

namespace {

using hooplayout::BackgroundDialogRules;
using hooplayout::Swatch;

struct BackgroundRules : ::testing::Test {
  vtest::TempDir dir;
  void SetUp() override { platform::SetProfileRoot(dir.Path()); }
  void TearDown() override { platform::SetProfileRoot({}); }
};

TEST_F(BackgroundRules, SwatchesAndSwitchesEditTheSettings) {
  BackgroundDialogRules rules({1, 2, 3, true, true, "a.bmp"}, "/opt/vantle/");
  EXPECT_EQ(rules.Colour(Swatch::kGrid), 2u);
  rules.SetColour(Swatch::kCentreLine, 9);
  rules.SetColour(Swatch::kBackground, 7);
  rules.SetGridOn(false);
  rules.SetPicturePath("");
  EXPECT_EQ(rules.Settings(), (hooplayout::BackgroundSettings{7, 2, 9, false, true, ""}));
}

TEST_F(BackgroundRules, BrowseStartsInTheLastPictureFolderOrTheProgramFolder) {
  BackgroundDialogRules rules({}, "/opt/vantle/");
  EXPECT_EQ(rules.BrowseFolder(), "/opt/vantle/");
  rules.PictureChosen("/home/ann/pictures/cloth.bmp");
  EXPECT_EQ(rules.Settings().picturePath, "/home/ann/pictures/cloth.bmp");
  EXPECT_EQ(platform::Profile("Tessaly").GetString("Picture Path", "Dotbmp"), "/home/ann/pictures/");
  EXPECT_EQ(BackgroundDialogRules({}, "/opt/vantle/").BrowseFolder(), "/home/ann/pictures/");
  rules.PictureChosen("");  // cancelled: nothing changes
  EXPECT_EQ(rules.Settings().picturePath, "/home/ann/pictures/cloth.bmp");
}

}  // namespace
