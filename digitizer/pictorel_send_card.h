#pragma once

// Write a Design of the picture digitizer onto the ATA PC card: the design whole when it
// fits the machine's limit, else its pieces one by one as "<name>#<k>", all in the folder
// the card dialog chose.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "design/card/card_drives.h"
#include "design/card/card_volumes.h"
#include "digitizer/pictorel_message.h"
#include "digitizer/stitch_design.h"
#include "platform/message_box.h"

namespace digitizer {

inline constexpr std::size_t kMaxOpenSaveNameChars = 32;
inline constexpr char kCardSplitText[] =
    "The stitch data that exceeded the stitch count limit for HV7000\n will automatically be divided and "
    "saved into the ATA PC card.";
inline constexpr char kCannotDivideCardText[] =
    "The design cannot be divided or saved if it contains a color part (layers) of which stitch count "
    "exceeds the limit.";
inline constexpr char kWriteErrorCaption[] = "Write Error";
inline constexpr char kCardFullText[] = "100 designs have been registered.\nNo more design can be registered.";
inline constexpr char kFileNameErrorCaption[] = "File Name Error";

// The card writer as the frame uses it: one design written into the chosen folder of the
// chosen drive (1 when written whole, else 0 after its own message), the pieces of a split
// written all or none, and the drive flushed.
class PictorelCard {
 public:
  virtual ~PictorelCard() = default;
  virtual int SaveDesign(std::span<const uint8_t> image, int destination, const std::string& name) = 0;
  // Writes the pieces as "<name>#1", "<name>#2", ... all or none: 1 when every one is on the
  // card, the pieces of an older split of that name numbered past them removed; else 0 after
  // one message, with the card as it was.
  virtual int SavePieces(std::span<const std::vector<uint8_t>> pieces, int destination, const std::string& name) = 0;
  virtual void Flush() = 0;
};

// "<name>#<number>": the name of a piece of a split, numbered from 1.
std::string CardPieceName(const std::string& name, std::size_t number);
// Whether fileName, whose first bytes are head, is the card file of a piece of name numbered
// past count: named as the card compares names (blanks as '_', case ignored) "<name>#<k>.qnf"
// with k > count written without leading zeros, and its header marked as piece k of a split
// (the piece flags, a tag '1'..'9' and the number k in date bytes 22 and 23). A file too short
// to tell is no piece.
bool IsLaterCardPiece(const std::string& fileName, std::span<const uint8_t> head, const std::string& name,
                      std::size_t count);

// The card writer on a drive of the machine's card, held to the volume mounted there when
// the dialog chose it: a card pulled meanwhile takes nothing, and nothing is removed from
// whatever took its place.
class CardDrivePictorelCard : public PictorelCard {
 public:
  CardDrivePictorelCard(card::CardVolumes& volumes, const std::filesystem::path& drive, platform::WindowHandle owner)
      : volumes_(volumes), drive_(card::FindCardDrive(volumes, drive)), owner_(owner) {}
  int SaveDesign(std::span<const uint8_t> image, int destination, const std::string& name) override;
  int SavePieces(std::span<const std::vector<uint8_t>> pieces, int destination, const std::string& name) override;
  void Flush() override;

 private:
  card::CardVolumes& volumes_;
  card::CardDrive drive_;
  platform::WindowHandle owner_;
};

// What the card dialog chose.
struct CardWriteChoice {
  bool openSaveFolder = false;  // "EMB_FILE" rather than "PC_Link"
  std::string name;             // as typed, maybe with ".qnf"
  int designsFound = 0;         // design files already in the folder
};

inline constexpr char kNoDriveText[] = "The Card drive is not selected.\nSelect the ATA PC Card's drive.";
inline constexpr char kFolderFullText[] = "100 designs are already registered.\nNo design can be registered.";

enum class CardDialogOutcome { kStay, kCancelled, kWrite };

// Write in the card dialog: no drive chosen keeps the dialog open; a folder already holding
// 100 designs cancels it; else the dialog ends with Write and designsFound holds the count.
CardDialogOutcome CheckCardDialogWrite(const std::optional<std::filesystem::path>& drive, bool openSaveFolder,
                                       int& designsFound, platform::WindowHandle owner = nullptr);

// The destination code of the chosen folder.
int CardDestination(bool openSaveFolder);
// The typed name without a ".qnf" extension (in any case); any other extension stays part of
// the name.
std::string CardDesignName(const std::string& typedName);
// False (after "File Name Error") when the Open/Save folder would get a name past 32 characters.
bool CheckCardFileName(const std::string& name, bool openSaveFolder, platform::WindowHandle owner);

// Writes the whole design (its pairs fit the machine's limit) under the chosen name. False
// when the name is refused or the design could not be written (said to the user).
bool WriteDesignToCard(CStitchDesign& design, PictorelCard& card, const CardWriteChoice& choice,
                       platform::WindowHandle owner = nullptr);

// Writes the design's pieces of at most limit pairs, each named "<name>#<k>". The dialog
// has already run (and the split been confirmed). Every piece is cut, and the names and the
// folder's room checked, before any is written; the pieces go onto the card all or none
// (PictorelCard::SavePieces). hugeTag steps on when all were saved. False when the design is
// not on the card (said to the user).
bool WritePiecesToCard(CStitchDesign& design, PictorelCard& card, const CardWriteChoice& choice, int32_t limit,
                       int& hugeTag, platform::WindowHandle owner = nullptr);

}  // namespace digitizer
