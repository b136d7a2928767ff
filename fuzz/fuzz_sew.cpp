// SEW stitch files: the import reader into Brodera's record, and Pictorel's Open Sew File
// dialog, which previews the file in both hoops and converts it on OK. A file the reader
// accepts becomes a stream that ends in its end pair at its last pair and a record that
// opens again as a QNF design; a converted file's stitches end in their end pair too, and
// the design Pictorel makes of it saves and opens again.
#include <algorithm>
#include <memory>

#include "design/qnf_exporter.h"
#include "design/qnf_reader.h"
#include "design/sew_reader.h"
#include "design/stitch_record.h"
#include "digitizer/file_dialog_previews.h"
#include "fuzz/end_pair.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/pictorel_round_trip.h"
#include "testing/fixed_clock.h"
#include "testing/recording_canvas.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  vfuzz::InstallQuietMessages();
  static vtest::FixedClock clock({2026, 12, 9, 10, 0, 0});
  const std::span<const uint8_t> file(data, size);
  static design::StitchRecord record;
  if (design::ReadSew(file, record) == design::SewReadStatus::kOk) {
    vfuzz::RequireEndPairAt(record.StitchArea(), record.PairCount(),
                            "an accepted SEW stream does not end in its end pair at its last pair");
    static design::StitchRecord opened;
    vfuzz::Require(design::ReadQnf(design::QnfFileImage(record), opened) == design::QnfReadStatus::kOk,
                   "a SEW design as read does not open again as a QNF design");
  }

  static std::vector<uint8_t> buffer(digitizer::kSewBufferBytes);
  const auto path = vfuzz::WriteInput("design.sew", file);
  for (bool largeHoop : {false, true}) {
    digitizer::SewPreview preview(buffer);
    preview.Load(path, largeHoop);
    vtest::RecordingCanvas canvas;
    preview.Draw(canvas, 120, 160);
    if (!preview.IsLoaded()) continue;
    (void)preview.ConfirmName(clock);
    const digitizer::SewConversion& converted = preview.Conversion();
    if (!converted.converted) continue;
    vfuzz::Require(converted.imageBytes > digitizer::kStitchRecordHeadBytes && converted.imageBytes <= buffer.size(),
                   "a converted SEW design has no stitches within the buffer");
    vfuzz::RequireEndPairAt(std::span(buffer).subspan(digitizer::kStitchRecordHeadBytes),
                            static_cast<int64_t>(converted.imageBytes - digitizer::kStitchRecordHeadBytes) / 2,
                            "a converted SEW stream does not end in its end pair at its last pair");
    // As Pictorel takes the converted record over and the user saves it.
    auto taken = std::make_unique<design::StitchRecord>(design::StitchRecord::kPictorelStitchRoom);
    std::copy_n(buffer.begin(), converted.imageBytes, taken->Bytes().begin());
    static digitizer::CStitchDesign design;
    design.Clear();
    design.ClearParts();
    design.SetHoop(largeHoop ? 2 : 0);
    design.AttachStitches(std::move(taken));
    vfuzz::CheckPictorelRoundTrip(design, false);
  }
  return 0;
}
