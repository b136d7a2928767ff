#include "testing/fake_card.h"

#include <cstdio>
#include <fstream>

#include "testing/qnf_file_builder.h"

namespace vtest {

namespace fs = std::filesystem;

fs::path FakeCardVolumes::Add(uint64_t totalBytes, bool removable, const std::string& label) {
  char name[16];
  std::snprintf(name, sizeof name, "volume%02zu", volumes_.size() + 1);
  const fs::path mountPoint = dir_ / name;
  fs::create_directories(mountPoint);
  platform::MountedVolume volume;
  volume.mountPoint = mountPoint;
  volume.device = std::string("/dev/fake") + name;
  volume.removable = removable;
  volume.label = label;
  volume.totalBytes = totalBytes;
  volumes_.push_back(volume);
  return mountPoint;
}

void FakeCardVolumes::Pull(const fs::path& mountPoint) { fs::remove_all(mountPoint); }

void FakeCardVolumes::FillFolder(const fs::path& folder, int count) {
  fs::create_directories(folder);
  for (int i = 0; i < count; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "D%03d.qnf", i);
    std::ofstream(folder / name) << "x";
  }
}

std::vector<std::string> ShownTexts(const RecordingMessageBox& boxes) {
  std::vector<std::string> texts;
  for (const ShownMessage& box : boxes.Shown()) texts.push_back(box.text);
  return texts;
}

std::vector<uint8_t> BuildCardDesign(int32_t pairCount, int32_t hoopCode) {
  QnfFileSpec spec;
  spec.hoopCode = hoopCode;
  spec.stitches.assign(2 * static_cast<std::size_t>(pairCount - 1), 1);
  spec.stitches.push_back(0x80);
  spec.stitches.push_back(0x10);
  return BuildQnfFile(spec);
}

}  // namespace vtest
