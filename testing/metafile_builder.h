#pragma once

// Builds placeable metafile files (and bare metafile bits) for the clipart tests, record by
// record, with room to lie: a wrong key, a record size that runs past the data, any function
// number with any parameters.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/canvas.h"

namespace vtest {

// Pen and brush styles, and colour references (0x00BBGGRR) with the colours they play as,
// that tests draw with.
namespace meta {
inline constexpr uint16_t kSolid = 0;
inline constexpr uint16_t kNullPen = 5;
inline constexpr uint16_t kNullBrush = 1;
inline constexpr uint32_t kRedRef = 0x000000FF;
inline constexpr uint32_t kGreenRef = 0x0000FF00;
inline constexpr uint32_t kBlueRef = 0x00FF0000;
inline constexpr platform::PaletteColour kRed = platform::PaletteRgb(255, 0, 0);
inline constexpr platform::PaletteColour kGreen = platform::PaletteRgb(0, 255, 0);
inline constexpr platform::PaletteColour kBlue = platform::PaletteRgb(0, 0, 255);
}  // namespace meta

class MetafileBuilder {
 public:
  MetafileBuilder& Bounds(int16_t left, int16_t top, int16_t right, int16_t bottom);
  MetafileBuilder& Key(uint32_t key);
  MetafileBuilder& Objects(uint16_t count);

  // A record with its size worked out; RawRecord states the size in words as given.
  MetafileBuilder& Record(uint16_t function, std::vector<int16_t> params);
  MetafileBuilder& RawRecord(uint32_t sizeWords, uint16_t function, std::vector<int16_t> params);

  MetafileBuilder& WindowOrg(int16_t x, int16_t y);
  MetafileBuilder& WindowExt(int16_t width, int16_t height);
  MetafileBuilder& Pen(uint16_t style, int16_t width, uint32_t colorRef);
  MetafileBuilder& Brush(uint16_t style, uint32_t colorRef);
  MetafileBuilder& Select(uint16_t object);
  MetafileBuilder& Delete(uint16_t object);
  MetafileBuilder& FillMode(int16_t mode);
  MetafileBuilder& Rectangle(int16_t left, int16_t top, int16_t right, int16_t bottom);
  MetafileBuilder& Ellipse(int16_t left, int16_t top, int16_t right, int16_t bottom);
  MetafileBuilder& Polygon(const std::vector<std::pair<int16_t, int16_t>>& points);
  MetafileBuilder& Polyline(const std::vector<std::pair<int16_t, int16_t>>& points);
  MetafileBuilder& PolyPolygon(const std::vector<std::vector<std::pair<int16_t, int16_t>>>& rings);
  MetafileBuilder& MoveTo(int16_t x, int16_t y);
  MetafileBuilder& LineTo(int16_t x, int16_t y);
  MetafileBuilder& RoundRect(int16_t left, int16_t top, int16_t right, int16_t bottom, int16_t cornerWidth,
                             int16_t cornerHeight);
  // The ellipse in the box, from the ray through the start point anticlockwise to the ray
  // through the end point.
  MetafileBuilder& Arc(int16_t left, int16_t top, int16_t right, int16_t bottom, int16_t xStart, int16_t yStart,
                       int16_t xEnd, int16_t yEnd);
  MetafileBuilder& Chord(int16_t left, int16_t top, int16_t right, int16_t bottom, int16_t xStart, int16_t yStart,
                         int16_t xEnd, int16_t yEnd);
  MetafileBuilder& Pie(int16_t left, int16_t top, int16_t right, int16_t bottom, int16_t xStart, int16_t yStart,
                       int16_t xEnd, int16_t yEnd);

  // Mapping and drawing state.
  MetafileBuilder& MapMode(int16_t mode);
  MetafileBuilder& ViewportOrg(int16_t x, int16_t y);
  MetafileBuilder& ViewportExt(int16_t width, int16_t height);
  MetafileBuilder& OffsetWindowOrg(int16_t dx, int16_t dy);
  MetafileBuilder& OffsetViewportOrg(int16_t dx, int16_t dy);
  MetafileBuilder& ScaleWindowExt(int16_t xNum, int16_t xDenom, int16_t yNum, int16_t yDenom);
  MetafileBuilder& ScaleViewportExt(int16_t xNum, int16_t xDenom, int16_t yNum, int16_t yDenom);
  MetafileBuilder& SaveDc();
  MetafileBuilder& RestoreDc(int16_t level);
  MetafileBuilder& IntersectClip(int16_t left, int16_t top, int16_t right, int16_t bottom);
  MetafileBuilder& ExcludeClip(int16_t left, int16_t top, int16_t right, int16_t bottom);

  // Text.
  MetafileBuilder& Font(int16_t height, int16_t width = 0, const std::string& face = "Arial");
  MetafileBuilder& TextColor(uint32_t colorRef);
  MetafileBuilder& BkColor(uint32_t colorRef);
  MetafileBuilder& BkMode(int16_t mode);  // 1 transparent, 2 opaque
  MetafileBuilder& TextAlign(uint16_t align);
  MetafileBuilder& TextOut(int16_t x, int16_t y, const std::string& text);
  // options: 2 fills the rectangle with the background colour, 4 clips the text to it.
  MetafileBuilder& ExtTextOut(int16_t x, int16_t y, uint16_t options, const std::string& text,
                              std::optional<std::vector<int16_t>> rectLTRB = std::nullopt);

  // Bitmaps: a packed bitmap (see vtest::BuildPackedDib) copied or stretched onto the target.
  MetafileBuilder& DibStretchBlt(int16_t x, int16_t y, int16_t width, int16_t height, int16_t srcX, int16_t srcY,
                                 int16_t srcWidth, int16_t srcHeight, const std::vector<uint8_t>& dib,
                                 uint32_t rasterOperation = 0x00CC0020);
  MetafileBuilder& StretchDib(int16_t x, int16_t y, int16_t width, int16_t height, int16_t srcX, int16_t srcY,
                              int16_t srcWidth, int16_t srcHeight, const std::vector<uint8_t>& dib,
                              uint16_t colourUse = 0);
  MetafileBuilder& DibBitBlt(int16_t x, int16_t y, int16_t width, int16_t height, int16_t srcX, int16_t srcY,
                             const std::vector<uint8_t>& dib);
  MetafileBuilder& SetDibToDevice(int16_t x, int16_t y, int16_t width, int16_t height,
                                  const std::vector<uint8_t>& dib);

  // Objects that only take a slot in the object table, and a brush painted with a bitmap.
  MetafileBuilder& DibPatternBrush(const std::vector<uint8_t>& dib);
  MetafileBuilder& PatternBrush();
  MetafileBuilder& Palette();
  MetafileBuilder& Region();

  // The metafile's own header and records, ended by the end record unless told not to.
  std::vector<uint8_t> Bits(bool endRecord = true) const;
  // The 22-byte placeable header in front of Bits().
  std::vector<uint8_t> Build(bool endRecord = true) const;

 private:
  MetafileBuilder& ArcLike(uint16_t function, int16_t left, int16_t top, int16_t right, int16_t bottom,
                           int16_t xStart, int16_t yStart, int16_t xEnd, int16_t yEnd);

  int16_t left_ = 0, top_ = 0, right_ = 1000, bottom_ = 1000;
  uint32_t key_ = 0x9AC6CDD7;
  uint16_t objects_ = 8;
  std::vector<uint8_t> records_;
};

}  // namespace vtest
