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
    list.drives.push_back({volume.mountPoint, std::move(text)});
  }
  return list;
}

}  // namespace card
