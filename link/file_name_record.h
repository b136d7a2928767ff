#pragma once

// The record sent in front of every design: "QORV", a 32-bit little-endian record length,
// then the file name (no folder, blanks as '_') NUL-padded to a whole number of 4-byte
// words with at least one NUL.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace transfer {

constexpr std::size_t kFileNameRecordHeadBytes = 8;
constexpr uint8_t kFileNameRecordMagic[4] = {'Q', 'O', 'R', 'V'};

// The name area for a name of n bytes: (n AND NOT 3) + 4.
constexpr std::size_t FileNameAreaBytes(std::size_t nameLength) {
  return (nameLength & ~static_cast<std::size_t>(3)) + 4;
}

// The file name of a path: the part after its last '\' or '/'.
std::string_view FileNameOf(std::string_view path);
// Every blank of a name as '_', the machine's names have none.
std::string BlanksToUnderscores(std::string_view name);

// The record for a design path (or bare name). Empty when there is no name.
std::vector<uint8_t> BuildFileNameRecord(std::string_view path);

struct FileNameRecordView {
  std::string name;
  std::size_t recordBytes = 0;
};
// Reads a record at the start of the bytes (the machine's side; tests). Nothing when the
// magic is wrong, the length does not fit the bytes or is not whole words, or the name has
// no NUL inside the record.
std::optional<FileNameRecordView> ParseFileNameRecord(std::span<const uint8_t> bytes);

}  // namespace transfer
