#pragma once

// Builds placeable metafile files (and bare metafile bits) for the clipart tests, record by
// record, with room to lie: a wrong key, a record size that runs past the data, any function
// number with any parameters.

#include <cstdint>
#include <utility>
#include <vector>

namespace vtest {

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

  // The metafile's own header and records, ended by the end record unless told not to.
  std::vector<uint8_t> Bits(bool endRecord = true) const;
  // The 22-byte placeable header in front of Bits().
  std::vector<uint8_t> Build(bool endRecord = true) const;

 private:
  int16_t left_ = 0, top_ = 0, right_ = 1000, bottom_ = 1000;
  uint32_t key_ = 0x9AC6CDD7;
  uint16_t objects_ = 8;
  std::vector<uint8_t> records_;
};

}  // namespace vtest
