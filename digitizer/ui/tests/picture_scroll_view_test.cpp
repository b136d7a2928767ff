#include "digitizer/ui/picture_scroll_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include "digitizer/picture_view_commands.h"
#include "digitizer/ui/auto_register_dialog.h"
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

// The view hands the model the run's own result, not the dialog's accepted or rejected: a run
// whose stitches failed, and a dialog closed before Start.
TEST(PictureScrollView, AutoRegisterTellsAFailedRunAndACancelBeforeStart) {
  struct FailingDesign : digitizer::AutoRegisterDesign {
    void DeleteAllParts() override {}
    bool AddPart(int, int, std::span<const uint8_t>) override { return ++parts > 0; }
    int PartCount() const override { return parts; }
    int GenerateStitches(int) override { return -1; }
    void StoreOutline(std::span<const uint8_t>, int, int) override {}
    int parts = 0;
  } design;
  vtest::TempDir dir;
  platform::SetProfileRoot(dir.Path());
  {
    digitizer::CImportDoc doc(dir.Path());
    CBmpView view(nullptr, doc);
    digitizer::PixelImage fill(64, 48, platform::kPaletteWhite);
    digitizer::PixelImage line(64, 48, platform::kPaletteWhite);
    fill.FillRect(10, 8, 40, 38, platform::kPaletteBlack);
    digitizer::AutoRegisterRun run(64, 48);
    for (const bool start : {true, false}) {
      QTimer::singleShot(0, [start] {
        auto* dialog = dynamic_cast<CAutoRegisterDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        start ? dialog->StartButton()->click() : dialog->reject();
      });
      EXPECT_EQ(view.RunAutoRegister(run, fill, line, design, {}),
                start ? digitizer::AutoRegisterResult::kStitchFailed : digitizer::AutoRegisterResult::kNotStarted);
    }
  }
  platform::SetProfileRoot({});
}

}  // namespace
}  // namespace digitizer_ui
