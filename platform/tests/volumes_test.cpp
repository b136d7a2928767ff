#include "platform/volumes.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/file_io.h"
#include "platform/le_bytes.h"
#include "testing/temp_dir.h"

namespace {

namespace fs = std::filesystem;

void WriteText(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path) << text;
}

// A little machine: a device folder, a sysfs block tree (disks holding their partitions,
// with the class links beside them), udev's label links and mount points.
class VolumesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sources_.mountTable = dir_ / "mounts";
    sources_.devices = dir_ / "dev";
    sources_.sysBlock = dir_ / "sys" / "class" / "block";
    sources_.byLabel = dir_ / "dev" / "disk" / "by-label";
    fs::create_directories(sources_.byLabel);
  }

  // A disk with one partition; the partition is what gets mounted.
  void AddPartition(const std::string& disk, bool removable) {
    const fs::path disks = dir_ / "sys" / "devices" / "block";
    WriteText(disks / disk / "removable", removable ? "1\n" : "0\n");
    WriteText(disks / disk / (disk + "1") / "partition", "1\n");
    fs::create_directories(sources_.sysBlock);
    fs::create_directory_symlink(disks / disk / (disk + "1"), sources_.sysBlock / (disk + "1"));
    WriteText(sources_.devices / (disk + "1"), "");
  }
  fs::path MountPoint(const std::string& name) {
    fs::create_directories(dir_ / "media" / name);
    return dir_ / "media" / name;
  }
  std::string Device(const std::string& name) { return (sources_.devices / name).string(); }

  vtest::TempDir dir_;
  platform::VolumeSources sources_;
};

TEST(MountTableTest, ParsesFieldsAndUnescapesBlanks) {
  const auto entries = platform::ParseMountTable(
      "/dev/sdb1 /media/me/MY\\040CARD vfat rw,nosuid 0 0\n"
      "proc /proc proc rw 0 0\n"
      "short line\n");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].source, "/dev/sdb1");
  EXPECT_EQ(entries[0].target, fs::path("/media/me/MY CARD"));
  EXPECT_EQ(entries[0].type, "vfat");
  EXPECT_EQ(entries[0].options, "rw,nosuid");
  EXPECT_EQ(entries[1].target, fs::path("/proc"));
}

TEST_F(VolumesTest, ListsWritableBlockDevicesWithRemovableFlagAndLabel) {
  AddPartition("sdb", true);
  AddPartition("sda", false);
  AddPartition("loop", false);  // named loop1: a mounted image, not a drive
  AddPartition("sdc", true);
  fs::create_symlink(Device("sdb1"), sources_.byLabel / "MY\\x20CARD");
  const fs::path card = MountPoint("card");
  const fs::path data = MountPoint("data");
  const fs::path image = MountPoint("image");
  const fs::path cdrom = MountPoint("cdrom");
  WriteText(sources_.mountTable,
            "proc /proc proc rw 0 0\n"
            "tmpfs " + MountPoint("tmp").string() + " tmpfs rw 0 0\n" +
            Device("sdb1") + " " + card.string() + " vfat rw,nosuid 0 0\n" +
            Device("sda1") + " " + data.string() + " ext4 rw,relatime 0 0\n" +
            Device("sda1") + " " + MountPoint("bound").string() + " ext4 rw 0 0\n" +
            Device("loop1") + " " + image.string() + " squashfs rw 0 0\n" +
            Device("sdc1") + " " + cdrom.string() + " iso9660 ro,nosuid 0 0\n" +
            "server:/x " + MountPoint("net").string() + " nfs rw 0 0\n");

  const auto volumes = platform::ListMountedVolumes(sources_);
  ASSERT_EQ(volumes.size(), 3u);
  // In mount-point order, each device once.
  EXPECT_EQ(volumes[0].mountPoint, card);
  EXPECT_TRUE(volumes[0].removable);
  EXPECT_EQ(volumes[0].label, "MY CARD");
  EXPECT_EQ(volumes[0].device, Device("sdb1"));
  EXPECT_GT(volumes[0].totalBytes, 0u);
  EXPECT_FALSE(volumes[0].readOnly);
  uint64_t cardId = 0;
  ASSERT_FALSE(platform::FileSystemIdOf(card, cardId));
  EXPECT_EQ(volumes[0].fileSystemId, cardId);
  // A write-protected medium is listed, and says so.
  EXPECT_EQ(volumes[1].mountPoint, cdrom);
  EXPECT_TRUE(volumes[1].readOnly);
  EXPECT_EQ(volumes[2].mountPoint, data);
  EXPECT_FALSE(volumes[2].removable);
  EXPECT_EQ(volumes[2].label, "");
}

