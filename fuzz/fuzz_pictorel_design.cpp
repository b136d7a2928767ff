// Pictorel's design file: a QNF image with the packed parts block behind its end pair, read
// for each hoop (the first byte picks it) as the document opens it. A file it opens must
// save and open again as it was (fuzz/pictorel_round_trip.h).
#include "digitizer/stitch_design.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/pictorel_round_trip.h"
#include "testing/fixed_clock.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  vfuzz::InstallQuietMessages();
  static vtest::FixedClock clock({2026, 12, 9, 10, 0, 0});
  std::span<const uint8_t> file(data, size);
  const uint8_t choice = vfuzz::TakeByte(file);
  static digitizer::CStitchDesign design;
  design.Clear();
  design.ClearParts();
  design.SetHoop(choice % 3);
  if (design.Read(file) != 1) return 0;
  vfuzz::CheckPictorelRoundTrip(design, true);
  return 0;
}
