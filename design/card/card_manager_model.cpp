#include "design/card/card_manager_model.h"

#include <algorithm>
#include <cctype>

#include "design/card/card_design_image.h"
#include "design/card/card_messages.h"
#include "design/card/card_pair_limit.h"
#include "design/card/card_preview.h"
#include "design/card/card_writer.h"
#include "design/design_import.h"
#include "design/stitch_stream.h"
#include "platform/file_io.h"

namespace card {

namespace fs = std::filesystem;

namespace {

constexpr const char* kReadStitchesFailedText = "Failed to read the stitch data.";
constexpr const char* kReadFileFailedText = "Failed to read the file.";
constexpr const char* kEraseQuestionText =
    "Are you sure you want to delete the selected designs from the ATA PC Card?";
// The machine keeps a companion file beside some designs; it goes with its design.
constexpr const char* kCompanionExtension = ".vmk";

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string DesignCountText(std::size_t count) {
  if (count == 0) return "No design";
  if (count == 1) return "1  Design";
  return std::to_string(count) + "  Designs";
}

}  // namespace

CardManagerModel::CardManagerModel(CardVolumes& volumes, MachineVersion& version,
                                   CardManagerLimits limits)
    : volumes_(volumes), version_(version), limits_(limits) {
  // One byte more than the buffer tells a file too large to copy from one that fits.
  designBuffer_.reserve(limits_.designBufferBytes + 1);
}

bool CardManagerModel::OnInitDialog() {
  drives_ = ListCardDrives(volumes_.List());
  selectedDrive_ = drives_.guess;
  askVersion_ = true;
  previewValid_ = false;
  if (!ConfirmCardInserted(drives_, owner_)) return false;
  RefreshCardList();
  return true;
}

void CardManagerModel::OnDriveChange(int index) {
  selectedDrive_ = index >= 0 && index < static_cast<int>(drives_.drives.size()) ? index : -1;
  ClearPreview();
  RefreshCardList();
}

void CardManagerModel::OnOpenSaveBox(bool ticked) {
  destination_ = ticked ? kDestinationAtaCardFolder : kDestinationAtaCard;
  RefreshCardList();
}

void CardManagerModel::RefreshCardList() {
  ++revision_;
  cardDesigns_.clear();
  if (selectedDrive_ < 0) {
    countText_.clear();
    return;
  }
  const CardDrive& drive = drives_.drives[selectedDrive_];
  listing_ = ListCardFolder(volumes_, drive, CardFolder(drive.mountPoint, destination_));
  for (const ListedCardDesign& design : listing_.designs) cardDesigns_.push_back(design.path);
  countText_ = DesignCountText(cardDesigns_.size());
}

void CardManagerModel::OnFolderChange(const fs::path& folder) {
  pcFolder_ = folder;
  ClearPreview();
  ++revision_;
}

void CardManagerModel::OnFileNameChange(const fs::path& file) {
  const std::string name = file.filename().string();
  // The same name reported again while its design shows clears the preview; the next
  // report shows it again.
  if (name == lastName_ && previewValid_) {
    previewValid_ = false;
    lastName_.clear();
    ++revision_;
    return;
  }
  lastName_ = name;
  if (name.empty() || name == "*" || Lower(file.extension().string()) != ".qnf") return;
  currentFile_ = file;
  Preview(file);
}

bool CardManagerModel::OnWriteButton(const std::string& nameBoxText) const {
  return !currentFile_.empty() && nameBoxText != "*";
}

void CardManagerModel::OnFileNameOK(const std::vector<fs::path>& selected, bool writeRequest) {
  if (!selected.empty()) folder_ = selected.back().parent_path();
  if (!writeRequest) return;
  if (selectedDrive_ < 0) {
    platform::MessageBox(owner_, kNoDriveText, kAttentionCaption,
                         platform::kMbOk | platform::kMbIconError);
    return;
  }
  const CardDrive& drive = drives_.drives[selectedDrive_];
  // A card that is gone or write-protected takes nothing: said once, before anything is read.
  if (const std::error_code error = CheckCardDrive(volumes_, drive)) {
    ShowCardWriteError(owner_, error);
    return;
  }
  CardBatchNames batch;
  for (const fs::path& file : selected) {
    if (static_cast<int>(cardDesigns_.size()) >= kMaxCardDesigns) {
      RefreshCardList();
      platform::MessageBox(owner_, kFolderFilledText, kAttentionCaption,
                           platform::kMbOk | platform::kMbIconError);
      break;
    }
    if (WriteOne(file, drive, batch) == Step::kStop) break;
  }
  RefreshCardList();
  FlushCardDrive(volumes_, drive.mountPoint);
}

CardManagerModel::Step CardManagerModel::WriteOne(const fs::path& file, const CardDrive& drive,
                                                  CardBatchNames& batch) {
  const std::string name = file.stem().string();
  if (destination_ == kDestinationAtaCardFolder && name.size() > kOpenSaveNameLength) {
    platform::MessageBox(owner_,
                         "The Open/Save Folder does not support the long file names such as \"" +
                             name + "\".\nPlease shorten the file name to 32 characters or less.",
                         "File Name Error", platform::kMbOk | platform::kMbIconError);
    return Step::kNext;
  }
  std::string extension = file.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  if (extension != ".QNF") {
    platform::MessageBox(owner_, "Supported QNF form only.", "Extention Error",
                         platform::kMbOk | platform::kMbIconError);
    return Step::kNext;
  }
  // A file that cannot be read is reported and passed over; the designs already written
  // are still flushed before the card can be pulled.
  if (!ReadIntoBuffer(file, kReadFileFailedText, Reading::kHead)) return Step::kNext;
  // Whatever the buffer held for the preview is gone now.
  ClearPreview();
  const auto head = ReadCardDesignHead(designBuffer_);
  if (!head) {
    ShowError(kFileErrorText, kErrorCaption);
    return Step::kNext;
  }
  const PairLimitCheck check =
      CheckPairLimit(head->pairCount, limits_.newerMachinePairLimit, askVersion_, version_, owner_);
  if (check.result == PairLimitCheck::kDeclined) return Step::kStop;
  if (check.result == PairLimitCheck::kTooLarge) {
    platform::MessageBox(owner_,
                         "The design is too large and cannot be saved in this menu.\n"
                         "The pattern \"" + name + "\" exceeds the " +
                             std::to_string(check.nominalStitches) + " stitch limit.",
                         kAttentionCaption, platform::kMbOk | platform::kMbIconInformation);
    return Step::kNext;
  }
  const std::size_t size = CardImageSize(designBuffer_, *head);
  if (size == 0) {
    ShowError(kFileErrorText, kErrorCaption);
    return Step::kNext;
  }
  // The header's extents are only a claim: a design whose stitches no hoop takes stays off
  // the card.
  const auto stitches = std::span(designBuffer_).subspan(static_cast<std::size_t>(head->stitchDataOffset),
                                                         size - static_cast<std::size_t>(head->stitchDataOffset));
  if (!design::FitsLargeHoop(design::ExtentsFromFirstPoint(stitches))) {
    platform::MessageBox(owner_, design::kExceedsHoopLimitsText, kCardManagerCaption,
                         platform::kMbOk | platform::kMbIconExclamation);
    return Step::kNext;
  }
  // Two files of one batch whose names the card does not tell apart: the later would
  // replace the earlier.
  if (const std::string first = batch.TakenBy(name); !first.empty()) {
    platform::MessageBox(owner_, BatchClashText(name, first), kAttentionCaption,
                         platform::kMbOk | platform::kMbIconExclamation);
    return Step::kNext;
  }
  // A design replaces only the card file the user saw listed, on the card listed.
  if (!ListHolds(drive, CardFilesOf(CardFolder(drive.mountPoint, destination_), name))) {
    return Step::kStop;
  }
  CCardWriter writer;
  if (writer.SaveDesign(std::span(designBuffer_.data(), size), destination_, volumes_, drive, name,
                        owner_) == 1) {
    batch.Take(name);
    RefreshCardList();
    return Step::kNext;
  }
  // The card went (the writer has said so): the other files have nowhere to go.
  return CheckCardDrive(volumes_, drive) ? Step::kStop : Step::kNext;
}

void CardManagerModel::OnListClick(int index) {
  if (index < 0 || index >= static_cast<int>(cardDesigns_.size())) return;
  // A card design the reader refuses is told apart from an empty preview.
  if (Preview(cardDesigns_[index]) && !IsSoundCardDesign(designBuffer_)) {
    ClearPreview();
    ShowError(kFileErrorText, kErrorCaption);
  }
}

void CardManagerModel::OnRead(const std::vector<int>& selected, const FolderChooser& chooseFolder) {
  const std::vector<fs::path> designs = Chosen(selected);
  if (designs.empty()) return;
  const fs::path target = chooseFolder(kReadFolderTitle, folder_.empty() ? pcFolder_ : folder_);
  if (target.empty()) return;
  for (const fs::path& design : designs) {
    if (!ReadIntoBuffer(design, kReadStitchesFailedText, Reading::kWholeFile)) continue;
    ClearPreview();
    // A damaged design copied to the PC would pass for a sound one there.
    if (!IsSoundCardDesign(designBuffer_)) {
      ShowError(kFileErrorText, kErrorCaption);
      continue;
    }
    // A file of that name in the chosen folder is the user's: it is replaced only on Yes.
    const fs::path copy = target / design.filename();
    if (!platform::AskReplaceExisting(owner_, copy.string(), kConfirmCaption)) continue;
    const std::error_code error = platform::WriteWholeFile(copy, designBuffer_);
    if (error) {
      ShowError(platform::IsNotFound(error) ? kReadStitchesFailedText : kFileErrorText,
                kErrorCaption);
    }
  }
  ++revision_;
}

void CardManagerModel::OnErase(const std::vector<int>& selected) {
  const std::vector<fs::path> designs = Chosen(selected);
  if (designs.empty() || selectedDrive_ < 0) return;
  const CardDrive& drive = drives_.drives[selectedDrive_];
  // A card that is gone or write-protected loses nothing: said once, before the question.
  if (const std::error_code error = CheckCardDrive(volumes_, drive)) {
    ShowEraseError(error);
    return;
  }
  // Erase goes by the names listed: through a list of another card (put into the same
  // reader since) it would delete that card's designs of those names.
  if (!ListHolds(drive, designs)) return;
  if (platform::MessageBox(owner_, kEraseQuestionText, kConfirmCaption,
                           platform::kMbYesNo | platform::kMbIconQuestion) != platform::kIdYes) {
    return;
  }
  // The card may have been swapped while the question stood.
  if (!ListHolds(drive, designs)) return;
  for (const fs::path& design : designs) {
    if (const std::error_code error = platform::RemoveFile(design)) {
      ShowEraseError(error);
      if (CheckCardDrive(volumes_, drive)) break;  // the card went: the rest are not there
      continue;
    }
    // The preview does not go on showing a design no longer on the card.
    if (design == previewPath_) ClearPreview();
    fs::path companion = design;
    companion.replace_extension(kCompanionExtension);
    std::error_code ignored;
    if (fs::is_regular_file(companion, ignored)) fs::remove(companion, ignored);
  }
  RefreshCardList();
  FlushCardDrive(volumes_, drive.mountPoint);
}

bool CardManagerModel::ListHolds(const CardDrive& drive, const std::vector<fs::path>& files) {
  if (StillAsListed(volumes_, drive, listing_, files)) return true;
  platform::MessageBox(owner_, kCardChangedText, kAttentionCaption,
                       platform::kMbOk | platform::kMbIconExclamation);
  RefreshCardList();
  return false;
}

void CardManagerModel::ClearPreview() {
  previewValid_ = false;
  hoopName_.clear();  // the label named the hoop of the design no longer shown
}

void CardManagerModel::ShowEraseError(const std::error_code& error) const {
  // The box has no caption of its own: the platform's default title stands.
  ShowError("Failed to erase Qnf files.\n  Code : " + std::to_string(error.value()) + "\nTry again.",
            "");
}

void CardManagerModel::DrawPreview(platform::Canvas& canvas,
                                   const platform::CanvasRect& frame) const {
  if (!previewValid_) {
    canvas.FillRect(frame, kCardPreviewGrey);
    return;
  }
  DrawCardPreview(canvas, frame, designBuffer_);
}

bool CardManagerModel::ReadIntoBuffer(const fs::path& path, const char* notFoundText,
                                      Reading reading) {
  // A preview or a write needs no more than the buffer holds; a copy that needs more is
  // refused, since a copy cut short would pass for the design.
  const std::error_code error =
      reading == Reading::kWholeFile
          ? platform::ReadWholeFile(path, designBuffer_, limits_.designBufferBytes)
          : platform::ReadFileHead(path, designBuffer_, limits_.designBufferBytes);
  if (!error) return true;
  ShowError(platform::IsNotFound(error) ? notFoundText : kFileErrorText, kErrorCaption);
  return false;
}

bool CardManagerModel::Preview(const fs::path& path) {
  previewPath_ = path;
  const bool read = ReadIntoBuffer(path, kReadStitchesFailedText, Reading::kHead);
  const auto head = read ? ReadCardDesignHead(designBuffer_) : std::nullopt;
  previewValid_ = head.has_value();
  hoopName_ = head ? CardHoopName(head->hoopCode) : "";
  ++revision_;
  return read;
}

std::vector<fs::path> CardManagerModel::Chosen(const std::vector<int>& selected) const {
  std::vector<fs::path> designs;
  for (int index : selected) {
    if (index >= 0 && index < static_cast<int>(cardDesigns_.size())) {
      designs.push_back(cardDesigns_[index]);
    }
  }
  return designs;
}

void CardManagerModel::ShowError(const std::string& text, const char* caption) const {
  platform::MessageBox(owner_, text, caption, platform::kMbOk | platform::kMbIconError);
}

}  // namespace card
