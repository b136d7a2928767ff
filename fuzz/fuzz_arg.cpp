// Vantle's layouts: the arg file and the older arr layouts, which share its form but keep
// other geometry in the placement fields; the first byte picks which.
#include "fuzz/fuzz_support.h"
#include "hooplayout/arg_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  vfuzz::InstallQuietMessages();
  std::span<const uint8_t> file(data, size);
  const uint8_t choice = vfuzz::TakeByte(file);
  (void)hooplayout::ReadArgLayout(file, (choice & 1) ? hooplayout::ArgPlacement::kOld
                                                     : hooplayout::ArgPlacement::kCurrent);
  return 0;
}
