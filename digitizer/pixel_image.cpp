#include "digitizer/pixel_image.h"

#include <algorithm>

namespace digitizer {

PixelImage::PixelImage(int width, int height, platform::PaletteColour fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill) {}

platform::PaletteColour PixelImage::At(int x, int y) const {
  return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

void PixelImage::Set(int x, int y, platform::PaletteColour colour) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<std::size_t>(y) * width_ + x] = colour;
}

void PixelImage::FillRect(int left, int top, int right, int bottom, platform::PaletteColour colour) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width_);
  bottom = std::min(bottom, height_);
  for (int y = top; y < bottom; ++y) {
    std::fill_n(pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_ + left, std::max(right - left, 0),
                colour);
  }
}

std::span<const platform::PaletteColour> PixelImage::Row(int y) const {
  return std::span<const platform::PaletteColour>(pixels_).subspan(static_cast<std::size_t>(y) * width_,
                                                                  static_cast<std::size_t>(width_));
}

void PaintPixelRow(platform::Canvas& canvas, std::span<const platform::PaletteColour> row, int left, int y) {
  std::size_t start = 0;
  while (start < row.size()) {
    std::size_t end = start + 1;
    while (end < row.size() && row[end] == row[start]) ++end;
    canvas.FillRect({left + static_cast<int>(start), y, left + static_cast<int>(end), y + 1}, row[start]);
    start = end;
  }
}

void PaintPixelImage(platform::Canvas& canvas, const PixelImage& image, int left, int top) {
  for (int y = 0; y < image.Height(); ++y) PaintPixelRow(canvas, image.Row(y), left, top + y);
}

}  // namespace digitizer
