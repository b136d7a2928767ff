// BMP pictures: Pictorel's picture holder reads the file, draws it stretched and is asked
// for its pixels as colour reduction walks them; Vantle reads the same files as the
// background picture under its layout.
#include "digitizer/dib.h"
#include "fuzz/fuzz_support.h"
#include "hooplayout/background_picture.h"
#include "testing/recording_canvas.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  vfuzz::InstallQuietMessages();
  const std::span<const uint8_t> file(data, size);
  (void)hooplayout::ParseBackgroundPicture(file);
  digitizer::CDib dib;
  if (!dib.ReadFileImage(file)) return 0;
  vtest::RecordingCanvas canvas;
  (void)dib.Draw(canvas, 0, 0, 40, 30);
  const auto [width, height] = dib.GetDimensions();
  // Corners and a diagonal: every row and column kind without a walk of a huge picture.
  for (int i = 0; i < 16; ++i) {
    (void)dib.PixelColour(width > 0 ? (width - 1) * i / 15 : 0, height > 0 ? (height - 1) * i / 15 : 0);
  }
  (void)dib.FileImage();
  return 0;
}
