#pragma once

// What every Linkpanel test stands on: a temporary folder for the profile and the work
// folder, a recording message box, designs written as files, and the checks that no
// thread and no temporary file outlive a test.

#include <gtest/gtest.h>

#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <thread>
#include <fstream>
#include <string>
#include <vector>

#include "link/transfer_list.h"
#include "platform/file_io.h"
#include "platform/profile.h"
#include "platform/usb_device.h"
#include "testing/qnf_file_builder.h"
#include "testing/recording_message_box.h"
#include "testing/temp_dir.h"

namespace lptest {

inline std::string ReadLine(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  return line;
}

// The threads of this process that carry no name of their own: the main thread and the
// link's workers. Qt names the threads it keeps for itself, and those may outlive a test.
inline int ThreadCount() {
  const std::string processName = ReadLine("/proc/self/comm");
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) {
    if (ReadLine(entry.path() / "comm") == processName) ++count;
  }
  return count;
}

// The thread count once it has settled at `expected`, or after twenty seconds. A joined
// worker can still be listed under /proc/self/task for a moment on a loaded machine.
inline int ThreadCountSettledAt(int expected) {
  int count = ThreadCount();
  for (int tries = 0; count != expected && tries < 2000; ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    count = ThreadCount();
  }
  return count;
}

// Every file under a folder, for the leftover check.
inline std::vector<std::string> FilesUnder(const std::filesystem::path& folder) {
  std::vector<std::string> files;
  std::error_code error;
  for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
       !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
    if (it->is_regular_file()) files.push_back(it->path().string());
  }
  return files;
}

// A QNF design of pairCount stitch pairs; statedPairs puts another figure in the header.
inline std::vector<uint8_t> Design(int pairCount, uint8_t seed, int statedPairs = -1) {
  vtest::QnfFileSpec spec;
  for (int i = 0; i < pairCount; ++i) {
    // Each odd stitch goes back along the one before, so that a long design still fits
    // the hoop.
    const int sign = i % 2 ? -1 : 1;
    const int k = i - i % 2;
    spec.stitches.push_back(static_cast<uint8_t>(sign * ((k * 3 + seed) % 100)));
    spec.stitches.push_back(static_cast<uint8_t>(sign * ((k * 7 + seed) % 100)));
  }
  spec.stitches.push_back(0x80);
  spec.stitches.push_back(0x10);
  if (statedPairs >= 0) spec.pairCount = statedPairs;
  return vtest::BuildQnfFile(spec);
}

class LinkEnvironment {
 public:
  LinkEnvironment() {
    platform::SetProfileRoot(root / "config");
    setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
    // Cablink lies beside Linkpanel; it looks for the machine here and finds none, so
    // transfers go over the serial port unless a test attaches the machine's USB face.
    setenv(platform::kUsbDeviceEnvironment, (root / "no-usb-machine").c_str(), 1);
    std::filesystem::create_directories(root / "designs");
  }
  ~LinkEnvironment() {
    platform::SetProfileRoot({});
    unsetenv("XDG_DATA_HOME");
    unsetenv(platform::kUsbDeviceEnvironment);
  }

  std::string WriteDesign(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::filesystem::path path = root / "designs" / name;
    EXPECT_FALSE(platform::WriteWholeFile(path, bytes));
    return path.string();
  }

  // A program's transfer list naming these designs.
  std::string WriteList(const std::vector<std::string>& paths) {
    const std::filesystem::path list = root / "SendQnf.lst";
    EXPECT_FALSE(transfer::WriteTransferListFile(list, paths));
    return list.string();
  }

  // The texts of the boxes shown so far.
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& box : boxes.Shown()) texts.push_back(box.text);
    return texts;
  }

  // Files the link left in the work folder.
  std::vector<std::string> WorkFolderFiles() const { return FilesUnder(root / "data"); }

  vtest::TempDir root;
  vtest::RecordingMessageBox boxes;
};

}  // namespace lptest
