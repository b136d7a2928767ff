// BMP pictures: Pictorel's picture holder reads the file, draws it stretched and is asked
// for its pixels as colour reduction walks them; Vantle reads the same files as the
// background picture under its layout. The file image the holder writes reads again as
// the same picture.
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
  // The file image written back reads as the same picture: corners and a diagonal (every
  // row and column kind without a walk of a huge picture) keep their colours.
  const std::vector<uint8_t> image = dib.FileImage();
  static digitizer::CDib again;
  vfuzz::Require(again.ReadFileImage(image), "a picture's file image does not read again");
  const auto [widthAgain, heightAgain] = again.GetDimensions();
  vfuzz::Require(widthAgain == width && heightAgain == height, "a picture's file image reads at another size");
  for (int i = 0; i < 16; ++i) {
    const int x = width > 0 ? (width - 1) * i / 15 : 0;
    const int y = height > 0 ? (height - 1) * i / 15 : 0;
    vfuzz::Require(again.PixelColour(x, y) == dib.PixelColour(x, y), "a picture's file image reads with other colours");
  }
  return 0;
}
