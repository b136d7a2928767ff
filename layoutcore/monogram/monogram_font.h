#pragma once

// The monogram font file (".mnf", in the program folder), little-endian, read only:
//
//   0    i32        line unit: line advance of the free layout, twice the width of a space
//   4    i32        not used
//   8    3 x i32    letter gaps for "Narrow", "Normal", "Wide" (preview pixels, may be < 0)
//   20   224 x i32  glyph offsets of the characters 32..255; -1: no such character
//   916+offset      the glyph record of each character present
//
// Glyph record: u16 length L (these two bytes included), i16 n, 48 bytes not read, n i16
// stitch-pair counts at 52 (room for 12), and the glyph's stitch pairs from 76 to an end
// pair 0x80 0x10, in the glyph's own frame (origin at the first stitch, y upward).
//
// The file is hostile input: every offset, length and count is checked against the bytes
// actually there before it is used.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace editor {

constexpr int kFirstFontCharacter = 32;
constexpr int kFontCharacterCount = 224;  // 32..255
constexpr int32_t kNoGlyph = -1;
constexpr std::size_t kFontHeaderSize = 20 + 4 * kFontCharacterCount;  // 916
constexpr std::size_t kGlyphPartCountsAt = 52;
constexpr int kMaxGlyphParts = 12;  // the part counts end before the stitch data
constexpr std::size_t kGlyphStitchesAt = 76;
constexpr std::size_t kGlyphBufferSize = 65612;
constexpr int kSpacingCount = 3;
// Letter gaps and the line unit are small numbers of preview pixels; a value beyond this
// is no font of ours and would overflow the layout's sums.
constexpr int32_t kMaxFontMeasure = 10000;

struct MonogramFontHeader {
  int32_t lineUnit = 0;
  std::array<int32_t, kSpacingCount> gaps{-10, -5, 5};
  std::array<int32_t, kFontCharacterCount> glyphOffsets{};

  // -1 for characters outside 32..255 and those the font lacks.
  int32_t GlyphOffset(unsigned char c) const {
    return c < kFirstFontCharacter ? kNoGlyph : glyphOffsets[c - kFirstFontCharacter];
  }
  bool HasGlyph(unsigned char c) const { return GlyphOffset(c) != kNoGlyph; }
};

enum class FontReadStatus {
  kOk,
  kCannotOpen,  // missing or unreadable: nothing changes
  kMalformed,   // short header or measures beyond reason: "File error"
};

struct FontHeaderResult {
  FontReadStatus status = FontReadStatus::kCannotOpen;
  MonogramFontHeader header;
};

FontHeaderResult ReadMonogramFontHeader(const std::filesystem::path& path);
// The same checks on an image in memory.
FontHeaderResult ParseMonogramFontHeader(const std::vector<uint8_t>& image);

// One glyph record, checked: L >= 78, n within 0..12, no negative part count, and the
// stitch pairs end with 0x80 0x10 inside the record, every control pair's own pair too.
struct GlyphRecord {
  std::vector<uint8_t> bytes;  // the L bytes of the record
  int PartCount() const;
  int32_t PairTotal() const;   // the sum of the part counts
};

enum class GlyphReadStatus { kOk, kCannotOpen, kMalformed };

struct GlyphReadResult {
  GlyphReadStatus status = GlyphReadStatus::kCannotOpen;
  GlyphRecord record;
};

// A font file is named "<font name>.mnf"; the extension is matched without case, so a
// font copied from a card as "BLOCK.MNF" is found too.
bool IsMonogramFontFileName(const std::filesystem::path& path);
// The font files' names (without the extension) in a folder, in a fixed order that does not
// depend on the order the folder lists them in: a font index stored in the profile or a
// lettering keeps naming the same font. Names are ordered without case, then byte by byte;
// a name present under two spellings of the extension is listed once.
std::vector<std::string> ListMonogramFontNames(const std::filesystem::path& folder);
// The file of the font of that name in the folder; empty when there is none.
std::filesystem::path FindMonogramFontFile(const std::filesystem::path& folder, const std::string& name);

// Reads the record at 916 + glyphOffset of the font file.
GlyphReadResult ReadGlyphRecord(const std::filesystem::path& path, int32_t glyphOffset);
// Checks a record's bytes as ReadGlyphRecord does.
bool GlyphRecordIsSound(const std::vector<uint8_t>& record);

}  // namespace editor
