#pragma once

// CStitchEncoder re-centres a design about the middle of its extents and encodes long
// moves as chains of jump pairs. Made on the stack for one use.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "design/layout_stitch_record.h"
#include "design/stitch_record.h"

namespace design {

struct RecentreResult {
  bool ok = false;  // false: the re-centred design would not fit its record (left unchanged)
  int cx = 0;       // the centre that was removed, 0.1 mm
  int cy = 0;
};

// The extents Recentre gives the stitches, measured in one pass without changing them or
// allocating; nothing when they hold no end pair after the leading moves.
std::optional<Extents> RecentredExtents(std::span<const uint8_t> stitches);

class CStitchEncoder {
 public:
  CStitchEncoder() = default;
  virtual ~CStitchEncoder();

  // Appends the jump pairs for the move (mx, my) at pos and advances pos. A move that fits
  // one pair is one jump pair, moved off a component of magnitude 119 so that it is not
  // read as a sewn long stitch; a longer move is a jump chain. Returns false, writing
  // nothing, when the pairs do not fit in out from pos.
  bool EncodeMove(int mx, int my, std::span<uint8_t> out, std::size_t& pos) const;

  // The number of bytes EncodeMove writes for the move.
  std::size_t EncodedLength(int mx, int my) const;

  // Rewrites the record's stitch bytes so that the design starts at the middle of its
  // extents: a jump from there to the first stitch, then the stitches (the leading jump
  // run and its landing are dropped). Sets pair count, extents and hoop code. On failure
  // the record is left as it was.
  RecentreResult Recentre(StitchRecord& record) const;

 protected:
  explicit CStitchEncoder(bool moveSingleJumpOff119) : moveSingleJumpOff119_(moveSingleJumpOff119) {}

  // Re-centres the stitch bytes in place; returns the bytes written through written.
  RecentreResult RecentreStitches(std::span<uint8_t> stitches, std::size_t& written,
                                  Extents& extents) const;

 private:
  bool moveSingleJumpOff119_ = true;
};

// The hoop-layout program's encoder: works on a LayoutStitchRecord, writes only the stitch
// bytes, and writes a single jump pair as it is.
class CLayoutStitchEncoder : public CStitchEncoder {
 public:
  CLayoutStitchEncoder() : CStitchEncoder(false) {}
  RecentreResult Recentre(LayoutStitchRecord& record) const;
  using CStitchEncoder::Recentre;
};

}  // namespace design
