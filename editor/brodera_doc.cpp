#include "editor/brodera_doc.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string_view>

#include "editor/command_ids.h"
#include "layoutcore/layout_save.h"
#include "platform/file_io.h"
#include "platform/message_box.h"

namespace editor {

namespace fs = std::filesystem;

namespace {

constexpr char kNewFormatQuestion[] = "Save the file in Velinor 7000 new format(*.bdz).";
constexpr char kUntitledBdz[] = "Untitled.bdz";
constexpr char kProposedName[] = "untitled.bdz";

bool IsOlderLayoutExtension(const std::string& ext) { return ext == ".arr" || ext == ".arf"; }

bool AskNewFormat() {
  return platform::MessageBox(nullptr, kNewFormatQuestion, kAppCaption,
                              platform::kMbYesNo | platform::kMbIconInformation |
                                  platform::kMbDefButton2) == platform::kIdYes;
}

}  // namespace

std::string WithBdzExtension(const std::string& path) {
  return fs::path(path).replace_extension(".bdz").string();
}

CBroderaDoc::CBroderaDoc(DocumentHost& host) : host_(host) {}

CBroderaDoc::~CBroderaDoc() = default;

// ---- list operations ----

void CBroderaDoc::DeleteDesigns() { designs_.clear(); }

void CBroderaDoc::SetPathName(const std::string& path) {
  path_ = path;
  if (!path.empty()) host_.AddToRecentFiles(path);
}

std::string CBroderaDoc::GetTitle() const {
  return path_.empty() ? std::string(kUntitled) : fs::path(path_).filename().string();
}

// ---- document commands ----

void CBroderaDoc::ResetToNew() {
  DeleteDesigns();
  designCount_ = 0;
  sheetsAcross_ = 1;
  sheetsDown_ = 1;
  hoopKind_ = kLargeHoopKind;
  modified_ = false;
  path_.clear();
  formatRead_ = LayoutFormat::kNone;
}

bool CBroderaDoc::OnNewDocument() {
  if (!PromptSaveLayout()) return false;
  ResetToNew();
  return true;
}

std::string CBroderaDoc::LayoutFolder() {
  const std::string folder = host_.ReadSetting(kDesignPathSection, kLayoutFolderKey);
  return folder.empty() ? host_.ProgramFolder() : folder;
}

bool CBroderaDoc::SaveThroughDialog(const std::string& proposedName) {
  const auto chosen = host_.ChooseSaveFile(LayoutFolder(), proposedName);
  if (!chosen || chosen->empty()) return false;  // cancelled: nothing changes
  std::string path = *chosen;
  if (LowerExtension(path) != ".bdz") path += ".bdz";
  return SaveUnderNewPath(path);
}

bool CBroderaDoc::SaveBesideAsBdz() { return SaveUnderNewPath(WithBdzExtension(path_)); }

bool CBroderaDoc::SaveUnderNewPath(const std::string& path) {
  if (!AskReplaceExisting(path, kAppCaption)) return false;
  if (!SaveLayoutTo(path)) return false;
  modified_ = false;
  SetPathName(path);
  return true;
}

void CBroderaDoc::OnFileSave() {
  if (path_.empty()) {
    OnFileSaveAs();
    return;
  }
  if (LowerExtension(path_) == ".bdz") {
    if (SaveLayoutTo(path_)) {
      modified_ = false;
      SetPathName(path_);
    }
    return;
  }
  if (AskNewFormat()) SaveBesideAsBdz();
}

void CBroderaDoc::OnFileSaveAs() {
  if (!path_.empty() && LowerExtension(path_) != ".bdz" && !AskNewFormat()) return;
  SaveThroughDialog(path_.empty() ? std::string(kProposedName) : path_);
}

platform::CommandState CBroderaDoc::QueryCommand(int id) const {
  if (id == cmd::kFileSave || id == cmd::kFileSaveAs) return {true, CanSave(), false};
  return {};
}

void CBroderaDoc::RunCommand(int id) {
  if (id == cmd::kFileSave) OnFileSave();
  if (id == cmd::kFileSaveAs) OnFileSaveAs();
}

bool CBroderaDoc::PromptSaveLayout() {
  if (!modified_) return true;
  const std::string ext = LowerExtension(path_);
  const fs::path file = fs::path(path_).filename();
  std::string question("Save changes to ");
  if (path_.empty()) {
    question.append(kUntitledBdz).append("?");
  } else if (IsOlderLayoutExtension(ext)) {
    question.append(file.stem().string()).append(".bdz? (new format).");
  } else {
    question.append(file.stem().string()).append(file.extension().string()).append("?");
  }
  const int answer = platform::MessageBox(
      nullptr, question, kAppCaption, platform::kMbYesNoCancel | platform::kMbIconExclamation);
  if (answer == platform::kIdCancel) return false;
  if (answer == platform::kIdYes) {
    bool saved = false;
    if (path_.empty()) {
      saved = SaveThroughDialog(kUntitledBdz);
    } else if (IsOlderLayoutExtension(ext)) {
      saved = SaveBesideAsBdz();
    } else {
      saved = SaveLayoutTo(path_);
    }
    // Work is never lost: a cancelled dialog, a declined replace or a failed write keeps
    // the layout and its modified flag and stops the Close, New or Open.
    if (!saved) return false;
    modified_ = false;
  }
  // "No" lets the caller go on but keeps the flag: the changes are still on screen until a
  // new or opened layout takes their place (which clears it), so an Open that then fails
  // leaves them for the next question instead of discarding them silently.
  return true;
}

bool CBroderaDoc::SaveLayoutTo(const std::string& path) {
  const std::vector<uint8_t> bytes = WriteBdz(hoopKind_, sheetsAcross_, sheetsDown_, designs_);
  if (!WriteLayoutFile(path, bytes, kAppCaption)) return false;
  host_.WriteSetting(kDesignPathSection, kLayoutFolderKey, FolderOf(path));
  return true;
}

std::optional<std::string> CBroderaDoc::ChooseLayoutToOpen() {
  return host_.ChooseOpenFile(LayoutFolder());
}

void CBroderaDoc::RememberLayoutFolder(const std::string& path) {
  host_.WriteSetting(kDesignPathSection, kLayoutFolderKey, FolderOf(path));
}

bool CBroderaDoc::OnOpenDocument(const std::string& path) {
  if (OpenLayout(path) == LayoutLoadFailure::kNone) return true;
  host_.PostLayoutLoadFailed();
  return false;
}

std::string LayoutLoadFailureText(LayoutLoadFailure failure, const std::string& path) {
  return failure == LayoutLoadFailure::kNotFound ? path + kLayoutNotFoundTail : std::string(kDefectiveFileText);
}

std::string CBroderaDoc::LoadFailureText() const { return LayoutLoadFailureText(lastFailure_, lastFailedPath_); }

LayoutLoadFailure CBroderaDoc::OpenLayout(const std::string& path) {
  std::vector<uint8_t> bytes;
  std::optional<LayoutContent> layout;
  const std::error_code error = platform::ReadWholeFile(path, bytes, kMaxLayoutFileSize);
  if (!error) layout = ReadLayout(bytes);
  if (!layout) {
    // The current layout is untouched: nothing of it is lost to a file that is not one.
    lastFailure_ = platform::IsNotFound(error) ? LayoutLoadFailure::kNotFound : LayoutLoadFailure::kDefective;
    lastFailedPath_ = path;
    return lastFailure_;
  }
  lastFailure_ = LayoutLoadFailure::kNone;
  designs_ = std::move(layout->designs);
  designCount_ = static_cast<int32_t>(designs_.size());
  if (layout->hoopKindRead) hoopKind_ = layout->hoopKind;
  sheetsAcross_ = layout->sheetsAcross;
  sheetsDown_ = layout->sheetsDown;
  formatRead_ = layout->format;
  modified_ = false;
  SetPathName(path);
  return LayoutLoadFailure::kNone;
}

}  // namespace editor
