#pragma once

// The number the kernel gives the mount holding a path: never shared by a later mount, so
// a volume unmounted and another mounted at the same place tell apart by it.

#include <cstdint>
#include <filesystem>

namespace platform {

// 0 when the kernel gives no such number.
uint64_t UniqueMountNumber(const std::filesystem::path& path);

}  // namespace platform
