#include <cstddef>

#include "stitchgen/mask_preparation.h"

namespace seamlib {

namespace {

bool AnyNeighbourSet(const PixelPlane& plane, int x, int y) {
  for (int d = 0; d < 8; ++d) {
    if (plane.Get(x + kDirectionDx[d], y + kDirectionDy[d]) != 0) return true;
  }
  return false;
}

// Walks the outline of the region through (startX, startY), giving every pixel on it the
// label. The search turns from the way back towards the next set neighbour; the walk ends
// when it is about to leave the start the way it first left it.
void TraceContour(PixelPlane& plane, int startX, int startY, uint8_t label) {
  if (!AnyNeighbourSet(plane, startX, startY)) return;
  int x = startX;
  int y = startY;
  int facing = plane.Get(startX, startY + 1) != 0 ? 4 : 6;
  int firstStep = -1;
  // An outline visits each pixel from at most eight sides; the bound only guards the loop.
  const std::size_t maxSteps = 8 * static_cast<std::size_t>(plane.width) * plane.rows;
  for (std::size_t step = 0; step < maxSteps; ++step) {
    plane.At(x, y) = label;
    const int back = (facing + 4) & 7;
    int next = -1;
    for (int turn = 1; turn <= 8; ++turn) {
      const int d = (back + turn) & 7;
      if (plane.Get(x + kDirectionDx[d], y + kDirectionDy[d]) != 0) {
        next = d;
        break;
      }
    }
    if (next < 0) return;
    if (firstStep < 0) {
      firstStep = next;
    } else if (x == startX && y == startY && next == firstStep) {
      return;
    }
    x += kDirectionDx[next];
    y += kDirectionDy[next];
    facing = next;
  }
}

}  // namespace

int LabelRegions(PixelPlane plane) {
  const int lastRow = plane.rows - 2;
  const int lastColumn = plane.width - 2;
  int nextLabel = kFirstRegionLabel;
  for (int y = 1; y <= lastRow; ++y) {
    bool continuing = false;
    uint8_t remembered = 0;
    for (int x = 1; x <= lastColumn; ++x) {
      const uint8_t value = plane.At(x, y);
      const uint8_t left = plane.At(x - 1, y);
      if (value == 0 && left == 1) {
        // The end of a run of unlabelled pixels: the run belongs to the label found at its
        // traced left end, and so does the next run of this row that starts unlabelled.
        int walk = x - 1;
        while (walk > 0 && plane.At(walk, y) == 1) --walk;
        remembered = plane.At(walk, y);
        continuing = true;
      } else if (value == 1 && left == 0) {
        uint8_t label = remembered;
        if (!continuing) {
          if (nextLabel > kLastRegionLabel) return -1;
          label = static_cast<uint8_t>(nextLabel++);
        }
        TraceContour(plane, x, y, label);
        continuing = false;
      }
    }
  }
  // Interior pixels take the label of their left neighbour, spreading along each run from
  // its traced left end; a pixel whose trace never started (isolated) becomes empty.
  // The mask pass covers its work rows, the grid pass the whole grid, in address order.
  const std::size_t first = plane.IsGrid() ? 1 : static_cast<std::size_t>(plane.width);
  const std::size_t last =
      plane.IsGrid() ? static_cast<std::size_t>(plane.width) * plane.rows
                     : static_cast<std::size_t>(plane.width) * (lastRow + 1);
  for (std::size_t i = first; i < last; ++i) {
    if (plane.bytes[i] == 1) plane.bytes[i] = plane.bytes[i - 1];
  }
  return 1;
}

}  // namespace seamlib
