#include "design/ui/splash_wnd.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "design/splash_rules.h"

namespace design_ui {

namespace {

design::SplashRules g_rules;
CSplashWnd* g_splash = nullptr;

design::SplashInput InputOf(const QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress: {
      const auto* key = static_cast<const QKeyEvent*>(event);
      return key->modifiers() & Qt::AltModifier ? design::SplashInput::kSystemKeyDown
                                                : design::SplashInput::kKeyDown;
    }
    case QEvent::MouseButtonPress: {
      const auto button = static_cast<const QMouseEvent*>(event)->button();
      return button == Qt::LeftButton || button == Qt::RightButton || button == Qt::MiddleButton
                 ? design::SplashInput::kMouseDown
                 : design::SplashInput::kOther;
    }
    case QEvent::NonClientAreaMouseButtonPress:
      return design::SplashInput::kNonClientMouseDown;
    default:
      return design::SplashInput::kOther;
  }
}

// The pictures are drawn here rather than shipped: a program's name over the suite's.
QPixmap DrawSplash(const QString& program, const QColor& top, const QColor& bottom) {
  QPixmap pixmap(420, 260);
  QPainter painter(&pixmap);
  QLinearGradient gradient(0, 0, 0, pixmap.height());
  gradient.setColorAt(0, top);
  gradient.setColorAt(1, bottom);
  painter.fillRect(pixmap.rect(), gradient);
  painter.setPen(QPen(QColor(255, 255, 255, 160), 2, Qt::DashLine));
  for (int x = 30; x < 390; x += 24) painter.drawLine(x, 200, x + 12, 188);  // a row of stitches
  painter.setPen(Qt::white);
  QFont title = painter.font();
  title.setPointSize(32);
  title.setBold(true);
  painter.setFont(title);
  painter.drawText(QRect(0, 50, pixmap.width(), 70), Qt::AlignCenter, program);
  QFont subtitle = painter.font();
  subtitle.setPointSize(12);
  subtitle.setBold(false);
  painter.setFont(subtitle);
  painter.drawText(QRect(0, 125, pixmap.width(), 30), Qt::AlignCenter, "Velinor 7000");
  return pixmap;
}

}  // namespace

QPixmap LoadSplashBitmap(int resourceId) {
  switch (resourceId) {
    case 133:
      return DrawSplash("Brodera", QColor(40, 70, 140), QColor(120, 30, 90));
    case 142:
      return DrawSplash("Vantle", QColor(20, 100, 90), QColor(30, 40, 110));
    case 157:
      return DrawSplash("Pictorel", QColor(150, 80, 20), QColor(90, 20, 60));
    default:
      return {};
  }
}

void CSplashWnd::EnableSplashScreen(bool enable) { g_rules.Enable(enable); }

CSplashWnd* CSplashWnd::Current() { return g_splash; }

void CSplashWnd::ShowSplashScreen(QWidget* parent, bool startup, int bitmapId) {
  if (!g_rules.MayShow(g_splash != nullptr)) return;
  QPixmap bitmap = LoadSplashBitmap(bitmapId);
  if (bitmap.isNull()) return;
  g_splash = new CSplashWnd(parent, std::move(bitmap), startup);
  g_splash->show();
  g_splash->repaint();
}

CSplashWnd::CSplashWnd(QWidget* parent, QPixmap bitmap, bool startup)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      bitmap_(std::move(bitmap)),
      parent_(parent) {
  setAttribute(Qt::WA_DeleteOnClose);
  setCursor(Qt::ArrowCursor);
  setFixedSize(bitmap_.size());
  // Centred over the parent, or on the screen when there is none.
  const QRect over = parent != nullptr ? parent->frameGeometry()
                                       : QGuiApplication::primaryScreen()->availableGeometry();
  move(over.center() - rect().center());
  if (const int ms = design::SplashRules::TimerMs(startup); ms > 0) {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [] { HideSplashScreen(); });
    timer_.start(ms);
  }
  qApp->installEventFilter(this);
}

CSplashWnd::~CSplashWnd() {
  qApp->removeEventFilter(this);
  if (g_splash == this) g_splash = nullptr;
}

bool CSplashWnd::PreTranslateAppMessage(QEvent* event) {
  if (g_splash == nullptr || event == nullptr) return false;
  if (!design::SplashRules::Closes(InputOf(event))) return false;
  HideSplashScreen();
  return true;
}

void CSplashWnd::HideSplashScreen() {
  CSplashWnd* splash = g_splash;
  if (splash == nullptr) return;
  g_splash = nullptr;
  QWidget* parent = splash->parent_;
  splash->timer_.stop();
  splash->close();  // deletes it
  if (parent != nullptr) parent->update();
}

bool CSplashWnd::eventFilter(QObject*, QEvent* event) { return PreTranslateAppMessage(event); }

void CSplashWnd::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawPixmap(0, 0, bitmap_);
}

}  // namespace design_ui
