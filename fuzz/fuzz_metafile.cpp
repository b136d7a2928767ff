// Placeable metafiles (clipart): Pictorel's holder reads the file and plays its records into
// a bitmap, as the import preview and the picture view do.
#include "digitizer/clipart.h"
#include "fuzz/fuzz_support.h"
#include "testing/recording_canvas.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  vfuzz::InstallQuietMessages();
  digitizer::CClipart clipart;
  if (!clipart.ReadPlaceable(std::span<const uint8_t>(data, size))) return 0;
  (void)clipart.GetSize();
  vtest::RecordingCanvas canvas;
  clipart.Render(canvas, 0, 0, 64, 48);
  return 0;
}
