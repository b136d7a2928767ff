#include "layoutcore/ui/layout_cursors.h"

#include <QPainter>
#include <QPixmap>

namespace editor_ui {

namespace {

constexpr int kCursorSide = 32;

QPixmap BlankCursorPixmap() {
  QPixmap pixmap(kCursorSide, kCursorSide);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

}  // namespace

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

const QCursor& ZoomCursor() {
  static const QCursor cursor = [] {
    QPixmap pixmap = BlankCursorPixmap();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // A white rim under the black lines keeps the glass visible on dark stitches.
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

}  // namespace editor_ui
