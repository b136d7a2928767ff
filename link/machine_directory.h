#pragma once

// The machine's design directory as it sends it ("$$UPLDir.tmp"): a 16-bit big-endian
// count, then one entry per design: a length byte and that many bytes of name, no
// terminator. Entry i (from 0) is design number i + 1.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <system_error>
#include <vector>

#include "link/transfer_list.h"

namespace transfer {

constexpr std::size_t kDirectoryHeadBytes = 2;
constexpr std::size_t kMaxDirectoryNameLength = 255;

// The listed designs, numbered from 1. The list ends where the bytes are used up, at an
// empty name, or at an entry that runs past the data. Names that would leave the folder
// they are received into (a separator, "..") are left out; their numbers are kept by the
// designs that follow.
std::vector<ListedDesign> ParseMachineDirectory(std::span<const uint8_t> bytes);
std::error_code ReadMachineDirectoryFile(const std::filesystem::path& file,
                                         std::vector<ListedDesign>& designs);

// The directory the machine would send for these names (the machine's side; tests).
// Names longer than a length byte can say are cut at 255 bytes.
std::vector<uint8_t> BuildMachineDirectory(const std::vector<std::string>& names);

}  // namespace transfer
