#include "platform/ui/caption_width.h"

#include <algorithm>

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QStyle>
#include <QWidget>

namespace platform_ui {

namespace {

// The title bar holds the window's icon and three buttons (minimise, maximise, close), each
// about as wide as the bar is high, and a gap at either end of the caption.
constexpr int kTitleBarSquares = 4;
constexpr int kCaptionGaps = 2;

}  // namespace

int CaptionWidth(const QWidget& window) {
  QFont font = QApplication::font("QMdiSubWindowTitleBar");
  font.setBold(true);
  const int text = QFontMetrics(font).horizontalAdvance(window.windowTitle());
  const int bar = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
  return text + (kTitleBarSquares + kCaptionGaps) * bar;
}

void WidenForCaption(QWidget& window) {
  const int needed = CaptionWidth(window);
  window.setMinimumWidth(std::max(window.minimumWidth(), needed));
  if (window.width() < needed) window.resize(needed, window.height());
}

}  // namespace platform_ui
