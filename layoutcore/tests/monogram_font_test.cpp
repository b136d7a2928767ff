#include "layoutcore/monogram/monogram_font.h"

#include <gtest/gtest.h>

#include "testing/monogram_font_builder.h"
#include "testing/stitch_stream_builder.h"
#include "testing/temp_dir.h"

using editor::FontReadStatus;
using editor::GlyphReadStatus;
using vtest::MonogramFontBuilder;
using vtest::MonogramGlyphRecordSpec;
using vtest::StitchStreamBuilder;

namespace {

std::vector<uint8_t> SmallGlyph() { return StitchStreamBuilder().Stitch(10, 0).Jump(0, 20).Stitch(-10, 0).End().Bytes(); }

editor::GlyphReadResult ReadFirstGlyph(const MonogramFontBuilder& font, unsigned char c) {
  vtest::TempDir dir;
  font.WriteTo(dir / "Font.mnf");
  const auto header = editor::ReadMonogramFontHeader(dir / "Font.mnf");
  return editor::ReadGlyphRecord(dir / "Font.mnf", header.header.GlyphOffset(c));
}

}  // namespace

TEST(MonogramFont, HeaderFieldsAndOffsetTable) {
  const std::vector<uint8_t> image =
      MonogramFontBuilder().LineUnit(90).Gaps(-12, -4, 7).Glyph('A', SmallGlyph()).Glyph('B', SmallGlyph()).Build();
  const auto read = editor::ParseMonogramFontHeader(image);
  ASSERT_EQ(read.status, FontReadStatus::kOk);
  EXPECT_EQ(read.header.lineUnit, 90);
  EXPECT_EQ(read.header.gaps[0], -12);
  EXPECT_EQ(read.header.gaps[1], -4);
  EXPECT_EQ(read.header.gaps[2], 7);
  EXPECT_EQ(read.header.GlyphOffset('A'), 0);
  EXPECT_EQ(read.header.GlyphOffset('B'), 76 + 10);  // A's record: 76 bytes and five pairs
  EXPECT_FALSE(read.header.HasGlyph('C'));
  EXPECT_FALSE(read.header.HasGlyph('\t'));  // below the table
  EXPECT_EQ(image.size(), 916u + 2 * 86);
}

TEST(MonogramFont, MissingShortAndUnreasonableHeaders) {
  vtest::TempDir dir;
  EXPECT_EQ(editor::ReadMonogramFontHeader(dir / "None.mnf").status, FontReadStatus::kCannotOpen);
  MonogramFontBuilder().CutAt(915).WriteTo(dir / "Short.mnf");
  EXPECT_EQ(editor::ReadMonogramFontHeader(dir / "Short.mnf").status, FontReadStatus::kMalformed);
  MonogramFontBuilder().LineUnit(2000000000).WriteTo(dir / "Huge.mnf");
  EXPECT_EQ(editor::ReadMonogramFontHeader(dir / "Huge.mnf").status, FontReadStatus::kMalformed);
  MonogramFontBuilder().Gaps(-5, -2147483647, 3).WriteTo(dir / "Gap.mnf");
  EXPECT_EQ(editor::ReadMonogramFontHeader(dir / "Gap.mnf").status, FontReadStatus::kMalformed);
  // A line unit of 0 or less lays nothing out: a defective font.
  for (int32_t unit : {0, -1, -80}) {
    EXPECT_EQ(editor::ParseMonogramFontHeader(MonogramFontBuilder().LineUnit(unit).Build()).status,
              FontReadStatus::kMalformed) << unit;
  }
  // Any negative offset means the character is missing, not an offset before the glyphs.
  const auto read = editor::ParseMonogramFontHeader(MonogramFontBuilder().OffsetLie('Q', -900).Build());
  EXPECT_FALSE(read.header.HasGlyph('Q'));
}

