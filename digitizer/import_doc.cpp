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

std::string LowerExtension(const std::filesystem::path& path) {
  std::string ext = path.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

}  // namespace

CImportDoc::CImportDoc(std::filesystem::path programFolder) : programFolder_(std::move(programFolder)) {
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

bool CImportDoc::OnOpenDocument(const std::filesystem::path& path) {
  OnNewDocument();
  const std::string ext = LowerExtension(path);
  if (ext == ".qnf") {
    if (!design_.ReadFile(path)) return false;
    contents_ = kContentsDesign;
    // A design that read with an error is dropped at once; its picture is not looked for.
    if (design_.Error() != kDesignOk) return true;
    // A missing or unreadable outline picture leaves the design open on its own.
    if (outline_.Read(OutlinePath(path))) contents_ = kContentsBoth;
    return true;
  }
  if (ext == ".bmp") {
    if (!outline_.Read(path)) return false;
    contents_ = kContentsPicture;
    return true;
  }
  return false;
}

const char* CImportDoc::ReadErrorMessage(int error) {
  if (error == kDesignOk) return nullptr;
  return error == kDesignTooManyStitchesOnRead ? kStitchLimitMessage : kDefectiveMessage;
}

bool CImportDoc::OpenDesignFile(const std::filesystem::path& path) {
  if (!OnOpenDocument(path)) return false;
  if (const char* message = ReadErrorMessage(design_.Error())) {
    OnNewDocument();
    ShowPictorelMessage(message);
    return false;
  }
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

bool CImportDoc::OnSaveDocument(const std::filesystem::path& path, OutlineSource& view) {
  const std::filesystem::path target = SaveTargetPath(path);
  // Asks before a file this design does not own is replaced; false when the user refuses.
  auto mayReplace = [&](const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::exists(file, error) || OwnsFile(file)) return true;
    return platform::MessageBox(nullptr, file.string() + kReplaceQuestionTail, kProgram,
                                platform::kMbYesNo | platform::kMbIconExclamation) == platform::kIdYes;
  };
  if (LowerExtension(target) == ".bmp") {
    if (!mayReplace(target)) return false;
    saveStage_ = 2;
    const bool written = outline_.Write(target);
    saveStage_ = 0;
    if (written) ownedFiles_.push_back(target);
    return written;
  }
  if (!HasStitches()) return false;
  const std::filesystem::path outlinePath = OutlinePath(target);
  const bool hasOutline = view.PrepareOutline(outline_);
  if (!mayReplace(target) || (hasOutline && !mayReplace(outlinePath))) return false;
  saveStage_ = 1;
  const bool designWritten = design_.WriteFile(target);
  saveStage_ = 0;
  if (!designWritten) return false;
  path_ = target;
  designPath_ = target;
  ownedFiles_ = {target, outlinePath};
  title_ = target.filename().string();
  // A design without an outline picture is saved all the same.
  if (!hasOutline) return true;
  saveStage_ = 2;
  const bool pictureWritten = outline_.Write(outlinePath);
  saveStage_ = 0;
  if (pictureWritten) contents_ |= kContentsPicture;
  return pictureWritten;
}

bool CImportDoc::ReadBmp(const std::filesystem::path& path) {
  std::error_code fileError;
  if (!imported_.ReadFile(path, fileError)) {
    imported_.Empty();
    ShowPictorelMessage(kBmpReadError);
    return false;
  }
  pictureState_ = kBitmapToTrace;
  return true;
}

bool CImportDoc::OpenSewDesign(const std::filesystem::path& sewPath, std::unique_ptr<design::StitchRecord> record,
                               bool largeHoop) {
  if (!record || record->StitchRoom() != design::StitchRecord::kPictorelStitchRoom) {
    RejectSewFile();
    return false;
  }
  // A missing picture leaves the stitches on their own.
  OnOpenDocument(OutlinePath(sewPath));
  design_.SetHoop(largeHoop ? design::kLargeHoop : design::kStandardHoop);
  path_ = sewPath;
  title_ = sewPath.filename().string();
  design_.AttachStitches(std::move(record));
  contents_ |= kContentsDesign;
  return true;
}

void CImportDoc::RejectSewFile() {
  OnNewDocument();
  ShowPictorelMessage(kDefectiveMessage);
}

bool CImportDoc::ReadWmf(const std::filesystem::path& path) {
  std::error_code fileError;
  if (!clipart_.ReadPlaceableFile(path, fileError)) {
    // A malformed metafile has shown its own message already.
    if (fileError) {
      clipart_.Clear();
      ShowPictorelMessage(kWmfReadError);
    }
    return false;
  }
  pictureState_ = kClipartToTrace;
  return true;
}

bool CImportDoc::ImportPicture(const std::filesystem::path& path) {
  OnNewDocument();
  title_ = path.filename().string();
  const std::string ext = LowerExtension(path);
  bool read = false;
  if (ext == ".wmf") read = ReadWmf(path);
  if (ext == ".bmp") read = ReadBmp(path);
  return read;
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
