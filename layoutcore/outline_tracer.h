#pragma once

// The outline of a design for the outline template: the design is drawn with a 5-pixel pen
// into a small monochrome mask at 0.5 mm per pixel, the inside of every drawn area is
// cleared so that only its edge pixels remain, and the edges are walked into contours of
// pixel points.
//
// The mask is one byte per pixel, top row first: 0 empty, 1 set, 2 visited by a walk.

#include <cstdint>
#include <span>
#include <vector>

#include "design/stitch_record.h"

namespace editor {

// The outline bitmap: 140.5 x 200.5 mm around the design's centre at pixel (140, 200),
// wide enough for the large hoop. Its rows are padded to 16 bits, and the mask takes the
// padded row width (the padding pixels are never set).
constexpr int kOutlineBitmapWidth = 281;
constexpr int kOutlineBitmapHeight = 401;
constexpr int kOutlineMaskWidth = (kOutlineBitmapWidth + 15) / 16 * 16;
constexpr int kOutlineCentreX = 140;
constexpr int kOutlineCentreY = 200;
// Stitch units (0.1 mm) per outline pixel.
constexpr int kStitchUnitsPerOutlinePixel = 5;
// The outline shows the stitches of the first twelve colours only.
constexpr int kOutlineColourLimit = 12;

constexpr uint8_t kMaskEmpty = 0;
constexpr uint8_t kMaskSet = 1;
constexpr uint8_t kMaskVisited = 2;

class COutlineTracer {
 public:
  // Allocates the mask and both arrays at their fixed sizes (width x height entries each).
  COutlineTracer(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  std::span<uint8_t> Mask() { return mask_; }
  std::span<const uint8_t> Mask() const { return mask_; }
  void ClearMask();

  // Walks every contour of the mask; returns the number of contours. Points run x then y,
  // two 16-bit entries a point. The point array holds width x height / 2 points: a mask
  // with more pixels to walk than that stops at the capacity.
  int TraceAll();

  // The entries written (x, y, x, y, ...).
  std::span<const uint16_t> Points() const { return {points_.data(), entries_}; }
  // For each contour, the entry index where its points begin. Indexes run past 65,535 on
  // a full mask, so they are kept 32 bits wide.
  std::span<const uint32_t> ContourStarts() const { return {starts_.data(), contours_}; }
  bool Truncated() const { return truncated_; }

 private:
  void Walk(int x, int y);

  int width_;
  int height_;
  std::vector<uint8_t> mask_;
  std::vector<uint16_t> points_;
  std::vector<uint32_t> starts_;
  std::size_t entries_ = 0;
  std::size_t contours_ = 0;
  bool truncated_ = false;
};

// Draws the design's stitches into the mask (1 where drawn) with a 5-pixel round pen from
// the centre pixel: stitches and sewn long stitches draw, jumps, the landing after them and
// colour changes move; the end pair or the twelfth colour change ends. The mask is not
// cleared first.
void RenderOutlineMask(const design::StitchRecord& record, std::span<uint8_t> mask, int maskWidth,
                       int maskHeight);
// The same for stitch bytes of any record (the hoop layout's records start them elsewhere).
void RenderOutlineMask(std::span<const uint8_t> stitches, std::span<uint8_t> mask, int maskWidth, int maskHeight);

// Clears the inside of every drawn area: a set pixel in rows 1..height-2 and columns
// 1..width-3 whose left, right, above, below, above-right and below-right neighbours are
// all set (judged on the mask as it was) is cleared. Edge pixels remain.
void KeepMaskEdges(std::span<uint8_t> mask, int maskWidth, int maskHeight);

}  // namespace editor
