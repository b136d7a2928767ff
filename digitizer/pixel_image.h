#pragma once

// PixelImage: a picture in screen pixels, top row first, one palette-relative colour per
// pixel. What a picture holder paints into before it hands the result to a Canvas, which has
// no bitmap primitive: PaintPixelImage sends each row as runs of one colour.

#include <cstdint>
#include <span>
#include <vector>

#include "platform/canvas.h"

namespace digitizer {

class PixelImage {
 public:
  PixelImage() = default;
  PixelImage(int width, int height, platform::PaletteColour fill);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool IsEmpty() const { return width_ == 0 || height_ == 0; }

  platform::PaletteColour At(int x, int y) const;
  // Outside the image nothing happens: drawing may clip freely.
  void Set(int x, int y, platform::PaletteColour colour);
  void FillRect(int left, int top, int right, int bottom, platform::PaletteColour colour);
  std::span<const platform::PaletteColour> Row(int y) const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<platform::PaletteColour> pixels_;
};

// Paints one row of pixels with its leftmost pixel at (left, y), one FillRect per run of equal
// colours.
void PaintPixelRow(platform::Canvas& canvas, std::span<const platform::PaletteColour> row, int left, int y);
void PaintPixelImage(platform::Canvas& canvas, const PixelImage& image, int left, int top);

}  // namespace digitizer
