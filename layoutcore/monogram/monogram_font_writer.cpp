#include "layoutcore/monogram/monogram_font_writer.h"

#include <algorithm>

#include "platform/le_bytes.h"

namespace editor {

namespace {
constexpr std::size_t kLineUnitAt = 0;
constexpr std::size_t kGapsAt = 8;
constexpr std::size_t kGlyphOffsetsAt = 20;
}  // namespace

std::vector<uint8_t> MonogramGlyphRecordBytes(std::span<const uint8_t> stitches, std::span<const int16_t> partCounts) {
  std::vector<uint8_t> record(kGlyphStitchesAt, 0);
  record.insert(record.end(), stitches.begin(), stitches.end());
  const std::size_t parts = std::min<std::size_t>(partCounts.size(), kMaxGlyphParts);
  platform::WriteU16(record.data(), static_cast<uint16_t>(record.size()));
  platform::WriteI16(record.data() + 2, static_cast<int16_t>(parts));
  for (std::size_t i = 0; i < parts; ++i) platform::WriteI16(record.data() + kGlyphPartCountsAt + 2 * i, partCounts[i]);
  return record;
}

std::vector<uint8_t> MonogramFontBytes(const MonogramFontImage& font) {
  std::vector<uint8_t> file(kFontHeaderSize, 0);
  platform::WriteI32(file.data() + kLineUnitAt, font.lineUnit);
  for (std::size_t i = 0; i < font.gaps.size(); ++i) platform::WriteI32(file.data() + kGapsAt + 4 * i, font.gaps[i]);
  for (int k = 0; k < kFontCharacterCount; ++k) platform::WriteI32(file.data() + kGlyphOffsetsAt + 4 * k, kNoGlyph);
  for (const auto& [c, record] : font.records) {
    if (c < kFirstFontCharacter) continue;
    const auto offset = static_cast<int32_t>(file.size() - kFontHeaderSize);
    platform::WriteI32(file.data() + kGlyphOffsetsAt + 4 * (c - kFirstFontCharacter), offset);
    file.insert(file.end(), record.begin(), record.end());
  }
  return file;
}

}  // namespace editor
