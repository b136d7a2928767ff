#include "hooplayout/vantle_doc.h"

#include <filesystem>

#include "hooplayout/arg_file.h"
#include "layoutcore/layout_save.h"
#include "platform/file_io.h"
#include "platform/message_box.h"

namespace hooplayout {

namespace fs = std::filesystem;

namespace {

constexpr char kArgExtension[] = ".arg";
constexpr char kOldExtension[] = ".arr";
constexpr char kNewFormatNotice[] = "Save the file in Velinor 7000 new format(*.arg).";

}  // namespace

std::string WithArgExtension(const std::string& path) {
  return fs::path(path).replace_extension(kArgExtension).string();
}

CVantleDoc::CVantleDoc(editor::DocumentHost& host) : host_(host) {}

// ---- list operations ----

void CVantleDoc::DeleteAllDesigns() {
  printListA_.clear();
  printListB_.clear();
  designs_.clear();
}

void CVantleDoc::SetPathName(const std::string& path) {
  path_ = path;
  title_ = path.empty() ? std::string(kUntitledArg) : fs::path(path).filename().string();
  if (!path.empty()) host_.AddToRecentFiles(path);
}

bool CVantleDoc::IsOldLayout() const { return editor::LowerExtension(path_) == kOldExtension; }

void CVantleDoc::FixUpOldLayout() {
  for (LayoutDesign& d : designs_) FixUpOldLayoutDesign(d);
}

// ---- document steps ----

void CVantleDoc::OnNewDocument() {
  DeleteAllDesigns();
  sheetsAcross_ = 1;
  sheetsDown_ = 1;
  designCount_ = 0;
  modified_ = false;
  path_.clear();
  title_ = kUntitledArg;
}

std::string CVantleDoc::LayoutFolder() {
  const std::string folder = host_.ReadSetting(kDesignPathSection, kLayoutFolderKey);
  return folder.empty() ? host_.ProgramFolder() : folder;
}

bool CVantleDoc::PromptSaveLayout() {
  if (!modified_) return true;
  const fs::path file = fs::path(path_).filename();
  const bool old = IsOldLayout();
  std::string question("Save changes to ");
  if (path_.empty()) {
    question.append(kUntitledArg).append("?");
  } else if (old) {
    question.append(file.stem().string()).append(".arg? (new format).");
  } else {
    question.append(file.stem().string()).append(file.extension().string()).append("?");
  }
  const int answer = platform::MessageBox(
      nullptr, question, kVantleCaption, platform::kMbYesNoCancel | platform::kMbIconExclamation);
  if (answer == platform::kIdCancel) return false;
  if (answer == platform::kIdYes) {
    bool saved = false;
    if (path_.empty()) {
      const auto chosen = host_.ChooseSaveFile(LayoutFolder(), kUntitledArg);
      if (chosen && !chosen->empty()) {
        std::string path = *chosen;
        if (editor::LowerExtension(path) != kArgExtension) path += kArgExtension;
        saved = editor::AskReplaceExisting(path, kVantleCaption) && OnSaveDocument(path);
      }
    } else {
      saved = OnSaveDocument(old ? WithArgExtension(path_) : path_);
    }
    // Work is never lost: a cancelled dialog, a declined replace or a failed write keeps
    // the layout and its modified flag and stops the Close, New or Open.
    if (!saved) return false;
  }
  modified_ = false;
  return true;
}

bool CVantleDoc::OnSaveDocument(const std::string& requested) {
  std::string path = requested;
  // Compared exactly: "name.ARG" too is written anew as "name.arg".
  if (fs::path(path).extension().string() != kArgExtension) {
    platform::MessageBox(nullptr, kNewFormatNotice, kVantleCaption,
                         platform::kMbOk | platform::kMbIconInformation);
    path = WithArgExtension(path);
  }
  if (!WriteLayout(path)) return false;
  modified_ = false;
  SetPathName(path);
  return true;
}

bool CVantleDoc::WriteLayout(const std::string& path) {
  const std::vector<uint8_t> bytes = WriteArgLayout(sheetsAcross_, sheetsDown_, designs_);
  if (!editor::WriteLayoutFile(path, bytes, kVantleCaption)) return false;
  host_.WriteSetting(kDesignPathSection, kLayoutFolderKey, editor::FolderOf(path));
  return true;
}

bool CVantleDoc::OnOpenDocument(const std::string& path) {
  std::vector<uint8_t> bytes;
  std::optional<ArgLayout> layout;
  const ArgPlacement placement =
      editor::LowerExtension(path) == kOldExtension ? ArgPlacement::kOld : ArgPlacement::kCurrent;
  if (!platform::ReadWholeFile(path, bytes, kMaxArgFileSize)) layout = ReadArgLayout(bytes, placement);
  if (!layout) {
    host_.PostLayoutLoadFailed();
    return false;
  }
  DeleteAllDesigns();
  designs_ = std::move(layout->designs);
  designCount_ = static_cast<int32_t>(designs_.size());
  sheetsAcross_ = layout->sheetsAcross;
  sheetsDown_ = layout->sheetsDown;
  modified_ = false;
  SetPathName(path);
  return true;
}

}  // namespace hooplayout
