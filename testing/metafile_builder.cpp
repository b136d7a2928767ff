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
// Bytes as the record's 16-bit words, the last one padded with a zero byte.
void AppendBytes(std::vector<int16_t>& words, const std::vector<uint8_t>& bytes) {
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    const uint16_t high = i + 1 < bytes.size() ? bytes[i + 1] : 0;
    words.push_back(static_cast<int16_t>(bytes[i] | (high << 8)));
  }
}
void AppendColour(std::vector<int16_t>& words, uint32_t colorRef) {
  words.push_back(static_cast<int16_t>(colorRef & 0xFFFF));
  words.push_back(static_cast<int16_t>(colorRef >> 16));
}
constexpr uint32_t kSourceCopy = 0x00CC0020;
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

MetafileBuilder& MetafileBuilder::RoundRect(int16_t left, int16_t top, int16_t right, int16_t bottom,
                                            int16_t cornerWidth, int16_t cornerHeight) {
  return Record(0x061C, {cornerHeight, cornerWidth, bottom, right, top, left});
}
MetafileBuilder& MetafileBuilder::ArcLike(uint16_t function, int16_t left, int16_t top, int16_t right, int16_t bottom,
                                          int16_t xStart, int16_t yStart, int16_t xEnd, int16_t yEnd) {
  return Record(function, {yEnd, xEnd, yStart, xStart, bottom, right, top, left});
}
MetafileBuilder& MetafileBuilder::Arc(int16_t left, int16_t top, int16_t right, int16_t bottom, int16_t xStart,
                                      int16_t yStart, int16_t xEnd, int16_t yEnd) {
  return ArcLike(0x0817, left, top, right, bottom, xStart, yStart, xEnd, yEnd);
}
MetafileBuilder& MetafileBuilder::Chord(int16_t left, int16_t top, int16_t right, int16_t bottom, int16_t xStart,
                                        int16_t yStart, int16_t xEnd, int16_t yEnd) {
  return ArcLike(0x0830, left, top, right, bottom, xStart, yStart, xEnd, yEnd);
}
MetafileBuilder& MetafileBuilder::Pie(int16_t left, int16_t top, int16_t right, int16_t bottom, int16_t xStart,
                                      int16_t yStart, int16_t xEnd, int16_t yEnd) {
  return ArcLike(0x081A, left, top, right, bottom, xStart, yStart, xEnd, yEnd);
}

MetafileBuilder& MetafileBuilder::MapMode(int16_t mode) { return Record(0x0103, {mode}); }
MetafileBuilder& MetafileBuilder::ViewportOrg(int16_t x, int16_t y) { return Record(0x020D, {y, x}); }
MetafileBuilder& MetafileBuilder::ViewportExt(int16_t width, int16_t height) { return Record(0x020E, {height, width}); }
MetafileBuilder& MetafileBuilder::OffsetWindowOrg(int16_t dx, int16_t dy) { return Record(0x020F, {dy, dx}); }
MetafileBuilder& MetafileBuilder::OffsetViewportOrg(int16_t dx, int16_t dy) { return Record(0x0211, {dy, dx}); }
MetafileBuilder& MetafileBuilder::ScaleWindowExt(int16_t xNum, int16_t xDenom, int16_t yNum, int16_t yDenom) {
  return Record(0x0410, {yDenom, yNum, xDenom, xNum});
}
MetafileBuilder& MetafileBuilder::ScaleViewportExt(int16_t xNum, int16_t xDenom, int16_t yNum, int16_t yDenom) {
  return Record(0x0412, {yDenom, yNum, xDenom, xNum});
}
MetafileBuilder& MetafileBuilder::SaveDc() { return Record(0x001E, {}); }
MetafileBuilder& MetafileBuilder::RestoreDc(int16_t level) { return Record(0x0127, {level}); }
MetafileBuilder& MetafileBuilder::IntersectClip(int16_t left, int16_t top, int16_t right, int16_t bottom) {
  return Record(0x0416, {bottom, right, top, left});
}
MetafileBuilder& MetafileBuilder::ExcludeClip(int16_t left, int16_t top, int16_t right, int16_t bottom) {
  return Record(0x0415, {bottom, right, top, left});
}

