// The monogram font file as the lettering dialogs use it: the header, then the letters the
// font has typed into the engine in one of the three layouts, drawn, and made into stitches.
#include <string>

#include "design/stitch_record.h"
#include "layoutcore/monogram/lettering_engine.h"
#include "fuzz/fuzz_support.h"
#include "testing/recording_canvas.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  vfuzz::InstallQuietMessages();
  std::span<const uint8_t> file(data, size);
  const uint8_t choice = vfuzz::TakeByte(file);
  vfuzz::WriteInput("Font.mnf", file);
  editor::MonogramEngine engine((choice & 4) ? editor::kLargeHoopLettering : editor::kStandardHoopLettering);
  engine.SetFonts(vfuzz::WorkFolder(), {"Font"});
  if (!engine.LoadFontHeader()) return 0;
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
