#pragma once

// Turns an old SEW stitch file, as the Open Sew File dialog read it, into Pictorel's stitch
// record in the same buffer: the 740-byte head (date, colours, extents and hoop margins), three
// lead-in jumps from the hoop centre to the SEW's start point, then the SEW's stitch words.

#include <cstddef>
#include <cstdint>
#include <span>

#include "design/hoop.h"
#include "digitizer/stitch_preview.h"
#include "platform/clock.h"

namespace digitizer {

// The owner's SEW buffer: the largest SEW file read, and the converted record it then holds.
constexpr std::size_t kSewBufferBytes = 517786;
constexpr std::size_t kStitchRecordHeadBytes = 740;

// Whether the design reaches beyond the standard hoop (more than 55 mm from its centre).
bool SewExceedsStandardHoop(const PreviewExtents& extents);

// The question asked before converting such a design with the standard hoop chosen.
constexpr const char* kLargerThanStandardHoopText =
    "The selected design is larger than the standard hoop.\nDo you change the standard hoop to the large hoop?";
constexpr const char* kLargerThanStandardHoopCaption = "Confirm";

struct SewConversion {
  bool converted = false;
  std::size_t imageBytes = 0;  // 740 + 2 x the words written
};

// Rewrites buffer (holding bytesRead bytes of the SEW file) in place. Refuses, leaving the
// buffer as it was, a SEW with more than 12 colours or too many stitches, and a buffer too
// small for the record. Extents relative to the hoop centre, y downwards, from SewWalk.
SewConversion ConvertSew(std::span<uint8_t> buffer, std::size_t bytesRead, bool largeHoop,
                         const PreviewExtents& extents, const platform::Clock& clock);

}  // namespace digitizer
