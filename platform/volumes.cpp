#include "platform/volumes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include "platform/le_bytes.h"
#include "platform/mount_number.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

// The mount table writes blanks, tabs, newlines and backslashes in names as \ooo.
std::string UnescapeOctal(const std::string& field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      const std::string digits = field.substr(i + 1, 3);
      if (std::all_of(digits.begin(), digits.end(),
                                             [](char c) { return c >= '0' && c <= '7'; })) {
        out.push_back(static_cast<char>(std::stoi(digits, nullptr, 8)));
        i += 3;
        continue;
      }
    }
    out.push_back(field[i]);
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// udev writes characters that are unsafe in a link name as \xHH ("My\x20Card").
std::string UnescapeHex(const std::string& name) {
  std::string out;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x') {
      const int high = HexDigit(name[i + 2]);
      const int low = HexDigit(name[i + 3]);
      if (high >= 0 && low >= 0) {
        out.push_back(static_cast<char>(high * 16 + low));
        i += 3;
        continue;
      }
    }
    out.push_back(name[i]);
  }
  return out;
}

bool HasOption(const std::string& options, const std::string& wanted) {
  std::stringstream list(options);
  std::string option;
  while (std::getline(list, option, ',')) {
    if (option == wanted) return true;
  }
  return false;
}

// The device a source names, with its links (/dev/disk/by-uuid/..., /dev/mapper/...)
// followed; the source itself when it cannot be resolved.
fs::path ResolvedDevice(const std::string& source) {
  std::error_code error;
  fs::path resolved = fs::canonical(source, error);
  return error ? fs::path(source) : resolved;
}

bool ReadsOne(const fs::path& file) {
  std::ifstream in(file);
  char c = 0;
  return in.get(c) && c == '1';
}

// A partition is removable when the disk it belongs to is: sysfs keeps the flag on the
// disk, whose folder holds the partition's.
bool IsRemovable(const fs::path& sysBlock, const std::string& deviceName) {
  const fs::path entry = sysBlock / deviceName;
  std::error_code error;
  if (fs::exists(entry / "partition", error)) {
    const fs::path inside = fs::canonical(entry, error);
    return !error && ReadsOne(inside.parent_path() / "removable");
  }
  return ReadsOne(entry / "removable");
}

// A disk on a USB or MMC/SD bus is one that is plugged in: its sysfs device path runs
// through the bus's controller.
bool IsOnHotPlugBus(const fs::path& sysBlock, const std::string& deviceName) {
  std::error_code error;
  const std::string device = fs::canonical(sysBlock / deviceName, error).string();
  if (error) return false;
  return device.find("/usb") != std::string::npos || device.find("/mmc") != std::string::npos;
}

// "/media/card/" and "/media/card" name one mount point.
fs::path NormalMountPoint(const fs::path& path) {
  fs::path normal = path.lexically_normal();
  if (!normal.has_filename() && normal.has_relative_path()) normal = normal.parent_path();
  return normal;
}

// The link of a by-uuid or by-label folder that leads to device, by its unescaped name.
std::string LinkNameTo(const fs::path& folder, const fs::path& device) {
  std::error_code error;
  fs::directory_iterator it(folder, error);
  if (error) return {};
  for (const fs::directory_entry& link : it) {
    std::error_code linkError;
    const fs::path target = fs::canonical(link.path(), linkError);
    if (!linkError && target == device) return UnescapeHex(link.path().filename().string());
  }
  return {};
}

constexpr std::size_t kBootSectorBytes = 512;

// The first sector of a volume's source: a block device, or an image file standing in for
// one. Nothing for a source that names no file (a FUSE mount's program name).
bool ReadBootSector(const std::string& source, std::vector<uint8_t>& sector) {
  if (source.empty() || source.front() != '/') return false;
  const int fd = open(source.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  bool read = false;
  if (fstat(fd, &info) == 0 && (S_ISBLK(info.st_mode) || S_ISREG(info.st_mode))) {
    sector.assign(kBootSectorBytes, 0);
    read = pread(fd, sector.data(), sector.size(), 0) == static_cast<ssize_t>(sector.size());
  }
  close(fd);
  return read;
}

}  // namespace

std::string FatVolumeSerial(std::span<const uint8_t> bootSector) {
  if (bootSector.size() < kBootSectorBytes) return {};
  const uint8_t* sector = bootSector.data();
  if (sector[510] != 0x55 || sector[511] != 0xAA) return {};
  if (sector[0] != 0xEB && sector[0] != 0xE9) return {};
  const uint16_t bytesPerSector = ReadU16(sector + 11);
  const uint8_t sectorsPerCluster = sector[13];
  if (bytesPerSector < 512 || bytesPerSector > 4096 || (bytesPerSector & (bytesPerSector - 1)) ||
      sectorsPerCluster == 0 || (sectorsPerCluster & (sectorsPerCluster - 1))) {
    return {};
  }
  // FAT32 keeps no root folder entries and no 16-bit FAT size; its extended block sits later.
  const bool fat32 = ReadU16(sector + 17) == 0 && ReadU16(sector + 22) == 0;
  const std::size_t signature = fat32 ? 66 : 38;
  if (sector[signature] != 0x28 && sector[signature] != 0x29) return {};
  const uint32_t serial = ReadU32(sector + signature + 1);
  char text[16];
  std::snprintf(text, sizeof text, "%04X-%04X", static_cast<unsigned>(serial >> 16),
                static_cast<unsigned>(serial & 0xFFFF));
  return text;
}

