// The machine's design directory as it arrives, and the receive list made from it (the
// machine names the files that land in the user's folder). The names read make a directory
// that reads back as the same names.
#include "fuzz/fuzz_support.h"
#include "link/machine_directory.h"
#include "link/transfer_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  vfuzz::InstallQuietMessages();
  const auto designs = transfer::ParseMachineDirectory(std::span<const uint8_t>(data, size));
  std::vector<TransferListEntry> entries;
  (void)transfer::BuildReceiveList("/home/user/designs", designs, 1, entries);
  (void)transfer::BuildDeleteList(designs, 1, entries);
  std::vector<std::string> names;
  for (const auto& d : designs) names.push_back(d.name);
  const auto again = transfer::ParseMachineDirectory(transfer::BuildMachineDirectory(names));
  vfuzz::Require(again.size() == names.size(), "the names read make a directory of another length");
  for (std::size_t i = 0; i < names.size(); ++i) {
    vfuzz::Require(again[i].name == names[i], "the names read make a directory that reads as other names");
  }
  return 0;
}
