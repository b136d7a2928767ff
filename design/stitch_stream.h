#pragma once

// The stitch byte stream: signed (dx, dy) pairs in 0.1 mm, dy upwards. A pair whose first
// byte is the escape 0x80 is a control pair; its second byte is the code.

#include <cstddef>
#include <cstdint>

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

// One hoop-fit margin block (left, top, right, bottom); -1 x 4 when the design does not fit.
struct MarginBlock {
  int32_t left = -1;
  int32_t top = -1;
  int32_t right = -1;
  int32_t bottom = -1;
  friend bool operator==(const MarginBlock&, const MarginBlock&) = default;
};

}  // namespace design
