#pragma once

// Files that belong together, written together: a design and the outline picture saved
// beside it must never be found one new and one old.

#include <cstdint>
#include <filesystem>
#include <span>
#include <system_error>

#include "platform/export.h"

namespace platform {

struct FileToWrite {
  std::filesystem::path path;
  std::span<const uint8_t> bytes;
};

// Writes each file as OutputFile does (a link written through, the permission bits kept, a
// file without write permission refused) to a temporary file beside its target and flushes it
// to the disk; only when every one is complete are they renamed over their targets. A failure
// before that (no room, no permission, a size limit) removes every temporary file and leaves
// every target exactly as it was; failedPath, when given, receives the target whose write
// failed.
VELINOR_EXPORT std::error_code WriteFilesTogether(std::span<const FileToWrite> files,
                                                  std::filesystem::path* failedPath = nullptr);

}  // namespace platform
