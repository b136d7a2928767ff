// Pictorel's design file: a QNF image with the packed parts block behind its end pair, read
// for each hoop (the first byte picks it) as the document opens it. Writing a design back
// re-packs every part's mask, megabytes for a file that claims many large-hoop parts; that
// is the writer's work, not the reader's, and under load it would pass the hang limit.
#include "digitizer/stitch_design.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  vfuzz::InstallQuietMessages();
  std::span<const uint8_t> file(data, size);
  const uint8_t choice = vfuzz::TakeByte(file);
  static digitizer::CStitchDesign design;
  design.Clear();
  design.ClearParts();
  design.SetHoop(choice % 3);
  (void)design.Read(file);
  return 0;
}
