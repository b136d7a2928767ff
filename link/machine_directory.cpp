#include "link/machine_directory.h"

#include <algorithm>

#include "platform/file_io.h"

namespace transfer {

namespace {

// 65,535 names of at most 255 bytes each.
constexpr std::size_t kMaxDirectoryFileBytes =
    kDirectoryHeadBytes + 65535 * (1 + kMaxDirectoryNameLength);

}  // namespace

std::vector<ListedDesign> ParseMachineDirectory(std::span<const uint8_t> bytes) {
  std::vector<ListedDesign> designs;
  if (bytes.size() < kDirectoryHeadBytes) return designs;
  std::size_t at = kDirectoryHeadBytes;
  int designNo = 0;
  while (at < bytes.size()) {
    const std::size_t length = bytes[at];
    if (length == 0 || length > bytes.size() - at - 1) break;
    ++designNo;
    std::string name(reinterpret_cast<const char*>(bytes.data() + at + 1), length);
    at += 1 + length;
    if (IsSafeMachineName(name)) designs.push_back({std::move(name), designNo});
  }
  return designs;
}

std::error_code ReadMachineDirectoryFile(const std::filesystem::path& file,
                                         std::vector<ListedDesign>& designs) {
  designs.clear();
  std::vector<uint8_t> bytes;
  if (const std::error_code error = platform::ReadWholeFile(file, bytes, kMaxDirectoryFileBytes)) {
    return error;
  }
  designs = ParseMachineDirectory(bytes);
  return {};
}

std::vector<uint8_t> BuildMachineDirectory(const std::vector<std::string>& names) {
  std::vector<uint8_t> bytes(kDirectoryHeadBytes, 0);
  const std::size_t count = std::min<std::size_t>(names.size(), 65535);
  bytes[0] = static_cast<uint8_t>(count >> 8);
  bytes[1] = static_cast<uint8_t>(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t length = std::min(names[i].size(), kMaxDirectoryNameLength);
    bytes.push_back(static_cast<uint8_t>(length));
    bytes.insert(bytes.end(), names[i].begin(), names[i].begin() + static_cast<long>(length));
  }
  return bytes;
}

}  // namespace transfer