TEST_F(VolumesTest, TheCardReaderMountPointIsARemovableDriveWhateverIsMountedThere) {
  const fs::path reader = MountPoint("reader");
  WriteText(sources_.mountTable, "fusefat " + reader.string() + " fuse.fusefat rw 0 0\n" +
                                     "tmpfs " + MountPoint("tmp").string() + " tmpfs rw 0 0\n");
  EXPECT_TRUE(platform::ListMountedVolumes(sources_).empty());
  sources_.cardReader = reader / "";
  const auto volumes = platform::ListMountedVolumes(sources_);
  ASSERT_EQ(volumes.size(), 1u);
  EXPECT_EQ(volumes[0].mountPoint, reader);
  EXPECT_TRUE(volumes[0].removable);
  EXPECT_EQ(volumes[0].device, "fusefat");
  // Unmounted, it is gone from the list, though its folder stays.
  WriteText(sources_.mountTable, "");
  EXPECT_TRUE(platform::ListMountedVolumes(sources_).empty());
}

TEST_F(VolumesTest, ADiskOnAUsbOrMmcBusIsHotPlugged) {
  const fs::path devices = dir_ / "sys" / "devices";
  fs::create_directories(sources_.sysBlock);
  for (const auto& [name, parent] : {std::pair{"sdd", "pci0/usb2/2-1/host6/block"},
                                      std::pair{"mmcblk0", "pci0/mmc_host/mmc0/block"},
                                      std::pair{"nvme0n1", "pci0/nvme/block"}}) {
    WriteText(devices / parent / name / "removable", "0\n");
    fs::create_directory_symlink(devices / parent / name, sources_.sysBlock / name);
    WriteText(sources_.devices / name, "");
  }
  WriteText(sources_.mountTable, Device("sdd") + " " + MountPoint("a").string() + " vfat rw 0 0\n" +
                                     Device("mmcblk0") + " " + MountPoint("b").string() + " vfat rw 0 0\n" +
                                     Device("nvme0n1") + " " + MountPoint("c").string() + " ext4 rw 0 0\n");
  const auto volumes = platform::ListMountedVolumes(sources_);
  ASSERT_EQ(volumes.size(), 3u);
  EXPECT_TRUE(volumes[0].hotPlugged);
  EXPECT_TRUE(volumes[1].hotPlugged);
  EXPECT_FALSE(volumes[2].hotPlugged);
}

TEST_F(VolumesTest, AMissingMountTableListsNothing) {
  EXPECT_TRUE(platform::ListMountedVolumes(sources_).empty());
}

TEST_F(VolumesTest, AnOpenFoldersFileSystemIsTheOneItsPathShowed) {
  uint64_t device = 0;
  ASSERT_FALSE(platform::FileSystemIdOf(dir_.Path(), device));
  platform::FolderHandle folder;
  ASSERT_FALSE(folder.Open(dir_.Path()));
  platform::FileSystemIdentity identity;
  ASSERT_FALSE(platform::FileSystemOfHandle(folder.Descriptor(), identity));
  EXPECT_EQ(identity.device, device);
  EXPECT_NE(identity.type, 0);
  EXPECT_TRUE(platform::FileSystemOfHandle(-1, identity));
}

