#pragma once

// The rules of "Write Designs to ATA PC Card", without a screen: the drive list and its
// guess, the Open/Save box, and Write, which copies every design named in a transfer list
// file into the card's design folder. The dialog widget forwards its events here.

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "design/card/card_drives.h"
#include "design/card/card_names.h"
#include "design/card/card_volumes.h"
#include "design/card/card_pair_limit.h"
#include "design/card/machine_version.h"
#include "platform/message_box.h"

namespace card {

inline constexpr const char* kCardWriteCaption = "Write Designs to ATA PC Card";

// The design buffer of the card dialogs: the 740-byte head and 500,000 bytes of stitches
// (Pictorel's holds 750,000).
constexpr std::size_t kCardDesignBufferBytes = 500740;
constexpr std::size_t kPictorelCardDesignBufferBytes = 750740;

// How a dialog event ends: the dialog stays, or ends with OK or Cancel.
enum class DialogEnd { kStay, kOk, kCancel };

// Asks whether the card is in when no drive looks like one; false when the user cancelled.
bool ConfirmCardInserted(const CardDriveList& drives, platform::WindowHandle owner);

class CardWriteModel {
 public:
  CardWriteModel(CardVolumes& volumes, MachineVersion& version,
                 std::size_t designBufferBytes = kCardDesignBufferBytes);

  void SetOwner(platform::WindowHandle owner) { owner_ = owner; }
  // The transfer list file naming the designs (260-byte path records).
  void SetListPath(const std::filesystem::path& path) { listPath_ = path; }

  // Fills the drive list and selects the drive that looks like a card. False when there
  // is none and the user cancelled the question whether the card is in.
  bool OnInitDialog();
  const CardDriveList& Drives() const { return drives_; }
  int SelectedDrive() const { return selectedDrive_; }
  void SelectDrive(int index);
  // The "Select Open/Save folder." box: the machine's Open/Save folder instead of PC_Link.
  void SetOpenSaveFolder(bool ticked) { openSaveFolder_ = ticked; }
  bool OpenSaveFolder() const { return openSaveFolder_; }

  // Write.
  DialogEnd OnWrite();
  // True when the last Write put every listed design on the card.
  bool WroteAll() const { return wroteAll_; }

 private:
  enum class Step { kNext, kStop };
  Step WriteOne(const std::filesystem::path& designPath, int destination, const CardDrive& drive,
                CardBatchNames& batch, int& count, bool& written);

  CardVolumes& volumes_;
  MachineVersion& version_;
  std::size_t designBufferBytes_;
  std::vector<uint8_t> designBuffer_;
  platform::WindowHandle owner_ = nullptr;
  std::filesystem::path listPath_;
  CardDriveList drives_;
  int selectedDrive_ = -1;
  bool openSaveFolder_ = false;
  bool askVersion_ = true;
  bool wroteAll_ = false;
};

}  // namespace card
