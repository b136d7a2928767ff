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
constexpr char kLayoutWriteErrorText[] = "There is an error in a file.\nQuit operation.";
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
  if (designs_.empty()) {
    modified_ = false;
    return true;
  }
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
      saved = old ? SaveBesideAsArg() : OnSaveDocument(path_);
    }
    // Work is never lost: a cancelled dialog, a declined replace or a failed write keeps
    // the layout and its modified flag and stops the Close, New or Open.
    if (!saved) return false;
    modified_ = false;
  }
  // "No" lets the caller go on but keeps the flag: the changes stay on screen until a new or
  // opened layout takes their place (which clears it), so a recent layout that then cannot be
  // read leaves them for the next question instead of discarding them silently.
  return true;
}

bool CVantleDoc::OnSaveDocument(const std::string& requested) {
  std::string path = requested;
  // Compared exactly: "name.ARG" too is written anew as "name.arg".
  if (fs::path(path).extension().string() != kArgExtension) {
    platform::MessageBox(nullptr, kNewFormatNotice, kVantleCaption,
                         platform::kMbOk | platform::kMbIconInformation);
    path = WithArgExtension(path);
    if (!editor::AskReplaceExisting(path, kVantleCaption)) return false;
  }
  if (!WriteLayout(path)) return false;
  modified_ = false;
  SetPathName(path);
  return true;
}

bool CVantleDoc::SaveBesideAsArg() {
  const std::string path = WithArgExtension(path_);
  return editor::AskReplaceExisting(path, kVantleCaption) && OnSaveDocument(path);
}

bool CVantleDoc::WriteLayout(const std::string& path) {
  const std::vector<uint8_t> bytes = WriteArgLayout(sheetsAcross_, sheetsDown_, designs_);
  // A layout the reader would refuse (a design measured far beyond any hoop) is not
  // written: it would only be called defective at the next open.
  if (!ReadArgLayout(bytes)) {
    platform::MessageBox(nullptr, kLayoutWriteErrorText, kVantleCaption,
                         platform::kMbOk | platform::kMbIconError);
    return false;
  }
  if (!editor::WriteLayoutFile(path, bytes, kVantleCaption)) return false;
  host_.WriteSetting(kDesignPathSection, kLayoutFolderKey, editor::FolderOf(path));
  return true;
}

LayoutLoad CVantleDoc::ReadLayoutFile(const std::string& path, ArgLayout& layout) const {
  std::vector<uint8_t> bytes;
  const std::error_code error = platform::ReadWholeFile(path, bytes, kMaxArgFileSize);
  if (error) return platform::IsNotFound(error) ? LayoutLoad::kNotFound : LayoutLoad::kDefective;
  const ArgPlacement placement =
      editor::LowerExtension(path) == kOldExtension ? ArgPlacement::kOld : ArgPlacement::kCurrent;
  std::optional<ArgLayout> read = ReadArgLayout(bytes, placement);
  if (!read) return LayoutLoad::kDefective;
  layout = std::move(*read);
  return LayoutLoad::kOk;
}

void CVantleDoc::AdoptLayout(ArgLayout&& layout, const std::string& path) {
  DeleteAllDesigns();
  designs_ = std::move(layout.designs);
  designCount_ = static_cast<int32_t>(designs_.size());
  sheetsAcross_ = layout.sheetsAcross;
  sheetsDown_ = layout.sheetsDown;
  modified_ = false;
  SetPathName(path);
}

void ShowLayoutNotFound(const std::string& path) {
  std::string text = kLayoutNotFoundText;
  text.replace(text.find("%s"), 2, path);
  platform::MessageBox(nullptr, text, kFileOpenCaption, platform::kMbOk | platform::kMbIconExclamation);
}

bool CVantleDoc::OnOpenDocument(const std::string& path) {
  ArgLayout layout;
  switch (ReadLayoutFile(path, layout)) {
    case LayoutLoad::kOk:
      AdoptLayout(std::move(layout), path);
      return true;
    case LayoutLoad::kNotFound:
      ShowLayoutNotFound(path);
      return false;
    case LayoutLoad::kDefective:
      host_.PostLayoutLoadFailed();
      return false;
  }
  return false;
}

}  // namespace hooplayout
