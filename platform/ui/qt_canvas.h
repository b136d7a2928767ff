#pragma once

// The canvas that paints: every primitive goes to a QPainter the caller has begun on a
// widget, a pixmap or a printer.

#include <QLine>
#include <QPainter>
#include <vector>

#include "platform/canvas.h"

namespace platform_ui {

class QtCanvas : public platform::Canvas {
 public:
  explicit QtCanvas(QPainter& painter);

  void SetPen(platform::PaletteColour colour, int width, platform::PenStyle style) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Polyline(std::span<const platform::CanvasPoint> points) override;
  void LineRun(std::span<const platform::CanvasPoint> points) override;
  void Rectangle(const platform::CanvasRect& rect) override;
  void FillRect(const platform::CanvasRect& rect, platform::PaletteColour colour) override;
  void Text(int x, int y, const std::string& text, platform::PaletteColour colour) override;
  // The painter's clip, else its whole device, in logical coordinates.
  platform::CanvasRect ClipBox() const override;

 private:
  QPainter& painter_;
  QPoint current_;
  std::vector<QPoint> polyline_;  // reused: a polyline's points in Qt's form
  std::vector<QLine> lines_;      // reused: a line run's segments
};

}  // namespace platform_ui
