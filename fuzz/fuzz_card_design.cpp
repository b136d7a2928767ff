// A design read off the card (or a file on the computer bound for it) into the card
// manager's design buffer: its head, its colour blocks, the bytes the card takes, and the
// manager's preview drawing.
#include "design/card/card_design_image.h"
#include "design/card/card_preview.h"
#include "fuzz/fuzz_support.h"
#include "testing/recording_canvas.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  vfuzz::InstallQuietMessages();
  const std::span<const uint8_t> image(data, size);
  if (const auto head = card::ReadCardDesignHead(image)) {
    for (int block = 0; block < head->colourCount; ++block) (void)card::CardDesignThreadCode(image, block);
    (void)card::CardImageSize(image, *head);
  }
  vtest::RecordingCanvas canvas;
  card::DrawCardPreview(canvas, {0, 0, 160, 200}, image);
  return 0;
}
