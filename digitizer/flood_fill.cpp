#include "digitizer/flood_fill.h"

#include <algorithm>

namespace digitizer {

bool BorderFloodFill::Fillable(const PixelImage& image, int x, int y, platform::PaletteColour border) const {
  return stamp_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)] !=
             generation_ &&
         image.At(x, y) != border;
}

// Pushes the first pixel of every run of fillable pixels of row y between left and right.
void BorderFloodFill::PushRuns(const PixelImage& image, int left, int right, int y, platform::PaletteColour border) {
  if (y < 0 || y >= height_) return;
  bool inRun = false;
  for (int x = left; x <= right; ++x) {
    const bool fillable = Fillable(image, x, y, border);
    if (fillable && !inRun) stack_.push_back({x, y});
    inRun = fillable;
  }
}

bool BorderFloodFill::Fill(PixelImage& image, int x, int y, platform::PaletteColour fill,
                           platform::PaletteColour border) {
  if (x < 0 || y < 0 || x >= image.Width() || y >= image.Height()) return false;
  if (image.At(x, y) == border) return false;
  if (image.Width() != width_ || image.Height() != height_) {
    width_ = image.Width();
    height_ = image.Height();
    stamp_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0);
    generation_ = 0;
    stack_.reserve(static_cast<std::size_t>(width_) * 2);
  }
  // A new generation marks every pixel unvisited without clearing; on wrap-around clear once.
  if (++generation_ == 0) {
    std::fill(stamp_.begin(), stamp_.end(), 0);
    generation_ = 1;
  }
  stack_.clear();
  stack_.push_back({x, y});
  while (!stack_.empty()) {
    const Seed seed = stack_.back();
    stack_.pop_back();
    if (!Fillable(image, seed.x, seed.y, border)) continue;
    int left = seed.x;
    while (left > 0 && Fillable(image, left - 1, seed.y, border)) --left;
    int right = seed.x;
    while (right + 1 < width_ && Fillable(image, right + 1, seed.y, border)) ++right;
    uint32_t* stamps = &stamp_[static_cast<std::size_t>(seed.y) * static_cast<std::size_t>(width_)];
    for (int i = left; i <= right; ++i) {
      stamps[i] = generation_;
      image.Set(i, seed.y, fill);
    }
    PushRuns(image, left, right, seed.y - 1, border);
    PushRuns(image, left, right, seed.y + 1, border);
  }
  return true;
}

}  // namespace digitizer
