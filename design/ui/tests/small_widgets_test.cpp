#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "design/ui/color_button.h"
#include "design/ui/splash_wnd.h"

namespace {

using design_ui::CSplashWnd;

TEST(ColorButton, ShowsOnlyItsColourAndStoresItWhileHidden) {
  design_ui::CColorButton button;
  button.resize(20, 16);
  button.SetColor(0x0281ACE3);  // not shown yet: only stored
  EXPECT_EQ(button.Color(), 0x0281ACE3u);
  const QImage image = button.grab().toImage();
  for (QPoint p : {QPoint(0, 0), QPoint(10, 8), QPoint(19, 15)}) {
    EXPECT_EQ(image.pixelColor(p), QColor(0xE3, 0xAC, 0x81));  // no frame, no focus mark
  }
}

// A window that counts the keys that reach it.
class KeyCounter : public QWidget {
 public:
  int keys = 0;

 protected:
  void keyPressEvent(QKeyEvent*) override { ++keys; }
};

class Splash : public ::testing::Test {
 protected:
  ~Splash() override {
    CSplashWnd::HideSplashScreen();
    CSplashWnd::EnableSplashScreen(true);
    QCoreApplication::processEvents();
  }
};

TEST_F(Splash, TurnedOffItNeverShows) {
  CSplashWnd::EnableSplashScreen(false);
  CSplashWnd::ShowSplashScreen(nullptr, true);
  CSplashWnd::ShowSplashScreen(nullptr, false);  // from the About box
  EXPECT_EQ(CSplashWnd::Current(), nullptr);
}

TEST_F(Splash, StartupSplashHasATimerAndASecondRequestIsIgnored) {
  CSplashWnd::ShowSplashScreen(nullptr, true);
  CSplashWnd* first = CSplashWnd::Current();
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->isVisible());
  EXPECT_TRUE(first->StartupTimerRunning());
  EXPECT_EQ(first->size(), design_ui::LoadSplashBitmap(133).size());
  CSplashWnd::ShowSplashScreen(nullptr, false);
  EXPECT_EQ(CSplashWnd::Current(), first);
}

TEST_F(Splash, AboutBoxSplashWaitsForAKeyAndSwallowsIt) {
  KeyCounter main;
  main.show();
  CSplashWnd::ShowSplashScreen(&main, false);
  ASSERT_NE(CSplashWnd::Current(), nullptr);
  EXPECT_FALSE(CSplashWnd::Current()->StartupTimerRunning());
  QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
  QApplication::sendEvent(&main, &press);
  EXPECT_EQ(CSplashWnd::Current(), nullptr);
  EXPECT_EQ(main.keys, 0);  // the key that closed the splash never reached the program
  QKeyEvent next(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, "b");
  QApplication::sendEvent(&main, &next);
  EXPECT_EQ(main.keys, 1);
}

TEST_F(Splash, MouseButtonsCloseItAndOtherInputDoesNot) {
  CSplashWnd::ShowSplashScreen(nullptr, false);
  QEvent other(QEvent::Enter);
  EXPECT_FALSE(CSplashWnd::PreTranslateAppMessage(&other));
  EXPECT_NE(CSplashWnd::Current(), nullptr);
  QMouseEvent right(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::RightButton,
                    Qt::RightButton, Qt::NoModifier);
  EXPECT_TRUE(CSplashWnd::PreTranslateAppMessage(&right));
  EXPECT_EQ(CSplashWnd::Current(), nullptr);
  EXPECT_FALSE(CSplashWnd::PreTranslateAppMessage(&right));  // nothing left to close
}

TEST(SplashBitmap, OnlyTheProgramsPicturesLoad) {
  EXPECT_FALSE(design_ui::LoadSplashBitmap(133).isNull());
  EXPECT_FALSE(design_ui::LoadSplashBitmap(142).isNull());
  EXPECT_TRUE(design_ui::LoadSplashBitmap(134).isNull());
}

}  // namespace
