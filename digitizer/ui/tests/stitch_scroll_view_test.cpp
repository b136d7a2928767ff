#include "digitizer/ui/stitch_scroll_view.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <memory>

#include "design/hoop.h"
#include "design/thread_colors.h"
#include "platform/ui/qt_canvas.h"
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

// A run of equal stitches (dx, dy; dy upwards) from the work area's centre.
void LoadRun(digitizer::CStitchDesign& design, int stitches, int dx, int dy) {
  auto record = std::make_unique<design::StitchRecord>(design::StitchRecord::kPictorelStitchRoom);
  vtest::StitchStreamBuilder b;
  for (int i = 0; i < stitches; ++i) b.Stitch(dx, dy);
  b.End();
  std::copy(b.Bytes().begin(), b.Bytes().end(), record->StitchArea().begin());
  record->SetPairCount(static_cast<int32_t>(b.Bytes().size() / 2));
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

// The viewport dot showing view unit (x, y) where the view is scrolled to.
QPoint DotOf(const CStcView& view, int x, int y) {
  return {static_cast<int>((x - view.horizontalScrollBar()->value()) *
                           digitizer::ScreenDotsPerUnit(view.viewport()->logicalDpiX())),
          static_cast<int>((y - view.verticalScrollBar()->value()) *
                           digitizer::ScreenDotsPerUnit(view.viewport()->logicalDpiY()))};
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

// True when the dot or one of its eight neighbours has the colour: a 1-pixel frame line or a
// thin stitch falls on a whole dot only up to rounding.
bool ShowsNear(const QImage& image, QPoint dot, const QColor& colour) {
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      const QPoint p = dot + QPoint(dx, dy);
      if (image.rect().contains(p) && image.pixelColor(p) == colour) return true;
    }
  }
  return false;
}

// Stitches that run 35 mm past the hoop frame's left and top edges (y downwards: -350) can be
// scrolled into view with the frame's left and top edges; scrolled to the end, the right and
// bottom edges show.
TEST(StitchScrollView, ShowsTheWholeHoopAndStitchesPastItsLeftAndTopEdges) {
  digitizer::CStitchDesign design;
  LoadRun(design, 9, -100, 100);  // from (550, 550) to (-350, -350)
  ASSERT_EQ(design.Extents().left, -350);

  CStcView view(nullptr);
  view.resize(500, 500);
  view.show();
  view.SetDesign(&design);
  // The view opens on the stitches' far corner with the margin beyond it.
  EXPECT_EQ(view.horizontalScrollBar()->value(), -350 - digitizer::kStitchViewMargin);
  EXPECT_EQ(view.verticalScrollBar()->value(), -350 - digitizer::kStitchViewMargin);
  const QColor thread = platform_ui::ToQColor(design::GetThreadColor(5));
  const QColor outside = platform_ui::ToQColor(digitizer::kHoopOutsideRed);
  QImage image = Paint(view);
  EXPECT_TRUE(ShowsNear(image, DotOf(view, -300, -300), thread));
  EXPECT_TRUE(ShowsNear(image, DotOf(view, 0, 400), outside));    // the frame's left edge
  EXPECT_TRUE(ShowsNear(image, DotOf(view, 400, 0), outside));    // and its top edge

  view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum());
  view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
  image = Paint(view);
  EXPECT_TRUE(ShowsNear(image, DotOf(view, 1100, 900), outside));  // the right edge
  EXPECT_TRUE(ShowsNear(image, DotOf(view, 900, 1100), outside));  // the bottom edge
}

// On every hoop and at every zoom of the menu, a design that runs past the hoop's top-left
// corner leaves the frame's four sides whole: each side shows at a quarter, half and three
// quarters of its length, with the view scrolled to that point.
TEST(StitchScrollView, DrawsAllFourSidesOfTheHoopFrameOnEveryHoopAndZoom) {
  const QColor outside = platform_ui::ToQColor(digitizer::kHoopOutsideRed);
  for (const int hoop : {design::kStandardHoop, design::kSmallHoop, design::kLargeHoop}) {
    digitizer::CStitchDesign design;
    design.SetHoop(hoop);
    LoadRun(design, 11, -100, 100);  // up and left, past (0, 0) on every hoop
    ASSERT_LT(design.Extents().left, 0);
    ASSERT_LT(design.Extents().top, 0);

    CStcView view(nullptr);
    view.resize(420, 420);
    view.show();
    view.SetDesign(&design);
    const int clientX = digitizer::UnitsFromDots(view.viewport()->width(), view.viewport()->logicalDpiX());
    const int clientY = digitizer::UnitsFromDots(view.viewport()->height(), view.viewport()->logicalDpiY());
    for (int zoom = 2; zoom <= 9; ++zoom) {
      view.SetZoom(zoom);
      // The frame's last column and row of view units.
      const int right = design.WorkWidth() * 5 / 2 * zoom / 4 - 1;
      const int bottom = design.WorkHeight() * 5 / 2 * zoom / 4 - 1;
      for (int k = 1; k <= 3; ++k) {
        const QPoint sides[] = {{0, bottom * k / 4}, {right, bottom * k / 4}, {right * k / 4, 0}, {right * k / 4, bottom}};
        for (int side = 0; side < 4; ++side) {
          const QPoint at = sides[side];
          view.horizontalScrollBar()->setValue(at.x() - clientX / 2);
          view.verticalScrollBar()->setValue(at.y() - clientY / 2);
          EXPECT_TRUE(ShowsNear(Paint(view), DotOf(view, at.x(), at.y()), outside))
              << "hoop " << hoop << " zoom " << zoom << " side " << side << " at " << k << "/4";
        }
      }
    }
  }
}

