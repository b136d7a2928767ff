#include "hooplayout/ui/vantle_cursors.h"

#include <QCursor>
#include <QPainter>
#include <QPixmap>

namespace hooplayout_ui {

namespace {

constexpr int kCursorSide = 32;

QPixmap BlankCursorPixmap() {
  QPixmap pixmap(kCursorSide, kCursorSide);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

// A magnifying glass with a plus: the hot spot is the glass's centre.
const QCursor& ZoomCursor() {
  static const QCursor cursor = [] {
    QPixmap pixmap = BlankCursorPixmap();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::white, 4));
    painter.drawEllipse(QRect(3, 3, 16, 16));
    painter.drawLine(17, 17, 28, 28);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawEllipse(QRect(3, 3, 16, 16));
    painter.drawLine(17, 17, 28, 28);
    painter.drawLine(7, 11, 15, 11);
    painter.drawLine(11, 7, 11, 15);
    return QCursor(pixmap, 11, 11);
  }();
  return cursor;
}

// A round arrow about the hot spot.
const QCursor& RotateCursor() {
  static const QCursor cursor = [] {
    QPixmap pixmap = BlankCursorPixmap();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawArc(QRect(6, 6, 20, 20), 30 * 16, 300 * 16);
    painter.setBrush(Qt::black);
    const QPoint head[3] = {QPoint(24, 4), QPoint(28, 13), QPoint(19, 12)};
    painter.drawPolygon(head, 3);
    return QCursor(pixmap, 16, 16);
  }();
  return cursor;
}

}  // namespace

void SetViewCursor(QWidget& widget, hooplayout::ViewCursor cursor) {
  using hooplayout::ViewCursor;
  switch (cursor) {
    case ViewCursor::kDefault: widget.unsetCursor(); break;
    case ViewCursor::kArrow: widget.setCursor(Qt::ArrowCursor); break;
    case ViewCursor::kSizeAll: widget.setCursor(Qt::SizeAllCursor); break;
    case ViewCursor::kNo: widget.setCursor(Qt::ForbiddenCursor); break;
    case ViewCursor::kSizeNwse: widget.setCursor(Qt::SizeFDiagCursor); break;
    case ViewCursor::kSizeNesw: widget.setCursor(Qt::SizeBDiagCursor); break;
    case ViewCursor::kRotate: widget.setCursor(RotateCursor()); break;
    case ViewCursor::kZoom: widget.setCursor(ZoomCursor()); break;
  }
}

}  // namespace hooplayout_ui
