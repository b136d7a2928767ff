#pragma once

// The mounted volumes of the PC, for choosing the drive an ATA PC card sits in. A card in
// an adapter appears as a block device mounted somewhere; the list comes from the mount
// table, the size from statvfs (64-bit, so a large disk never wraps round to look small),
// the removable flag and the volume label from sysfs and udev's by-label links.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <system_error>
#include <vector>

#include "platform/export.h"

namespace platform {

struct MountedVolume {
  std::filesystem::path mountPoint;
  std::string device;     // the mount table's source, "/dev/sdb1"
  bool removable = false;
  std::string label;      // empty when the volume has none
  uint64_t totalBytes = 0;
  bool hotPlugged = false;  // on a USB or MMC/SD bus: plugged in, not built in
  bool readOnly = false;    // mounted read-only: a write-protected card still reads
  // The file system's device number as the mount point shows it: a folder left behind when
  // the volume went away (an fstab mount point) shows another one.
  uint64_t fileSystemId = 0;
};

// Where the facts come from; tests point these at files of their own.
struct VolumeSources {
  std::filesystem::path mountTable = "/proc/self/mounts";
  std::filesystem::path devices = "/dev";  // a source outside it is no block device
  std::filesystem::path sysBlock = "/sys/class/block";
  std::filesystem::path byLabel = "/dev/disk/by-label";
  std::filesystem::path byUuid = "/dev/disk/by-uuid";
  // A mount point listed as a removable drive whatever is mounted there (an image mounted
  // through a loop device or FUSE standing in for a card reader); empty for none.
  std::filesystem::path cardReader;
};

// The environment variable naming a mount point to treat as a card reader.
inline constexpr const char* kCardReaderEnvironment = "VELINOR_CARD_READER";
// The mount point it names, empty when it is unset.
VELINOR_EXPORT std::filesystem::path CardReaderFromEnvironment();

// The volumes on block devices (and the card reader's mount point), in mount-point order,
// each device once (its first mount point that is a folder). Pseudo file systems, network
// shares and loop devices are left out; read-only mounts are listed as such.
VELINOR_EXPORT std::vector<MountedVolume> ListMountedVolumes(const VolumeSources& sources = {});

// Parses mount-table text ("source target type options dump pass" lines, blanks in
// names written as \040), without looking at the devices.
struct MountEntry {
  std::string source;
  std::filesystem::path target;
  std::string type;
  std::string options;
};
VELINOR_EXPORT std::vector<MountEntry> ParseMountTable(const std::string& text);

// The device number of the file system holding path (as stat reports it).
VELINOR_EXPORT std::error_code FileSystemIdOf(const std::filesystem::path& path, uint64_t& id);

// What tells the volume at a mount point from another put into the same reader, which
// shares its source ("/dev/sdb1") and often its device number: the FAT volume serial number
// from the boot sector of the source when it can be read ("FAT:1A2B-3C4D"), else the file
// system's UUID as the system's by-uuid links give it ("UUID:..."), else its label with the
// number of the mount, which no later mount shares ("MOUNT:<label>:<number>"; a card put in
// again after a pull then counts as another). Empty when nothing at all can be read.
VELINOR_EXPORT std::string VolumeIdentity(const MountedVolume& volume,
                                          const VolumeSources& sources = {});

// The volume serial number of a FAT boot sector as "1A2B-3C4D"; empty when the sector is no
// FAT boot sector or carries no serial.
VELINOR_EXPORT std::string FatVolumeSerial(std::span<const uint8_t> bootSector);

// The file system an open file or folder lies on: its device number (as stat reports it, so
// that it compares with MountedVolume::fileSystemId) and its kind (as statfs reports it).
struct FileSystemIdentity {
  uint64_t device = 0;
  int64_t type = 0;
  bool operator==(const FileSystemIdentity&) const = default;
};
VELINOR_EXPORT std::error_code FileSystemOfHandle(int fd, FileSystemIdentity& identity);

// Total size of the file system holding path.
VELINOR_EXPORT std::error_code VolumeSize(const std::filesystem::path& path, uint64_t& totalBytes);

// Pushes every buffered write of the file system holding the mount point out to the
// device, so that the card can be pulled. A volume that cannot be opened is left alone.
VELINOR_EXPORT std::error_code FlushVolume(const std::filesystem::path& mountPoint);

}  // namespace platform