// A slanting run of stitches drawn with the thinnest pen shows unbroken at every zoom, as
// the view paints it from its kept drawing: every screen column along it holds the thread.
TEST(StitchScrollView, AThinSlantingRunShowsUnbrokenAtEveryZoom) {
  digitizer::CStitchDesign design;
  LoadRun(design, 10, 40, -20);  // from (550, 550) to (950, 750), y downwards
  const QColor thread = platform_ui::ToQColor(design::GetThreadColor(5));

  CStcView view(nullptr);
  view.resize(420, 420);
  view.show();
  view.SetDesign(&design);
  for (int zoom = 2; zoom <= 9; ++zoom) {
    view.SetZoom(zoom);
    view.horizontalScrollBar()->setValue(550 * zoom / 4 - 20);
    view.verticalScrollBar()->setValue(550 * zoom / 4 - 20);
    const QImage image = Paint(view);
    const QPoint from = DotOf(view, 550 * zoom / 4, 550 * zoom / 4);
    const QPoint to = DotOf(view, 950 * zoom / 4, 750 * zoom / 4);
    ASSERT_TRUE(image.rect().contains(to)) << "zoom " << zoom;
    int broken = 0;
    for (int x = from.x() + 2; x <= to.x() - 2; ++x) {
      const int y = from.y() + (to.y() - from.y()) * (x - from.x()) / (to.x() - from.x());
      bool shown = false;
      for (int dy = -2; dy <= 2 && !shown; ++dy) shown = image.pixelColor(x, y + dy) == thread;
      broken += !shown;
    }
    EXPECT_EQ(broken, 0) << "zoom " << zoom << ": columns without the thread";
  }
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
  const int start = view.horizontalScrollBar()->value();
  Click(view, Qt::LeftButton, Qt::NoModifier, {100, 100});
  EXPECT_EQ(view.Model().Zoom(), 5);
  // The scroll bars count 0.1 mm: the unit under the cursor stays there.
  const int cursor = digitizer::UnitsFromDots(100, view.viewport()->logicalDpiX());
  EXPECT_EQ(view.horizontalScrollBar()->value(), (start + cursor) * 5 / 4 - cursor);
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

namespace digitizer_ui {
namespace {

// Zigzags with jumps in two colours: a region repainted alone, or painted from the kept
// drawing, shows the pixels the whole view shows there, at 100 % (a 4-pixel pen) and 150 %.
TEST(StitchScrollView, RegionsAndTheKeptDrawingPaintTheSamePixels) {
  digitizer::CStitchDesign design;
  auto record = std::make_unique<design::StitchRecord>(design::StitchRecord::kPictorelStitchRoom);
  vtest::StitchStreamBuilder b;
  for (int i = 0; i < 400; ++i) {
    if (i == 200) b.ColourChange();
    if (i % 37 == 36) b.Jump(-60, 45);
    b.Stitch(i % 2 ? 30 : -27, i % 3 ? 11 : -9);
  }
  b.End();
  std::copy(b.Bytes().begin(), b.Bytes().end(), record->StitchArea().begin());
  record->SetPairCount(static_cast<int32_t>(b.Bytes().size() / 2));
  record->SetColourCount(2);
  record->SetThreadCode(0, 5);
  record->SetThreadCode(1, 9);
  design.AttachStitches(std::move(record));
  for (const int zoomIndex : {4, 6}) {
    digitizer::StcViewModel model;
    model.OnUpdate(digitizer::StitchViewAreaOf(design));
    model.SetZoom(zoomIndex, digitizer::StitchViewAreaOf(design));
    platform_ui::DesignImageCache cache;
    auto paint = [&](QRect clip, bool kept) {
      QImage image(1200, 1200, QImage::Format_RGB32);
      image.fill(Qt::white);
      QPainter painter(&image);
      painter.setClipRect(clip);
      platform_ui::QtCanvas canvas(painter);
      cache.BeginPaint(painter);
      model.Draw(design, canvas, false, kept ? &cache : nullptr);
      cache.EndPaint();
      return image;
    };
    const QRect whole(0, 0, 1200, 1200), region(500, 500, 400, 400);
    const QImage all = paint(whole, false);
    int stitched = 0;  // the region holds stitches
    for (int y = region.top(); y <= region.bottom(); ++y) {
      for (int x = region.left(); x <= region.right(); ++x) stitched += all.pixel(x, y) != 0xFFFFFFFFu;
    }
    ASSERT_GT(stitched, 500);
    EXPECT_EQ(paint(region, false).copy(region), all.copy(region));
    paint(whole, true);
    EXPECT_EQ(cache.KeptImages(), 1);
    // Away from the image's edge, where Qt cuts lines of the whole view (and so the corners
    // of the hoop frame may come out a pixel apart).
    const QRect inner = whole.adjusted(60, 60, -60, -60);
    const QImage kept = paint(whole, true);
    int differ = 0;
    QPoint first;
    for (int y = inner.top(); y <= inner.bottom(); ++y) {
      for (int x = inner.left(); x <= inner.right(); ++x) {
        if (kept.pixel(x, y) != all.pixel(x, y) && differ++ == 0) first = QPoint(x, y);
      }
    }
    EXPECT_EQ(differ, 0) << "zoom " << zoomIndex << " first at " << first.x() << ", " << first.y()
                         << " kept " << std::hex << kept.pixel(first) << " whole " << all.pixel(first);
  }
}

}  // namespace
}  // namespace digitizer_ui
