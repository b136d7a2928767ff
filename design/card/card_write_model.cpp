#include "design/card/card_write_model.h"

#include "design/card/card_design_image.h"
#include "design/card/card_messages.h"
#include "design/card/card_pair_limit.h"
#include "design/card/card_writer.h"
#include "link/transfer_list.h"
#include "platform/file_io.h"

namespace card {

namespace fs = std::filesystem;

namespace {

// A list names at most the 100 designs a card folder takes.
constexpr std::size_t kMaxListRecords = kMaxCardDesigns;
constexpr std::size_t kListBufferBytes = kMaxListRecords * transfer::kListRecordBytes;  // 26,000

// The message names a design by the last four characters of its name: the number and
// batch letter that tell the designs of one send apart ("01#a").
std::string NameTail(const std::string& name) {
  return name.size() <= 4 ? name : name.substr(name.size() - 4);
}

void Attention(platform::WindowHandle owner, const std::string& text, unsigned icon) {
  platform::MessageBox(owner, text, kAttentionCaption, platform::kMbOk | icon);
}

}  // namespace

bool ConfirmCardInserted(const CardDriveList& drives, platform::WindowHandle owner) {
  if (drives.guess >= 0) return true;
  return platform::MessageBox(owner, kCardQuestionText, kConfirmCaption,
                              platform::kMbOkCancel | platform::kMbIconQuestion) == platform::kIdOk;
}

CardWriteModel::CardWriteModel(CardVolumes& volumes, MachineVersion& version,
                               std::size_t designBufferBytes)
    : volumes_(volumes), version_(version), designBufferBytes_(designBufferBytes) {
  designBuffer_.reserve(designBufferBytes_);
}

bool CardWriteModel::OnInitDialog() {
  drives_ = ListCardDrives(volumes_.List());
  selectedDrive_ = drives_.guess;
  askVersion_ = true;
  return ConfirmCardInserted(drives_, owner_);
}

void CardWriteModel::SelectDrive(int index) {
  const bool known = index >= 0 && index < static_cast<int>(drives_.drives.size());
  selectedDrive_ = known ? index : -1;
}

DialogEnd CardWriteModel::OnWrite() {
  wroteAll_ = false;
  if (selectedDrive_ < 0) {
    Attention(owner_, kNoDriveText, platform::kMbIconError);
    return DialogEnd::kStay;
  }
  const CardDrive& drive = drives_.drives[selectedDrive_];
  // A card that is gone or write-protected takes nothing: said once, before anything is
  // read or made; the dialog ends as cancelled, since nothing reached the card.
  if (const std::error_code error = CheckCardDrive(volumes_, drive)) {
    ShowCardWriteError(owner_, error);
    return DialogEnd::kCancel;
  }

  std::vector<uint8_t> listBytes;
  platform::ReadFileHead(listPath_, listBytes, kListBufferBytes);  // a missing list names nothing
  const std::vector<std::string> paths = transfer::ParseTransferList(listBytes);

  const int destination = openSaveFolder_ ? kDestinationAtaCardFolder : kDestinationAtaCard;
  int count = CountCardDesigns(CardFolder(drive.mountPoint, destination));
  if (count >= kMaxCardDesigns) {
    // Nothing was written: the dialog ends as cancelled, so that the caller does not count
    // a send that never reached the card.
    Attention(owner_, kFolderFullText, platform::kMbIconError);
    return DialogEnd::kCancel;
  }

  bool all = true;
  CardBatchNames batch;
  for (const std::string& path : paths) {
    if (count >= kMaxCardDesigns) {
      Attention(owner_, kFolderFilledText, platform::kMbIconError);
      all = false;
      break;
    }
    bool written = false;
    const Step step = WriteOne(path, destination, drive, batch, count, written);
    if (!written) all = false;
    if (step == Step::kStop) break;
  }
  FlushCardDrive(volumes_, drive.mountPoint);
  wroteAll_ = all;
  return DialogEnd::kOk;
}

CardWriteModel::Step CardWriteModel::WriteOne(const fs::path& designPath, int destination,
                                              const CardDrive& drive, CardBatchNames& batch,
                                              int& count, bool& written) {
  if (platform::ReadFileHead(designPath, designBuffer_, designBufferBytes_)) {
    return Step::kNext;  // a design that cannot be opened is passed over
  }
  const auto head = ReadCardDesignHead(designBuffer_);
  if (!head) {
    platform::MessageBox(owner_, kFileErrorText, kErrorCaption,
                         platform::kMbOk | platform::kMbIconError);
    return Step::kNext;
  }
  const std::string name = designPath.stem().string();
  const PairLimitCheck check =
      CheckPairLimit(head->pairCount, kNewerMachineCardPairLimit, askVersion_, version_, owner_);
  if (check.result == PairLimitCheck::kDeclined) return Step::kStop;
  if (check.result == PairLimitCheck::kTooLarge) {
    Attention(owner_,
              "The design is too large and cannot be saved in this menu.\nThe pattern (" +
                  NameTail(name) + ") exceeds the " + std::to_string(check.nominalStitches) +
                  " stitch limit.",
              platform::kMbIconExclamation);
    return Step::kNext;
  }
  // The header's counts are only now held against the bytes: a lying pair count must not
  // carry the write past what was read.
  const std::size_t size = CardImageSize(designBuffer_, *head);
  if (size == 0) {
    platform::MessageBox(owner_, kFileErrorText, kErrorCaption,
                         platform::kMbOk | platform::kMbIconError);
    return Step::kNext;
  }
  // A list naming two designs the card does not tell apart writes the first only: the
  // second would replace it.
  if (const std::string first = batch.TakenBy(name); !first.empty()) {
    Attention(owner_, BatchClashText(name, first), platform::kMbIconExclamation);
    return Step::kNext;
  }
  CCardWriter writer;
  written = writer.SaveDesign(std::span(designBuffer_.data(), size), destination, volumes_, drive,
                              name, owner_) == 1;
  if (written) batch.Take(name);
  // A design that failed to save still takes its place among the folder's 100: the folder
  // is not looked at again until the dialog's next Write.
  ++count;
  // The card went (the writer has said so): the rest of the batch has nowhere to go.
  if (!written && CheckCardDrive(volumes_, drive)) return Step::kStop;
  return Step::kNext;
}

}  // namespace card
