#pragma once

// Writing designs onto the ATA PC card. The machine looks for designs in one folder of the
// card's root: "PC_Link" for designs sent from the PC, "EMB_FILE" for its own Open/Save
// folder. Each design is one file named after the design, blanks made '_', with the
// extension ".qnf", holding the QNF image up to its end pair. A folder takes 100 designs.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "design/card/card_drives.h"
#include "design/card/card_volumes.h"
#include "link/link_types.h"
#include "platform/message_box.h"

namespace card {

inline constexpr const char* kPcLinkFolder = "PC_Link";
inline constexpr const char* kOpenSaveFolder = "EMB_FILE";
constexpr int kMaxCardDesigns = 100;

// The design folder of the card in drive for a destination: kDestinationAtaCard
// "PC_Link", kDestinationAtaCardFolder "EMB_FILE", the card's root for any other.
std::filesystem::path CardFolder(const std::filesystem::path& drive, int destination);

// "<name with blanks as '_'>.qnf".
std::string CardFileName(const std::string& designName);

// A design file of a card folder: a regular file whose extension is ".qnf" in any case
// (the card's file system does not keep case apart).
bool IsCardDesignFile(const std::filesystem::directory_entry& entry);
// The design files of a folder in name order; none when the folder is missing.
std::vector<std::filesystem::path> ListCardDesigns(const std::filesystem::path& folder);
int CountCardDesigns(const std::filesystem::path& folder);

// One design of a write that puts several onto the card together.
struct CardDesign {
  std::span<const uint8_t> image;
  std::string name;
};

// Picks a file of the card's design folder by its name and its first bytes (the QNF header's
// length, fewer for a shorter file).
using CardFilePick = std::function<bool(const std::string& fileName, std::span<const uint8_t> head)>;

// Made on the stack around a write.
class CCardWriter {
 public:
  virtual ~CCardWriter();

  // Writes image into the destination folder of the card in drive as the file of name.
  // First makes sure the drive is still the card it was when chosen (CheckCardDrive); the
  // folder is then opened (created when missing) on that volume and held, and the file is
  // made, checked and renamed within it: nothing lands in a mount point left behind on the
  // PC's own disk, even when the card goes after the check. Returns 1 when the file was
  // written whole, else 0 after one message: the card missing ("Failed to save a design.
  // ...") or any other cause, a write-protected card included (the file error); a partial
  // file is deleted. A name that is not one plain file name (empty, "." or "..", or holding
  // '/' or NUL) is refused with the file error.
  int SaveDesign(std::span<const uint8_t> image, int destination, CardVolumes& volumes,
                 const CardDrive& drive, const std::string& name,
                 platform::WindowHandle owner = nullptr) const;

  // Writes every design into the destination folder of the card in drive, all or none, as
  // SaveDesign writes one: the folder is opened once on the volume that was checked and held,
  // each design is written whole to a temporary file made in it, and only when all are written
  // are they renamed into place within it, the files they replace moved aside in it until all
  // are in place. The card is checked again before each design and before the renames, and each
  // file's file system is checked too. Then the plain files of the folder that removeAfter
  // picks (never one just written) are removed, from that card only. Returns 1 when every design
  // was written, else 0 after one message, with the card as it was: the temporaries and the
  // designs already in place are removed, and the files they replaced are back.
  int SaveDesigns(std::span<const CardDesign> designs, int destination, CardVolumes& volumes,
                  const CardDrive& drive, platform::WindowHandle owner = nullptr,
                  const CardFilePick& removeAfter = {}) const;

 protected:
  // Called after the card and its design folder were checked, before each design's file is
  // made: the instant at which a test takes the card away.
  virtual void BeforeCreate() const {}
};

// The writer's message for a write that failed with error: the card missing ("Failed to save
// a design. ...") for not found, else the file error (a write-protected card among them).
void ShowCardWriteError(platform::WindowHandle owner, const std::error_code& error);

// Pushes the drive's buffers out so that the card can be pulled.
void FlushCardDrive(CardVolumes& volumes, const std::filesystem::path& drive);

}  // namespace card
