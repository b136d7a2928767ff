#include "digitizer/pictorel_send_card.h"

#include <cctype>
#include <vector>

#include "design/card/card_writer.h"
#include "digitizer/pictorel_send.h"
#include "digitizer/pictorel_send_piece.h"
#include "link/link_types.h"
#include "platform/file_io.h"

namespace digitizer {

namespace {

constexpr char kCardExtension[] = ".qnf";

}  // namespace

int CardDestination(bool openSaveFolder) {
  return openSaveFolder ? kDestinationAtaCardFolder : kDestinationAtaCard;
}

CardDialogOutcome CheckCardDialogWrite(const std::optional<std::filesystem::path>& drive, bool openSaveFolder,
                                       int& designsFound, platform::WindowHandle owner) {
  if (!drive) {
    platform::MessageBox(owner, kNoDriveText, kAttentionCaption, platform::kMbOk | platform::kMbIconExclamation);
    return CardDialogOutcome::kStay;
  }
  designsFound = card::CountCardDesigns(card::CardFolder(*drive, CardDestination(openSaveFolder)));
  if (designsFound >= card::kMaxCardDesigns) {
    platform::MessageBox(owner, kFolderFullText, kAttentionCaption, platform::kMbOk | platform::kMbIconExclamation);
    return CardDialogOutcome::kCancelled;
  }
  return CardDialogOutcome::kWrite;
}

std::string CardDesignName(const std::string& typedName) {
  const std::string extension = kCardExtension;
  if (typedName.size() < extension.size()) return typedName;
  const std::size_t at = typedName.size() - extension.size();
  for (std::size_t i = 0; i < extension.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(typedName[at + i])) != extension[i]) return typedName;
  }
  return typedName.substr(0, at);
}

int CardDrivePictorelCard::SaveDesign(std::span<const uint8_t> image, int destination, const std::string& name) {
  return card::CCardWriter().SaveDesign(image, destination, volumes_, drive_, name, owner_);
}

void CardDrivePictorelCard::Flush() { card::FlushCardDrive(volumes_, drive_.mountPoint); }

void CardDrivePictorelCard::RemoveDesign(int destination, const std::string& name) {
  if (card::CheckCardDrive(volumes_, drive_)) return;  // the file of that name is not ours
  (void)platform::RemoveFile(card::CardFolder(drive_.mountPoint, destination) / card::CardFileName(name));
}

bool CheckCardFileName(const std::string& name, bool openSaveFolder, platform::WindowHandle owner) {
  if (!openSaveFolder || name.size() <= kMaxOpenSaveNameChars) return true;
  const std::string text = "The Open/Save Folder does not support the long file names such as \"" + name +
                           "\".\nPlease shorten the file name to 32 characters or less.";
  platform::MessageBox(owner, text, kFileNameErrorCaption, platform::kMbOk | platform::kMbIconError);
  return false;
}

bool WriteDesignToCard(CStitchDesign& design, PictorelCard& card, const CardWriteChoice& choice,
                       platform::WindowHandle owner) {
  const std::string name = CardDesignName(choice.name);
  if (!CheckCardFileName(name, choice.openSaveFolder, owner)) return false;
  std::vector<uint8_t> image;
  if (design.BuildQnfImage(design.GetStitchCount(), image) == 0) {
    platform::MessageBox(owner, kFileErrorText, kErrorCaption, platform::kMbOk | platform::kMbIconError);
    return false;
  }
  const bool saved = card.SaveDesign(image, CardDestination(choice.openSaveFolder), name) == 1;
  card.Flush();
  return saved;
}

bool WritePiecesToCard(CStitchDesign& design, PictorelCard& card, const CardWriteChoice& choice, int32_t limit,
                       int& hugeTag, platform::WindowHandle owner) {
  const std::string name = CardDesignName(choice.name);
  if (!CheckCardFileName(name, choice.openSaveFolder, owner)) return false;
  const char tag = ValidHugeTag(hugeTag);
  std::vector<std::vector<uint8_t>> pieces;
  if (!CutAllPieces(design, limit, tag, pieces)) {
    platform::MessageBox(owner, kCannotDivideCardText, kWriteErrorCaption, platform::kMbOk | platform::kMbIconError);
    return false;
  }
  auto pieceName = [&](std::size_t k) { return name + "#" + std::to_string(k + 1); };
  // The longest piece name is the last one's.
  if (!CheckCardFileName(pieceName(pieces.size() - 1), choice.openSaveFolder, owner)) return false;
  if (choice.designsFound + static_cast<int>(pieces.size()) > card::kMaxCardDesigns) {
    platform::MessageBox(owner, kCardFullText, kAttentionCaption, platform::kMbOk | platform::kMbIconError);
    return false;
  }
  const int destination = CardDestination(choice.openSaveFolder);
  for (std::size_t k = 0; k < pieces.size(); ++k) {
    if (card.SaveDesign(pieces[k], destination, pieceName(k)) == 1) continue;
    // The writer has said why. The pieces before it alone would sew a design with a hole in
    // it: they go again.
    for (std::size_t j = 0; j < k; ++j) card.RemoveDesign(destination, pieceName(j));
    card.Flush();
    return false;
  }
  card.Flush();
  hugeTag = NextHugeTag(tag);
  return true;
}

}  // namespace digitizer
