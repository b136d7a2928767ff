#pragma once

// Simple designs for tests, as stitch bytes.

#include <cstdint>
#include <vector>

namespace vtest {

// A width x height rectangle (0.1 mm) sewn from its first point, right, then up, left and
// down, once per colour block with a colour change between blocks; in pairs of at most
// 100, after a lead-in jump and its landing (as design files start), with the end pair.
std::vector<uint8_t> RectangleStitches(int width, int height, int colourBlocks = 1);

}  // namespace vtest
