#pragma once

// The reference reader of the pair rules, for tests: decodes a stitch stream into needle
// points and sewn segments.
//   - a plain pair moves the needle; after a jump run the first plain pair is the landing,
//     a move without a stitch; otherwise it sews a stitch;
//   - 0x80 0x02 and 0x80 0x04 take the next pair as a move; a move with a component of
//     magnitude 119 is a sewn long stitch (sewn, and no landing follows), else a jump;
//   - 0x80 0x01 is a colour change and takes the next pair (a zero pair);
//   - 0x80 0x03 is a marker without a pair; 0x80 0x10 ends; other codes are skipped.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vtest {

enum class NeedleKind { kStitch, kJump, kLanding, kLongStitch };

struct NeedlePoint {
  int x = 0;
  int y = 0;
  NeedleKind kind = NeedleKind::kStitch;
  int colour = 0;  // colour block, 0-based
};

struct SewnSegment {
  int x0, y0, x1, y1;
  int colour;
};

struct WalkResult {
  bool ended = false;           // an end pair was reached
  std::size_t endOffset = 0;    // byte offset of the end pair
  std::string error;            // set when the stream ran out inside a control pair
  std::vector<NeedlePoint> points;
  std::vector<SewnSegment> sewn;
  int colourChanges = 0;
  int nonZeroColourPairs = 0;   // pairs after 0x80 0x01 that were not 0 0
  int markers = 0;
  int unknownControls = 0;
  int jumps = 0;                // jump moves that are not sewn long stitches
  int longStitches = 0;
  int x = 0;                    // final needle position
  int y = 0;

  std::size_t Pairs() const { return ended ? endOffset / 2 + 1 : 0; }
};

WalkResult WalkStitches(std::span<const uint8_t> bytes);

}  // namespace vtest
