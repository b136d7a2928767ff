#pragma once

// A card folder's designs as a card dialog listed them, with what tells the card and each
// file from another put in their place later: another card in the same reader shares its
// mount point, its source and often its device number, and its designs may bear the same
// names. Nothing is erased or replaced through a list that no longer holds.

#include <filesystem>
#include <string>
#include <vector>

#include "design/card/card_drives.h"
#include "design/card/card_volumes.h"
#include "platform/file_io.h"

namespace card {

struct ListedCardDesign {
  std::filesystem::path path;
  platform::FileIdentity identity;
};

struct CardListing {
  std::string card;  // the card's identity (CardVolumes::Identity) when the list was made
  std::vector<ListedCardDesign> designs;  // in name order
};

// The identity of the card now in drive's mount point; empty when none is mounted there.
std::string CardIdentity(CardVolumes& volumes, const CardDrive& drive);

// Lists the design files of folder on the card in drive.
CardListing ListCardFolder(CardVolumes& volumes, const CardDrive& drive,
                           const std::filesystem::path& folder);

// Whether the card in drive is still the one listed and each of files (paths in the listed
// folder) is still the file listed under its name. A file not there any more holds (there
// is nothing of another card to lose by it); a file the list did not show does not.
bool StillAsListed(CardVolumes& volumes, const CardDrive& drive, const CardListing& listing,
                   const std::vector<std::filesystem::path>& files);

// The files of folder that hold the card file the design name lands on (in any case).
std::vector<std::filesystem::path> CardFilesOf(const std::filesystem::path& folder,
                                               const std::string& designName);

}  // namespace card