TEST_F(VolumesTest, SizeIsSixtyFourBitAndFlushWorksOnAFolder) {
  uint64_t bytes = 0;
  ASSERT_FALSE(platform::VolumeSize(dir_.Path(), bytes));
  EXPECT_GT(bytes, 0u);
  EXPECT_FALSE(platform::FlushVolume(dir_.Path()));
  EXPECT_TRUE(platform::FlushVolume(dir_ / "gone"));
  EXPECT_TRUE(platform::VolumeSize(dir_ / "gone", bytes));
  EXPECT_EQ(bytes, 0u);
}

// A FAT boot sector with its extended block where FAT12/16 or FAT32 keep it.
std::vector<uint8_t> BootSector(bool fat32, uint32_t serial) {
  std::vector<uint8_t> sector(512, 0);
  sector[0] = 0xEB;
  platform::WriteU16(&sector[11], 512);
  sector[13] = 4;
  if (!fat32) platform::WriteU16(&sector[17], 512);
  if (!fat32) platform::WriteU16(&sector[22], 32);
  const std::size_t block = fat32 ? 66 : 38;
  sector[block] = 0x29;
  platform::WriteU32(&sector[block + 1], serial);
  sector[510] = 0x55;
  sector[511] = 0xAA;
  return sector;
}

TEST(FatVolumeSerialTest, ReadsTheSerialOfFat16AndFat32AndNothingElse) {
  EXPECT_EQ(platform::FatVolumeSerial(BootSector(false, 0x1A2B3C4D)), "1A2B-3C4D");
  EXPECT_EQ(platform::FatVolumeSerial(BootSector(true, 0x00C0FFEE)), "00C0-FFEE");
  std::vector<uint8_t> sector = BootSector(false, 7);
  EXPECT_EQ(platform::FatVolumeSerial(std::span(sector).first(511)), "");
  sector[511] = 0;
  EXPECT_EQ(platform::FatVolumeSerial(sector), "");
  sector = BootSector(true, 7);
  sector[66] = 0;  // no extended block: no serial
  EXPECT_EQ(platform::FatVolumeSerial(sector), "");
  sector = BootSector(false, 7);
  sector[13] = 3;
  EXPECT_EQ(platform::FatVolumeSerial(sector), "");
}

TEST_F(VolumesTest, AVolumeIsKnownByItsSerialItsUuidOrItsMount) {
  platform::MountedVolume volume;
  volume.mountPoint = MountPoint("card");
  volume.device = (dir_ / "card.img").string();
  std::vector<uint8_t> image = BootSector(false, 0x12345678);
  image.resize(4096);
  std::ofstream(volume.device, std::ios::binary)
      .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
  EXPECT_EQ(platform::VolumeIdentity(volume, sources_), "FAT:1234-5678");

  // A device whose first sector cannot be read is known by udev's UUID link.
  AddPartition("sdb", true);
  volume.device = Device("sdb1");
  sources_.byUuid = dir_ / "dev" / "disk" / "by-uuid";
  fs::create_directories(sources_.byUuid);
  fs::create_symlink(Device("sdb1"), sources_.byUuid / "ABCD-0001");
  EXPECT_EQ(platform::VolumeIdentity(volume, sources_), "UUID:ABCD-0001");

  // A FUSE mount names no device: its label and its mount, which another mount never shares.
  volume.device = "fusefat";
  volume.label = "CARD";
  const std::string here = platform::VolumeIdentity(volume, sources_);
  volume.mountPoint = "/proc";
  const std::string proc = platform::VolumeIdentity(volume, sources_);
  if (here == "MOUNT:CARD:0") GTEST_SKIP() << "the kernel gives no mount numbers";
  EXPECT_EQ(here.rfind("MOUNT:CARD:", 0), 0u);
  EXPECT_NE(here, proc);
}

}  // namespace
