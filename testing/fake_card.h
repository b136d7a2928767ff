#pragma once

// Fake card volumes: fresh folders standing in for mounted drives, one of them usually the
// ATA PC card, with the sizes, removable flags and labels a test gives them. Each volume is a
// file system of its own (FileSystemOf tells a file on it from one on the PC's own disk, the
// empty mount point a pulled card leaves included). Records every flush, and can pull a card
// out, put another volume in its place or write-protect it.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "design/card/card_volumes.h"
#include "design/card/machine_version.h"
#include "testing/recording_message_box.h"
#include "testing/temp_dir.h"

namespace vtest {

constexpr uint64_t kFakeCardBytes = 64ull * 1024 * 1024;

class FakeCardVolumes : public card::CardVolumes {
 public:
  // Adds a volume and returns its mount point (the drive the card code writes to).
  std::filesystem::path Add(uint64_t totalBytes = kFakeCardBytes, bool removable = true,
                            const std::string& label = "");

  std::vector<platform::MountedVolume> List() override;
  void Flush(const std::filesystem::path& mountPoint) override { flushed_.push_back(mountPoint); }
  // Each card added tells a serial number of its own ("FAT:0000-0001", ...).
  std::string Identity(const platform::MountedVolume& volume) override;
  // The volume the open file or folder lies on, a pulled card's included (what was opened
  // on it before the pull still reaches it); anything else lies on the PC's own disk.
  std::error_code FileSystemOf(int fd, platform::FileSystemIdentity& identity) override;

  const std::vector<std::filesystem::path>& Flushed() const { return flushed_; }
  // The card is pulled out: it is no longer listed and takes what it holds with it (to
  // Pulled(mountPoint)); its mount point stays behind as an empty folder on the PC's disk,
  // as an fstab mount point does.
  void Pull(const std::filesystem::path& mountPoint);
  std::filesystem::path Pulled(const std::filesystem::path& mountPoint) const;
  // The card is pulled as soon as a listing finds designs designs in its design folders:
  // between two designs of a batch, since the writer looks at the drive before each.
  void PullAfter(const std::filesystem::path& mountPoint, int designs);
  // What swap does (a Replace, say, or a Pull that leaves files in the empty mount point) is
  // done as soon as listings have found files new names in the card's design folders since
  // this call: files made by a write, temporaries not yet in place among them.
  void SwapAfter(const std::filesystem::path& mountPoint, int files, std::function<void()> swap);
  // The card is pulled and another volume (another device, empty) mounted in its place.
  void Replace(const std::filesystem::path& mountPoint);
  // Another card is put into the same reader: the first is pulled (as Pull) and an empty one
  // mounted at the same point from the same device, with the same device number. It tells
  // another serial number, unless the cards tell none (TellNoSerial): then only the files
  // tell it apart.
  void PutInAnother(const std::filesystem::path& mountPoint);
  void TellNoSerial(const std::filesystem::path& mountPoint) { identities_[mountPoint].clear(); }
  // The card is listed as mounted read-only (its folder stays writable: the code must not try).
  void SetReadOnly(const std::filesystem::path& mountPoint);
  // Puts count dummy design files "D000.qnf", ... into folder, creating it.
  static void FillFolder(const std::filesystem::path& folder, int count);

 private:
  platform::MountedVolume* Find(const std::filesystem::path& mountPoint);
  // Where a volume's files now lie: its mount point, or Pulled(mountPoint) once it is pulled.
  struct Home {
    std::filesystem::path folder;
    platform::FileSystemIdentity identity;
  };
  void AddHome(const platform::MountedVolume& volume);

  TempDir dir_;
  std::vector<platform::MountedVolume> volumes_;
  std::vector<Home> homes_;
  std::vector<std::filesystem::path> flushed_;
  std::map<std::filesystem::path, std::string> identities_;
  struct Swap {
    std::filesystem::path mountPoint;
    int count = 0;
    bool designsOnly = true;  // counts the designs there, else the new names seen
    std::set<std::string> before, made;
    std::function<void()> swap;
  };
  std::optional<Swap> swapAfter_;
};

// The machine version as a test scripts it: the version dialog's answer and the version
// the user picks in it.
class ScriptedMachineVersion : public card::MachineVersion {
 public:
  int code = 1;          // the stored version
  int answer = 1;        // what the version dialog returns
  int chosenCode = 2;    // stored when the dialog returns 1
  int asked = 0;         // how often the dialog was shown

  int CheckVersion(platform::WindowHandle) override {
    ++asked;
    if (answer == 1) code = chosenCode;
    return answer;
  }
  int VersionCode() override { return code; }
};

// The plain files of a folder by name, with their bytes: a card folder's whole state.
std::map<std::string, std::vector<uint8_t>> FilesIn(const std::filesystem::path& folder);

// The texts of the boxes shown so far, in order.
std::vector<std::string> ShownTexts(const RecordingMessageBox& boxes);

// A sound QNF image of pairCount pairs, end pair included: (1, 1) and (-1, -1) stitches by
// turns, within every hoop however many; one colour.
std::vector<uint8_t> BuildCardDesign(int32_t pairCount, int32_t hoopCode = 0);

}  // namespace vtest
