#pragma once

// The transfer list file that a program writes before it asks for a send (consecutive
// 260-byte records, one NUL-padded path each, no header), and the 263-byte transfer
// entries built from it and from the machine's directory.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "link/link_types.h"

namespace transfer {

constexpr std::size_t kListRecordBytes = 260;
// A record keeps a NUL after its path, so the longest path it can hold.
constexpr std::size_t kMaxListPathLength = kListRecordBytes - 1;

// Reads the paths of a list file. It stops at the first short record and at the first
// empty one. An empty or unreadable file is an error.
std::error_code ReadTransferListFile(const std::filesystem::path& listFile,
                                     std::vector<std::string>& paths);
std::vector<std::string> ParseTransferList(std::span<const uint8_t> bytes);

// Writes one record per path. A path that does not fit its record, or an empty one
// (which would end the list early), is refused before anything is written.
std::error_code WriteTransferListFile(const std::filesystem::path& listFile,
                                      const std::vector<std::string>& paths);

// n entries plus the empty one that ends the list, all zeroed.
std::vector<TransferListEntry> MakeEntryList(std::size_t count);

// Puts a path into an entry; false (entry untouched) when it is longer than the field.
bool SetEntryPath(TransferListEntry& entry, std::string_view path);
// The path of an entry, never read past its field.
std::string EntryPath(const TransferListEntry& entry);

// The send list: one entry per path, number 0. False when a path is too long.
bool BuildSendList(const std::vector<std::string>& paths, int destination,
                   std::vector<TransferListEntry>& list);

struct ListedDesign {
  std::string name;  // as the machine listed it
  int designNo = 0;  // 1-based
};

// A design name from the machine that is safe to use as a file name in a chosen folder:
// not empty, no folder separator, not "." or "..".
bool IsSafeMachineName(std::string_view name);

// The receive path of a listed design: folder, a separator and the name, where a ".ptn"
// name (any case) keeps its name and any other gets the extension "qnf". Empty when the
// name is unsafe or the path does not fit an entry.
std::string ReceivePath(const std::filesystem::path& folder, std::string_view listedName);

// The receive list of the ticked designs. False when any one is refused.
bool BuildReceiveList(const std::filesystem::path& folder, const std::vector<ListedDesign>& designs,
                      int destination, std::vector<TransferListEntry>& list);

// The delete list: highest design number first, so deleting one design does not renumber
// those still to be deleted. False when a name is too long.
bool BuildDeleteList(const std::vector<ListedDesign>& designs, int destination,
                     std::vector<TransferListEntry>& list);

}  // namespace transfer
