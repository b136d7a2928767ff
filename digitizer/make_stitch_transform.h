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

  // Sizes the design by percent in both axes about its first needle position, in place.
  // Jumps become chains of 127, stitches too long for one pair sewn long stitches of 119 and
  // a rest. Returns the pairs now held; -1 (stitches unchanged) without an end pair or when
  // the result would pass kScaleOutputLimit bytes.
  int32_t Scale(std::span<uint8_t> stitches, int percent);

  // The most stitch bytes a sized design may take.
  static constexpr std::size_t kScaleOutputLimit = 499989;

 private:
  // Writes every move of the stream again at its mapped position (mirrored by the signs
  // first), leading jumps as one chain; the common walk of the turn and the size.
  template <class Map>
  int32_t Remap(std::span<uint8_t> stitches, int signX, int signY, std::size_t outputLimit, Map&& map);

  std::vector<uint8_t> out_;
};

}  // namespace digitizer