std::string VolumeIdentity(const MountedVolume& volume, const VolumeSources& sources) {
  std::vector<uint8_t> sector;
  if (ReadBootSector(volume.device, sector)) {
    const std::string serial = FatVolumeSerial(sector);
    if (!serial.empty()) return "FAT:" + serial;
  }
  if (volume.device.rfind(sources.devices.string() + "/", 0) == 0) {
    const std::string uuid = LinkNameTo(sources.byUuid, ResolvedDevice(volume.device));
    if (!uuid.empty()) return "UUID:" + uuid;
  }
  const uint64_t mount = UniqueMountNumber(volume.mountPoint);
  if (mount == 0 && volume.label.empty()) return {};
  return "MOUNT:" + volume.label + ":" + std::to_string(mount);
}

std::vector<MountEntry> ParseMountTable(const std::string& text) {
  std::vector<MountEntry> entries;
  std::stringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    std::stringstream fields(line);
    std::string source, target, type, options;
    if (!(fields >> source >> target >> type >> options)) continue;
    entries.push_back({UnescapeOctal(source), fs::path(UnescapeOctal(target)), type, options});
  }
  return entries;
}

fs::path CardReaderFromEnvironment() {
  const char* mountPoint = std::getenv(kCardReaderEnvironment);
  return mountPoint && *mountPoint ? fs::path(mountPoint) : fs::path();
}

std::vector<MountedVolume> ListMountedVolumes(const VolumeSources& sources) {
  std::ifstream in(sources.mountTable);
  if (!in) return {};
  std::stringstream text;
  text << in.rdbuf();

  const fs::path cardReader = NormalMountPoint(sources.cardReader);
  std::vector<MountedVolume> volumes;
  std::set<std::string> seenDevices;
  for (const MountEntry& entry : ParseMountTable(text.str())) {
    std::error_code error;
    if (!fs::is_directory(entry.target, error)) continue;  // a file bound over a file
    MountedVolume volume;
    volume.mountPoint = entry.target;
    volume.device = entry.source;
    volume.readOnly = HasOption(entry.options, "ro");
    if (!cardReader.empty() && NormalMountPoint(entry.target) == cardReader) {
      // Whatever stands in for the card reader names no device of its own in sysfs.
      volume.removable = true;
      if (!seenDevices.insert(entry.target.string()).second) continue;
    } else {
      // proc, tmpfs and network shares name no device.
      if (entry.source.rfind(sources.devices.string() + "/", 0) != 0) continue;
      const fs::path device = ResolvedDevice(entry.source);
      const std::string name = device.filename().string();
      if (name.empty() || name.rfind("loop", 0) == 0) continue;
      if (!fs::exists(sources.sysBlock / name, error)) continue;  // not a block device
      if (!seenDevices.insert(device.string()).second) continue;
      volume.removable = IsRemovable(sources.sysBlock, name);
      volume.hotPlugged = IsOnHotPlugBus(sources.sysBlock, name);
      volume.label = LinkNameTo(sources.byLabel, device);
    }
    FileSystemIdOf(entry.target, volume.fileSystemId);
    VolumeSize(entry.target, volume.totalBytes);
    volumes.push_back(std::move(volume));
  }
  std::sort(volumes.begin(), volumes.end(), [](const MountedVolume& a, const MountedVolume& b) {
    return a.mountPoint < b.mountPoint;
  });
  return volumes;
}

std::error_code FileSystemIdOf(const fs::path& path, uint64_t& id) {
  id = 0;
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return {errno, std::generic_category()};
  id = static_cast<uint64_t>(info.st_dev);
  return {};
}

std::error_code FileSystemOfHandle(int fd, FileSystemIdentity& identity) {
  identity = {};
  struct stat info {};
  struct statfs kind {};
  if (fstat(fd, &info) != 0 || fstatfs(fd, &kind) != 0) return {errno, std::generic_category()};
  identity = {static_cast<uint64_t>(info.st_dev), static_cast<int64_t>(kind.f_type)};
  return {};
}

std::error_code VolumeSize(const fs::path& path, uint64_t& totalBytes) {
  totalBytes = 0;
  struct statvfs info {};
  if (statvfs(path.c_str(), &info) != 0) return {errno, std::generic_category()};
  totalBytes = static_cast<uint64_t>(info.f_blocks) * static_cast<uint64_t>(info.f_frsize);
  return {};
}

std::error_code FlushVolume(const fs::path& mountPoint) {
  const int fd = open(mountPoint.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return {errno, std::generic_category()};
  std::error_code result;
  if (syncfs(fd) != 0) result = {errno, std::generic_category()};
  close(fd);
  return result;
}

}  // namespace platform