TEST(MonogramFont, SoundGlyphRecordReadsWhole) {
  const auto read = ReadFirstGlyph(MonogramFontBuilder().Glyph('A', {SmallGlyph(), {3, 2}, {}, {}}), 'A');
  ASSERT_EQ(read.status, GlyphReadStatus::kOk);
  EXPECT_EQ(read.record.bytes.size(), 86u);
  EXPECT_EQ(read.record.PartCount(), 2);
  EXPECT_EQ(read.record.PairTotal(), 5);
  EXPECT_EQ(read.record.bytes[76], 10);
}

TEST(MonogramFont, LyingGlyphRecordsAreRefused) {
  const std::vector<uint8_t> noEnd = StitchStreamBuilder().Stitch(1, 1).Stitch(2, 2).Bytes();
  const std::vector<uint8_t> jumpCut = StitchStreamBuilder().Stitch(1, 1).Control(0x02).Bytes();
  const std::vector<uint8_t> endAsJumpPair = StitchStreamBuilder().Stitch(1, 1).Control(0x02).End().Bytes();
  struct Case {
    const char* what;
    MonogramGlyphRecordSpec spec;
  } cases[] = {
      {"no end pair", {noEnd, {2}, {}, {}}},
      {"a jump without its pair", {jumpCut, {2}, {}, {}}},
      {"the end pair eaten as a jump's pair", {endAsJumpPair, {2}, {}, {}}},
      {"length longer than the file", {SmallGlyph(), {5}, uint16_t{4000}, {}}},
      {"length shorter than the stitches", {SmallGlyph(), {5}, uint16_t{40}, {}}},
      {"length zero", {SmallGlyph(), {5}, uint16_t{0}, {}}},
      {"thirteen part counts", {SmallGlyph(), {5}, {}, int16_t{13}}},
      {"a negative part count field", {SmallGlyph(), {5}, {}, int16_t{-1}}},
      {"a negative part", {SmallGlyph(), {5, -30000}, {}, {}}},
  };
  for (const Case& c : cases) {
    const auto read = ReadFirstGlyph(MonogramFontBuilder().Glyph('A', c.spec), 'A');
    EXPECT_EQ(read.status, GlyphReadStatus::kMalformed) << c.what;
    EXPECT_TRUE(read.record.bytes.empty()) << c.what;
  }
}

TEST(MonogramFont, GlyphOffsetsOutsideTheFileAreRefused) {
  for (int32_t lie : {1000, 86 - 1, 2147483000}) {
    const auto read = ReadFirstGlyph(MonogramFontBuilder().Glyph('A', SmallGlyph()).OffsetLie('A', lie), 'A');
    EXPECT_EQ(read.status, GlyphReadStatus::kMalformed) << lie;
  }
  // The record cut off by the end of the file.
  const auto cut = ReadFirstGlyph(MonogramFontBuilder().Glyph('A', SmallGlyph()).CutAt(916 + 80), 'A');
  EXPECT_EQ(cut.status, GlyphReadStatus::kMalformed);
  vtest::TempDir dir;
  EXPECT_EQ(editor::ReadGlyphRecord(dir / "gone.mnf", 0).status, GlyphReadStatus::kCannotOpen);
}

TEST(MonogramFont, FontFilesAreMatchedWithoutCaseInAFixedOrder) {
  vtest::TempDir dir;
  for (const char* name : {"script.MNF", "Block.mnf", "Block.MNF", "ant.Mnf", "Zed.mnf", "notes.txt", ".mnf"}) {
    MonogramFontBuilder().WriteTo(dir / name);
  }
  std::filesystem::create_directory(dir / "Folder.mnf");
  const std::vector<std::string> names{"ant", "Block", "script", "Zed"};
  EXPECT_EQ(editor::ListMonogramFontNames(dir.Path()), names);
  EXPECT_EQ(editor::FindMonogramFontFile(dir.Path(), "script"), dir / "script.MNF");
  EXPECT_EQ(editor::FindMonogramFontFile(dir.Path(), "Block"), dir / "Block.mnf");
  EXPECT_TRUE(editor::FindMonogramFontFile(dir.Path(), "Folder").empty());
  EXPECT_TRUE(editor::FindMonogramFontFile(dir.Path(), "ANT").empty());
}
