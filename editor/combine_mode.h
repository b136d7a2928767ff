#pragma once

// Combine mode: the user drags a box the size of the hoop over the layout; the designs that
// lie wholly inside it are picked (and drawn in gray); on release the program asks whether
// to combine them and replaces them by one design (CDesignCombiner). The handlers are
// members of CBroderaView (combine_mode.cpp); the test of a design against the box is here.

#include <cstdint>

#include "design/stitch_record.h"
#include "editor/view_host.h"

namespace editor {

constexpr char kCombineQuestion[] = "Combine designs?";
constexpr char kTooManyColoursToCombine[] = "Cannot combine.\nNumber of color parts has exceeded the limit of 78.";
constexpr char kTooManyStitchesToCombine[] = "Cannot combine.\nStitch count has exceeded the limit.";

// The combine box's drag state.
struct CombineState {
  bool boxGrabbed = false;
  PixelPoint grab;      // zoomed box centre minus the pressed point
  int pickCount = 0;    // designs picked by the box as it stands
};

// A rectangle in layout units, every bound included.
struct LayoutBounds {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

// Does every needle point of the working record, turned by the rotation and placed at
// (x, y) in layout units, lie within the bounds? Jumps before the first stitch are not
// tested (they lead in from the centre); colour changes and markers move nothing.
bool DesignInsideBox(const design::StitchRecord& working, int32_t rotation, int32_t x, int32_t y,
                     const LayoutBounds& bounds);

}  // namespace editor
