// QNF design files as the programs read them: the reader into Brodera's record and into
// Pictorel's larger one, and Pictorel's open-dialog preview, which draws the file's bytes
// as they were read.
#include "design/qnf_reader.h"
#include "design/stitch_record.h"
#include "digitizer/stitch_preview.h"
#include "fuzz/fuzz_support.h"
#include "testing/recording_canvas.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  vfuzz::InstallQuietMessages();
  const std::span<const uint8_t> file(data, size);
  static design::StitchRecord brodera;
  static design::StitchRecord pictorel(design::StitchRecord::kPictorelStitchRoom);
  (void)design::ReadQnf(file, brodera);
  (void)design::ReadQnf(file, pictorel, 250000);
  vtest::RecordingCanvas canvas;
  (void)digitizer::DrawDesignPreview(file, canvas, 120, 160);
  return 0;
}
