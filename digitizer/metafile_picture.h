#pragma once

// A clipart picture as read from the records of a Windows metafile: filled and outlined
// polygons, polylines, rectangles and ellipses with their pens and brushes, in the picture's
// own logical units. Only the drawing records clipart uses are read; a picture with any other
// drawing record (text, bitmaps, arcs, regions) is refused whole rather than shown wrong.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "digitizer/pixel_image.h"
#include "platform/canvas.h"

namespace digitizer {

struct MetaPoint {
  double x = 0;
  double y = 0;
};

struct MetaPen {
  bool visible = true;
  platform::PaletteColour colour = platform::kPaletteBlack;
  int width = 0;  // logical units; 0 and 1 draw one pixel wide
};

struct MetaBrush {
  bool visible = true;
  platform::PaletteColour colour = platform::kPaletteWhite;
};

struct MetaShape {
  // Closed shapes are filled with the brush and outlined with the pen; open ones only drawn.
  bool closed = true;
  bool windingFill = false;  // else alternate (even-odd)
  std::vector<std::vector<MetaPoint>> rings;
  MetaPen pen;
  MetaBrush brush;
};

// The logical rectangle that is mapped onto the target: left, top and signed extents.
struct MetaFrame {
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;
};

struct MetafilePicture {
  std::vector<MetaShape> shapes;
  std::optional<MetaFrame> window;  // set by the picture's own window origin and extent
};

// Reads the metafile's bits (its 18-byte header and the records behind it). Nothing when a
// record is malformed, runs past the data, names an object that does not exist, or draws in a
// way this reader does not know.
std::optional<MetafilePicture> ReadMetafileRecords(std::span<const uint8_t> bits);

// Plays the picture into the target rectangle of image: frame is mapped onto the rectangle
// (right and bottom exclusive). A frame without extent draws nothing.
void PlayMetafile(const MetafilePicture& picture, const MetaFrame& frame, PixelImage& image, int left,
                  int top, int right, int bottom);

}  // namespace digitizer
