#include "layoutcore/monogram/monogram_color_rules.h"

#include <gtest/gtest.h>

namespace {

using editor::MonogramColorRules;

TEST(MonogramColor, ThirdButtonOnPageTwoChoosesThread41) {
  MonogramColorRules rules(0);
  EXPECT_EQ(rules.Page(), 0);
  rules.SetPage(1);
  rules.ChooseButton(1008);
  EXPECT_EQ(rules.ChosenIndex(), 41);
  EXPECT_EQ(rules.NameText(), "Sienna (Sienna)");
  EXPECT_EQ(rules.SwatchColour(), platform::PaletteRgb(77, 52, 25));
}

TEST(MonogramColor, PagesShowTheirThirtyNineThreads) {
  MonogramColorRules rules(39);
  EXPECT_EQ(rules.ButtonThreadIndex(0), 0);
  EXPECT_EQ(rules.ButtonColour(0), platform::PaletteRgb(0, 0, 0));
  EXPECT_EQ(rules.ButtonColour(4), platform::PaletteRgb(255, 255, 255));
  rules.SetPage(1);
  EXPECT_EQ(rules.ButtonThreadIndex(38), 77);
  EXPECT_EQ(rules.ButtonColour(38), platform::PaletteRgb(178, 221, 83));
  rules.SetPage(2);  // no third page
  EXPECT_EQ(rules.Page(), 1);
  EXPECT_EQ(rules.NameText(), "Dark sepia (Dk sepia)");
  rules.ChooseButton(1045);  // not a colour button
  rules.ChooseButton(1005);
  EXPECT_EQ(rules.ChosenIndex(), 39);
}

TEST(MonogramColor, AnIndexOutsideTheTableHasNoNameAndTheUnknownColour) {
  MonogramColorRules rules(120);
  EXPECT_EQ(rules.NameText(), std::nullopt);
  EXPECT_EQ(rules.SwatchColour(), 0x02000000u);
  const platform::CanvasRect swatch = MonogramColorRules::SwatchRect(10, 20);
  EXPECT_EQ(swatch, (platform::CanvasRect{15, 26, 37, 46}));
}

}  // namespace
