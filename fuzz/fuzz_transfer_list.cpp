// The transfer list file that the programs hand Linkpanel: 260-byte path records, read
// into the paths of the send.
#include "fuzz/fuzz_support.h"
#include "link/transfer_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  vfuzz::InstallQuietMessages();
  const std::vector<std::string> paths = transfer::ParseTransferList(std::span<const uint8_t>(data, size));
  std::vector<TransferListEntry> entries;
  (void)transfer::BuildSendList(paths, 1, entries);
  return 0;
}
