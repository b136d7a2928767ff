#include "platform/ui/qt_canvas.h"

#include <QFontMetrics>
#include <QPen>

#include "platform/ui/qt_colour.h"

namespace platform_ui {

QtCanvas::QtCanvas(QPainter& painter) : painter_(painter) {
  painter_.setBrush(Qt::NoBrush);
}

void QtCanvas::SetPen(platform::PaletteColour colour, int width, platform::PenStyle style) {
  QPen pen(ToQColor(colour));
  pen.setWidth(width);
  pen.setStyle(ToQtPenStyle(style));
  painter_.setPen(pen);
}

void QtCanvas::MoveTo(int x, int y) { current_ = QPoint(x, y); }

void QtCanvas::LineTo(int x, int y) {
  const QPoint to(x, y);
  painter_.drawLine(current_, to);
  current_ = to;
}

void QtCanvas::Polyline(std::span<const platform::CanvasPoint> points) {
  if (points.size() < 2) return;
  polyline_.clear();
  for (const auto& p : points) polyline_.emplace_back(p.x, p.y);
  painter_.drawPolyline(polyline_.data(), static_cast<int>(polyline_.size()));
}

void QtCanvas::LineRun(std::span<const platform::CanvasPoint> points) {
  if (points.empty()) return;
  // A polyline's joins are rasterised unlike separate lines; drawLines strokes each segment
  // as drawLine does.
  lines_.clear();
  for (std::size_t i = 1; i < points.size(); ++i) {
    lines_.emplace_back(points[i - 1].x, points[i - 1].y, points[i].x, points[i].y);
  }
  if (!lines_.empty()) painter_.drawLines(lines_.data(), static_cast<int>(lines_.size()));
  current_ = QPoint(points.back().x, points.back().y);
}

platform::CanvasRect QtCanvas::ClipBox() const {
  QRect box;
  if (painter_.hasClipping()) {
    box = painter_.clipBoundingRect().toAlignedRect();
  } else if (const QPaintDevice* device = painter_.device()) {
    box = painter_.worldTransform().inverted().mapRect(QRect(0, 0, device->width(), device->height()));
  } else {
    return platform::kUnboundedClip;
  }
  return {box.left(), box.top(), box.right() + 1, box.bottom() + 1};
}

void QtCanvas::Rectangle(const platform::CanvasRect& rect) {
  if (rect.Width() <= 0 || rect.Height() <= 0) return;
  // The outline stands on the rectangle's edge pixels, right and bottom exclusive.
  painter_.drawRect(QRect(rect.left, rect.top, rect.Width() - 1, rect.Height() - 1));
}

void QtCanvas::FillRect(const platform::CanvasRect& rect, platform::PaletteColour colour) {
  if (rect.Width() <= 0 || rect.Height() <= 0) return;
  painter_.fillRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()), ToQColor(colour));
}

void QtCanvas::Text(int x, int y, const std::string& text, platform::PaletteColour colour) {
  const QPen saved = painter_.pen();
  painter_.setPen(ToQColor(colour));
  const QFontMetrics metrics(painter_.font());
  painter_.drawText(QPoint(x, y + metrics.ascent()), QString::fromStdString(text));
  painter_.setPen(saved);
}

}  // namespace platform_ui
