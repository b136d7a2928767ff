#pragma once

// A canvas that paints nothing, for measuring or battering what draws on it: the cost is the
// drawer's own. Counts the filled rectangles, the one primitive the picture holders paint with.

#include <span>
#include <string>

#include "platform/canvas.h"

namespace vtest {

class NullCanvas : public platform::Canvas {
 public:
  void SetPen(platform::PaletteColour, int, platform::PenStyle) override {}
  void MoveTo(int, int) override {}
  void LineTo(int, int) override {}
  void Polyline(std::span<const platform::CanvasPoint>) override {}
  void Rectangle(const platform::CanvasRect&) override {}
  void FillRect(const platform::CanvasRect&, platform::PaletteColour) override { ++fills; }
  void Text(int, int, const std::string&, platform::PaletteColour) override {}
  long fills = 0;
};

}  // namespace vtest
