#pragma once

// A save of a file that is cut short the way a crash or a power cut cuts it: another process
// starts the save, writes part of the bytes and ends without closing it, so its temporary file
// stays beside the target, unlocked, with the target untouched.

#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <vector>

#include "platform/file_io.h"

namespace vtest {

// True when the other process ran and ended as planned.
inline bool CutShortSave(const std::filesystem::path& target) {
  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    // The child ends at once, without destructors: nothing of the save is tidied up.
    platform::OutputFile file;
    const bool started = !file.Create(target) && !file.Write(std::vector<uint8_t>(100, 0xAA));
    ::_exit(started ? 0 : 1);
  }
  int status = 0;
  return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace vtest
