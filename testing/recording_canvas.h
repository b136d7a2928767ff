#pragma once

// A canvas for tests: keeps every primitive drawn on it, with the pen it was drawn in.

#include <string>
#include <vector>

#include "platform/canvas.h"

namespace vtest {

enum class CanvasOp { kLine, kPolyline, kLineRun, kRectangle, kFill, kText };

struct CanvasPrimitive {
  CanvasOp op;
  std::vector<platform::CanvasPoint> points;  // line: 2; polyline, line run: all; rectangle/fill: 2 corners
  platform::PaletteColour colour = 0;         // the pen's, or the fill's or text's colour
  int penWidth = 1;
  platform::PenStyle penStyle = platform::PenStyle::kSolid;
  std::string text;
};

class RecordingCanvas : public platform::Canvas {
 public:
  void SetPen(platform::PaletteColour colour, int width, platform::PenStyle style) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Polyline(std::span<const platform::CanvasPoint> points) override;
  void LineRun(std::span<const platform::CanvasPoint> points) override;
  void Rectangle(const platform::CanvasRect& rect) override;
  void FillRect(const platform::CanvasRect& rect, platform::PaletteColour colour) override;
  void Text(int x, int y, const std::string& text, platform::PaletteColour colour) override;

  const std::vector<CanvasPrimitive>& Primitives() const { return primitives_; }
  std::vector<CanvasPrimitive> Of(CanvasOp op) const;
  // Every line, and every pair of neighbouring points of a polyline or line run, as a line in
  // its pen: what a drawing strokes, however it grouped the strokes into calls.
  std::vector<CanvasPrimitive> Segments() const;
  void Clear() { primitives_.clear(); }

 private:
  CanvasPrimitive WithPen(CanvasOp op) const;

  platform::PaletteColour penColour_ = platform::kPaletteBlack;
  int penWidth_ = 1;
  platform::PenStyle penStyle_ = platform::PenStyle::kSolid;
  platform::CanvasPoint current_;
  std::vector<CanvasPrimitive> primitives_;
};

}  // namespace vtest
