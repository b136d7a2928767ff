#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "platform/ui/qt_canvas.h"
#include "platform/ui/qt_colour.h"
#include "testing/recording_canvas.h"

namespace {

TEST(Canvas, PaletteRelativeColourBecomesItsRgb) {
  // 0x02BBGGRR: red in the low byte.
  const QColor c = platform_ui::ToQColor(0x0281ACE3);
  EXPECT_EQ(c.red(), 0xE3);
  EXPECT_EQ(c.green(), 0xAC);
  EXPECT_EQ(c.blue(), 0x81);
  EXPECT_EQ(platform::PaletteRgb(0xE3, 0xAC, 0x81), 0x0281ACE3u);
}

TEST(Canvas, QtCanvasPaintsFillsAndLinesInThreadColours) {
  QImage image(40, 40, QImage::Format_RGB32);
  image.fill(Qt::black);
  {
    QPainter painter(&image);
    platform_ui::QtCanvas canvas(painter);
    canvas.FillRect({0, 0, 20, 40}, platform::PaletteRgb(0, 0, 255));
    canvas.SetPen(platform::PaletteRgb(255, 0, 0), 1, platform::PenStyle::kSolid);
    canvas.MoveTo(25, 5);
    canvas.LineTo(35, 5);
    canvas.LineTo(35, 15);  // from where the last line ended
    canvas.SetPen(platform::kPaletteWhite, 1, platform::PenStyle::kSolid);
    canvas.Rectangle({22, 20, 30, 28});
  }
  EXPECT_EQ(image.pixelColor(10, 30), QColor(0, 0, 255));
  EXPECT_EQ(image.pixelColor(20, 30), QColor(0, 0, 0));  // right edge is exclusive
  EXPECT_EQ(image.pixelColor(30, 5), QColor(255, 0, 0));
  EXPECT_EQ(image.pixelColor(35, 10), QColor(255, 0, 0));
  EXPECT_EQ(image.pixelColor(22, 24), QColor(255, 255, 255));
  EXPECT_EQ(image.pixelColor(29, 24), QColor(255, 255, 255));
  EXPECT_EQ(image.pixelColor(25, 24), QColor(0, 0, 0));  // outline only
}

TEST(Canvas, DottedPenLeavesGaps) {
  QImage image(40, 3, QImage::Format_RGB32);
  image.fill(Qt::black);
  {
    QPainter painter(&image);
    platform_ui::QtCanvas canvas(painter);
    canvas.SetPen(platform::kPaletteWhite, 1, platform::PenStyle::kDotted);
    canvas.MoveTo(0, 1);
    canvas.LineTo(39, 1);
  }
  int lit = 0;
  for (int x = 0; x < 40; ++x) lit += image.pixelColor(x, 1) == QColor(255, 255, 255);
  EXPECT_GT(lit, 5);
  EXPECT_LT(lit, 35);
}

TEST(Canvas, RecordingCanvasKeepsLinesWithTheirPen) {
  vtest::RecordingCanvas canvas;
  canvas.SetPen(0x02112233, 2, platform::PenStyle::kDotted);
  canvas.MoveTo(1, 2);
  canvas.LineTo(3, 4);
  canvas.LineTo(5, 6);
  canvas.FillRect({0, 0, 4, 4}, platform::kPaletteWhite);
  const auto lines = canvas.Of(vtest::CanvasOp::kLine);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1].points[0], (platform::CanvasPoint{3, 4}));
  EXPECT_EQ(lines[1].points[1], (platform::CanvasPoint{5, 6}));
  EXPECT_EQ(lines[0].colour, 0x02112233u);
  EXPECT_EQ(lines[0].penWidth, 2);
  EXPECT_EQ(lines[0].penStyle, platform::PenStyle::kDotted);
  EXPECT_EQ(canvas.Of(vtest::CanvasOp::kFill).at(0).colour, platform::kPaletteWhite);
}

}  // namespace
