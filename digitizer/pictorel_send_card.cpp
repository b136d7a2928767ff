#include "digitizer/pictorel_send_card.h"

#include <vector>

#include "design/card/card_writer.h"
#include "digitizer/pictorel_send.h"
#include "digitizer/pictorel_send_piece.h"
#include "link/link_types.h"

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
  if (typedName.size() >= extension.size() &&
      typedName.compare(typedName.size() - extension.size(), extension.size(), extension) == 0) {
    return typedName.substr(0, typedName.size() - extension.size());
  }
  return typedName;
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
  std::vector<uint8_t> piece;
  piece.reserve(kPieceImageBytes);
  int designs = choice.designsFound;
  bool allSaved = true;
  int nextBlock = 1;
  for (int pieceNo = 1; nextBlock != 0; ++pieceNo) {
    if (CutPiece(design, nextBlock, piece, limit, tag, pieceNo) == 0) {
      platform::MessageBox(owner, kCannotDivideCardText, kWriteErrorCaption, platform::kMbOk | platform::kMbIconError);
      allSaved = false;
      break;
    }
    if (designs >= card::kMaxCardDesigns) {
      platform::MessageBox(owner, kCardFullText, kAttentionCaption, platform::kMbOk | platform::kMbIconError);
      allSaved = false;
      break;
    }
    // A piece that could not be saved ends the split (the writer has said why): the pieces
    // after it would sew a design with a hole in it.
    if (card.SaveDesign(piece, CardDestination(choice.openSaveFolder), name + "#" + std::to_string(pieceNo)) != 1) {
      allSaved = false;
      break;
    }
    ++designs;
  }
  card.Flush();
  if (allSaved) hugeTag = NextHugeTag(tag);
  return allSaved;
}

}  // namespace digitizer
