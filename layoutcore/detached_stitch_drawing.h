#pragma once

// A layout design's drawing that owns copies of its stitch bytes and block colours, for a
// window that keeps drawings and makes them on another thread while the view goes on.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "layoutcore/stitch_pen.h"
#include "layoutcore/stitch_walk.h"
#include "platform/drawing_layer.h"

namespace editor {

// blockColours: the pen colour of each colour block; changes past the last keep the last.
inline platform::DesignDraw DetachedStitchDrawing(std::span<const uint8_t> stitches,
                                                  std::vector<platform::PaletteColour> blockColours,
                                                  float zoom, int32_t rotation, float startX, float startY) {
  if (blockColours.empty()) return [](platform::Canvas&) {};
  auto bytes = std::make_shared<const std::vector<uint8_t>>(stitches.begin(), stitches.end());
  auto colours = std::make_shared<const std::vector<platform::PaletteColour>>(std::move(blockColours));
  return [bytes, colours, zoom, rotation, startX, startY](platform::Canvas& canvas) {
    std::vector<platform::CanvasPoint> run;
    run.reserve(bytes->size() / 2 + 1);
    const int last = static_cast<int>(colours->size()) - 1;
    StitchPen pen(canvas, [&](int block) { return (*colours)[std::clamp(block, 0, last)]; }, zoom, rotation,
                  startX, startY, run);
    WalkStitchBytes(*bytes, pen);
    pen.Finish();
  };
}

}  // namespace editor
