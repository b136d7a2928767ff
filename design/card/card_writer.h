#pragma once

// Writing designs onto the ATA PC card. The machine looks for designs in one folder of the
// card's root: "PC_Link" for designs sent from the PC, "EMB_FILE" for its own Open/Save
// folder. Each design is one file named after the design, blanks made '_', with the
// extension ".qnf", holding the QNF image up to its end pair. A folder takes 100 designs.

#include <cstdint>
#include <filesystem>
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

// Made on the stack around a write.
class CCardWriter {
 public:
  virtual ~CCardWriter();

  // Writes image into the destination folder of the card in drive as the file of name.
  // First makes sure the drive is still the card it was when chosen (CheckCardDrive): the
  // folder is created only on that volume, never in a mount point left behind on the PC's
  // own disk. Returns 1 when the file was written whole, else 0 after one message: the card
  // missing ("Failed to save a design. ...") or any other cause, a write-protected card
  // included (the file error); a partial file is deleted. A name that is not one plain file
  // name (empty, "." or "..", or holding '/' or NUL) is refused with the file error.
  int SaveDesign(std::span<const uint8_t> image, int destination, CardVolumes& volumes,
                 const CardDrive& drive, const std::string& name,
                 platform::WindowHandle owner = nullptr) const;
};

// The writer's message for a write that failed with error: the card missing ("Failed to save
// a design. ...") for not found, else the file error (a write-protected card among them).
void ShowCardWriteError(platform::WindowHandle owner, const std::error_code& error);

// Pushes the drive's buffers out so that the card can be pulled.
void FlushCardDrive(CardVolumes& volumes, const std::filesystem::path& drive);

}  // namespace card
