#pragma once

// The stitch byte stream: signed (dx, dy) pairs in 0.1 mm, dy upwards. A pair whose first
// byte is the escape 0x80 is a control pair; its second byte is the code.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "design/hoop.h"

namespace design {

constexpr uint8_t kStitchEscape = 0x80;

// Second byte of a control pair.
enum StitchControlCode : uint8_t {
  kColourChange = 0x01,  // followed by a zero pair that belongs to it
  kJump = 0x02,          // followed by its move pair
  kMarker = 0x03,        // no pair follows
  kJumpAlt = 0x04,       // read exactly like kJump
  kEnd = 0x10,
};

// A jump whose move has a component of this magnitude is a sewn long stitch.
constexpr int kSewnLongStitch = 119;
// The largest component a plain pair carries.
constexpr int kMaxPairComponent = 127;

constexpr bool IsControl(const uint8_t* pair) { return pair[0] == kStitchEscape; }
constexpr bool IsControl(const uint8_t* pair, uint8_t code) {
  return pair[0] == kStitchEscape && pair[1] == code;
}
constexpr bool IsJumpCode(uint8_t code) { return code == kJump || code == kJumpAlt; }

// The one reading of the stream's item boundaries, which every walker follows. A jump code
// (0x02, 0x04) and a colour change (0x01) take the pair after them as their own: the jump's
// move, the colour change's zero pair. That pair is never read as a control pair, whatever
// its bytes: a jump move of (-128, 16) is a move, not an end pair. Every other pair stands
// alone. No writer of the suite writes a jump component of -128, so that nothing it writes
// could be read two ways by a reader that steps pair by pair.
constexpr bool TakesNextPair(const uint8_t* pair) {
  return pair[0] == kStitchEscape && (pair[1] == kColourChange || IsJumpCode(pair[1]));
}

// Bytes of the stream item that starts at pair: 4 for a control pair with its pair, else 2.
constexpr std::size_t StreamItemBytes(const uint8_t* pair) { return TakesNextPair(pair) ? 4 : 2; }

// Offset of the end pair 0x80 0x10 within the bytes, read item by item; -1 when there is
// none (an item cut short by the end of the bytes ends the search too).
inline long EndPairOffset(std::span<const uint8_t> stitches) {
  for (std::size_t p = 0; p + 2 <= stitches.size(); p += StreamItemBytes(&stitches[p])) {
    if (stitches[p] == kStitchEscape && stitches[p + 1] == kEnd) return static_cast<long>(p);
  }
  return -1;
}

constexpr int PairDx(const uint8_t* pair) { return static_cast<int8_t>(pair[0]); }
constexpr int PairDy(const uint8_t* pair) { return static_cast<int8_t>(pair[1]); }

constexpr bool IsSewnLongStitchMove(int dx, int dy) {
  return dx == kSewnLongStitch || dx == -kSewnLongStitch || dy == kSewnLongStitch ||
         dy == -kSewnLongStitch;
}

// Extents of a design measured from its first point, 0.1 mm, all >= 0 for a real design.
struct Extents {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  friend bool operator==(const Extents&, const Extents&) = default;
};

// The extents of the needle's path from the first point to the end pair: plain pairs, jump
// moves and a colour change's pair all move it. One pass, nothing allocated.
inline Extents ExtentsFromFirstPoint(std::span<const uint8_t> stitches) {
  int x = 0, y = 0, minX = 0, maxX = 0, minY = 0, maxY = 0;
  for (std::size_t p = 0; p + 2 <= stitches.size(); p += StreamItemBytes(&stitches[p])) {
    const uint8_t* move = &stitches[p];
    if (IsControl(move)) {
      if (move[1] == kEnd || p + 4 > stitches.size()) break;
      if (!TakesNextPair(move)) continue;
      move += 2;
    }
    x += PairDx(move);
    y += PairDy(move);
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
  }
  return Extents{-minX, maxY, maxX, -minY};
}

// Whether the large hoop, the largest the machine has, takes a design of these extents
// about its first point: only then does the machine get hoop margins for it.
constexpr bool FitsLargeHoop(const Extents& e) {
  return e.left <= kLargeHoopHalfWidth && e.right <= kLargeHoopHalfWidth && e.top <= kLargeHoopHalfHeight &&
         e.bottom <= kLargeHoopHalfHeight;
}

// One hoop-fit margin block (left, top, right, bottom); -1 x 4 when the design does not fit.
struct MarginBlock {
  int32_t left = -1;
  int32_t top = -1;
  int32_t right = -1;
  int32_t bottom = -1;
  friend bool operator==(const MarginBlock&, const MarginBlock&) = default;
};

}  // namespace design
