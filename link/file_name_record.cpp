#include "link/file_name_record.h"

#include <algorithm>
#include <cstring>

#include "platform/le_bytes.h"

namespace transfer {

std::string_view FileNameOf(std::string_view path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string BlanksToUnderscores(std::string_view name) {
  std::string result(name);
  std::replace(result.begin(), result.end(), ' ', '_');
  return result;
}

std::vector<uint8_t> BuildFileNameRecord(std::string_view path) {
  const std::string name = BlanksToUnderscores(FileNameOf(path));
  if (name.empty()) return {};
  const std::size_t recordBytes = kFileNameRecordHeadBytes + FileNameAreaBytes(name.size());
  std::vector<uint8_t> record(recordBytes, 0);
  std::memcpy(record.data(), kFileNameRecordMagic, sizeof kFileNameRecordMagic);
  platform::WriteU32(record.data() + 4, static_cast<uint32_t>(recordBytes));
  std::memcpy(record.data() + kFileNameRecordHeadBytes, name.data(), name.size());
  return record;
}

std::optional<FileNameRecordView> ParseFileNameRecord(std::span<const uint8_t> bytes) {
  if (bytes.size() < kFileNameRecordHeadBytes + 4) return std::nullopt;
  if (std::memcmp(bytes.data(), kFileNameRecordMagic, sizeof kFileNameRecordMagic) != 0) {
    return std::nullopt;
  }
  const uint32_t recordBytes = platform::ReadU32(bytes.data() + 4);
  if (recordBytes < kFileNameRecordHeadBytes + 4 || recordBytes > bytes.size() ||
      recordBytes % 4 != 0) {
    return std::nullopt;
  }
  const uint8_t* name = bytes.data() + kFileNameRecordHeadBytes;
  const std::size_t area = recordBytes - kFileNameRecordHeadBytes;
  const auto* nul = static_cast<const uint8_t*>(std::memchr(name, 0, area));
  if (!nul || nul == name) return std::nullopt;
  return FileNameRecordView{std::string(reinterpret_cast<const char*>(name),
                                        static_cast<std::size_t>(nul - name)),
                            recordBytes};
}

}  // namespace transfer
