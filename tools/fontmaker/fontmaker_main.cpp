// velinor_fontmaker OUTLINE_FONT OUTPUT.mnf
//
// Makes the monogram font the suite ships with: renders every character the lettering can
// take from an outline font into 0.25 mm pixel masks, sews each with Seamlib and writes the
// ".mnf" file.

#include <cstdio>

#include "layoutcore/monogram/monogram_font_writer.h"
#include "platform/file_io.h"
#include "tools/fontmaker/glyph_sewing.h"
#include "tools/fontmaker/letter_masks.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: velinor_fontmaker OUTLINE_FONT OUTPUT.mnf\n");
    return 2;
  }
  const auto letters = fontmaker::RenderLetterMasks(argv[1]);
  if (!letters) {
    std::fprintf(stderr, "velinor_fontmaker: cannot read %s\n", argv[1]);
    return 1;
  }
  fontmaker::FontMeasures measures;
  measures.lineUnit = letters->lineUnit;
  const editor::MonogramFontImage font = fontmaker::MakeMonogramFont(letters->masks, measures);
  if (font.records.empty()) {
    std::fprintf(stderr, "velinor_fontmaker: no letter could be sewn\n");
    return 1;
  }
  const std::vector<uint8_t> bytes = editor::MonogramFontBytes(font);
  if (platform::WriteWholeFile(argv[2], bytes)) {
    std::fprintf(stderr, "velinor_fontmaker: cannot write %s\n", argv[2]);
    return 1;
  }
  std::printf("velinor_fontmaker: %zu letters, %zu bytes\n", font.records.size(), bytes.size());
  return 0;
}
