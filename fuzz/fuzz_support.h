#pragma once

// What every harness shares: a message service that answers every box with its default
// button and prints nothing (a reader refusing a file is expected, not news), and a file in
// a folder of this process for readers that take a path.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>

#include <unistd.h>

#include "platform/canvas.h"
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

// A folder of this process under the system's temporary folder, made once.
inline const std::filesystem::path& WorkFolder() {
  static const std::filesystem::path folder = [] {
    std::filesystem::path p = std::filesystem::temp_directory_path() /
                              ("velinor-fuzz-" + std::to_string(::getpid()));
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

// Writes the input as the named file in the work folder and returns its path.
inline std::filesystem::path WriteInput(const std::string& name, std::span<const uint8_t> bytes) {
  const std::filesystem::path path = WorkFolder() / name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return path;
}

// A canvas that draws nothing: the drawing code runs in full without keeping what it drew.
class NullCanvas : public platform::Canvas {
 public:
  void SetPen(platform::PaletteColour, int, platform::PenStyle) override {}
  void MoveTo(int, int) override {}
  void LineTo(int, int) override {}
  void Polyline(std::span<const platform::CanvasPoint>) override {}
  void Rectangle(const platform::CanvasRect&) override {}
  void FillRect(const platform::CanvasRect&, platform::PaletteColour) override {}
  void Text(int, int, const std::string&, platform::PaletteColour) override {}
};

// Takes the first byte of the input as a choice and leaves the rest.
inline uint8_t TakeByte(std::span<const uint8_t>& bytes) {
  if (bytes.empty()) return 0;
  const uint8_t b = bytes[0];
  bytes = bytes.subspan(1);
  return b;
}

}  // namespace vfuzz
