#include "design/card/card_writer.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "design/card/card_messages.h"
#include "platform/file_io.h"
#include "platform/volumes.h"

namespace card {

namespace fs = std::filesystem;

fs::path CardFolder(const fs::path& drive, int destination) {
  if (destination == kDestinationAtaCard) return drive / kPcLinkFolder;
  if (destination == kDestinationAtaCardFolder) return drive / kOpenSaveFolder;
  return drive;
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

// The design folder on the drive's own volume: made when missing, and refused (not found)
// when it turns out to lie elsewhere, as when the card went between the check and the mkdir.
std::error_code DesignFolderOnVolume(const fs::path& folder, uint64_t fileSystemId) {
  std::error_code ignored;
  const bool made = !fs::is_directory(folder, ignored) && fs::create_directory(folder, ignored);
  uint64_t id = 0;
  if (!platform::FileSystemIdOf(folder, id) && id == fileSystemId) return {};
  if (made) fs::remove(folder, ignored);
  return std::make_error_code(std::errc::no_such_file_or_directory);
}

}  // namespace

int CCardWriter::SaveDesign(std::span<const uint8_t> image, int destination, CardVolumes& volumes,
                            const CardDrive& drive, const std::string& name,
                            platform::WindowHandle owner) const {
  // A name is one file of the design folder: a name that would reach out of it (a user's
  // typed "../x" or "a/b") is refused before anything is made.
  if (name.empty() || name == "." || name == ".." ||
      name.find_first_of(std::string_view("/\0", 2)) != std::string::npos) {
    platform::MessageBox(owner, kFileErrorText, kErrorCaption,
                         platform::kMbOk | platform::kMbIconError);
    return 0;
  }
  const fs::path folder = CardFolder(drive.mountPoint, destination);
  std::error_code error = CheckCardDrive(volumes, drive);
  if (!error) error = DesignFolderOnVolume(folder, drive.fileSystemId);
  if (!error) {
    platform::OutputFile file;
    error = file.Create(folder / CardFileName(name));
    if (!error) {
      error = file.Write(image);
      if (!error) error = file.Close();
      if (!error) return 1;
      file.Discard();  // only a file this write made is removed, never one it could not open
    }
  }
  ShowCardWriteError(owner, error);
  return 0;
}

void ShowCardWriteError(platform::WindowHandle owner, const std::error_code& error) {
  // No card in the slot leaves no folder to write into.
  platform::MessageBox(owner, platform::IsNotFound(error) ? kSaveFailedText : kFileErrorText,
                       kErrorCaption, platform::kMbOk | platform::kMbIconError);
}

void FlushCardDrive(CardVolumes& volumes, const fs::path& drive) { volumes.Flush(drive); }

}  // namespace card
