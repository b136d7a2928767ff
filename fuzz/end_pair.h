#pragma once

// The property every reader and writer of a stitch stream must hold: the stream claims a
// count of pairs, and read by the pair rules it reaches its end pair exactly at the last of
// them, so that nothing sewn runs past the design or stops inside it.

#include <cstdint>
#include <span>

#include "design/stitch_stream.h"
#include "fuzz/fuzz_support.h"

namespace vfuzz {

inline void RequireEndPairAt(std::span<const uint8_t> stitches, int64_t pairs, const char* property) {
  const bool within = pairs >= 1 && static_cast<uint64_t>(pairs) * 2 <= stitches.size();
  Require(within && design::EndPairOffset(stitches.first(static_cast<std::size_t>(pairs) * 2)) == 2 * pairs - 2,
          property);
}

}  // namespace vfuzz
