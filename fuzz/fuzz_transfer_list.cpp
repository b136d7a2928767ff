// The transfer list file that the programs hand Linkpanel: 260-byte path records, read
// into the paths of the send. Paths read that the writer takes are written as a list file
// and read back the same.
#include "fuzz/fuzz_support.h"
#include "link/transfer_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  vfuzz::InstallQuietMessages();
  const std::vector<std::string> paths = transfer::ParseTransferList(std::span<const uint8_t>(data, size));
  std::vector<TransferListEntry> entries;
  (void)transfer::BuildSendList(paths, 1, entries);
  if (paths.empty()) return 0;
  const auto list = vfuzz::WorkFolder() / "send.lst";
  if (transfer::WriteTransferListFile(list, paths)) return 0;  // a path that does not fit its record
  std::vector<std::string> again;
  vfuzz::Require(!transfer::ReadTransferListFile(list, again) && again == paths,
                 "a transfer list written from the paths read does not read back as those paths");
  return 0;
}
