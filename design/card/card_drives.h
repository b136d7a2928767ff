#pragma once

// The drive list of the card dialogs: every mounted volume the PC could write a card on,
// with a guess at which one is the ATA PC card. A drive is known by its mount point; the
// text is what the drive combo box shows.

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "design/card/card_volumes.h"
#include "platform/volumes.h"

namespace card {

// A volume bigger than this and smaller than kCardGuessMaxBytes looks like a card: the
// machine's cards are small, and nothing else on a PC is.
constexpr uint64_t kCardGuessMinBytes = 102400;
constexpr uint64_t kCardGuessMaxBytes = 268435456;  // 256 MB

struct CardDrive {
  std::filesystem::path mountPoint;
  std::string text;  // "<mount point> (Removable Disk)", "<mount point> (<label>)" or the mount point
  // The volume that stood at the mount point when the drive was listed.
  std::string device;
  uint64_t fileSystemId = 0;
  bool readOnly = false;
};

struct CardDriveList {
  std::vector<CardDrive> drives;
  int guess = -1;  // index of the drive that looks like a card, -1 for none
};

// A volume the card guess may pick: removable or on a plug-in bus, not where the system
// lives (/, /boot, /boot/efi), and card-sized. Read-only mounts are never listed at all.
bool CouldBeTheCard(const platform::MountedVolume& volume);

// Lists the volumes in the order given; the last one that could be the card is the guess.
CardDriveList ListCardDrives(const std::vector<platform::MountedVolume>& volumes);

// The drive now mounted at mountPoint; when nothing is, a drive that fails every check.
CardDrive FindCardDrive(CardVolumes& volumes, const std::filesystem::path& mountPoint);

// Whether drive is still the volume it was when listed, and can take a design. Not found
// when it is gone or another volume stands at its mount point (a card pulled out leaves at
// most an empty folder on the PC's own disk, which must never receive the card's designs);
// a read-only file system when the card is write-protected.
std::error_code CheckCardDrive(CardVolumes& volumes, const CardDrive& drive);

}  // namespace card
