#include "testing/fake_card.h"

#include <cstdio>
#include <fstream>

#include "design/card/card_writer.h"
#include "testing/qnf_file_builder.h"

namespace vtest {

namespace fs = std::filesystem;

namespace {

// The files in the card's two design folders.
int DesignsOn(const fs::path& mountPoint) {
  int count = 0;
  for (const char* folder : {card::kPcLinkFolder, card::kOpenSaveFolder}) {
    std::error_code error;
    for (fs::directory_iterator it(mountPoint / folder, error), end; !error && it != end; ++it) {
      ++count;
    }
  }
  return count;
}

}  // namespace

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
  platform::FileSystemIdOf(mountPoint, volume.fileSystemId);
  volumes_.push_back(volume);
  char serial[32];
  std::snprintf(serial, sizeof serial, "FAT:0000-%04zX", volumes_.size());
  identities_[mountPoint] = serial;
  return mountPoint;
}

platform::MountedVolume* FakeCardVolumes::Find(const fs::path& mountPoint) {
  for (platform::MountedVolume& volume : volumes_) {
    if (volume.mountPoint == mountPoint) return &volume;
  }
  return nullptr;
}

std::vector<platform::MountedVolume> FakeCardVolumes::List() {
  if (pullAfter_) {
    const auto [mountPoint, designs] = *pullAfter_;
    if (DesignsOn(mountPoint) >= designs) {
      pullAfter_.reset();
      Pull(mountPoint);
    }
  }
  return volumes_;
}

fs::path FakeCardVolumes::Pulled(const fs::path& mountPoint) const {
  return dir_ / "pulled" / mountPoint.filename();
}

void FakeCardVolumes::Pull(const fs::path& mountPoint) {
  std::erase_if(volumes_, [&](const platform::MountedVolume& v) { return v.mountPoint == mountPoint; });
  const fs::path pulled = Pulled(mountPoint);
  fs::create_directories(pulled.parent_path());
  fs::rename(mountPoint, pulled);
  fs::create_directory(mountPoint);
}

void FakeCardVolumes::PullAfter(const fs::path& mountPoint, int designs) {
  pullAfter_ = {mountPoint, designs};
}

void FakeCardVolumes::Replace(const fs::path& mountPoint) {
  platform::MountedVolume other = *Find(mountPoint);
  Pull(mountPoint);
  other.device += "-other";
  other.fileSystemId += 1;
  volumes_.push_back(other);
}

std::string FakeCardVolumes::Identity(const platform::MountedVolume& volume) {
  const auto it = identities_.find(volume.mountPoint);
  return it == identities_.end() ? std::string() : it->second;
}

void FakeCardVolumes::PutInAnother(const fs::path& mountPoint) {
  const platform::MountedVolume same = *Find(mountPoint);
  Pull(mountPoint);
  volumes_.push_back(same);
  std::string& identity = identities_[mountPoint];
  if (!identity.empty()) identity += "-other";
}

void FakeCardVolumes::SetReadOnly(const fs::path& mountPoint) { Find(mountPoint)->readOnly = true; }

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
