#include "testing/monogram_font_builder.h"

#include <fstream>

#include "platform/le_bytes.h"

namespace vtest {

namespace {
constexpr std::size_t kHeaderSize = 916;
constexpr std::size_t kPartCountsAt = 52;
constexpr std::size_t kStitchesAt = 76;
constexpr int kFirstCharacter = 32;
}  // namespace

std::vector<uint8_t> MonogramGlyphRecordImage(const MonogramGlyphRecordSpec& spec) {
  std::vector<uint8_t> record(kStitchesAt, 0);
  record.insert(record.end(), spec.stitches.begin(), spec.stitches.end());
  const auto length = spec.length.value_or(static_cast<uint16_t>(record.size()));
  platform::WriteU16(record.data(), length);
  platform::WriteI16(record.data() + 2, spec.partCount.value_or(static_cast<int16_t>(spec.partCounts.size())));
  for (std::size_t i = 0; i < spec.partCounts.size() && kPartCountsAt + 2 * i + 2 <= kStitchesAt; ++i) {
    platform::WriteI16(record.data() + kPartCountsAt + 2 * i, spec.partCounts[i]);
  }
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
  std::vector<uint8_t> file(kHeaderSize, 0);
  platform::WriteI32(file.data(), lineUnit_);
  for (int i = 0; i < 3; ++i) platform::WriteI32(file.data() + 8 + 4 * i, gaps_[i]);
  for (int k = 0; k < 224; ++k) platform::WriteI32(file.data() + 20 + 4 * k, -1);
  for (const auto& [c, spec] : glyphs_) {
    if (c < kFirstCharacter) continue;
    const auto offset = static_cast<int32_t>(file.size() - kHeaderSize);
    platform::WriteI32(file.data() + 20 + 4 * (c - kFirstCharacter), offset);
    const std::vector<uint8_t> record = MonogramGlyphRecordImage(spec);
    file.insert(file.end(), record.begin(), record.end());
  }
  for (const auto& [c, offset] : offsetLies_) {
    if (c >= kFirstCharacter) platform::WriteI32(file.data() + 20 + 4 * (c - kFirstCharacter), offset);
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
