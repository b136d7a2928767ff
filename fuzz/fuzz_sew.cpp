// SEW stitch files: the import reader into Brodera's record, and Pictorel's Open Sew File
// dialog, which previews the file in both hoops and converts it on OK.
#include "design/sew_reader.h"
#include "design/stitch_record.h"
#include "digitizer/file_dialog_previews.h"
#include "fuzz/fuzz_support.h"
#include "testing/fixed_clock.h"
#include "testing/recording_canvas.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  vfuzz::InstallQuietMessages();
  static vtest::FixedClock clock({2026, 12, 9, 10, 0, 0});
  const std::span<const uint8_t> file(data, size);
  static design::StitchRecord record;
  (void)design::ReadSew(file, record);

  static std::vector<uint8_t> buffer(digitizer::kSewBufferBytes);
  const auto path = vfuzz::WriteInput("design.sew", file);
  for (bool largeHoop : {false, true}) {
    digitizer::SewPreview preview(buffer);
    preview.Load(path, largeHoop);
    vtest::RecordingCanvas canvas;
    preview.Draw(canvas, 120, 160);
    if (preview.IsLoaded()) (void)preview.ConfirmName(clock);
  }
  return 0;
}
