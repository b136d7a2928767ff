#pragma once

// The picture view's flood fill: paints the 4-connected area around a pixel that is bounded
// by a border colour (the outline drawing's black), the way a region of the outline is
// selected (grey) or deselected (white). Every pixel not of the border colour belongs to the
// area, whatever its colour, so a region already selected or registered is painted over too.
//
// The work buffers (the span stack and a visit stamp per pixel) are allocated once per
// picture size and reused, so a fill allocates nothing.

#include <cstdint>
#include <vector>

#include "digitizer/pixel_image.h"

namespace digitizer {

class BorderFloodFill {
 public:
  // True when some pixel was painted; false when the start lies outside the picture or on
  // the border colour.
  bool Fill(PixelImage& image, int x, int y, platform::PaletteColour fill, platform::PaletteColour border);

 private:
  struct Seed {
    int x;
    int y;
  };
  bool Fillable(const PixelImage& image, int x, int y, platform::PaletteColour border) const;
  void PushRuns(const PixelImage& image, int left, int right, int y, platform::PaletteColour border);

  int width_ = 0;
  int height_ = 0;
  uint32_t generation_ = 0;
  std::vector<uint32_t> stamp_;  // a pixel is visited when its stamp equals the generation
  std::vector<Seed> stack_;
};

}  // namespace digitizer
