// QNF design files as the programs read them: the reader into Brodera's record and into
// Pictorel's larger one, and Pictorel's open-dialog preview, which draws the file's bytes
// as they were read. What the reader accepts must hold: its stream reaches the end pair at
// exactly its last pair, the file image written from the record is the file up to its end
// pair, byte for byte, and that image reads back into the same record. A design Brodera
// sends is written by the exporter from the record it read: that file must open again.
#include <algorithm>

#include "design/qnf_exporter.h"
#include "design/qnf_reader.h"
#include "design/stitch_record.h"
#include "digitizer/stitch_preview.h"
#include "fuzz/end_pair.h"
#include "fuzz/fuzz_support.h"
#include "testing/fixed_clock.h"
#include "testing/recording_canvas.h"

namespace {

void CheckEndPair(const design::StitchRecord& record) {
  vfuzz::RequireEndPairAt(record.StitchArea(), record.PairCount(),
                          "an accepted QNF stream does not end in its end pair at its last pair");
}

void CheckRoundTrip(std::span<const uint8_t> file, const design::StitchRecord& record, int32_t maxPairs) {
  const std::vector<uint8_t> image = design::QnfFileImage(record);
  vfuzz::Require(!image.empty() && image.size() <= file.size() &&
                     std::equal(image.begin(), image.end(), file.begin()),
                 "the QNF image of an accepted file is not the file up to its end pair");
  static design::StitchRecord again(design::StitchRecord::kPictorelStitchRoom);
  vfuzz::Require(design::ReadQnf(image, again, maxPairs) == design::QnfReadStatus::kOk,
                 "the QNF image of an accepted file does not read again");
  vfuzz::Require(std::equal(record.Bytes().begin(), record.Bytes().end(), again.Bytes().begin()),
                 "the QNF image of an accepted file reads back into another record");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  vfuzz::InstallQuietMessages();
  static vtest::FixedClock clock({2026, 12, 9, 10, 0, 0});
  const std::span<const uint8_t> file(data, size);
  static design::StitchRecord brodera;
  static design::StitchRecord pictorel(design::StitchRecord::kPictorelStitchRoom);
  if (design::ReadQnf(file, brodera) == design::QnfReadStatus::kOk) {
    CheckEndPair(brodera);
    CheckRoundTrip(file, brodera, 65535);
    // Sent from a standard-hoop and a large-hoop layout, as design 1 of 1.
    static design::StitchRecord sent;
    static design::StitchRecord opened;
    for (int hoopKind : {0, 2}) {
      sent.Clear();
      const std::string name = "design.qnf";
      (void)design::CQnfExporter().FillHeader(0, 1, 'a', sent, {brodera, name}, hoopKind);
      vfuzz::Require(design::ReadQnf(design::QnfFileImage(sent), opened) == design::QnfReadStatus::kOk,
                     "a design Brodera sends does not open again");
      CheckEndPair(opened);
    }
  }
  if (design::ReadQnf(file, pictorel, 250000) == design::QnfReadStatus::kOk) {
    CheckEndPair(pictorel);
    // Brodera's record holds fewer pairs: the round trip goes through Pictorel's.
    if (pictorel.PairCount() > 65535) CheckRoundTrip(file, pictorel, 250000);
  }
  vtest::RecordingCanvas canvas;
  (void)digitizer::DrawDesignPreview(file, canvas, 120, 160);
  return 0;
}
