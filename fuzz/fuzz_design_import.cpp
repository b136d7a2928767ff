// The Import Design dialog's rules over a chosen file: the preview on selection, then the
// confirmation, which reads, checks and re-centres the design; the first byte picks the
// file's kind (QNF or SEW) and the layout's hoop.
#include "design/pat_list_model.h"
#include "design/stitch_record.h"
#include "fuzz/fuzz_support.h"
#include "testing/recording_canvas.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  vfuzz::InstallQuietMessages();
  std::span<const uint8_t> file(data, size);
  const uint8_t choice = vfuzz::TakeByte(file);
  const auto path = vfuzz::WriteInput((choice & 1) ? "design.sew" : "design.qnf", file);
  static design::StitchRecord record;
  design::PatListModel model(record, "Brodera", (choice >> 1) & 1 ? 2 : 0);
  model.OnFileNameChange(path);
  vtest::RecordingCanvas canvas;
  model.DrawPreview(canvas, {0, 0, 120, 160});
  (void)model.OnFileNameOK(path);
  model.DrawPreview(canvas, {0, 0, 120, 160});
  return 0;
}
