#pragma once

// Writing a lettering's stitches: the jump from one letter to the next and each letter's
// pairs turned by its angle. Stitch units (0.1 mm); positions y down from the top-left of
// the embroidery area, pairs dy upward as on the wire.

#include <cstddef>
#include <cstdint>
#include <span>

#include "layoutcore/monogram/monogram_glyph.h"

namespace editor {

// A lettering longer than this many bytes is refused: the rest of the record's stitch room
// is kept for the end pair and the re-centring jump.
constexpr std::size_t kMaxLetteringBytes = 130000;
// Bytes one glyph entry writes at most (a split jump and its zero stitch).
constexpr std::size_t kMaxGlyphEntryBytes = 10;

// Stitch bytes written into a fixed area; an append that would not fit writes nothing.
class StitchSink {
 public:
  explicit StitchSink(std::span<uint8_t> area) : area_(area) {}
  bool Append(std::initializer_list<int> bytes);
  std::size_t Position() const { return pos_; }

 private:
  std::span<uint8_t> area_;
  std::size_t pos_ = 0;
};

struct NeedlePoint {
  int32_t x = 0;  // stitch units, y down
  int32_t y = 0;
  friend bool operator==(const NeedlePoint&, const NeedlePoint&) = default;
};

// Appends the jump pairs from the needle to target and moves the needle there: each axis
// steps by 120 on its own and its rest comes last, so (300, 50) is (120, 50), (120, 0),
// (60, 0). No jump pair carries a 119, which the machine would sew as a long stitch. A move
// of (0, 0) still writes one pair.
bool EncodeJumpMove(NeedlePoint& needle, NeedlePoint target, StitchSink& sink);

struct EmbroideryArea {
  int32_t width = 0;   // stitch units
  int32_t height = 0;
};

// Appends the glyph's pairs turned by its angle, starting at target (the needle is there),
// and leaves the needle where the last pair put it. False when a stitch leaves the area or
// the lettering reaches kMaxLetteringBytes.
bool WriteGlyphStitches(const MonogramGlyph& glyph, NeedlePoint& needle, const EmbroideryArea& area,
                        StitchSink& sink);

}  // namespace editor
