#include "digitizer/ui/picture_scroll_view.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>

#include "digitizer/picture_view_commands.h"
#include "platform/profile.h"
#include "testing/temp_dir.h"

namespace digitizer_ui {
namespace {

void Press(QWidget* viewport, Qt::MouseButton button, QPoint at) {
  QMouseEvent press(QEvent::MouseButtonPress, at, viewport->mapToGlobal(at), button, button, Qt::NoModifier);
  QCoreApplication::sendEvent(viewport, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, at, viewport->mapToGlobal(at), button, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(viewport, &release);
}

// A click on the window reaches the model as a picture pixel, and the paint shows its result.
TEST(PictureScrollView, AClickSelectsTheRegionUnderItAndThePaintShowsTheSelection) {
  vtest::TempDir dir;
  platform::SetProfileRoot(dir.Path());
  {
    digitizer::CImportDoc doc(dir.Path());
    CBmpView view(nullptr, doc);
    view.resize(600, 600);
    view.show();
    digitizer::BmpViewModel& model = view.Model();
    // A pencil stroke outside the square lets a click select on the drawing.
    model.RunCommand(digitizer::pview_cmd::kPencil);
    QWidget* viewport = view.viewport();
    QMouseEvent down(QEvent::MouseButtonPress, QPoint(400, 400), viewport->mapToGlobal(QPoint(400, 400)), Qt::LeftButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &down);
    QMouseEvent move(QEvent::MouseMove, QPoint(404, 400), viewport->mapToGlobal(QPoint(404, 400)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &move);
    model.OnButtonUp({404, 400});
    EXPECT_TRUE(model.Drawn());
    model.RunCommand(digitizer::pview_cmd::kPencil);
    for (digitizer::PixelImage* image : {&model.FillBitmap(), &model.LineBitmap()}) {
      for (int i = 10; i <= 60; ++i) {
        image->Set(i, 10, platform::kPaletteBlack), image->Set(i, 60, platform::kPaletteBlack);
        image->Set(10, i, platform::kPaletteBlack), image->Set(60, i, platform::kPaletteBlack);
      }
    }
    EXPECT_EQ(model.FillBitmap().At(398, 398), platform::kPaletteBlack);

    Press(view.viewport(), Qt::LeftButton, QPoint(32, 32));
    EXPECT_TRUE(model.Selected());
    EXPECT_EQ(model.FillBitmap().At(30, 30), digitizer::pview_colour::kFillSelection);
    QImage shown(view.viewport()->size(), QImage::Format_RGB32);
    view.viewport()->render(&shown);
    EXPECT_EQ(shown.pixelColor(32, 32), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(shown.pixelColor(100, 100), QColor(Qt::white));

    Press(view.viewport(), Qt::RightButton, QPoint(32, 32));
    EXPECT_EQ(model.FillBitmap().At(30, 30), platform::kPaletteWhite);
  }
  platform::SetProfileRoot({});
}

}  // namespace
}  // namespace digitizer_ui
