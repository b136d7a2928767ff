#pragma once

// The drive list of the card dialogs: every mounted volume the PC could write a card on,
// with a guess at which one is the ATA PC card. A drive is known by its mount point; the
// text is what the drive combo box shows.

#include <filesystem>
#include <string>
#include <vector>

#include "platform/volumes.h"

namespace card {

// A volume bigger than this and smaller than kCardGuessMaxBytes looks like a card: the
// machine's cards are small, and nothing else on a PC is.
constexpr uint64_t kCardGuessMinBytes = 102400;
constexpr uint64_t kCardGuessMaxBytes = 268435456;  // 256 MB

struct CardDrive {
  std::filesystem::path mountPoint;
  std::string text;  // "<mount point> (Removable Disk)", "<mount point> (<label>)" or the mount point
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

}  // namespace card
