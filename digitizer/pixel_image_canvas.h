#pragma once

// A canvas that paints into a PixelImage, moved by an offset: what the picture holders draw
// through when the picture view draws the imported picture into its fill bitmap. The holders
// paint only filled runs; lines, outlines and text are not needed there and are dropped.

#include "digitizer/pixel_image.h"
#include "platform/canvas.h"

namespace digitizer {

class PixelImageCanvas : public platform::Canvas {
 public:
  PixelImageCanvas(PixelImage& image, int offsetX, int offsetY) : image_(image), dx_(offsetX), dy_(offsetY) {}
  void SetPen(platform::PaletteColour, int, platform::PenStyle) override {}
  void MoveTo(int, int) override {}
  void LineTo(int, int) override {}
  void Polyline(std::span<const platform::CanvasPoint>) override {}
  void Rectangle(const platform::CanvasRect&) override {}
  void FillRect(const platform::CanvasRect& r, platform::PaletteColour colour) override {
    image_.FillRect(r.left + dx_, r.top + dy_, r.right + dx_, r.bottom + dy_, colour);
  }
  void Text(int, int, const std::string&, platform::PaletteColour) override {}

 private:
  PixelImage& image_;
  int dx_;
  int dy_;
};

}  // namespace digitizer
