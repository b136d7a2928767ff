#include "testing/fake_card.h"

#include <cstdio>
#include <fstream>
#include <string_view>

#include "design/card/card_writer.h"
#include "platform/file_io.h"
#include "testing/qnf_file_builder.h"

namespace vtest {

namespace fs = std::filesystem;

namespace {

constexpr uint64_t kFakeDevices = 0xFA4E000000000000ull;
constexpr int64_t kFakeCardType = 0x4d44;  // the kind statfs gives a FAT volume

// The files in the card's two design folders.
std::set<std::string> FilesOn(const fs::path& mountPoint) {
  std::set<std::string> files;
  for (const char* folder : {card::kPcLinkFolder, card::kOpenSaveFolder}) {
    std::error_code error;
    for (fs::directory_iterator it(mountPoint / folder, error), end; !error && it != end; ++it) {
      files.insert((fs::path(folder) / it->path().filename()).string());
    }
  }
  return files;
}

int DesignsOn(const fs::path& mountPoint) {
  int count = 0;
  for (const std::string& file : FilesOn(mountPoint)) {
    if (card::IsCardDesignFile(fs::directory_entry(mountPoint / file))) ++count;
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
  // A device number no disk of the PC has, with room for the volumes put in its place.
  volume.fileSystemId = kFakeDevices + 16 * (homes_.size() + 1);
  volumes_.push_back(volume);
  char serial[32];
  std::snprintf(serial, sizeof serial, "FAT:0000-%04zX", volumes_.size());
  identities_[mountPoint] = serial;
  AddHome(volume);
  return mountPoint;
}

void FakeCardVolumes::AddHome(const platform::MountedVolume& volume) {
  homes_.push_back({fs::weakly_canonical(volume.mountPoint), {volume.fileSystemId, kFakeCardType}});
}

std::error_code FakeCardVolumes::FileSystemOf(int fd, platform::FileSystemIdentity& identity) {
  std::error_code error;
  std::string path = fs::read_symlink("/proc/self/fd/" + std::to_string(fd), error).string();
  if (error) return error;
  constexpr std::string_view kDeleted = " (deleted)";
  if (path.ends_with(kDeleted)) path.resize(path.size() - kDeleted.size());
  for (const Home& home : homes_) {
    const std::string folder = home.folder.string();
    if (path == folder || path.starts_with(folder + "/")) {
      identity = home.identity;
      return {};
    }
  }
  return platform::FileSystemOfHandle(fd, identity);
}

platform::MountedVolume* FakeCardVolumes::Find(const fs::path& mountPoint) {
  for (platform::MountedVolume& volume : volumes_) {
    if (volume.mountPoint == mountPoint) return &volume;
  }
  return nullptr;
}

std::vector<platform::MountedVolume> FakeCardVolumes::List() {
  bool due = false;
  if (swapAfter_ && swapAfter_->designsOnly) {
    due = DesignsOn(swapAfter_->mountPoint) >= swapAfter_->count;
  } else if (swapAfter_) {
    for (const std::string& file : FilesOn(swapAfter_->mountPoint)) {
      if (!swapAfter_->before.contains(file)) swapAfter_->made.insert(file);
    }
    due = static_cast<int>(swapAfter_->made.size()) >= swapAfter_->count;
  }
  if (due) {
    const std::function<void()> swap = std::move(swapAfter_->swap);
    swapAfter_.reset();
    swap();
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
  // The card takes its files with it; the mount point is the PC's disk again.
  const fs::path home = fs::weakly_canonical(mountPoint);
  for (Home& h : homes_) {
    if (h.folder == home) h.folder = fs::weakly_canonical(pulled);
  }
}

void FakeCardVolumes::PullAfter(const fs::path& mountPoint, int designs) {
  swapAfter_ = Swap{mountPoint, designs, true, {}, {}, [this, mountPoint] { Pull(mountPoint); }};
}

void FakeCardVolumes::SwapAfter(const fs::path& mountPoint, int files, std::function<void()> swap) {
  swapAfter_ = Swap{mountPoint, files, false, FilesOn(mountPoint), {}, std::move(swap)};
}

void FakeCardVolumes::Replace(const fs::path& mountPoint) {
  platform::MountedVolume other = *Find(mountPoint);
  Pull(mountPoint);
  other.device += "-other";
  other.fileSystemId += 1;
  volumes_.push_back(other);
  AddHome(other);
}

std::string FakeCardVolumes::Identity(const platform::MountedVolume& volume) {
  const auto it = identities_.find(volume.mountPoint);
  return it == identities_.end() ? std::string() : it->second;
}

void FakeCardVolumes::PutInAnother(const fs::path& mountPoint) {
  const platform::MountedVolume same = *Find(mountPoint);
  Pull(mountPoint);
  volumes_.push_back(same);
  AddHome(same);  // the same device number, on a card of its own
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

std::map<std::string, std::vector<uint8_t>> FilesIn(const fs::path& folder) {
  std::map<std::string, std::vector<uint8_t>> files;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file() && platform::ReadWholeFile(entry.path(), files[entry.path().filename()])) {
      files.erase(entry.path().filename());
    }
  }
  return files;
}

std::vector<std::string> ShownTexts(const RecordingMessageBox& boxes) {
  std::vector<std::string> texts;
  for (const ShownMessage& box : boxes.Shown()) texts.push_back(box.text);
  return texts;
}

std::vector<uint8_t> BuildCardDesign(int32_t pairCount, int32_t hoopCode) {
  QnfFileSpec spec;
  spec.hoopCode = hoopCode;
  for (int32_t i = 0; i + 1 < pairCount; ++i) {
    const uint8_t step = i % 2 ? 0xFF : 0x01;
    spec.stitches.insert(spec.stitches.end(), {step, step});
  }
  spec.stitches.push_back(0x80);
  spec.stitches.push_back(0x10);
  return BuildQnfFile(spec);
}

}  // namespace vtest
