#include "testing/metafile_builder.h"

#include "platform/le_bytes.h"

namespace vtest {
namespace {
void Append16(std::vector<uint8_t>& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}
void Append32(std::vector<uint8_t>& out, uint32_t value) {
  Append16(out, static_cast<uint16_t>(value));
  Append16(out, static_cast<uint16_t>(value >> 16));
}
std::vector<int16_t> Flatten(const std::vector<std::pair<int16_t, int16_t>>& points) {
  std::vector<int16_t> words;
  for (auto [x, y] : points) {
    words.push_back(x);
    words.push_back(y);
  }
  return words;
}
}  // namespace

MetafileBuilder& MetafileBuilder::Bounds(int16_t left, int16_t top, int16_t right, int16_t bottom) {
  left_ = left;
  top_ = top;
  right_ = right;
  bottom_ = bottom;
  return *this;
}
MetafileBuilder& MetafileBuilder::Key(uint32_t key) {
  key_ = key;
  return *this;
}
MetafileBuilder& MetafileBuilder::Objects(uint16_t count) {
  objects_ = count;
  return *this;
}

MetafileBuilder& MetafileBuilder::RawRecord(uint32_t sizeWords, uint16_t function, std::vector<int16_t> params) {
  Append32(records_, sizeWords);
  Append16(records_, function);
  for (int16_t word : params) Append16(records_, static_cast<uint16_t>(word));
  return *this;
}
MetafileBuilder& MetafileBuilder::Record(uint16_t function, std::vector<int16_t> params) {
  const auto sizeWords = static_cast<uint32_t>(3 + params.size());
  return RawRecord(sizeWords, function, std::move(params));
}

MetafileBuilder& MetafileBuilder::WindowOrg(int16_t x, int16_t y) { return Record(0x020B, {y, x}); }
MetafileBuilder& MetafileBuilder::WindowExt(int16_t width, int16_t height) { return Record(0x020C, {height, width}); }
MetafileBuilder& MetafileBuilder::Pen(uint16_t style, int16_t width, uint32_t colorRef) {
  return Record(0x02FA, {static_cast<int16_t>(style), width, 0, static_cast<int16_t>(colorRef & 0xFFFF),
                         static_cast<int16_t>(colorRef >> 16)});
}
MetafileBuilder& MetafileBuilder::Brush(uint16_t style, uint32_t colorRef) {
  return Record(0x02FC, {static_cast<int16_t>(style), static_cast<int16_t>(colorRef & 0xFFFF),
                         static_cast<int16_t>(colorRef >> 16), 0});
}
MetafileBuilder& MetafileBuilder::Select(uint16_t object) { return Record(0x012D, {static_cast<int16_t>(object)}); }
MetafileBuilder& MetafileBuilder::Delete(uint16_t object) { return Record(0x01F0, {static_cast<int16_t>(object)}); }
MetafileBuilder& MetafileBuilder::FillMode(int16_t mode) { return Record(0x0106, {mode}); }
MetafileBuilder& MetafileBuilder::Rectangle(int16_t left, int16_t top, int16_t right, int16_t bottom) {
  return Record(0x041B, {bottom, right, top, left});
}
MetafileBuilder& MetafileBuilder::Ellipse(int16_t left, int16_t top, int16_t right, int16_t bottom) {
  return Record(0x0418, {bottom, right, top, left});
}
MetafileBuilder& MetafileBuilder::Polygon(const std::vector<std::pair<int16_t, int16_t>>& points) {
  std::vector<int16_t> params{static_cast<int16_t>(points.size())};
  for (int16_t word : Flatten(points)) params.push_back(word);
  return Record(0x0324, params);
}
MetafileBuilder& MetafileBuilder::Polyline(const std::vector<std::pair<int16_t, int16_t>>& points) {
  std::vector<int16_t> params{static_cast<int16_t>(points.size())};
  for (int16_t word : Flatten(points)) params.push_back(word);
  return Record(0x0325, params);
}
MetafileBuilder& MetafileBuilder::PolyPolygon(const std::vector<std::vector<std::pair<int16_t, int16_t>>>& rings) {
  std::vector<int16_t> params{static_cast<int16_t>(rings.size())};
  for (const auto& ring : rings) params.push_back(static_cast<int16_t>(ring.size()));
  for (const auto& ring : rings) {
    for (int16_t word : Flatten(ring)) params.push_back(word);
  }
  return Record(0x0538, params);
}
MetafileBuilder& MetafileBuilder::MoveTo(int16_t x, int16_t y) { return Record(0x0214, {y, x}); }
MetafileBuilder& MetafileBuilder::LineTo(int16_t x, int16_t y) { return Record(0x0213, {y, x}); }

std::vector<uint8_t> MetafileBuilder::Bits(bool endRecord) const {
  std::vector<uint8_t> records = records_;
  if (endRecord) {
    Append32(records, 3);
    Append16(records, 0);
  }
  std::vector<uint8_t> bits;
  Append16(bits, 1);       // in memory
  Append16(bits, 9);       // header words
  Append16(bits, 0x0300);  // version
  Append32(bits, static_cast<uint32_t>((18 + records.size()) / 2));
  Append16(bits, objects_);
  Append32(bits, 0);       // largest record: not read
  Append16(bits, 0);
  bits.insert(bits.end(), records.begin(), records.end());
  return bits;
}

std::vector<uint8_t> MetafileBuilder::Build(bool endRecord) const {
  std::vector<uint8_t> file;
  Append32(file, key_);
  Append16(file, 0);
  Append16(file, static_cast<uint16_t>(left_));
  Append16(file, static_cast<uint16_t>(top_));
  Append16(file, static_cast<uint16_t>(right_));
  Append16(file, static_cast<uint16_t>(bottom_));
  Append16(file, 1440);  // units per inch: not read
  Append32(file, 0);
  Append16(file, 0);     // checksum: not read
  const std::vector<uint8_t> bits = Bits(endRecord);
  file.insert(file.end(), bits.begin(), bits.end());
  return file;
}

}  // namespace vtest
