// The monogram font file as the lettering dialogs use it: the header, then the letters the
// font has typed into the engine in one of the three layouts, drawn, and made into stitches.
// The font written again by the font maker's writer from what was read reads back the same.
#include <string>

#include "design/stitch_record.h"
#include "layoutcore/monogram/lettering_engine.h"
#include "layoutcore/monogram/monogram_font.h"
#include "layoutcore/monogram/monogram_font_writer.h"
#include "fuzz/fuzz_support.h"
#include "testing/recording_canvas.h"

namespace {

// The font as the font maker would write it again from what was read (the header's measures
// and every glyph record that reads soundly) reads back the same.
void CheckFontRoundTrip(const std::filesystem::path& path) {
  const editor::FontHeaderResult read = editor::ReadMonogramFontHeader(path);
  if (read.status != editor::FontReadStatus::kOk) return;
  editor::MonogramFontImage font;
  font.lineUnit = read.header.lineUnit;
  font.gaps = read.header.gaps;
  for (int c = editor::kFirstFontCharacter; c < 256; ++c) {
    const auto ch = static_cast<unsigned char>(c);
    if (!read.header.HasGlyph(ch)) continue;
    const editor::GlyphReadResult glyph = editor::ReadGlyphRecord(path, read.header.GlyphOffset(ch));
    if (glyph.status == editor::GlyphReadStatus::kOk) font.records[ch] = glyph.record.bytes;
  }
  const std::vector<uint8_t> written = editor::MonogramFontBytes(font);
  const auto writtenPath = vfuzz::WriteInput("Written.mnf", written);
  const editor::FontHeaderResult again = editor::ParseMonogramFontHeader(written);
  vfuzz::Require(again.status == editor::FontReadStatus::kOk && again.header.lineUnit == font.lineUnit &&
                     again.header.gaps == font.gaps,
                 "a font written from what was read has another header");
  for (int c = editor::kFirstFontCharacter; c < 256; ++c) {
    const auto ch = static_cast<unsigned char>(c);
    const auto record = font.records.find(ch);
    vfuzz::Require(again.header.HasGlyph(ch) == (record != font.records.end()),
                   "a font written from what was read has other characters");
    if (record == font.records.end()) continue;
    const editor::GlyphReadResult glyph = editor::ReadGlyphRecord(writtenPath, again.header.GlyphOffset(ch));
    vfuzz::Require(glyph.status == editor::GlyphReadStatus::kOk && glyph.record.bytes == record->second,
                   "a font written from what was read has other glyphs");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  vfuzz::InstallQuietMessages();
  std::span<const uint8_t> file(data, size);
  const uint8_t choice = vfuzz::TakeByte(file);
  vfuzz::WriteInput("Font.mnf", file);
  editor::MonogramEngine engine((choice & 4) ? editor::kLargeHoopLettering : editor::kStandardHoopLettering);
  engine.SetFonts(vfuzz::WorkFolder(), {"Font"});
  if (!engine.LoadFontHeader()) return 0;
  CheckFontRoundTrip(vfuzz::WorkFolder() / "Font.mnf");
  // Up to six of the characters the font claims to have, and a blank between two of them.
  std::string text;
  for (int c = editor::kFirstFontCharacter; c < 256 && text.size() < 6; ++c) {
    if (engine.Header().HasGlyph(static_cast<unsigned char>(c))) text += static_cast<char>(c);
    if (text.size() == 2) text += ' ';
  }
  if (text.empty()) return 0;
  const editor::LetteringMode modes[] = {editor::LetteringMode::kFree, editor::LetteringMode::kLine,
                                         editor::LetteringMode::kArc};
  const auto built = engine.Build(text, modes[choice % 3]);
  if (built.outcome != editor::BuildOutcome::kBuilt) return 0;
  vtest::RecordingCanvas canvas;
  engine.DrawGlyphs(canvas, platform::kPaletteBlack);
  static design::StitchRecord record;
  static editor::MonogramBlock block;
  (void)engine.MakeStitches(record, block);
  return 0;
}
