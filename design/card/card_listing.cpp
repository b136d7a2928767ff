#include "design/card/card_listing.h"

#include <algorithm>
#include <cstdint>

#include "design/card/card_names.h"
#include "design/card/card_writer.h"

namespace card {

namespace fs = std::filesystem;

std::string CardIdentity(CardVolumes& volumes, const CardDrive& drive) {
  for (const platform::MountedVolume& volume : volumes.List()) {
    if (volume.mountPoint == drive.mountPoint) return volumes.Identity(volume);
  }
  return {};
}

CardListing ListCardFolder(CardVolumes& volumes, const CardDrive& drive, const fs::path& folder) {
  CardListing listing;
  // The card is named before its files are read: a card swapped in between then shows its
  // own files under the first one's name, and the next check tells it apart.
  listing.card = CardIdentity(volumes, drive);
  for (const fs::path& path : ListCardDesigns(folder)) {
    ListedCardDesign design{path, {}};
    // A file whose identity cannot be read matches no file later.
    if (platform::FileIdentityOf(path, design.identity)) design.identity.fileNumber = UINT64_MAX;
    listing.designs.push_back(std::move(design));
  }
  return listing;
}

bool StillAsListed(CardVolumes& volumes, const CardDrive& drive, const CardListing& listing,
                   const std::vector<fs::path>& files) {
  if (CardIdentity(volumes, drive) != listing.card) return false;
  for (const fs::path& file : files) {
    platform::FileIdentity now;
    if (const std::error_code error = platform::FileIdentityOf(file, now)) {
      if (platform::IsNotFound(error)) continue;
      return false;
    }
    const auto listed = std::find_if(listing.designs.begin(), listing.designs.end(),
                                     [&](const ListedCardDesign& d) { return d.path == file; });
    if (listed == listing.designs.end() || listed->identity != now) return false;
  }
  return true;
}

std::vector<fs::path> CardFilesOf(const fs::path& folder, const std::string& designName) {
  const std::string key = CardNameKey(CardFileName(designName));
  std::vector<fs::path> files;
  for (const fs::path& path : ListCardDesigns(folder)) {
    if (CardNameKey(path.filename().string()) == key) files.push_back(path);
  }
  return files;
}

}  // namespace card
