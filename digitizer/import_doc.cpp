#include "digitizer/import_doc.h"

#include <algorithm>
#include <cctype>

#include "design/hoop.h"
#include "digitizer/pictorel_message.h"
#include "platform/file_io.h"
#include "platform/profile.h"

namespace digitizer {

namespace {

constexpr const char* kSettingsSection = "Settings";
constexpr const char* kPreviewKey = "Preview";
constexpr const char* kFolderSection = "Design Path";
constexpr const char* kReplaceQuestionTail = "\nThis file already exists.\n\nReplace existing file?";
constexpr const char* kWrittenPicturesList = "outlines.lst";

// A message about one file: its name, then the text.
void ShowFileMessage(const std::filesystem::path& path, const char* text) {
  platform::MessageBox(nullptr, path.string() + "\n" + text, kPictorelCaption,
                       platform::kMbOk | platform::kMbIconExclamation);
}

std::string LowerExtension(const std::filesystem::path& path) {
  std::string ext = path.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

}  // namespace

CImportDoc::CImportDoc(std::filesystem::path programFolder, const std::filesystem::path& workFolder)
    : programFolder_(std::move(programFolder)),
      writtenPictures_(workFolder.empty() ? workFolder : workFolder / kWrittenPicturesList) {
  preview_ = platform::Profile(kProgram).GetInt(kSettingsSection, kPreviewKey, 1) != 0;
}

CImportDoc::~CImportDoc() {
  platform::Profile(kProgram).WriteInt(kSettingsSection, kPreviewKey, preview_ ? 1 : 0);
}

bool CImportDoc::OnNewDocument() {
  StartFreshDesign();
  pictureState_ = kNoPictureToTrace;
  saveStage_ = 0;
  imported_.Empty();
  clipart_.Clear();
  return true;
}

void CImportDoc::StartFreshDesign() {
  contents_ = kContentsNone;
  outline_.Empty();
  design_.Clear();
  design_.ClearParts();
  design_.SetEditState(kNothingMade);
  path_.clear();
  designPath_.clear();
  ownedFiles_.clear();
  title_ = kUntitled;
}

bool CImportDoc::ReadPictureFile(const std::filesystem::path& path, CDib& picture) {
  std::error_code fileError;
  if (picture.ReadFile(path, fileError)) return true;
  ShowFileMessage(path, platform::IsNotFound(fileError) ? kNotFoundText : kDefectiveMessage);
  return false;
}

bool CImportDoc::OnOpenDocument(const std::filesystem::path& path) {
  const std::string ext = LowerExtension(path);
  if (ext == ".bmp") {
    CDib picture;
    if (!ReadPictureFile(path, picture)) return false;
    OnNewDocument();
    outline_ = std::move(picture);
    contents_ = kContentsPicture;
    return true;
  }
  if (ext != ".qnf") {
    ShowFileMessage(path, kDefectiveMessage);
    return false;
  }
  std::vector<uint8_t> file;
  if (const std::error_code fileError = CStitchDesign::ReadFileBytes(path, file)) {
    if (platform::IsNotFound(fileError)) {
      ShowFileMessage(path, kNotFoundText);
    } else {
      ShowPictorelMessage(kStitchFileReadError);
    }
    return false;
  }
  // The design is read once on its own first: a defective file must not cost the user the
  // document on the screen.
  {
    CStitchDesign trial;
    if (trial.Read(file) == 0) {
      const char* message = ReadErrorMessage(trial.Error());
      ShowPictorelMessage(message ? message : kDefectiveMessage);
      return false;
    }
  }
  // A missing or unreadable outline picture leaves the design open on its own.
  CDib picture;
  const bool pictureRead = ReadPictureFile(OutlinePath(path), picture);
  OnNewDocument();
  design_.Read(file);
  contents_ = kContentsDesign;
  if (pictureRead) {
    outline_ = std::move(picture);
    contents_ = kContentsBoth;
  }
  return true;
}

const char* CImportDoc::ReadErrorMessage(int error) {
  if (error == kDesignOk) return nullptr;
  return error == kDesignTooManyStitchesOnRead ? kStitchLimitMessage : kDefectiveMessage;
}

bool CImportDoc::OpenDesignFile(const std::filesystem::path& path) {
  if (!OnOpenDocument(path)) return false;
  path_ = path;
  designPath_ = path;
  // The picture beside the design is its own outline picture, read with it or made for it.
  ownedFiles_ = {path, OutlinePath(path)};
  title_ = path.filename().string();
  return true;
}

bool CImportDoc::SaveNeedsName() const { return designPath_.empty() || path_ != designPath_; }

bool CImportDoc::OwnsFile(const std::filesystem::path& path) const {
  const std::filesystem::path wanted = path.lexically_normal();
  return std::any_of(ownedFiles_.begin(), ownedFiles_.end(),
                     [&](const std::filesystem::path& owned) { return owned.lexically_normal() == wanted; });
}

std::filesystem::path CImportDoc::SaveTargetPath(const std::filesystem::path& path) {
  if (path.empty()) return std::filesystem::path(std::string(kUntitled) + ".qnf");
  const std::string ext = LowerExtension(path);
  if (ext == ".bmp" || ext == ".qnf") return path;
  std::filesystem::path target = path;
  if (ext == ".wmf") return target.replace_extension(".qnf");
  target += ".qnf";
  return target;
}

std::filesystem::path CImportDoc::OutlinePath(const std::filesystem::path& designPath) {
  std::filesystem::path outline = designPath;
  return outline.replace_extension(".bmp");
}

bool CImportDoc::WriteTogether(std::span<const platform::FileToWrite> files) {
  std::filesystem::path failed;
  if (!platform::WriteFilesTogether(files, &failed)) return true;
  ShowFileMessage(failed, kWriteError);
  return false;
}

SaveOutcome CImportDoc::OnSaveDocument(const std::filesystem::path& path, OutlineSource& view,
                                       const std::filesystem::path& confirmed) {
  const std::filesystem::path target = SaveTargetPath(path);
  // Asks before a file this design does not own is replaced; false when the user refuses.
  // The user is asked once for a file: not again for the one the file dialog asked about.
  auto mayReplace = [&](const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::exists(file, error) || OwnsFile(file)) return true;
    if (!confirmed.empty() && file.lexically_normal() == confirmed.lexically_normal()) return true;
    if (writtenPictures_.Wrote(file)) return true;
    return platform::MessageBox(nullptr, file.string() + kReplaceQuestionTail, kProgram,
                                platform::kMbYesNo | platform::kMbIconExclamation) == platform::kIdYes;
  };
  if (LowerExtension(target) == ".bmp") {
    if (!mayReplace(target)) return SaveOutcome::kRefused;
    const std::vector<uint8_t> picture = outline_.FileImage();
    if (picture.empty()) {
      ShowFileMessage(target, kWriteError);
      return SaveOutcome::kFailed;
    }
    saveStage_ = 2;
    const bool written = WriteTogether({{{target, picture}}});
    saveStage_ = 0;
    if (!written) return SaveOutcome::kFailed;
    ownedFiles_.push_back(target);
    writtenPictures_.Note(target);
    return SaveOutcome::kSaved;
  }
  saveStage_ = 1;
  std::vector<uint8_t> designBytes;
  const bool built = design_.Write(designBytes) != 0;
  saveStage_ = 0;
  // No stitches, or more than a file carries: nothing can be written under this name.
  if (!built) {
    ShowFileMessage(target, kWriteError);
    return SaveOutcome::kFailed;
  }
  const std::filesystem::path outlinePath = OutlinePath(target);
  const bool hasOutline = view.PrepareOutline(outline_);
  if (!mayReplace(target) || (hasOutline && !mayReplace(outlinePath))) return SaveOutcome::kRefused;
  saveStage_ = 2;
  const std::vector<uint8_t> picture = hasOutline ? outline_.FileImage() : std::vector<uint8_t>();
  std::vector<platform::FileToWrite> files{{target, designBytes}};
  if (!picture.empty()) files.push_back({outlinePath, picture});
  const bool written = WriteTogether(files);
  saveStage_ = 0;
  if (!written) return SaveOutcome::kFailed;
  path_ = target;
  designPath_ = target;
  ownedFiles_ = {target, outlinePath};
  title_ = target.filename().string();
  // The document now holds the design of its file, and with the picture beside it both, as
  // after opening that pair.
  contents_ |= kContentsDesign;
  if (!picture.empty()) {
    contents_ |= kContentsPicture;
    writtenPictures_.Note(outlinePath);
  }
  return SaveOutcome::kSaved;
}

bool CImportDoc::ReadBmp(const std::filesystem::path& path, CDib& picture) {
  std::error_code fileError;
  if (picture.ReadFile(path, fileError)) return true;
  ShowPictorelMessage(kBmpReadError);
  return false;
}

bool CImportDoc::OpenSewDesign(const std::filesystem::path& sewPath, std::unique_ptr<design::StitchRecord> record,
                               bool largeHoop) {
  if (!record || record->StitchRoom() != design::StitchRecord::kPictorelStitchRoom) {
    RejectSewFile();
    return false;
  }
  // A missing picture leaves the stitches on their own, after its message.
  CDib picture;
  const bool pictureRead = ReadPictureFile(OutlinePath(sewPath), picture);
  OnNewDocument();
  if (pictureRead) {
    outline_ = std::move(picture);
    contents_ = kContentsPicture;
  }
  design_.SetHoop(largeHoop ? design::kLargeHoop : design::kStandardHoop);
  path_ = sewPath;
  title_ = sewPath.filename().string();
  design_.AttachStitches(std::move(record));
  contents_ |= kContentsDesign;
  return true;
}

void CImportDoc::RejectSewFile() { ShowPictorelMessage(kDefectiveMessage); }

bool CImportDoc::ReadWmf(const std::filesystem::path& path, CClipart& clipart) {
  std::error_code fileError;
  if (clipart.ReadPlaceableFile(path, fileError)) return true;
  // A malformed metafile has shown its own message already.
  if (fileError) ShowPictorelMessage(kWmfReadError);
  return false;
}

bool CImportDoc::ImportPicture(const std::filesystem::path& path) {
  const std::string ext = LowerExtension(path);
  if (ext == ".wmf") {
    CClipart clipart;
    if (!ReadWmf(path, clipart)) return false;
    OnNewDocument();
    clipart_ = std::move(clipart);
    pictureState_ = kClipartToTrace;
  } else if (ext == ".bmp") {
    CDib picture;
    if (!ReadBmp(path, picture)) return false;
    OnNewDocument();
    imported_ = std::move(picture);
    pictureState_ = kBitmapToTrace;
  } else {
    ShowFileMessage(path, kDefectiveMessage);
    return false;
  }
  title_ = path.filename().string();
  return true;
}

std::string CImportDoc::Title() const {
  if (contents_ != kContentsBoth) return title_;
  return std::filesystem::path(title_).replace_extension().string();
}

std::filesystem::path CImportDoc::StartFolder(const char* key) const {
  return platform::Profile(kProgram).GetString(kFolderSection, key, programFolder_.string());
}

void CImportDoc::StoreFolder(const char* key, const std::filesystem::path& chosenFile) const {
  platform::Profile(kProgram).WriteString(kFolderSection, key, chosenFile.parent_path().string());
}

}  // namespace digitizer
