#pragma once

// CBitMask: the operations on a black-and-white picture of one fixed size, in its two forms.
//   - A byte map: one byte per pixel, 1 = set, 0 = clear, rows of exactly width bytes, top row
//     first. Every image operation runs on it.
//   - A packed mask: one bit per pixel, top row first, the most significant bit the leftmost
//     pixel, rows padded to 16 bits. The bit layout of a monochrome device bitmap, of a part's
//     region mask and of the outline drawing.
// The class owns no picture: every operation works on buffers the caller owns, sized by
// MapBytes() and PackedBytes().

#include <cstddef>
#include <cstdint>

namespace digitizer {

struct MaskPoint {
  int x = 0;  // pixel column, from the left
  int y = 0;  // pixel row, y downwards
};

class CBitMask {
 public:
  // The first label LabelComponents hands out; the next ones step by the same amount, so the
  // low three bits of a label stay free.
  static constexpr uint8_t kLabelStep = 8;
  // Callers accept at most this many groups; labelling stops at the next one.
  static constexpr int kMaxComponents = 10;
  static constexpr int kThicknessLimit = 19;

  CBitMask(int width, int height);
  virtual ~CBitMask();

  int Width() const { return width_; }
  int Height() const { return height_; }

  // Bytes of one packed row: the pixels' bytes padded to a whole 16-bit word.
  static int PackedRowBytes(int width);
  std::size_t PackedBytes() const;
  std::size_t MapBytes() const;

  // Packed bit 1 -> map 1, bit 0 -> map 0.
  void Unpack(const uint8_t* packed, uint8_t* map) const;
  // Inverted: a set pixel becomes bit 0 (black in a monochrome bitmap), anything else bit 1.
  void Pack(const uint8_t* map, uint8_t* packed) const;
  // Not inverted: bit 1 where the map pixel equals 1; the form of a part's region mask.
  void PackPadded(const uint8_t* map, uint8_t* packed) const;

  // Marks the edges of the regions of one colour (packed, bit 1 = the colour) into accumulate
  // (a byte map): the first pixel of every run along rows and columns and the pixel just
  // behind it; runs thinner than the line thickness are marked whole. Never clears.
  void MarkThinRuns(int thickness, const uint8_t* packed, uint8_t* accumulate) const;

  // Thins the set pixels of map to lines one pixel wide; line ends are kept.
  void Thin(uint8_t* map) const;

  // Fills one-pixel gaps: a clear pixel with two of its three neighbours set becomes set.
  // Forward looks right, up and down; backward looks left, up and down.
  void CloseGaps(uint8_t* map, bool forward) const;

  // Clears pixels with fewer than two set neighbours among up, down and right; returns the
  // number of set pixels kept.
  int CountAndClean(uint8_t* map) const;

  // Labels the 4-connected groups of pixels equal to 1 with 8, 16, 24, ... in row order of
  // their first pixel. Returns the number of groups, or kMaxComponents + 1 as soon as one
  // group too many has been labelled.
  int LabelComponents(uint8_t* map) const;

  // Writes into out (a byte map) the one-pixel outer boundary of the group with the given
  // label: every pixel beside the group (left, right, above, below) that is not in it.
  void TraceBoundary(const uint8_t* labels, uint8_t label, uint8_t* out) const;

  // Moves point onto the nearest set pixel within three rings around it; returns false and
  // leaves the point as it was when none is set.
  bool FindNearbyPixel(const uint8_t* map, MaskPoint& point) const;

 private:
  // Grows one group from its first pixel; the group lies at or below that pixel's row.
  void GrowComponent(uint8_t* map, int seedRow, uint8_t label) const;

  int width_;
  int height_;
};

}  // namespace digitizer
