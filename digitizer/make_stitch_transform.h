#pragma once

// The turn and flip that Make Stitch applies to a finished stitch sequence (0.1 mm pairs, dy
// upwards, ending with the end pair). The whole design turns about its middle: the middle of
// the positions it sews keeps its place in the hoop.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace digitizer {

class MakeStitchTransformer {
 public:
  // Allocates the output buffer once, for a stitch area of the given bytes.
  explicit MakeStitchTransformer(std::size_t stitchRoom);

  // Mirrors (flip 1: dx negated, 2: dy negated) and turns the design by angleDegrees clockwise
  // (the caller passes 360 - the counter-clockwise rotation), in place. Returns the pairs now
  // held, end pair included; -1 (stitches unchanged) without an end pair or when the result
  // would not fit the area.
  int32_t Transform(std::span<uint8_t> stitches, int flip, int angleDegrees);

 private:
  std::vector<uint8_t> out_;
};

}  // namespace digitizer
