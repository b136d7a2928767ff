#include "testing/recording_canvas.h"

namespace vtest {

using platform::CanvasPoint;

CanvasPrimitive RecordingCanvas::WithPen(CanvasOp op) const {
  CanvasPrimitive p{op, {}, penColour_, penWidth_, penStyle_, {}};
  return p;
}

void RecordingCanvas::SetPen(platform::PaletteColour colour, int width, platform::PenStyle style) {
  penColour_ = colour;
  penWidth_ = width;
  penStyle_ = style;
}

void RecordingCanvas::MoveTo(int x, int y) { current_ = {x, y}; }

void RecordingCanvas::LineTo(int x, int y) {
  CanvasPrimitive p = WithPen(CanvasOp::kLine);
  p.points = {current_, CanvasPoint{x, y}};
  primitives_.push_back(std::move(p));
  current_ = {x, y};
}

void RecordingCanvas::Polyline(std::span<const CanvasPoint> points) {
  CanvasPrimitive p = WithPen(CanvasOp::kPolyline);
  p.points.assign(points.begin(), points.end());
  primitives_.push_back(std::move(p));
}

void RecordingCanvas::LineRun(std::span<const CanvasPoint> points) {
  if (points.empty()) return;
  CanvasPrimitive p = WithPen(CanvasOp::kLineRun);
  p.points.assign(points.begin(), points.end());
  primitives_.push_back(std::move(p));
  current_ = points.back();
}

void RecordingCanvas::Rectangle(const platform::CanvasRect& rect) {
  CanvasPrimitive p = WithPen(CanvasOp::kRectangle);
  p.points = {{rect.left, rect.top}, {rect.right, rect.bottom}};
  primitives_.push_back(std::move(p));
}

void RecordingCanvas::FillRect(const platform::CanvasRect& rect, platform::PaletteColour colour) {
  primitives_.push_back(
      {CanvasOp::kFill, {{rect.left, rect.top}, {rect.right, rect.bottom}}, colour, 0, {}, {}});
}

void RecordingCanvas::Text(int x, int y, const std::string& text, platform::PaletteColour colour) {
  primitives_.push_back({CanvasOp::kText, {{x, y}}, colour, 0, {}, text});
}

std::vector<CanvasPrimitive> RecordingCanvas::Segments() const {
  std::vector<CanvasPrimitive> segments;
  for (const auto& p : primitives_) {
    if (p.op == CanvasOp::kLine) segments.push_back(p);
    if (p.op != CanvasOp::kPolyline && p.op != CanvasOp::kLineRun) continue;
    for (std::size_t i = 1; i < p.points.size(); ++i) {
      CanvasPrimitive line = p;
      line.op = CanvasOp::kLine;
      line.points = {p.points[i - 1], p.points[i]};
      segments.push_back(line);
    }
  }
  return segments;
}

std::vector<CanvasPrimitive> RecordingCanvas::Of(CanvasOp op) const {
  std::vector<CanvasPrimitive> out;
  for (const auto& p : primitives_) {
    if (p.op == op) out.push_back(p);
  }
  return out;
}

}  // namespace vtest
