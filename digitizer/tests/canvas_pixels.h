#pragma once

// Replays the fills a picture holder painted on a recording canvas into a pixel image, so a
// test can look at the picture it drew.

#include "digitizer/pixel_image.h"
#include "testing/recording_canvas.h"

namespace digitizer {

inline PixelImage PaintedPixels(const vtest::RecordingCanvas& canvas, int width, int height,
                                platform::PaletteColour background = 0) {
  PixelImage image(width, height, background);
  for (const vtest::CanvasPrimitive& fill : canvas.Of(vtest::CanvasOp::kFill)) {
    image.FillRect(fill.points[0].x, fill.points[0].y, fill.points[1].x, fill.points[1].y, fill.colour);
  }
  return image;
}

}  // namespace digitizer
