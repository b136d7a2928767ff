#pragma once

// A photo-like picture for the colour work's worst cases: smooth gradients in all three
// channels, soft round shapes and pixel noise, so that quantising finds many frequent colours
// and every colour's region is ragged.

#include <cstdint>
#include <vector>

#include "platform/canvas.h"

namespace vtest {

// width x height palette-relative colours, rows from the top; the same seed gives the same
// picture.
std::vector<platform::PaletteColour> PhotoLikePixels(int width, int height, uint32_t seed = 1);

}  // namespace vtest
