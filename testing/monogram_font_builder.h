#pragma once

// Builds monogram font files (".mnf") for tests: a header with the line unit and the three
// letter gaps, the glyph offset table, and one glyph record per character given. Lies can
// be told on purpose: a glyph offset of any value, a record length or part count that
// does not match the record, a file cut short.

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <vector>

namespace vtest {

struct MonogramGlyphRecordSpec {
  std::vector<uint8_t> stitches;     // the stitch pairs from offset 76, end pair included
  std::vector<int16_t> partCounts;   // written at 52; at most 12 fit before 76
  std::optional<uint16_t> length;    // the record length field; default: the record's size
  std::optional<int16_t> partCount;  // the n field; default: partCounts.size()
};

// The bytes of one glyph record.
std::vector<uint8_t> MonogramGlyphRecordImage(const MonogramGlyphRecordSpec& spec);

class MonogramFontBuilder {
 public:
  MonogramFontBuilder& LineUnit(int32_t unit);
  MonogramFontBuilder& Gaps(int32_t narrow, int32_t normal, int32_t wide);
  // A glyph record for the character; its offset is where it lands in the glyph area.
  MonogramFontBuilder& Glyph(unsigned char c, MonogramGlyphRecordSpec spec);
  // A simple glyph: the stitches and one part count of their pair count.
  MonogramFontBuilder& Glyph(unsigned char c, const std::vector<uint8_t>& stitches);
  // Writes this offset for the character whatever its record.
  MonogramFontBuilder& OffsetLie(unsigned char c, int32_t offset);
  // Keeps only the first bytes of the file.
  MonogramFontBuilder& CutAt(std::size_t size);

  std::vector<uint8_t> Build() const;
  void WriteTo(const std::filesystem::path& path) const;

 private:
  int32_t lineUnit_ = 80;
  int32_t gaps_[3] = {-10, -5, 5};
  std::map<unsigned char, MonogramGlyphRecordSpec> glyphs_;
  std::map<unsigned char, int32_t> offsetLies_;
  std::optional<std::size_t> cut_;
};

}  // namespace vtest
