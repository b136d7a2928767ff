#include "testing/stitch_shapes.h"

#include <algorithm>

#include "testing/stitch_stream_builder.h"

namespace vtest {

std::vector<uint8_t> RectangleStitches(int width, int height, int colourBlocks) {
  constexpr int kStep = 100;
  StitchStreamBuilder b;
  auto line = [&](int dx, int dy) {
    while (dx != 0 || dy != 0) {
      const int sx = std::clamp(dx, -kStep, kStep), sy = std::clamp(dy, -kStep, kStep);
      b.Stitch(sx, sy);
      dx -= sx;
      dy -= sy;
    }
  };
  b.Jump(3, 3).Stitch(-3, -3);
  for (int c = 0; c < colourBlocks; ++c) {
    if (c > 0) b.ColourChange();
    line(width, 0);
    line(0, height);
    line(-width, 0);
    line(0, -height);
  }
  return b.End().Bytes();
}

}  // namespace vtest
