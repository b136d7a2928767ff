#pragma once

// The rules of the card manager, "Write Designs, Read and Erase", without a screen: the
// PC's design files on one side (a file dialog), the designs on the ATA PC card on the
// other. Selected PC files are written to the card, card designs are read into a PC
// folder or erased, and a design of either side is previewed. The dialog widget forwards
// its events here and shows the lists, texts and preview this model holds.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "design/card/card_drives.h"
#include "design/card/card_listing.h"
#include "design/card/card_names.h"
#include "design/card/card_volumes.h"
#include "design/card/card_write_model.h"
#include "design/card/machine_version.h"
#include "link/link_types.h"
#include "platform/canvas.h"
#include "platform/message_box.h"

namespace card {

inline constexpr const char* kCardManagerCaption = "Write Designs, Read and Erase";
inline constexpr const char* kCardManagerFilter = "Embroidery Files(*.qnf)";
inline constexpr const char* kReadFolderTitle =
    "Select the destination folder for saving the uploaded files.";
// The machine's Open/Save folder keeps names of up to this many characters.
constexpr std::size_t kOpenSaveNameLength = 32;

// What differs between the programs' card managers.
struct CardManagerLimits {
  std::size_t designBufferBytes;
  int32_t newerMachinePairLimit;  // pairs the newer machine program takes from the card
};
inline constexpr CardManagerLimits kCardManagerLimits{kCardDesignBufferBytes,
                                                      kNewerMachineCardPairLimit};
inline constexpr CardManagerLimits kPictorelCardManagerLimits{kPictorelCardDesignBufferBytes,
                                                              65535};

// Asks the user for a folder (title, start folder); empty when the user cancelled.
using FolderChooser =
    std::function<std::filesystem::path(const std::string&, const std::filesystem::path&)>;

class CardManagerModel {
 public:
  CardManagerModel(CardVolumes& volumes, MachineVersion& version,
                   CardManagerLimits limits = kCardManagerLimits);

  void SetOwner(platform::WindowHandle owner) { owner_ = owner; }

  // Dialog start: the drive list with the card selected (or the question whether the
  // card is in; false when the user cancelled and the dialog closes), the card's list.
  bool OnInitDialog();
  const CardDriveList& Drives() const { return drives_; }
  int SelectedDrive() const { return selectedDrive_; }
  void OnDriveChange(int index);
  // The "Select Open/Save folder." box.
  void OnOpenSaveBox(bool ticked);
  bool OpenSaveFolder() const { return destination_ == kDestinationAtaCardFolder; }

  // The card's designs (full paths) and the count text under them.
  const std::vector<std::filesystem::path>& CardDesigns() const { return cardDesigns_; }
  const std::string& CountText() const { return countText_; }
  void RefreshCardList();

  // PC side: the dialog entered a folder; the selection changed to file (its first
  // selected file).
  void OnFolderChange(const std::filesystem::path& folder);
  void OnFileNameChange(const std::filesystem::path& file);
  // ">>": true when a PC file is current and the name box does not hold "*"; the dialog
  // then presses OK with the write request.
  bool OnWriteButton(const std::string& nameBoxText) const;
  // OK: with the write request, writes the selected files to the card. The dialog stays.
  void OnFileNameOK(const std::vector<std::filesystem::path>& selected, bool writeRequest);
  // The folder of the last PC path OK handled, for the caller to remember.
  const std::filesystem::path& Folder() const { return folder_; }

  // Card side, by index into CardDesigns().
  void OnListClick(int index);
  void OnRead(const std::vector<int>& selected, const FolderChooser& chooseFolder);
  void OnErase(const std::vector<int>& selected);

  // The preview: grey unless a design that was read is in the buffer.
  bool PreviewValid() const { return previewValid_; }
  const std::string& HoopName() const { return hoopName_; }
  void DrawPreview(platform::Canvas& canvas, const platform::CanvasRect& frame) const;
  // Counts changes of the lists, texts and preview, so that a widget knows when to redraw.
  int Revision() const { return revision_; }

 private:
  // Reads a file into the design buffer: as much as it holds, or the whole file (refused
  // when it does not fit). On failure shows notFoundText or the file error.
  enum class Reading { kHead, kWholeFile };
  bool ReadIntoBuffer(const std::filesystem::path& path, const char* notFoundText, Reading reading);
  // Reads path into the design buffer and previews it; false when it could not be read.
  bool Preview(const std::filesystem::path& path);
  enum class Step { kNext, kStop };
  Step WriteOne(const std::filesystem::path& file, const CardDrive& drive, CardBatchNames& batch);
  // Whether the card and files are still as listed; when not, says so and lists the card again.
  bool ListHolds(const CardDrive& drive, const std::vector<std::filesystem::path>& files);
  void ShowEraseError(const std::error_code& error) const;
  void ClearPreview();
  std::vector<std::filesystem::path> Chosen(const std::vector<int>& selected) const;
  void ShowError(const std::string& text, const char* caption) const;

  CardVolumes& volumes_;
  MachineVersion& version_;
  CardManagerLimits limits_;
  platform::WindowHandle owner_ = nullptr;
  std::vector<uint8_t> designBuffer_;
  CardDriveList drives_;
  int selectedDrive_ = -1;
  int destination_ = kDestinationAtaCard;
  CardListing listing_;  // what cardDesigns_ was listed from
  std::vector<std::filesystem::path> cardDesigns_;
  std::string countText_;
  bool previewValid_ = false;
  bool askVersion_ = true;
  std::string hoopName_;
  std::filesystem::path currentFile_;
  std::filesystem::path previewPath_;  // the design last read for the preview
  std::string lastName_;
  std::filesystem::path pcFolder_;
  std::filesystem::path folder_;
  int revision_ = 0;
};

}  // namespace card
