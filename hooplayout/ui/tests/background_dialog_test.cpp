#include "hooplayout/ui/background_dialog.h"

#include <gtest/gtest.h>

#include <QImage>

#include "platform/profile.h"
#include "testing/temp_dir.h"

namespace {

using hooplayout::Swatch;

struct BackgroundDialog : ::testing::Test {
  vtest::TempDir dir;
  void SetUp() override { platform::SetProfileRoot(dir.Path()); }
  void TearDown() override { platform::SetProfileRoot({}); }
  hooplayout::BackgroundSettings start{platform::PaletteRgb(0xEB, 0xFF, 0xFF),
                                       platform::PaletteRgb(0xF0, 0xF0, 0xF0),
                                       platform::PaletteRgb(0xDC, 0xDC, 0xDC), true, true, ""};
};

TEST_F(BackgroundDialog, ShowsTheSettingsAndTakesTheChangesOnOk) {
  hooplayout_ui::CBackgroundDlg dialog(nullptr, start, "/opt/vantle/");
  EXPECT_EQ(dialog.windowTitle(), "Background");
  const QImage swatch = dialog.SwatchLabel(Swatch::kBackground)->pixmap().toImage();
  EXPECT_EQ(swatch.pixelColor(3, 3), QColor(0xEB, 0xFF, 0xFF));
  EXPECT_TRUE(dialog.GridBox()->isChecked());

  dialog.SetColourChooser([](platform::PaletteColour) { return platform::PaletteRgb(1, 2, 3); });
  dialog.ChangeButton(Swatch::kGrid)->click();
  EXPECT_EQ(dialog.SwatchLabel(Swatch::kGrid)->pixmap().toImage().pixelColor(3, 3), QColor(1, 2, 3));
  QString askedIn;
  dialog.SetPictureChooser([&](const QString& folder) {
    askedIn = folder;
    return QString("/pictures/cloth.bmp");
  });
  dialog.BrowseButton()->click();
  EXPECT_EQ(askedIn, "/opt/vantle/");
  EXPECT_EQ(dialog.PathEdit()->text(), "/pictures/cloth.bmp");
  dialog.CentreLineBox()->setChecked(false);
  dialog.accept();
  const auto& s = dialog.Settings();
  EXPECT_EQ(s.grid, platform::PaletteRgb(1, 2, 3));
  EXPECT_EQ(s.background, start.background);
  EXPECT_FALSE(s.centreLineOn);
  EXPECT_TRUE(s.gridOn);
  EXPECT_EQ(s.picturePath, "/pictures/cloth.bmp");
}

TEST_F(BackgroundDialog, CancelledChoicesChangeNothing) {
  hooplayout_ui::CBackgroundDlg dialog(nullptr, start, "/opt/vantle/");
  dialog.SetColourChooser([](platform::PaletteColour) { return std::nullopt; });
  dialog.SetPictureChooser([](const QString&) { return QString(); });
  dialog.ChangeButton(Swatch::kCentreLine)->click();
  dialog.BrowseButton()->click();
  dialog.accept();
  EXPECT_EQ(dialog.Settings(), start);
}

}  // namespace
