#pragma once

// The layout view's reading of a design's stitch bytes (0.1 mm pairs, dy upward), shared by
// the drawing and the measuring of a design:
//   - 0x80 0x01 is a colour change; its zero pair is skipped and moves nothing;
//   - 0x80 0x02 and 0x80 0x04 take the next pair as a jump move; a move with a component
//     of magnitude 119 is a sewn long stitch;
//   - 0x80 0x03 is a marker without a pair; 0x80 0x10 ends;
//   - any other control pair is skipped (an unknown code is no stitch of -128);
//   - every other pair is a stitch.
// The walk never reads past the record's stitch room, end pair or not.

#include <cstddef>
#include <cstdint>
#include <span>

#include "design/stitch_record.h"
#include "design/stitch_stream.h"

namespace editor {

// Calls sink.ColourChange(), sink.Jump(dx, dy, sewnLongStitch) and sink.Stitch(dx, dy) in
// stream order, reading no further than the bytes given.
template <class Sink>
void WalkStitchBytes(std::span<const uint8_t> stitches, Sink& sink) {
  const uint8_t* p = stitches.data();
  const std::size_t room = stitches.size();
  for (std::size_t at = 0; at + 2 <= room; at += 2) {
    const uint8_t* pair = p + at;
    if (!design::IsControl(pair)) {
      sink.Stitch(design::PairDx(pair), design::PairDy(pair));
      continue;
    }
    const uint8_t code = pair[1];
    if (code == design::kEnd) return;
    if (code == design::kColourChange) {
      at += 2;  // its zero pair
      sink.ColourChange();
    } else if (design::IsJumpCode(code)) {
      if (at + 4 > room) return;
      const int dx = design::PairDx(pair + 2);
      const int dy = design::PairDy(pair + 2);
      at += 2;
      sink.Jump(dx, dy, design::IsSewnLongStitchMove(dx, dy));
    }
    // 0x80 0x03 and unknown codes: two bytes, nothing else.
  }
}

template <class Sink>
void WalkDesignStitches(const design::StitchRecord& record, Sink& sink) {
  WalkStitchBytes(record.StitchArea(), sink);
}

}  // namespace editor
