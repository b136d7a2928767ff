#include "layoutcore/ui/monogram_color_dialog.h"

#include <gtest/gtest.h>

namespace {

using editor_ui::CMonogramColorDlg;

TEST(MonogramColorDialog, MonogramColorPageTwoThirdButton) {
  CMonogramColorDlg dialog(nullptr, 4);
  EXPECT_EQ(dialog.NameText(), "White (White)");
  EXPECT_EQ(dialog.Button(0)->Color(), platform::PaletteRgb(0, 0, 0));
  dialog.Tabs()->setCurrentIndex(1);
  EXPECT_EQ(dialog.Button(0)->Color(), platform::PaletteRgb(51, 53, 10));  // thread 39
  dialog.Button(2)->click();
  EXPECT_EQ(dialog.ChosenIndex(), 41);
  EXPECT_EQ(dialog.NameText(), "Sienna (Sienna)");
  EXPECT_EQ(dialog.Swatch()->Colour(), platform::PaletteRgb(77, 52, 25));
}

}  // namespace
