#pragma once

// The file dialogs' stitch previews: a QNF design in its hoop, and an old SEW stitch file in the
// standard or large hoop, drawn through a Canvas in preview pixels. Both walk the stitch bytes
// as 16-bit words (low byte dx, high byte dy, 0.1 mm, dy upwards) from a start point in hoop
// units with y downwards, scaled into the preview by integer arithmetic.

#include <cstdint>
#include <span>
#include <string>

#include "platform/canvas.h"

namespace digitizer {

// The most stitch words a preview reads: a design longer than this is drawn no further.
constexpr int kMaxPreviewWords = 250000;
constexpr platform::PaletteColour kEmptyPreviewGrey = platform::PaletteRgb(220, 220, 220);

struct HoopFrame {
  int width = 0;   // 0.1 mm
  int height = 0;  // 0.1 mm
};

struct PreviewExtents {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

struct StitchWalk {
  std::span<const uint8_t> words;  // the stitch bytes, as far as they were read
  int maxWords = 0;
  std::span<const int32_t> threadCodes;  // pen colour per colour block
  HoopFrame frame;
  int startX = 0;  // hoop units, y downwards
  int startY = 0;
  int targetWidth = 0;  // preview pixels
  int targetHeight = 0;
};

// Walks the words: stitches draw lines, jumps move (pen up) or draw dotted lines, a colour change
// takes the next thread (and ends the walk when the colours run out), 0x1080 ends it. Draws only
// when canvas is not null; returns the extents reached, the start point included.
PreviewExtents WalkPreviewStitches(const StitchWalk& walk, platform::Canvas* canvas);

// The QNF preview: grey area, the hoop of the header's hoop code painted white and the stitches
// in it. `design` is the design file's bytes as read. Returns the hoop label ("Small Hoop",
// "Large Hoop" or "Normal Hoop").
std::string DrawDesignPreview(std::span<const uint8_t> design, platform::Canvas& canvas, int previewWidth,
                              int previewHeight);

// The QNF header's hoop code, 0 when the header was not read whole.
int DesignHoopCode(std::span<const uint8_t> design);

// The SEW preview and its extents relative to the hoop centre (y downwards). Draws when canvas
// is not null. A SEW with a colour count outside 1..12 or more than 250,000 words to walk is not
// walked: the extents stay at the start point.
// Word index of the SEW's first per-colour stitch count (one u16 per colour).
constexpr int kSewStitchCountsWord = 25;
struct SewLayout {
  int colourCount = 0;
  int totalWords = 0;  // 25 + the per-colour stitch counts
  bool valid = false;
};
SewLayout ReadSewLayout(std::span<const uint8_t> sew);
PreviewExtents SewWalk(std::span<const uint8_t> sew, bool largeHoop, platform::Canvas* canvas, int previewWidth,
                       int previewHeight);

}  // namespace digitizer
