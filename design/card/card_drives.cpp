#include "design/card/card_drives.h"

namespace card {

CardDriveList ListCardDrives(const std::vector<platform::MountedVolume>& volumes) {
  CardDriveList list;
  for (const platform::MountedVolume& volume : volumes) {
    // Sizes are 64-bit: a 4 GB disk must not wrap round into the card range.
    if (volume.totalBytes > kCardGuessMinBytes && volume.totalBytes < kCardGuessMaxBytes) {
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
