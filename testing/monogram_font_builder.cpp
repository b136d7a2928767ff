#include "testing/monogram_font_builder.h"

#include <fstream>

#include "layoutcore/monogram/monogram_font_writer.h"
#include "platform/le_bytes.h"

namespace vtest {

std::vector<uint8_t> MonogramGlyphRecordImage(const MonogramGlyphRecordSpec& spec) {
  std::vector<uint8_t> record = editor::MonogramGlyphRecordBytes(spec.stitches, spec.partCounts);
  if (spec.length) platform::WriteU16(record.data(), *spec.length);
  if (spec.partCount) platform::WriteI16(record.data() + 2, *spec.partCount);
  return record;
}

MonogramFontBuilder& MonogramFontBuilder::LineUnit(int32_t unit) {
  lineUnit_ = unit;
  return *this;
}

MonogramFontBuilder& MonogramFontBuilder::Gaps(int32_t narrow, int32_t normal, int32_t wide) {
  gaps_[0] = narrow;
  gaps_[1] = normal;
  gaps_[2] = wide;
  return *this;
}

MonogramFontBuilder& MonogramFontBuilder::Glyph(unsigned char c, MonogramGlyphRecordSpec spec) {
  glyphs_[c] = std::move(spec);
  return *this;
}

MonogramFontBuilder& MonogramFontBuilder::Glyph(unsigned char c, const std::vector<uint8_t>& stitches) {
  return Glyph(c, MonogramGlyphRecordSpec{stitches, {static_cast<int16_t>(stitches.size() / 2)}, {}, {}});
}

MonogramFontBuilder& MonogramFontBuilder::OffsetLie(unsigned char c, int32_t offset) {
  offsetLies_[c] = offset;
  return *this;
}

MonogramFontBuilder& MonogramFontBuilder::CutAt(std::size_t size) {
  cut_ = size;
  return *this;
}

std::vector<uint8_t> MonogramFontBuilder::Build() const {
  editor::MonogramFontImage font;
  font.lineUnit = lineUnit_;
  font.gaps = {gaps_[0], gaps_[1], gaps_[2]};
  for (const auto& [c, spec] : glyphs_) font.records[c] = MonogramGlyphRecordImage(spec);
  std::vector<uint8_t> file = editor::MonogramFontBytes(font);
  for (const auto& [c, offset] : offsetLies_) {
    if (c >= editor::kFirstFontCharacter) platform::WriteI32(file.data() + 20 + 4 * (c - editor::kFirstFontCharacter), offset);
  }
  if (cut_ && *cut_ < file.size()) file.resize(*cut_);
  return file;
}

void MonogramFontBuilder::WriteTo(const std::filesystem::path& path) const {
  const std::vector<uint8_t> image = Build();
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
}

}  // namespace vtest
