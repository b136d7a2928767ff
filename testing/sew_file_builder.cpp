#include "testing/sew_file_builder.h"

#include "platform/le_bytes.h"

namespace vtest {

std::vector<uint8_t> BuildSewFile(const SewFileSpec& spec) {
  constexpr std::size_t kStitchOffset = 7544;
  std::vector<uint8_t> out(kStitchOffset, 0);
  platform::WriteU16(out.data(), spec.colourCount.value_or(static_cast<uint16_t>(spec.threadCodes.size())));
  for (std::size_t i = 0; i < spec.threadCodes.size() && 2 + 2 * i + 2 <= kStitchOffset; ++i) {
    platform::WriteU16(&out[2 + 2 * i], spec.threadCodes[i]);
  }
  out.insert(out.end(), spec.stitches.begin(), spec.stitches.end());
  return out;
}

}  // namespace vtest
