#include "digitizer/ui/outline_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QPixmap>

namespace digitizer_ui {
namespace {

digitizer::PixelImage Picture() {
  digitizer::PixelImage picture(64, 48, platform::kPaletteWhite);
  picture.FillRect(10, 10, 40, 30, platform::PaletteRgb(0x1F, 0x90, 0xFF));
  return picture;
}

TEST(OutlineDialogs, PreviewOutlineShowsTheOptionsAndReadsThemBack) {
  const digitizer::PixelImage fill = Picture();
  digitizer::PixelImage line(64, 48, platform::kPaletteWhite);
  digitizer::OutlineOptions options;
  options.lineThickness = 7;
  CPreviewOutlineDlg dialog(nullptr, fill, line, options);
  EXPECT_EQ(dialog.ThicknessBox()->count(), 20);
  EXPECT_EQ(dialog.ThicknessBox()->currentText(), " 7 dots");
  EXPECT_TRUE(dialog.SensitivityButton(1)->isChecked());
  EXPECT_FALSE(dialog.IsReady());
  dialog.show();
  QApplication::processEvents();  // the queued build after showing
  EXPECT_TRUE(dialog.IsReady());

  dialog.SensitivityButton(0)->click();
  dialog.DarkLinesBox()->click();
  EXPECT_EQ(dialog.Options().sensitivity, digitizer::kSensitivityLow);
  EXPECT_TRUE(dialog.Options().darkLinesOnly);
  EXPECT_EQ(dialog.Options().lineThickness, 7);
  // The line picture holds the picture quantised at Low.
  EXPECT_EQ(line.At(20, 20), platform::PaletteRgb(0x00, 0x80, 0xC0));
  // The fill picture is only read.
  EXPECT_EQ(fill.At(20, 20), platform::PaletteRgb(0x1F, 0x90, 0xFF));
}

TEST(OutlineDialogs, ColorSensitivityRequantisesWithoutTouchingTheSource) {
  const digitizer::PixelImage source = Picture();
  CColorSensitivityDlg dialog(nullptr, source, digitizer::kSensitivityMedium);
  EXPECT_EQ(dialog.Quantised().At(20, 20), platform::PaletteRgb(0x20, 0xA0, 0xE0));
  dialog.SensitivityButton(2)->click();
  EXPECT_EQ(dialog.Sensitivity(), digitizer::kSensitivityHigh);
  EXPECT_EQ(dialog.Quantised().At(20, 20), platform::PaletteRgb(0x20, 0x90, 0xF0));
  EXPECT_EQ(source.At(20, 20), platform::PaletteRgb(0x1F, 0x90, 0xFF));
}

TEST(OutlineDialogs, ColorSensitivityStretchesThePictureIntoTheInsetArea) {
  // A wide picture, black on the left half, into a tall frame: stretched, it fills the area.
  digitizer::PixelImage source(80, 20, platform::kPaletteWhite);
  source.FillRect(0, 0, 40, 20, platform::kPaletteBlack);
  CColorSensitivityDlg dialog(nullptr, source, digitizer::kSensitivityMedium);
  const QImage shown = dialog.PreviewFrame()->pixmap().toImage();
  const int w = CColorSensitivityDlg::kPreviewWidth;
  const int h = CColorSensitivityDlg::kPreviewHeight;
  ASSERT_EQ(shown.width(), w);
  EXPECT_EQ(shown.pixelColor(0, 0), QColor(220, 220, 220));
  EXPECT_EQ(shown.pixelColor(2, 2), QColor(Qt::black));
  EXPECT_EQ(shown.pixelColor(2, h - 4), QColor(Qt::black));
  EXPECT_EQ(shown.pixelColor(w - 4, h - 4), QColor(0xE0, 0xE0, 0xE0));  // white, quantised
  EXPECT_EQ(shown.pixelColor(w - 3, h - 3), QColor(220, 220, 220));
}

}  // namespace
}  // namespace digitizer_ui
