#pragma once

// The stitch-stream pieces of the split into hoop positions: turning a design's stitches by
// its angle, the moves between designs, where a design's needle ends, and the bounds of a
// joined stream. Stitch bytes are (dx, dy) pairs in 0.1 mm with dy upward; layout points
// are 0.5 mm with y downward.
//
// The marker 0x80 0x03 is two bytes everywhere here, except directly before 0x80 0x01: the
// hoop-layout program joins the designs of sewing space B with 0x80 0x03 0x80 0x01, a
// four-byte colour change that carries no zero pair. Reading any other marker as four bytes
// would swallow the stitch after it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "hooplayout/hoop_positions.h"

namespace hooplayout {

// A position's joined stream holds at most this many bytes before its end pair.
constexpr std::size_t kPositionStreamLimit = 0x1FFF9;
// A turned stream fails once it would reach this many bytes.
constexpr std::size_t kTurnedStreamLimit = 0x1FFFD;
// Room for a position's stream with its end pair, and for a turned stream.
constexpr std::size_t kPositionBufferBytes = 0x20000;

// Growing stitch bytes in a buffer allocated once at its full size.
class StitchBuffer {
 public:
  StitchBuffer() : bytes_(kPositionBufferBytes) {}
  // Appends when the result stays within limit; false (nothing appended) otherwise.
  bool Append(std::span<const uint8_t> bytes, std::size_t limit);
  bool AppendPair(int dx, int dy, std::size_t limit);
  bool AppendControl(uint8_t code, int dx, int dy, std::size_t limit);
  void Clear() { length_ = 0; }
  std::size_t Length() const { return length_; }
  std::span<const uint8_t> Bytes() const { return {bytes_.data(), length_}; }

 private:
  std::vector<uint8_t> bytes_;
  std::size_t length_ = 0;
};

// Turns source (up to and including its end pair) by angleDegrees, clockwise on screen
// for positive angles, into dest (cleared first). Every needle point lands on its exact
// turned position rounded half away from zero, as the layout measures a turned design, so
// the turned design is sewn where the layout shows it and never drifts. Quarter turns are
// exact, so a half turn negates every move. False when the source has no end pair or the output would reach
// kTurnedStreamLimit bytes.
bool RotateStitches(StitchBuffer& dest, std::span<const uint8_t> source, int angleDegrees);

// A needle point on the layout in stitch units (0.1 mm) from its top-left corner, y
// downward. The split carries the needle in these units: a design's end rarely falls on a
// whole layout unit, and rounding it there would shift every later design of the position.
struct StitchPoint {
  int64_t x = 0;
  int64_t y = 0;
  friend bool operator==(const StitchPoint&, const StitchPoint&) = default;
};

inline StitchPoint ToStitchPoint(LayoutPoint p) {
  return {int64_t{p.x} * kStitchesPerLayoutUnit, int64_t{p.y} * kStitchesPerLayoutUnit};
}

// Appends the move from one needle point to another: jumps, then a zero landing, so that
// the first pair after the move is sewn as a stitch rather than taken as the jump's landing.
// Nothing for equal points. False when the stream would pass kPositionStreamLimit.
bool EncodeMoveSteps(StitchBuffer& stream, StitchPoint from, StitchPoint to);

// Where the needle ends after the stitches drawn from start, exactly.
StitchPoint GetStitchEndPoint(std::span<const uint8_t> stitches, StitchPoint start);

// Bounds of the needle's path from the stream's first point (0, 0), y upward; jumps before
// the first stitch move the needle without counting.
struct StreamBounds {
  int32_t minX = 0, minY = 0, maxX = 0, maxY = 0;
  friend bool operator==(const StreamBounds&, const StreamBounds&) = default;
};
StreamBounds GetStitchBounds(std::span<const uint8_t> stitches);

}  // namespace hooplayout
