#pragma once

// Where the card code finds drives and flushes them: the PC's mounted volumes, or in tests
// a fake card volume (a folder standing in for a mounted card).

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/volumes.h"

namespace card {

class CardVolumes {
 public:
  virtual ~CardVolumes() = default;
  virtual std::vector<platform::MountedVolume> List() = 0;
  // Pushes the volume's buffered writes out so that the card can be pulled.
  virtual void Flush(const std::filesystem::path& mountPoint) = 0;
  // What tells the card in volume from another put into the same reader later (its serial
  // number, UUID or label and mount); empty when nothing tells them apart.
  virtual std::string Identity(const platform::MountedVolume& /*volume*/) { return {}; }
  // The file system an open file or folder lies on; its device is what List() gives as a
  // volume's fileSystemId.
  virtual std::error_code FileSystemOf(int fd, platform::FileSystemIdentity& identity) {
    return platform::FileSystemOfHandle(fd, identity);
  }
};

// The PC's own mounted volumes.
class SystemCardVolumes : public CardVolumes {
 public:
  std::vector<platform::MountedVolume> List() override {
    platform::VolumeSources sources;
    sources.cardReader = platform::CardReaderFromEnvironment();
    return platform::ListMountedVolumes(sources);
  }
  void Flush(const std::filesystem::path& mountPoint) override {
    platform::FlushVolume(mountPoint);  // a volume that cannot be opened is left alone
  }
  std::string Identity(const platform::MountedVolume& volume) override {
    return platform::VolumeIdentity(volume);
  }
};

}  // namespace card
