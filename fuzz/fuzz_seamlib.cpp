// Seamlib through its exports, as Pictorel's Make Stitch calls them: the parts of one design
// one after another on one stitch area, each with a fresh mask, a stop record between them,
// the end pair after the last. The stitch area is exactly the size every caller hands over,
// on the heap, so a byte written past it is seen.
#include <memory>

#include "fuzz/fuzz_support.h"
#include "fuzz/seamlib_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  vfuzz::InstallQuietMessages();
  static vfuzz::SeamlibCall call;
  if (!vfuzz::DecodeSeamlibCall(std::span<const uint8_t>(data, size), call)) return 0;
  const auto area = std::make_unique<char[]>(kSeamlibStitchAreaBytes);
  static std::vector<uint8_t> mask(vfuzz::kMaskBytes);
  (void)StSatinFailure();
  for (int part = 1; part <= call.parts; ++part) {
    if (part > 1) {
      (void)StBackEndCode();
      (void)StInsStopCode();
    }
    mask = call.mask;
    std::vector<SatinColumnRecord> satin = call.satin;
    (void)StChgStitch(call.typeCode, part, call.width, call.height, area.get(), mask.data(),
                      satin.empty() ? nullptr : satin.data(), call.borderFlag);
    (void)StInsEndCode();
  }
  (void)StSatinFailure();
  return 0;
}
