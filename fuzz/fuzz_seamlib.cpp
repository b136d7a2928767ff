// Seamlib through its exports, as Pictorel's Make Stitch calls them: the parts of one design
// one after another on one stitch area, each with a fresh mask, a stop record between them,
// the end pair after the last. The stitch area is exactly the size every caller hands over,
// on the heap, so a byte written past it is seen. When every part was stitched, the area
// read by the pair rules must reach its end pair exactly where the last end code went.
#include <memory>

#include "fuzz/end_pair.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/seamlib_input.h"

namespace {

// The cursor as the library reports it (the low 32 bits of its address) made an offset
// into the area.
std::size_t CursorOffset(int reported, const char* area) {
  return static_cast<uint32_t>(reported) - static_cast<uint32_t>(reinterpret_cast<uintptr_t>(area));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  vfuzz::InstallQuietMessages();
  static vfuzz::SeamlibCall call;
  if (!vfuzz::DecodeSeamlibCall(std::span<const uint8_t>(data, size), call)) return 0;
  const auto area = std::make_unique<char[]>(kSeamlibStitchAreaBytes);
  static std::vector<uint8_t> mask(vfuzz::kMaskBytes);
  (void)StSatinFailure();
  bool stitched = true;
  std::size_t end = 0;
  for (int part = 1; part <= call.parts; ++part) {
    if (part > 1) {
      (void)StBackEndCode();
      (void)StInsStopCode();
    }
    mask = call.mask;
    std::vector<SatinColumnRecord> satin = call.satin;
    stitched = stitched && StChgStitch(call.typeCode, part, call.width, call.height, area.get(), mask.data(),
                                       satin.empty() ? nullptr : satin.data(), call.borderFlag) >= 0;
    end = CursorOffset(StInsEndCode(), area.get());
  }
  (void)StSatinFailure();
  if (stitched) {
    vfuzz::Require(end % 2 == 0 && end <= kSeamlibStitchAreaBytes, "the end code went outside the stitch area");
    vfuzz::RequireEndPairAt({reinterpret_cast<const uint8_t*>(area.get()), end}, static_cast<int64_t>(end / 2),
                            "Seamlib's stitches do not reach the end pair where the end code went");
  }
  return 0;
}
