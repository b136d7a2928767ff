#include "digitizer/ui/stitch_scroll_view.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <memory>

#include "design/thread_colors.h"
#include "platform/ui/qt_colour.h"
#include "testing/stitch_stream_builder.h"

namespace digitizer_ui {
namespace {

void LoadLine(digitizer::CStitchDesign& design, int32_t pairs) {
  auto record = std::make_unique<design::StitchRecord>(design::StitchRecord::kPictorelStitchRoom);
  vtest::StitchStreamBuilder b;
  b.Stitch(100, 0).End();
  std::copy(b.Bytes().begin(), b.Bytes().end(), record->StitchArea().begin());
  record->SetPairCount(pairs);
  record->SetColourCount(1);
  record->SetThreadCode(0, 5);
  design.AttachStitches(std::move(record));
}

QImage Paint(CStcView& view) {
  QImage image(view.viewport()->size(), QImage::Format_RGB32);
  image.fill(Qt::white);
  view.viewport()->render(&image);
  return image;
}

// The viewport dot showing view unit (x, y) with nothing scrolled.
QPoint DotOf(const CStcView& view, int x, int y) {
  return {static_cast<int>(x * digitizer::ScreenDotsPerUnit(view.viewport()->logicalDpiX())),
          static_cast<int>(y * digitizer::ScreenDotsPerUnit(view.viewport()->logicalDpiY()))};
}

void Click(CStcView& view, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at) {
  QMouseEvent press(QEvent::MouseButtonPress, at, view.viewport()->mapToGlobal(at), button, button, modifiers);
  QCoreApplication::sendEvent(view.viewport(), &press);
}

TEST(StitchScrollView, PaintsTheStitchesUnlessABusyTransferHoldsALongDesign) {
  digitizer::CStitchDesign design;
  LoadLine(design, 2);
  CStcView view(nullptr);
  view.resize(500, 500);
  view.show();
  view.SetDesign(&design);
  bool busy = false;
  view.SetTransferProbe([&] { return busy; });
  const QColor thread = platform_ui::ToQColor(design::GetThreadColor(5));
  // The stitch runs from (550, 550) to (650, 550) at 100 %, inside the unscrolled pane.
  const QPoint middle = DotOf(view, 600, 550);
  EXPECT_EQ(Paint(view).pixelColor(middle), thread);

  busy = true;
  EXPECT_EQ(Paint(view).pixelColor(middle), thread);  // short designs still paint
  design.Record()->SetPairCount(digitizer::kBusyDrawPairLimit + 1);
  EXPECT_NE(Paint(view).pixelColor(middle), thread);
}

TEST(StitchScrollView, ClicksZoomOnlyInZoomModeAndTheBackgroundFollowsTheDialog) {
  digitizer::CStitchDesign design;
  LoadLine(design, 2);
  CStcView view(nullptr);
  view.resize(400, 400);
  view.show();
  view.SetDesign(&design);
  Click(view, Qt::LeftButton, Qt::NoModifier, {100, 100});
  EXPECT_EQ(view.Model().Zoom(), 4);
  view.SetZoomMode(true);
  Click(view, Qt::LeftButton, Qt::NoModifier, {100, 100});
  EXPECT_EQ(view.Model().Zoom(), 5);
  // The scroll bars count 0.1 mm: the unit under the cursor stays there.
  const int cursor = digitizer::UnitsFromDots(100, view.viewport()->logicalDpiX());
  EXPECT_EQ(view.horizontalScrollBar()->value(), cursor * 5 / 4 - cursor);
  Click(view, Qt::RightButton, Qt::ControlModifier, {100, 100});
  EXPECT_EQ(view.Model().PenWidth(), 0);
  Click(view, Qt::LeftButton, Qt::ControlModifier, {100, 100});
  EXPECT_EQ(view.Model().PenWidth(), 1);

  view.SetColourRunner([](platform::PaletteColour) { return platform::PaletteRgb(0, 0, 200); });
  view.OnBackgroundColor();
  EXPECT_EQ(Paint(view).pixelColor(1, 1), QColor(0, 0, 200));
  view.SetColourRunner([](platform::PaletteColour) { return std::nullopt; });
  view.OnBackgroundColor();
  EXPECT_FALSE(view.Model().FillsBackground());
}

}  // namespace
}  // namespace digitizer_ui
