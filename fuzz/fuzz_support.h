#pragma once

// What every harness shares: a message service that answers every box with its default
// button and prints nothing (a reader refusing a file is expected, not news), and a file in
// a folder of this process for readers that take a path.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>

#include <unistd.h>

#include "platform/message_box.h"
#include "platform/profile.h"

namespace vfuzz {

class QuietMessages : public platform::MessageService {
 public:
  int Show(platform::WindowHandle, const std::string&, const std::string&, unsigned flags) override {
    return platform::DefaultAnswer(flags);
  }
};

// Installs the quiet service once per process.
inline void InstallQuietMessages() {
  static QuietMessages quiet;
  static const bool installed = (platform::SetMessageService(&quiet), true);
  (void)installed;
}

// A folder of this process, made once, inside VELINOR_FUZZ_WORK when the runner gives one
// (it removes it afterwards: libFuzzer may end a run without the exit handlers), else in
// shared memory where there is one, so that a busy disk never makes an input look like a
// hang, else under the system's temporary folder.
inline const std::filesystem::path& WorkFolder() {
  static const std::filesystem::path folder = [] {
    std::error_code ignored;
    const char* given = std::getenv("VELINOR_FUZZ_WORK");
    const std::filesystem::path base = given && *given ? std::filesystem::path(given)
                                       : std::filesystem::is_directory("/dev/shm", ignored)
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    std::filesystem::path p = base / ("velinor-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(p);
    // Nothing of a run stays behind in the temporary folder.
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(WorkFolder(), ignored);
    });
    return p;
  }();
  return folder;
}

// Points the programs' profile at the work folder, once: a harness never touches the user's
// settings.
inline void UseWorkFolderProfile() {
  static const bool set = (platform::SetProfileRoot(WorkFolder()), true);
  (void)set;
}

// Writes the input as the named file in the work folder and returns its path.
inline std::filesystem::path WriteInput(const std::string& name, std::span<const uint8_t> bytes) {
  const std::filesystem::path path = WorkFolder() / name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return path;
}

// A property of what was read or written that does not hold: says which and aborts, so that
// libFuzzer keeps the input as a finding like any crash.
inline void Require(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "PROPERTY FAILED: %s\n", property);
  std::abort();
}

// Takes the first byte of the input as a choice and leaves the rest.
inline uint8_t TakeByte(std::span<const uint8_t>& bytes) {
  if (bytes.empty()) return 0;
  const uint8_t b = bytes[0];
  bytes = bytes.subspan(1);
  return b;
}

}  // namespace vfuzz
