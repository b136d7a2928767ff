#include "digitizer/pictorel_send_card.h"

#include <cctype>
#include <string>
#include <vector>

#include "design/card/card_names.h"
#include "design/card/card_writer.h"
#include "digitizer/pictorel_send.h"
#include "digitizer/pictorel_send_piece.h"
#include "link/link_types.h"
#include "platform/file_io.h"
#include "platform/le_bytes.h"

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

int CardDrivePictorelCard::SavePieces(std::span<const std::vector<uint8_t>> pieces, int destination,
                                      const std::string& name) {
  std::vector<card::CardDesign> designs;
  for (std::size_t k = 0; k < pieces.size(); ++k) designs.push_back({pieces[k], CardPieceName(name, k + 1)});
  // An older split of the same name may have had more pieces: those past the new ones would
  // stand beside them as if they belonged to it.
  return card::CCardWriter().SaveDesigns(designs, destination, volumes_, drive_, owner_,
                                         [&](const std::string& fileName, std::span<const uint8_t> head) {
                                           return IsLaterCardPiece(fileName, head, name, pieces.size());
                                         });
}

void CardDrivePictorelCard::Flush() { card::FlushCardDrive(volumes_, drive_.mountPoint); }

std::string CardPieceName(const std::string& name, std::size_t number) { return name + "#" + std::to_string(number); }

bool IsLaterCardPiece(const std::string& fileName, std::span<const uint8_t> head, const std::string& name,
                      std::size_t count) {
  // The card keeps no case apart: "ROSE#3.QNF" is the third piece of "rose" there. A blank
  // stays a blank in a file's name; the writer never makes one.
  if (fileName.find(' ') != std::string::npos) return false;
  const std::string key = card::CardNameKey(fileName);
  const std::string stem = card::CardNameKey(name) + "#";  // the card file's name, blanks as '_'
  const std::size_t extension = sizeof kCardExtension - 1;
  if (key.size() <= stem.size() + extension || !key.starts_with(stem) || !key.ends_with(kCardExtension)) return false;
  const std::string number = key.substr(stem.size(), key.size() - stem.size() - extension);
  constexpr std::size_t kMostDigits = 9;
  if (number.size() > kMostDigits || number[0] == '0' ||
      number.find_first_not_of("0123456789") != std::string::npos) {
    return false;
  }
  const unsigned long k = std::stoul(number);
  // Only a file cut as that very piece goes: a design of the user's that merely bears such a
  // name stays. A piece's header carries the piece flags, then the split's tag and its number
  // after the date's digits.
  if (k <= count || head.size() <= kPieceNumberAt) return false;
  return platform::ReadI32(head.data() + design::qnf_offset::kFlags) == kPieceFlags && head[kPieceTagAt] >= '1' &&
         head[kPieceTagAt] <= '9' && head[kPieceNumberAt] == k;
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
  // The longest piece name is the last one's.
  if (!CheckCardFileName(CardPieceName(name, pieces.size()), choice.openSaveFolder, owner)) return false;
  if (choice.designsFound + static_cast<int>(pieces.size()) > card::kMaxCardDesigns) {
    platform::MessageBox(owner, kCardFullText, kAttentionCaption, platform::kMbOk | platform::kMbIconError);
    return false;
  }
  // The writer says why when the pieces could not all be written.
  const bool saved = card.SavePieces(pieces, CardDestination(choice.openSaveFolder), name) == 1;
  card.Flush();
  if (saved) hugeTag = NextHugeTag(tag);
  return saved;
}

}  // namespace digitizer
