// The layout's scroll view forwards the mouse to the view model: a drag on the screen moves
// the design, a press on a corner handle shows the resize cursor. The rules are tested on
// the plain view model.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMouseEvent>

#include "editor/command_ids.h"
#include "editor/ui/brodera_application.h"
#include "platform/file_io.h"
#include "platform/profile.h"
#include "testing/qnf_file_builder.h"
#include "testing/recording_message_box.h"
#include "testing/stitch_shapes.h"
#include "testing/temp_dir.h"
#include "design/ui/pat_list.h"

namespace {

class BroderaMouse : public ::testing::Test {
 protected:
  BroderaMouse() {
    platform::SetProfileRoot(dir.Path() / "config");
    app = std::make_unique<editor_ui::BroderaApplication>((dir / "install").string() + "/",
                                                          (dir / "work").string() + "/");
    app->ScrollView().SetImportRunner([this](design_ui::CPatList& dialog) -> std::optional<std::string> {
      if (!dialog.Model().OnFileNameOK(path)) return std::nullopt;
      return path;
    });
    app->Start({});
    vtest::QnfFileSpec spec;
    spec.threadCodes = {20};
    spec.stitches = vtest::RectangleStitches(200, 100, 1);
    EXPECT_FALSE(platform::WriteWholeFile(dir / "rose.qnf", vtest::BuildQnfFile(spec)));
    path = (dir / "rose.qnf").string();
    app->Frame().Dispatch(editor::cmd::kImportDesign);
  }
  ~BroderaMouse() override { platform::SetProfileRoot({}); }

  void Send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QWidget* viewport = app->ScrollView().viewport();
    QMouseEvent event(type, QPointF(at), viewport->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(viewport, &event);
  }
  // The client point of a layout point, with the view scrolled as it is.
  QPoint Client(int32_t x, int32_t y) {
    const editor::PixelPoint scroll = app->ScrollView().ScrollPosition();
    return {x + 20 - scroll.x, y + 20 - scroll.y};
  }

  vtest::TempDir dir;
  vtest::RecordingMessageBox box;
  std::unique_ptr<editor_ui::BroderaApplication> app;
  std::string path;
};

TEST_F(BroderaMouse, ADragOnTheScreenMovesTheDesign) {
  ASSERT_EQ(app->Document().GetDesignCount(), 1);
  const editor::DesignObject& placed = app->Document().GetDesignList().front();
  const int32_t x = placed.centreX, y = placed.centreY;
  Send(QEvent::MouseButtonPress, Client(x, y), Qt::LeftButton, Qt::LeftButton);
  Send(QEvent::MouseMove, Client(x + 30, y + 10), Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(app->ScrollView().viewport()->cursor().shape(), Qt::SizeAllCursor);
  Send(QEvent::MouseButtonRelease, Client(x + 30, y + 10), Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(app->Document().GetDesignList().front().centreX, x + 30);
  EXPECT_EQ(app->Document().GetDesignList().front().centreY, y + 10);
  EXPECT_TRUE(app->Frame().Action(editor::cmd::kEditUndo)->isEnabled());
}

TEST_F(BroderaMouse, HoveringOverAHandleShowsTheResizeCursor) {
  const editor::PixelPoint corner = app->View().Frame()[2];
  const editor::PixelPoint scroll = app->ScrollView().ScrollPosition();
  Send(QEvent::MouseMove, QPoint(corner.x - scroll.x, corner.y - scroll.y), Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(app->ScrollView().viewport()->cursor().shape(), Qt::SizeFDiagCursor);
  Send(QEvent::MouseButtonPress, QPoint(corner.x - scroll.x, corner.y - scroll.y), Qt::RightButton,
       Qt::RightButton);
  EXPECT_EQ(app->ScrollView().viewport()->cursor().shape(), Qt::BitmapCursor);  // rotating
  Send(QEvent::MouseButtonRelease, QPoint(corner.x - scroll.x, corner.y - scroll.y), Qt::RightButton,
       Qt::NoButton);
  EXPECT_FALSE(app->View().Mouse().rightDown);
}

TEST_F(BroderaMouse, TheZoomAndRotateCursorsAreDrawnToShowOnAnyBackground) {
  // Black strokes on a white outline, not a stock shape.
  auto blackAndWhite = [](const QCursor& cursor) {
    const QImage image = cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    bool black = false, white = false;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        if (c.alpha() < 250) continue;
        black = black || c.lightness() < 40;
        white = white || c.lightness() > 215;
      }
    }
    return black && white;
  };
  app->Frame().Dispatch(editor::cmd::kZoomTool);
  Send(QEvent::MouseMove, QPoint(50, 50), Qt::NoButton, Qt::NoButton);
  const QCursor zoom = app->ScrollView().viewport()->cursor();
  EXPECT_EQ(zoom.shape(), Qt::BitmapCursor);
  EXPECT_TRUE(blackAndWhite(zoom));
  app->Frame().Dispatch(editor::cmd::kZoomTool);

  const editor::PixelPoint corner = app->View().Frame()[2];
  const editor::PixelPoint scroll = app->ScrollView().ScrollPosition();
  Send(QEvent::MouseButtonPress, QPoint(corner.x - scroll.x, corner.y - scroll.y), Qt::RightButton, Qt::RightButton);
  const QCursor rotate = app->ScrollView().viewport()->cursor();
  EXPECT_EQ(rotate.shape(), Qt::BitmapCursor);
  EXPECT_TRUE(blackAndWhite(rotate));
  Send(QEvent::MouseButtonRelease, QPoint(corner.x - scroll.x, corner.y - scroll.y), Qt::RightButton, Qt::NoButton);
}

}  // namespace

namespace {

TEST_F(BroderaMouse, TheCombineBoxIsDraggedOverTheDesignsAndCombinesThem) {
  app->Frame().Dispatch(editor::cmd::kImportDesign);  // a second design, placed where the first is
  ASSERT_EQ(app->Document().GetDesignCount(), 2);
  app->Frame().Action(editor::cmd::kCombine)->trigger();
  ASSERT_TRUE(app->View().CombineMode());
  EXPECT_TRUE(app->Frame().Action(editor::cmd::kCombine)->isChecked());
  const auto [boxX, boxY] = app->View().CombineBoxCentre();
  const editor::DesignObject& placed = app->Document().GetDesignList().front();
  box.Script({platform::kIdYes});
  Send(QEvent::MouseButtonPress, Client(boxX, boxY), Qt::LeftButton, Qt::LeftButton);
  Send(QEvent::MouseMove, Client(placed.centreX, placed.centreY), Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(app->View().Combining().pickCount, 2);
  Send(QEvent::MouseButtonRelease, Client(placed.centreX, placed.centreY), Qt::LeftButton, Qt::NoButton);
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(app->Document().GetDesignCount(), 1);
  EXPECT_FALSE(app->View().CombineMode());
}

}  // namespace
