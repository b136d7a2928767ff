#pragma once

// The frame around the selected design in a layout view: the design's half-size rectangle
// turned by its angle about its centre, in logical pixels at a zoom in percent, drawn as a
// closed 2-pixel black polyline with a small circle on each corner. Brodera's and the
// hoop-layout program's views share it.

#include <array>
#include <cstdint>
#include <span>

#include "layoutcore/layout_geometry.h"
#include "platform/canvas.h"

namespace editor {

// The four corners (top-left, top-right, bottom-right, bottom-left before turning) and the
// first again, to close the polyline. Centre and half sizes in layout units (0.5 mm).
std::array<PixelPoint, 5> FrameCorners(int32_t centreX, int32_t centreY, int32_t halfWidth,
                                       int32_t halfHeight, int32_t angleDegrees, float zoom);

// The corners' bounding box widened by 2 pixels plus 0.04 x zoom on every side: what is
// repainted when the frame appears, moves or goes.
PixelRect FrameRepaintRect(const std::array<PixelPoint, 5>& corners, float zoom);

void DrawSelectionFrame(platform::Canvas& canvas, const std::array<PixelPoint, 5>& corners, float zoom);

// A drag outline that shows on any background colour, as an inverting rectangle does: a
// white line with a dotted black line over it. The points run round the outline and close it.
void DrawContrastingOutline(platform::Canvas& canvas, std::span<const platform::CanvasPoint> points);

}  // namespace editor
