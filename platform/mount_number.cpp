#include "platform/mount_number.h"

// The kernel's own statx structure: the C library's leaves out the mount number.
#include <fcntl.h>
#include <linux/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#ifndef STATX_MNT_ID_UNIQUE
#define STATX_MNT_ID_UNIQUE 0x4000U
#endif

namespace platform {

uint64_t UniqueMountNumber(const std::filesystem::path& path) {
  struct statx info {};
  if (syscall(SYS_statx, AT_FDCWD, path.c_str(), AT_NO_AUTOMOUNT, STATX_MNT_ID_UNIQUE, &info) != 0) {
    return 0;
  }
  // Older kernels give only the reused number, which another mount may take after this one.
  return (info.stx_mask & STATX_MNT_ID_UNIQUE) ? info.stx_mnt_id : 0;
}

}  // namespace platform
