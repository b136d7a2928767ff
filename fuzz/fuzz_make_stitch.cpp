// Make Stitch over the parts of a Pictorel design file as it was opened: the first byte
// picks the hoop and the flip, the second the turn and the size of the Make Stitch dialog,
// the rest is the file. When the run went through, the record's stream reaches its end pair
// exactly at the pair count it claims, and the design saves and opens again with its parts
// (fuzz/pictorel_round_trip.h). Every part is a Seamlib call over a whole mask: a run is
// kept to two parts (one on the large hoop), a weave alone, as in the Seamlib harness, to stay
// within the hang limit.
#include <atomic>

#include "design/qnf_reader.h"
#include "digitizer/make_stitch.h"
#include "digitizer/stitch_design.h"
#include "fuzz/end_pair.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/pictorel_round_trip.h"
#include "fuzz/seamlib_input.h"
#include "testing/fixed_clock.h"

namespace {

bool WithinRunWork(const digitizer::CStitchDesign& design) {
  const int parts = design.GetPartCount();
  // The large hoop's parts are shrunk and moved on the whole mask first: one part is enough.
  const int most = design.WorkWidth() >= digitizer::CStitchDesign::kLargeWorkWidth ? 1 : 2;
  if (parts < 1 || parts > most) return false;
  for (int i = 0; i < parts; ++i) {
    if (parts > 1 && (design.GetPartList().GetPart(i)->stitch & 0xFF) <= vfuzz::kLastWeaveFillType) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  vfuzz::InstallQuietMessages();
  static vtest::FixedClock clock({2026, 12, 9, 10, 0, 0});
  std::span<const uint8_t> file(data, size);
  const uint8_t first = vfuzz::TakeByte(file);
  const uint8_t second = vfuzz::TakeByte(file);
  static digitizer::CStitchDesign design;
  design.Clear();
  design.ClearParts();
  design.SetHoop(first % 3);
  if (design.Read(file) != 1 || design.EditState() != digitizer::kPartsRead || !WithinRunWork(design)) return 0;

  digitizer::MakeStitchOptions options;
  options.flip = (first >> 2) % 3;
  if (second & 0x80) {
    options.rotationDegrees = (second & 0x7F) * 359 / 127;
    options.sizePercent = 50 + (second & 0x7F) * 100 / 127;
  }
  // Edit Parts hands the parts read to Make Stitch.
  design.SetEditState(digitizer::kStitchesFromParts);
  static digitizer::MakeStitchRun run;
  const std::atomic<bool> cancel{false};
  if (run.Run(design, options, cancel, nullptr) != digitizer::MakeStitchEnd::kRan) return 0;
  (void)run.TakeError();
  const design::StitchRecord* record = design.Record();
  if (run.PairCount() <= 0 || !record || record->PairCount() <= 0) return 0;
  vfuzz::RequireEndPairAt(record->StitchArea(), record->PairCount(),
                          "the stitches Make Stitch made do not end in their end pair at their pair count");
  vfuzz::CheckPictorelRoundTrip(design, true);
  return 0;
}
