#pragma once

// The QNF file that the lettering dialog writes when the user saves a lettering as a design
// of its own: one colour, the large hoop's code, the large-hoop margins (negative when the
// lettering is wider than the hoop) and -1 in the standard- and small-hoop margin blocks.
// The stitches are read from the LayoutStitchRecord as the dialog left them, before the
// view re-centres them: the extents are measured from the stream's first point.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "design/layout_stitch_record.h"
#include "design/stitch_stream.h"

namespace hooplayout {

struct LetteringStream {
  int32_t pairCount = 0;  // end pair included
  design::Extents extents;
};

// Walks the stitch bytes up to and including 0x80 0x10. Positions y down; jumps count into
// the extents only once the first plain stitch has been made. Nothing when the bytes hold
// no end pair or a control code is cut off by the end of the bytes.
std::optional<LetteringStream> ScanLetteringStream(std::span<const uint8_t> stitches);

// The whole file image; empty when the record's stitches hold no end pair.
std::vector<uint8_t> LetteringQnfImage(const design::LayoutStitchRecord& record);

}  // namespace hooplayout
