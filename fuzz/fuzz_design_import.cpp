// The Import Design dialog's rules over a chosen file: the preview on selection, then the
// confirmation, which reads, checks and re-centres the design; the first byte picks the
// file's kind (QNF or SEW) and the layout's hoop. The design confirmed ends in its end pair
// and opens again as a QNF design.
#include "design/pat_list_model.h"
#include "design/qnf_exporter.h"
#include "design/qnf_reader.h"
#include "design/stitch_record.h"
#include "fuzz/end_pair.h"
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
  const bool closed = model.OnFileNameOK(path);
  model.DrawPreview(canvas, {0, 0, 120, 160});
  if (!closed || record.ColourCount() <= 0) return 0;
  // The design the dialog hands Brodera: its stream ends at its pair count, and it is a QNF
  // design that opens again.
  vfuzz::RequireEndPairAt(record.StitchArea(), record.PairCount(),
                          "an imported design's stream does not end in its end pair at its pair count");
  static design::StitchRecord opened;
  vfuzz::Require(design::ReadQnf(design::QnfFileImage(record), opened) == design::QnfReadStatus::kOk,
                 "an imported design does not open again as a QNF design");
  return 0;
}
