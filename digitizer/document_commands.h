#pragma once

// Pictorel's document commands without a screen: New and the three hoops, Open, Save, Save As,
// the picture imports, Bitmap Outline, the SEW file, the recent files, and the question about
// unsaved changes before any of them drops the document. The file dialogs are asked through
// DocumentDialogs; each dialog starts in its folder of the profile section "Design Path" and
// stores the chosen file's folder back.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "digitizer/import_doc.h"
#include "digitizer/main_frame_rules.h"
#include "platform/command_router.h"
#include "platform/recent_file_list.h"

namespace digitizer {

// The file dialogs of the document's commands, with their filters and folder keys.
enum class FileDialogKind {
  kOpenDesign,     // "Embroidery Files(*.qnf)|*.qnf||", DotQnf, with the design preview
  kImportBitmap,   // "Bitmap(*.bmp)|*.bmp||", DotBmp
  kImportClipart,  // "Clipart(*.wmf)|*.wmf||", DotWmf
  kBitmapOutline,  // "Drawing File(*.bmp)|*.bmp||", DotQnf
  kImportPicture,  // clipart and bitmap, WmfBmp
  kSaveDesign,     // WriteQnf, ".qnf"
  kSaveBitmap,     // WriteQnf, ".bmp"
};
const char* FolderKeyOf(FileDialogKind kind);
const char* FilterOf(FileDialogKind kind);

// What the Open Sew File dialog returns: the file and its converted record, or a defective file.
struct SewChoice {
  std::filesystem::path path;
  std::unique_ptr<design::StitchRecord> record;  // null: the file was defective
  bool largeHoop = false;
};

class DocumentDialogs {
 public:
  virtual ~DocumentDialogs() = default;
  // The chosen file, nothing on Cancel. name: the name proposed (save dialogs).
  virtual std::optional<std::filesystem::path> ChooseFile(FileDialogKind kind, const std::filesystem::path& folder,
                                                          const std::string& name) = 0;
  virtual std::optional<SewChoice> ChooseSewFile(const std::filesystem::path& folder) = 0;
  // "Hoop Size": 0 standard, 1 small, 2 large; nothing on Cancel.
  virtual std::optional<int> ChooseHoop() = 0;
};

// What the commands need of the views around the document.
class DocumentViews : public OutlineSource {
 public:
  // A new or reopened document: the picture view sized to the work area, every view redrawn.
  virtual void DocumentChanged() = 0;
  virtual void RecentFilesChanged() = 0;
};

constexpr int kPictorelRecentFiles = 8;

class DocumentCommands : public platform::CommandTarget {
 public:
  DocumentCommands(CImportDoc& doc, DocumentDialogs& dialogs, DocumentViews& views, MainFrameLink& frame);

  bool IsModified() const { return modified_; }
  void SetModified(bool modified) { modified_ = modified; }
  platform::RecentFileList& RecentFiles() { return recent_; }

  // "Save changes to <title>?" when the document is modified: Yes saves (false when that
  // failed), No goes on, Cancel stops (false).
  bool SaveModified();
  // A new, empty document on the hoop.
  void NewDocument(int hoopKind);
  // Opens a design (or a bitmap as the outline picture) as Open..., the command line, a
  // recent file and a dropped file do, after the question about unsaved changes.
  bool OpenDocumentFile(const std::filesystem::path& path);
  // Save writes to the document's own design file; a document without one saves as below.
  bool Save();
  // Asks for the name, again after a refused "Replace existing file?", and saves. A failed
  // write has shown its message and leaves the document modified, its title unchanged.
  bool SaveAs();

  platform::CommandState QueryCommand(int id) const override;
  void RunCommand(int id) override;

 private:
  std::optional<std::filesystem::path> Choose(FileDialogKind kind, const std::string& name = {});
  bool OpenFile(const std::filesystem::path& path);
  // confirmed: the file the save dialog already asked about replacing.
  SaveOutcome SaveTo(const std::filesystem::path& path, const std::filesystem::path& confirmed = {});
  void Import(FileDialogKind kind);
  void OpenSew();
  void ShowPanes();

  CImportDoc& doc_;
  DocumentDialogs& dialogs_;
  DocumentViews& views_;
  MainFrameLink& frame_;
  platform::RecentFileList recent_{CImportDoc::kProgram, kPictorelRecentFiles};
  bool modified_ = false;
};

}  // namespace digitizer