// Height, width, escapement, orientation, weight, then italic, underline, strike-out, character
// set, output and clip precision, quality and pitch as bytes, then a 32-byte face name.
MetafileBuilder& MetafileBuilder::Font(int16_t height, int16_t width, const std::string& face) {
  std::vector<int16_t> words{height, width, 0, 0, 400, 0, 0, 0, 0};
  std::vector<uint8_t> name(face.begin(), face.end());
  name.resize(32, 0);
  AppendBytes(words, name);
  return Record(0x02FB, words);
}
MetafileBuilder& MetafileBuilder::TextColor(uint32_t colorRef) {
  std::vector<int16_t> words;
  AppendColour(words, colorRef);
  return Record(0x0209, words);
}
MetafileBuilder& MetafileBuilder::BkColor(uint32_t colorRef) {
  std::vector<int16_t> words;
  AppendColour(words, colorRef);
  return Record(0x0201, words);
}
MetafileBuilder& MetafileBuilder::BkMode(int16_t mode) { return Record(0x0102, {mode}); }
MetafileBuilder& MetafileBuilder::TextAlign(uint16_t align) { return Record(0x012E, {static_cast<int16_t>(align)}); }
MetafileBuilder& MetafileBuilder::TextOut(int16_t x, int16_t y, const std::string& text) {
  std::vector<int16_t> words{static_cast<int16_t>(text.size())};
  AppendBytes(words, std::vector<uint8_t>(text.begin(), text.end()));
  words.push_back(y);
  words.push_back(x);
  return Record(0x0521, words);
}
MetafileBuilder& MetafileBuilder::ExtTextOut(int16_t x, int16_t y, uint16_t options, const std::string& text,
                                             std::optional<std::vector<int16_t>> rectLTRB) {
  std::vector<int16_t> words{y, x, static_cast<int16_t>(text.size()), static_cast<int16_t>(options)};
  if (rectLTRB) words.insert(words.end(), rectLTRB->begin(), rectLTRB->end());
  AppendBytes(words, std::vector<uint8_t>(text.begin(), text.end()));
  return Record(0x0A32, words);
}

MetafileBuilder& MetafileBuilder::DibStretchBlt(int16_t x, int16_t y, int16_t width, int16_t height, int16_t srcX,
                                                int16_t srcY, int16_t srcWidth, int16_t srcHeight,
                                                const std::vector<uint8_t>& dib, uint32_t rasterOperation) {
  std::vector<int16_t> words;
  AppendColour(words, rasterOperation);
  for (int16_t w : {srcHeight, srcWidth, srcY, srcX, height, width, y, x}) words.push_back(w);
  AppendBytes(words, dib);
  return Record(0x0B41, words);
}
MetafileBuilder& MetafileBuilder::StretchDib(int16_t x, int16_t y, int16_t width, int16_t height, int16_t srcX,
                                             int16_t srcY, int16_t srcWidth, int16_t srcHeight,
                                             const std::vector<uint8_t>& dib, uint16_t colourUse) {
  std::vector<int16_t> words;
  AppendColour(words, kSourceCopy);
  words.push_back(static_cast<int16_t>(colourUse));
  for (int16_t w : {srcHeight, srcWidth, srcY, srcX, height, width, y, x}) words.push_back(w);
  AppendBytes(words, dib);
  return Record(0x0F43, words);
}
MetafileBuilder& MetafileBuilder::DibBitBlt(int16_t x, int16_t y, int16_t width, int16_t height, int16_t srcX,
                                            int16_t srcY, const std::vector<uint8_t>& dib) {
  std::vector<int16_t> words;
  AppendColour(words, kSourceCopy);
  for (int16_t w : {srcY, srcX, height, width, y, x}) words.push_back(w);
  AppendBytes(words, dib);
  return Record(0x0940, words);
}
MetafileBuilder& MetafileBuilder::SetDibToDevice(int16_t x, int16_t y, int16_t width, int16_t height,
                                                 const std::vector<uint8_t>& dib) {
  std::vector<int16_t> words{0, height, 0, 0, 0, height, width, y, x};
  AppendBytes(words, dib);
  return Record(0x0D33, words);
}

MetafileBuilder& MetafileBuilder::DibPatternBrush(const std::vector<uint8_t>& dib) {
  std::vector<int16_t> words{5, 0};
  AppendBytes(words, dib);
  return Record(0x0142, words);
}
MetafileBuilder& MetafileBuilder::PatternBrush() { return Record(0x01F9, {0, 8, 8, 2, 1, 1, 0, 0, 0}); }
MetafileBuilder& MetafileBuilder::Palette() { return Record(0x00F7, {0x300, 0}); }
MetafileBuilder& MetafileBuilder::Region() { return Record(0x06FF, {0, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0}); }

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
