// The machine's design directory as it arrives, and the receive list made from it (the
// machine names the files that land in the user's folder).
#include "fuzz/fuzz_support.h"
#include "link/machine_directory.h"
#include "link/transfer_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  vfuzz::InstallQuietMessages();
  const auto designs = transfer::ParseMachineDirectory(std::span<const uint8_t>(data, size));
  std::vector<TransferListEntry> entries;
  (void)transfer::BuildReceiveList("/home/user/designs", designs, 1, entries);
  (void)transfer::BuildDeleteList(designs, 1, entries);
  return 0;
}
