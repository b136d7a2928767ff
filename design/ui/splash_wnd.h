#pragma once

// The picture a program shows while it starts, and from the About box on request. At most
// one exists; while it does, every key or mouse button going down anywhere in the program
// closes it and is swallowed. Started at start-up it also closes by itself after 3 s.

#include <QEvent>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace design_ui {

// Splash bitmaps by resource number: 133 Brodera, 142 Vantle, 157 Pictorel. An unknown
// number gives a null pixmap.
QPixmap LoadSplashBitmap(int resourceId);

constexpr int kBroderaSplashBitmap = 133;
constexpr int kVantleSplashBitmap = 142;

class CSplashWnd : public QWidget {
 public:
  // The application sets this from its command line during start-up.
  static void EnableSplashScreen(bool enable);
  // Shows the splash once, over parent; startup true starts the close timer.
  static void ShowSplashScreen(QWidget* parent, bool startup, int bitmapId = kBroderaSplashBitmap);
  // Called first with every message the application pre-translates: true when the message
  // closed the splash (and must not reach the program).
  static bool PreTranslateAppMessage(QEvent* event);
  static void HideSplashScreen();
  // The splash that shows, or null.
  static CSplashWnd* Current();

  bool StartupTimerRunning() const { return timer_.isActive(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  CSplashWnd(QWidget* parent, QPixmap bitmap, bool startup);
  ~CSplashWnd() override;

  QPixmap bitmap_;
  QTimer timer_;
  QWidget* parent_;
};

}  // namespace design_ui
