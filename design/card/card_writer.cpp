#include "design/card/card_writer.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <list>
#include <string_view>

#include "design/card/card_messages.h"
#include "design/qnf_file.h"
#include "platform/file_io.h"
#include "platform/volumes.h"

namespace card {

namespace fs = std::filesystem;

namespace {

// The design folder's name in the card's root; none for the root itself.
const char* DesignFolderName(int destination) {
  if (destination == kDestinationAtaCard) return kPcLinkFolder;
  if (destination == kDestinationAtaCardFolder) return kOpenSaveFolder;
  return nullptr;
}

}  // namespace

fs::path CardFolder(const fs::path& drive, int destination) {
  const char* folder = DesignFolderName(destination);
  return folder ? drive / folder : drive;
}

std::string CardFileName(const std::string& designName) {
  std::string name = designName;
  std::replace(name.begin(), name.end(), ' ', '_');
  return name + ".qnf";
}

bool IsCardDesignFile(const fs::directory_entry& entry) {
  std::error_code error;
  if (!entry.is_regular_file(error)) return false;
  std::string extension = entry.path().extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".qnf";
}

std::vector<fs::path> ListCardDesigns(const fs::path& folder) {
  std::vector<fs::path> designs;
  std::error_code error;
  fs::directory_iterator it(folder, error);
  if (error) return designs;
  for (const fs::directory_entry& entry : it) {
    if (IsCardDesignFile(entry)) designs.push_back(entry.path());
  }
  std::sort(designs.begin(), designs.end());
  return designs;
}

int CountCardDesigns(const fs::path& folder) {
  return static_cast<int>(ListCardDesigns(folder).size());
}

CCardWriter::~CCardWriter() = default;

namespace {

std::error_code NotOnTheCard() { return std::make_error_code(std::errc::no_such_file_or_directory); }

// A name is one file of the design folder: a name that would reach out of it (a user's typed
// "../x" or "a/b") is refused before anything is made.
bool IsPlainFileName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(std::string_view("/\0", 2)) == std::string::npos;
}

// The design folder of the card that was checked, held open while designs are written into
// it: each goes to a temporary file made in that folder, and all go in place by renames within
// it, so whatever is mounted at the folder's path meanwhile takes nothing. What is not put in
// place is removed with the stage, from that folder only.
class CardFolderStage {
 public:
  CardFolderStage(CardVolumes& volumes, const CardDrive& drive)
      : volumes_(volumes), drive_(drive) {}

  std::error_code Open(int destination) {
    if (std::error_code error = CheckCardDrive(volumes_, drive_)) return error;
    platform::FolderHandle root;
    if (root.Open(drive_.mountPoint) || volumes_.FileSystemOf(root.Descriptor(), card_) ||
        card_.device != drive_.fileSystemId) {
      return NotOnTheCard();  // what stands at the mount point now is not the card checked
    }
    const char* name = DesignFolderName(destination);
    if (!name) {
      folder_ = std::move(root);
      return {};
    }
    bool made = false;
    if (std::error_code error = folder_.OpenOrMake(root, name, made)) return error;
    if (!IsOnTheCard(folder_.Descriptor())) {
      folder_ = {};
      if (made) (void)root.RemoveFolder(name);
      return NotOnTheCard();
    }
    return {};
  }

  // Writes one design to a temporary file of the folder, its bytes flushed to the card.
  std::error_code Stage(const CardDesign& design, const std::function<void()>& beforeCreate) {
    if (std::error_code error = StillTheCard()) return error;
    beforeCreate();
    Staged& staged = staged_.emplace_back();
    staged.name = CardFileName(design.name);
    std::error_code error = staged.file.CreateIn(folder_, staged.name);
    if (!error && !IsOnTheCard(staged.file.Descriptor())) error = NotOnTheCard();
    if (!error) error = staged.file.Write(design.image);
    if (!error) error = staged.file.Flush();
    return error;
  }

