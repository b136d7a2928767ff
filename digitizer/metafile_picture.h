#pragma once

// A clipart picture as read from the records of a Windows metafile: filled and outlined
// paths (polygons, polylines, rectangles, ellipses, arcs, chords, pies), stretched bitmaps and
// lines of text, each with the pen, brush, font and clip rectangle it was drawn with. The
// reader follows the records' own mapping (window and viewport origin and extent, map mode)
// and keeps every shape in the picture's page units, so one frame maps the whole picture
// onto a target. Records the reader cannot play are skipped; a record that runs past the
// data, lies about its counts or names an object that does not exist makes the picture
// unreadable.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "digitizer/dib.h"
#include "digitizer/pixel_image.h"
#include "platform/canvas.h"

namespace digitizer {

// What a picture may hold and still be drawn in the time a preview allows. Each limit is far
// above what drawn clipart uses, and each one bounds memory or drawing time for a file that
// lies: a 14-byte ellipse record becomes a 64-point ring, so a few megabytes of records would
// otherwise take gigabytes and minutes.
//
// Shapes held: each costs its own pen, brush and bookkeeping when it is played.
inline constexpr std::size_t kMaxMetaShapes = 100'000;
// Points held over all shapes (text counts a point per character): 16 bytes each.
inline constexpr std::size_t kMaxMetaPoints = 1'000'000;
// Nested saved drawing states: real clipart nests a handful.
inline constexpr std::size_t kMaxSavedDrawStates = 256;
// Rectangles cut out of the clip at one time: each is checked for every row painted. Further
// ones are not cut out.
inline constexpr std::size_t kMaxExcludedRects = 16;
// How many times over the picture may be painted: the sum of the areas that fills, outlines,
// bitmaps and text cover, each clipped to the picture, divided by the picture's area. At a
// preview of some 440 pixels square this bounds the pixels written to a few hundred million.
inline constexpr double kMaxFrameCoverage = 1'000;
// How many edges the scan-line filler may cross, in edges as tall as the picture: each costs
// one crossing per pixel row: at the cap a 440-pixel preview takes a few tenths of a second.
inline constexpr double kMaxEdgeCrossings = 50'000;

struct MetaPoint {
  double x = 0;
  double y = 0;
};

// A rectangle in page units; right and bottom may lie left of or above left and top.
struct MetaRect {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
};

struct MetaPen {
  bool visible = true;
  platform::PaletteColour colour = platform::kPaletteBlack;
  double width = 0;  // page units; 0 draws one pixel wide
};

struct MetaBrush {
  bool visible = true;
  platform::PaletteColour colour = platform::kPaletteWhite;
};

// A bitmap stretched onto the target rectangle (mirrored when it runs backwards) and combined
// with what lies under it: masked pictures are drawn as a mask ANDed in, then the picture ORed.
struct MetaImage {
  enum class Blend { kCopy, kInvertedCopy, kAnd, kOr, kXor };
  Blend blend = Blend::kCopy;
  std::shared_ptr<const CDib> dib;
  int sourceLeft = 0;  // pixels from the bitmap's top-left
  int sourceTop = 0;
  int sourceWidth = 0;
  int sourceHeight = 0;
  MetaRect target;
};

// One line of text: its reference point, how the text lies around it, and the size of one
// character cell. Text is laid out on the target as a person reads it, whichever way the
// picture's axes run.
struct MetaText {
  std::string text;
  MetaPoint reference;
  double advance = 0;     // page units per character across
  double cellHeight = 0;  // page units of one line
  int horizontal = 0;     // 0 reference at the left, 1 at the centre, 2 at the right
  int vertical = 0;       // 0 reference at the top, 1 at the baseline, 2 at the bottom
  platform::PaletteColour colour = platform::kPaletteBlack;
  std::optional<platform::PaletteColour> background;  // opaque text paints its cells first
};

struct MetaShape {
  enum class Kind { kPath, kImage, kText };
  Kind kind = Kind::kPath;
  // Closed paths are filled with the brush and outlined with the pen; open ones only drawn.
  bool closed = true;
  bool windingFill = false;  // else alternate (even-odd)
  std::vector<std::vector<MetaPoint>> rings;
  MetaPen pen;
  MetaBrush brush;
  std::optional<MetaRect> clip;    // nothing is drawn outside it
  std::vector<MetaRect> excluded;  // nor inside these
  MetaImage image;
  MetaText text;
};

// The page rectangle that is mapped onto the target: left, top and signed extents.
struct MetaFrame {
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;
};

// The records' mapping from logical units to page units as it stood when the picture began
// to draw: scale, then shift.
struct MetaMapping {
  double scaleX = 1;
  double scaleY = 1;
  double shiftX = 0;
  double shiftY = 0;
  MetaFrame Map(const MetaFrame& logical) const {
    return {logical.left * scaleX + shiftX, logical.top * scaleY + shiftY, logical.width * scaleX,
            logical.height * scaleY};
  }
};

struct MetafilePicture {
  std::vector<MetaShape> shapes;
  std::optional<MetaFrame> window;  // the picture's own window, in page units, when it sets one
  MetaMapping mapping;              // maps a bounding box given in logical units onto the page
};

// Reads the metafile's bits (its 18-byte header and the records behind it). Nothing when a
// record is malformed, runs past the data, names an object that does not exist, nests saved
// states too deep, or the picture holds more shapes or points than the caps above.
std::optional<MetafilePicture> ReadMetafileRecords(std::span<const uint8_t> bits);

// Whether drawing the picture through the frame stays within kMaxFrameCoverage and
// kMaxEdgeCrossings. A frame without area draws nothing and always fits.
bool FitsDrawingCaps(const MetafilePicture& picture, const MetaFrame& frame);

// Plays the picture into the target rectangle of image: frame is mapped onto the rectangle
// (right and bottom exclusive), and nothing is drawn outside the rectangle. A frame without
// extent draws nothing. A pen is never drawn wider than the image.
void PlayMetafile(const MetafilePicture& picture, const MetaFrame& frame, PixelImage& image, int left,
                  int top, int right, int bottom);

}  // namespace digitizer
