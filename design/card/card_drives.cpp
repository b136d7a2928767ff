#include "design/card/card_drives.h"

namespace card {

namespace {

// Where the system itself lives: never a card, whatever its size.
bool IsSystemMount(const std::filesystem::path& mountPoint) {
  const std::filesystem::path normal = mountPoint.lexically_normal();
  for (const char* system : {"/", "/boot", "/boot/", "/boot/efi", "/boot/efi/"}) {
    if (normal == std::filesystem::path(system)) return true;
  }
  return false;
}

}  // namespace

bool CouldBeTheCard(const platform::MountedVolume& volume) {
  // Sizes are 64-bit: a 4 GB disk must not wrap round into the card range.
  return (volume.removable || volume.hotPlugged) && !IsSystemMount(volume.mountPoint) &&
         volume.totalBytes > kCardGuessMinBytes && volume.totalBytes < kCardGuessMaxBytes;
}

CardDriveList ListCardDrives(const std::vector<platform::MountedVolume>& volumes) {
  CardDriveList list;
  for (const platform::MountedVolume& volume : volumes) {
    if (CouldBeTheCard(volume)) {
      list.guess = static_cast<int>(list.drives.size());
    }
    const std::string root = volume.mountPoint.string();
    std::string text = root;
    if (volume.removable) {
      text += " (Removable Disk)";
    } else if (!volume.label.empty()) {
      text += " (" + volume.label + ")";
    }
    list.drives.push_back(
        {volume.mountPoint, std::move(text), volume.device, volume.fileSystemId, volume.readOnly});
  }
  return list;
}

CardDrive FindCardDrive(CardVolumes& volumes, const std::filesystem::path& mountPoint) {
  for (const CardDrive& drive : ListCardDrives(volumes.List()).drives) {
    if (drive.mountPoint == mountPoint) return drive;
  }
  return {mountPoint, mountPoint.string(), {}, 0, false};
}

std::error_code CheckCardDrive(CardVolumes& volumes, const CardDrive& drive) {
  for (const platform::MountedVolume& volume : volumes.List()) {
    if (volume.mountPoint != drive.mountPoint) continue;
    if (drive.device.empty() || volume.device != drive.device ||
        volume.fileSystemId != drive.fileSystemId) {
      break;
    }
    if (volume.readOnly) return std::make_error_code(std::errc::read_only_file_system);
    return {};
  }
  return std::make_error_code(std::errc::no_such_file_or_directory);
}

}  // namespace card
