#include "digitizer/document_commands.h"

#include "digitizer/pictorel_commands.h"
#include "digitizer/modify_stitch_rules.h"
#include "platform/message_box.h"

namespace digitizer {

namespace {

struct DialogRow {
  FileDialogKind kind;
  const char* folderKey;
  const char* filter;
};

constexpr DialogRow kDialogs[] = {
    {FileDialogKind::kOpenDesign, "DotQnf", "Embroidery Files(*.qnf)|*.qnf||"},
    {FileDialogKind::kImportBitmap, "DotBmp", "Bitmap(*.bmp)|*.bmp||"},
    {FileDialogKind::kImportClipart, "DotWmf", "Clipart(*.wmf)|*.wmf||"},
    {FileDialogKind::kBitmapOutline, "DotQnf", "Drawing File(*.bmp)|*.bmp||"},
    {FileDialogKind::kImportPicture, "WmfBmp",
     "Clipart(.wmf) and Bitmap(.bmp)|*.bmp;*.wmf|Clipart(*.wmf)|*.wmf|Bitmap(*.bmp)|*.bmp||"},
    {FileDialogKind::kSaveDesign, "WriteQnf", "Pictorel File (*.qnf)|*.qnf||"},
    {FileDialogKind::kSaveBitmap, "WriteQnf", "Bitmap File(*.bmp)|*.bmp||"},
};

const DialogRow& RowOf(FileDialogKind kind) {
  for (const DialogRow& row : kDialogs) {
    if (row.kind == kind) return row;
  }
  return kDialogs[0];
}

constexpr char kSewFolderKey[] = "DotSew";

}  // namespace

const char* FolderKeyOf(FileDialogKind kind) { return RowOf(kind).folderKey; }
const char* FilterOf(FileDialogKind kind) { return RowOf(kind).filter; }

DocumentCommands::DocumentCommands(CImportDoc& doc, DocumentDialogs& dialogs, DocumentViews& views,
                                   MainFrameLink& frame)
    : doc_(doc), dialogs_(dialogs), views_(views), frame_(frame) {
  recent_.Load();
}

std::optional<std::filesystem::path> DocumentCommands::Choose(FileDialogKind kind, const std::string& name) {
  const char* key = FolderKeyOf(kind);
  auto chosen = dialogs_.ChooseFile(kind, doc_.StartFolder(key), name);
  if (!chosen || chosen->empty()) return std::nullopt;
  doc_.StoreFolder(key, *chosen);
  return chosen;
}

bool DocumentCommands::SaveModified() {
  if (!modified_) return true;
  const std::string question = "Save changes to " + doc_.Title() + "?";
  const int answer = platform::MessageBox(nullptr, question, CImportDoc::kProgram,
                                          platform::kMbYesNoCancel | platform::kMbIconExclamation);
  if (answer == platform::kIdCancel) return false;
  if (answer == platform::kIdNo) return true;
  return Save();
}

void DocumentCommands::ShowPanes() {
  CStitchDesign& design = doc_.Design();
  frame_.UpdateStatusPanes(design.GetPartCount(), -1, -1, -1, kModeNone, design.GetStitchCount());
}

void DocumentCommands::NewDocument(int hoopKind) {
  doc_.OnNewDocument();
  doc_.Design().SetHoop(hoopKind);
  modified_ = false;
  frame_.UpdateStatusPanes(0, -1, -1, -1, kModeNone, 0);
  views_.DocumentChanged();
}

bool DocumentCommands::OpenFile(const std::filesystem::path& path) {
  // A file that did not open has left the document as it was, changes and all.
  if (!doc_.OpenDesignFile(path)) return false;
  modified_ = false;
  recent_.Add(path.string());
  views_.RecentFilesChanged();
  ShowPanes();
  views_.DocumentChanged();
  return true;
}

bool DocumentCommands::OpenDocumentFile(const std::filesystem::path& path) {
  if (!SaveModified()) return false;
  return OpenFile(path);
}

SaveOutcome DocumentCommands::SaveTo(const std::filesystem::path& path, const std::filesystem::path& confirmed) {
  CStitchDesign& design = doc_.Design();
  if (!design.IsInsideHoop()) {
    ShowHoopLimit(nullptr);
    return SaveOutcome::kFailed;
  }
  const SaveOutcome saved = doc_.OnSaveDocument(path, views_, confirmed);
  if (saved == SaveOutcome::kSaved) {
    modified_ = false;
    if (doc_.HasStitches()) {
      recent_.Add(doc_.PathName().string());
      views_.RecentFilesChanged();
    }
  }
  frame_.UpdateStatusPanes(-1, -1, -1, -1, -1, design.GetStitchCount());
  return saved;
}

bool DocumentCommands::Save() {
  if (doc_.SaveNeedsName()) return SaveAs();
  const SaveOutcome saved = SaveTo(doc_.PathName());
  return saved == SaveOutcome::kRefused ? SaveAs() : saved == SaveOutcome::kSaved;
}

bool DocumentCommands::SaveAs() {
  const bool stitches = doc_.HasStitches();
  std::filesystem::path name = doc_.Title().empty() ? CImportDoc::kUntitled : doc_.Title();
  name.replace_extension(stitches ? ".qnf" : ".bmp");
  for (;;) {
    const auto chosen = Choose(stitches ? FileDialogKind::kSaveDesign : FileDialogKind::kSaveBitmap, name.string());
    if (!chosen) return false;
    // The save dialog asked before offering a file that is there: that question stands.
    const SaveOutcome saved = SaveTo(*chosen, *chosen);
    if (saved != SaveOutcome::kRefused) return saved == SaveOutcome::kSaved;
    // A file the user would not have replaced: the name is chosen again.
    name = chosen->filename();
  }
}

void DocumentCommands::Import(FileDialogKind kind) {
  if (!SaveModified()) return;
  const auto chosen = Choose(kind);
  if (!chosen) return;
  if (kind == FileDialogKind::kBitmapOutline) {
    OpenFile(*chosen);
    return;
  }
  if (!doc_.ImportPicture(*chosen)) return;
  modified_ = false;
  frame_.UpdateStatusPanes(0, -1, -1, -1, kModeNone, 0);
  views_.DocumentChanged();
}

void DocumentCommands::OpenSew() {
  if (!SaveModified()) return;
  const std::filesystem::path folder = doc_.StartFolder(kSewFolderKey);
  auto chosen = dialogs_.ChooseSewFile(folder);
  if (!chosen) return;
  doc_.StoreFolder(kSewFolderKey, chosen->path);
  if (!doc_.OpenSewDesign(chosen->path, std::move(chosen->record), chosen->largeHoop)) return;
  modified_ = false;
  ShowPanes();
  views_.DocumentChanged();
}

platform::CommandState DocumentCommands::QueryCommand(int id) const {
  const bool picture = doc_.OutlinePicture().HasHeader() || doc_.PictureStateValue() != kNoPictureToTrace ||
                       (doc_.Contents() & kContentsPicture) != 0;
  switch (id) {
    case cmd::kFileSave: return {true, doc_.HasStitches(), false};
    case cmd::kFileSaveAs: return {true, doc_.HasStitches() || picture, false};
    case cmd::kFileNew:
    case cmd::kStandardHoop:
    case cmd::kSmallHoop:
    case cmd::kLargeHoop:
    case cmd::kFileOpen:
    case cmd::kImportBitmap:
    case cmd::kImportClipart:
    case cmd::kBitmapOutline:
    case cmd::kImportPicture:
    case cmd::kSewFile:
    case cmd::kOpenSewFile:
      return {true, true, false};
    default:
      break;
  }
  if (id >= cmd::kFileMru1 && id < cmd::kFileMru1 + kPictorelRecentFiles) {
    return {true, id - cmd::kFileMru1 < static_cast<int>(recent_.Paths().size()), false};
  }
  return {};
}

void DocumentCommands::RunCommand(int id) {
  switch (id) {
    case cmd::kFileNew: {
      if (!SaveModified()) return;
      const auto hoop = dialogs_.ChooseHoop();
      if (hoop) NewDocument(*hoop);
      return;
    }
    case cmd::kStandardHoop:
    case cmd::kSmallHoop:
    case cmd::kLargeHoop:
      if (SaveModified()) NewDocument(HoopKindOfCommand(id));
      return;
    case cmd::kFileOpen:
      if (!SaveModified()) return;
      if (const auto chosen = Choose(FileDialogKind::kOpenDesign)) OpenFile(*chosen);
      return;
    case cmd::kFileSave: Save(); return;
    case cmd::kFileSaveAs: SaveAs(); return;
    case cmd::kImportBitmap: Import(FileDialogKind::kImportBitmap); return;
    case cmd::kImportClipart: Import(FileDialogKind::kImportClipart); return;
    case cmd::kBitmapOutline: Import(FileDialogKind::kBitmapOutline); return;
    case cmd::kImportPicture: Import(FileDialogKind::kImportPicture); return;
    case cmd::kSewFile:
    case cmd::kOpenSewFile: OpenSew(); return;
    default: break;
  }
  const int index = id - cmd::kFileMru1;
  if (index < 0 || index >= static_cast<int>(recent_.Paths().size())) return;
  const std::filesystem::path path = recent_.Paths()[static_cast<std::size_t>(index)];
  if (!OpenDocumentFile(path) && !std::filesystem::exists(path)) {
    recent_.Remove(path.string());
    views_.RecentFilesChanged();
  }
}

}  // namespace digitizer
