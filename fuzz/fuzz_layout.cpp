// Brodera's layout files: the bdz file and the older layouts, as the document opens them.
#include "editor/layout_file.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  vfuzz::InstallQuietMessages();
  (void)editor::ReadLayout(std::span<const uint8_t>(data, size));
  return 0;
}
