#pragma once

// A canvas that draws nothing: the drawing code runs in full without keeping what it drew.

#include <span>
#include <string>

#include "platform/canvas.h"

namespace bench {

class NullCanvas : public platform::Canvas {
 public:
  void SetPen(platform::PaletteColour, int, platform::PenStyle) override {}
  void MoveTo(int, int) override {}
  void LineTo(int, int) override {}
  void Polyline(std::span<const platform::CanvasPoint>) override {}
  void Rectangle(const platform::CanvasRect&) override {}
  void FillRect(const platform::CanvasRect&, platform::PaletteColour) override {}
  void Text(int, int, const std::string&, platform::PaletteColour) override {}
};

}  // namespace bench