  // Puts every staged design in place, after one more look at the card and at each file. The
  // designs are one whole: when one cannot go in place (a full card's FAT finds no room for a
  // new name), those already in place are taken out again and the files they replaced come
  // back, so the card is as it was.
  std::error_code Commit() {
    std::error_code error = StillTheCard();
    for (Staged& staged : staged_) {
      if (!error && !IsOnTheCard(staged.file.Descriptor())) error = NotOnTheCard();
    }
    if (error) return error;
    // The files of these names stay whole beside them until every design is in place. A folder
    // of such a name stays where it is: no file goes in its place anyway.
    for (auto staged = staged_.begin(); staged != staged_.end() && !error; ++staged) {
      error = folder_.MoveAside(staged->name, staged->aside);
      if (platform::IsNotFound(error) || error == std::errc::is_a_directory) error = {};
    }
    std::size_t placed = 0;
    for (Staged& staged : staged_) {
      if (error || (error = staged.file.Close())) break;
      ++placed;
    }
    if (!error) {
      for (const Staged& staged : staged_) {
        if (!staged.aside.empty()) (void)folder_.RemoveFile(staged.aside);
      }
      return {};
    }
    // All placed designs go before any older file comes back: a batch naming one file twice
    // would otherwise take the older file again.
    for (auto staged = staged_.begin(); placed > 0; ++staged, --placed) (void)folder_.RemoveFile(staged->name);
    for (const Staged& staged : staged_) {
      if (!staged.aside.empty()) (void)folder_.Rename(staged.aside, staged.name);
    }
    return error;
  }

  // Removes the temporaries of the designs not put in place.
  void Discard() { staged_.clear(); }

  // Removes the plain files of the folder that pick chooses by name and header, but none just
  // written, and only while the folder is still on the card in the drive. Each header is read
  // from the folder held, as the card has it.
  void RemoveFiles(const CardFilePick& pick) {
    std::vector<std::string> names;
    if (StillTheCard() || folder_.List(names)) return;
    std::vector<uint8_t> head;
    for (const std::string& name : names) {
      const bool written = std::any_of(staged_.begin(), staged_.end(),
                                       [&](const Staged& s) { return s.name == name; });
      if (written || folder_.ReadFileHead(name, head, design::kQnfHeaderSize)) continue;
      if (pick(name, head)) (void)folder_.RemoveFile(name);
    }
  }

 private:
  struct Staged {
    std::string name;
    platform::OutputFile file;
    std::string aside;  // where the file it replaces waits until all are in place
  };

  bool IsOnTheCard(int fd) {
    platform::FileSystemIdentity identity;
    return !volumes_.FileSystemOf(fd, identity) && identity == card_;
  }

  // The drive still holds the card that was checked, and the folder held lies on it.
  std::error_code StillTheCard() {
    if (std::error_code error = CheckCardDrive(volumes_, drive_)) return error;
    return IsOnTheCard(folder_.Descriptor()) ? std::error_code() : NotOnTheCard();
  }

  CardVolumes& volumes_;
  const CardDrive& drive_;
  platform::FileSystemIdentity card_;
  platform::FolderHandle folder_;
  std::list<Staged> staged_;  // a file being written stays where it was made
};

}  // namespace

int CCardWriter::SaveDesign(std::span<const uint8_t> image, int destination, CardVolumes& volumes,
                            const CardDrive& drive, const std::string& name,
                            platform::WindowHandle owner) const {
  const CardDesign design{image, name};
  return SaveDesigns(std::span(&design, 1), destination, volumes, drive, owner);
}

int CCardWriter::SaveDesigns(std::span<const CardDesign> designs, int destination, CardVolumes& volumes,
                             const CardDrive& drive, platform::WindowHandle owner,
                             const CardFilePick& removeAfter) const {
  if (!std::all_of(designs.begin(), designs.end(),
                   [](const CardDesign& d) { return IsPlainFileName(d.name); })) {
    platform::MessageBox(owner, kFileErrorText, kErrorCaption, platform::kMbOk | platform::kMbIconError);
    return 0;
  }
  CardFolderStage stage(volumes, drive);
  std::error_code error = stage.Open(destination);
  for (const CardDesign& design : designs) {
    if (error) break;
    error = stage.Stage(design, [this] { BeforeCreate(); });
  }
  if (!error) error = stage.Commit();
  if (error) {
    // Only files this write made are removed, never one it could not open.
    stage.Discard();
    ShowCardWriteError(owner, error);
    return 0;
  }
  if (removeAfter) stage.RemoveFiles(removeAfter);
  return 1;
}

void ShowCardWriteError(platform::WindowHandle owner, const std::error_code& error) {
  // No card in the slot leaves no folder to write into.
  platform::MessageBox(owner, platform::IsNotFound(error) ? kSaveFailedText : kFileErrorText,
                       kErrorCaption, platform::kMbOk | platform::kMbIconError);
}

void FlushCardDrive(CardVolumes& volumes, const fs::path& drive) { volumes.Flush(drive); }

}  // namespace card
