#pragma once

// The layout's designs as temporary QNF files for the machine or the card: one file per
// design in the program's work folder, named after the layout and the send letter, and the
// transfer list file "SendQnf.lst" (one 260-byte path record per design) that names them.
// The files live only as long as the batch: the link and the card writer read them while
// their dialogs run, and the batch deletes them afterwards.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "design/stitch_record.h"
#include "layoutcore/design_object.h"

namespace editor {

constexpr char kSendListName[] = "SendQnf.lst";
constexpr char kUntitledLayout[] = "Untitled";
// At most this many characters of the layout's name go into a design's file name.
constexpr std::size_t kMaxSendTitleChars = 250;

// The send letter lives in the profile as a character code; none stored reads as 'z'.
constexpr char kSendLetterSection[] = "Project";
constexpr char kSendLetterKey[] = "Name";
constexpr int kDefaultStoredLetter = 'z';

// The letter of the next batch: the stored letter + 1, or 'a' after 'z' and after
// anything that is not a letter a..y (a damaged profile value starts the round again).
char NextSendLetter(int storedLetter);

// The layout's file name without folder and extension, "Untitled" for a layout never
// saved (or whose name is empty), cut to its first 250 bytes, never inside a character.
std::string SendTitle(const std::string& layoutPath);

// "<title><kk>#<letter>.qnf": kk is the 1-based file number, two digits at least.
std::string TempDesignFileName(const std::string& title, int fileNo, char letter);

// A title short enough that every file of a batch of count designs in folder has a path
// that fits a list record with its NUL. Cut at a character boundary, never inside a
// multi-byte character. Nothing when the folder leaves no room for a file name at all.
std::optional<std::string> FitTitleToRecord(const std::filesystem::path& folder, const std::string& title,
                             int count, char letter);

class TempDesignBatch {
 public:
  TempDesignBatch() = default;
  // Deletes whatever the batch still has on disk.
  ~TempDesignBatch();
  TempDesignBatch(const TempDesignBatch&) = delete;
  TempDesignBatch& operator=(const TempDesignBatch&) = delete;

  // Writes the list in folder and one file per design; designs are in layout order (head
  // on top), and the design at the tail becomes file 01. hoopKind 2 is the large hoop.
  // When the list cannot be created no design file is written, but the list's path is
  // still given, so that its reader reports it missing.
  void Write(const std::filesystem::path& folder, const std::string& title,
             const std::vector<const DesignObject*>& designs, char letter, int hoopKind);

  const std::filesystem::path& ListPath() const { return listPath_; }
  // The design files, file 01 first.
  const std::vector<std::filesystem::path>& DesignPaths() const { return designPaths_; }

  // Deletes the list and the design files (the last first).
  void Remove();

 private:
  std::filesystem::path listPath_;
  bool listMade_ = false;  // only a list this batch made is deleted
  std::vector<std::filesystem::path> designPaths_;
};

}  // namespace editor
