#include "layoutcore/ui/layout_cursors.h"

#include <QPainter>
#include <QPixmap>
#include <functional>
#include <utility>

namespace editor_ui {

namespace {

constexpr int kCursorSide = 32;

// Black strokes over a white outline, drawn once, so the cursor shows on any background colour.
QCursor DrawnCursor(const std::function<void(QPainter&)>& draw, QPoint hotSpot) {
  QPixmap pixmap(kCursorSide, kCursorSide);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  for (const auto& [colour, width] :
       {std::pair{QColor(Qt::white), 4.0}, std::pair{QColor(Qt::black), 2.0}}) {
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(colour);
    draw(painter);
  }
  return QCursor(pixmap, hotSpot.x(), hotSpot.y());
}

}  // namespace

const QCursor& RotateCursor() {
  // A round arrow turning clockwise about the hot spot in its middle.
  static const QCursor cursor = DrawnCursor(
      [](QPainter& p) {
        const QBrush head = p.brush();
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRect(6, 6, 20, 20), 30 * 16, 300 * 16);
        p.setBrush(head);
        const QPoint tip[3] = {QPoint(24, 4), QPoint(28, 13), QPoint(19, 12)};
        p.drawPolygon(tip, 3);
      },
      {16, 16});
  return cursor;
}

const QCursor& ZoomCursor() {
  // A magnifying glass with a plus in its lens; the hot spot is the lens's middle, where the
  // view zooms.
  static const QCursor cursor = DrawnCursor(
      [](QPainter& p) {
        const QBrush handle = p.brush();
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRect(3, 3, 16, 16));
        p.drawLine(QPoint(7, 11), QPoint(15, 11));
        p.drawLine(QPoint(11, 7), QPoint(11, 15));
        p.setBrush(handle);
        const QPen pen = p.pen();
        p.setPen(QPen(pen.color(), pen.widthF() + 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPoint(18, 18), QPoint(27, 27));
        p.setPen(pen);
      },
      {11, 11});
  return cursor;
}

}  // namespace editor_ui
