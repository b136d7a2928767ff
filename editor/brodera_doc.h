#pragma once

// CBroderaDoc: one layout. The designs placed on the layout's sheets, the sheet counts and
// the hoop kind; reading and writing the layout file; the question before changes are
// discarded; and the list operations through which the view edits the layout.
//

#include <cstdint>
#include <list>
#include <optional>
#include <string>
#include <utility>

#include "editor/layout_file.h"
#include "layoutcore/design_list_owner.h"
#include "layoutcore/design_object.h"
#include "layoutcore/document_host.h"
#include "layoutcore/layout_save.h"
#include "platform/command_router.h"

namespace editor {

using DesignList = DesignListOwner<DesignObject>::List;
using DesignPosition = DesignListOwner<DesignObject>::Position;

constexpr char kAppCaption[] = "Brodera";
constexpr char kDesignPathSection[] = "Design Path";
constexpr char kLayoutFolderKey[] = "DotBdz";
constexpr char kUntitled[] = "Untitled";
constexpr char kDefectiveFileText[] = "This file may be defective.";
constexpr char kFileOpenCaption[] = "File Open";
// After the path, for a layout file that is not there.
constexpr char kLayoutNotFoundTail[] = "\nThis file was not found.";

enum class LayoutLoadFailure { kNone, kNotFound, kDefective };

// "<path>\nThis file was not found." for a file that is not there, else the defective-file
// message.
std::string LayoutLoadFailureText(LayoutLoadFailure failure, const std::string& path);
constexpr char kFileErrorText[] = "There is an error in a file.\nQuit operation.";

class CBroderaDoc : public platform::CommandTarget, public DesignListOwner<DesignObject> {
 public:
  explicit CBroderaDoc(DocumentHost& host);
  ~CBroderaDoc() override;
  CBroderaDoc(const CBroderaDoc&) = delete;
  CBroderaDoc& operator=(const CBroderaDoc&) = delete;

  // The list operations, sheet counts and modified flag are DesignListOwner's.
  void DeleteDesigns();
  int32_t GetDesignCount() const { return designCount_; }
  void SetDesignCount(int32_t count) { designCount_ = count; }
  int32_t GetHoopKind() const { return hoopKind_; }
  void SetHoopKind(int32_t kind) { hoopKind_ = kind; }

  // The form of the layout last read: older layouts have their working records rebuilt
  // from it, whatever the file's name says.
  LayoutFormat FormatRead() const { return formatRead_; }
  void ClearFormatRead() { formatRead_ = LayoutFormat::kNone; }

  const std::string& GetPathName() const { return path_; }
  // Sets the path and puts it on the recent-file list.
  void SetPathName(const std::string& path);
  // File name and extension, or "Untitled".
  std::string GetTitle() const;

  // ---- document commands ----
  // Asks before the layout is replaced; false stops the New.
  bool OnNewDocument();
  bool CanCloseFrame() { return PromptSaveLayout(); }
  bool SaveModified() { return PromptSaveLayout(); }
  void OnFileSave();
  void OnFileSaveAs();
  bool CanSave() const { return designCount_ > 0; }
  // Save and Save As, enabled while the layout holds a design.
  platform::CommandState QueryCommand(int id) const override;
  void RunCommand(int id) override;
  // True: the caller may go on (the user said No, or the layout is saved, or nothing was
  // changed); after No the layout stays modified until something replaces it. False: the
  // layout is kept as it is, modified, and the caller stops.
  bool PromptSaveLayout();

  // Reads and checks the layout file first; only a sound one replaces the current layout.
  // On failure the current layout stays as it was, the view is told (the private
  // message), and the result is false.
  bool OnOpenDocument(const std::string& path);
  // The same without telling the view: the caller says the failure itself.
  LayoutLoadFailure OpenLayout(const std::string& path);
  // The message of the last failed open: not found, or defective.
  std::string LoadFailureText() const;
  // Writes the bdz form to the path (whole or not at all: an existing file is replaced
  // only once the new one is complete). Shows the failure itself.
  bool SaveLayoutTo(const std::string& path);

  // The open-file dialog in the layout folder; nothing when cancelled.
  std::optional<std::string> ChooseLayoutToOpen();
  // Keeps the folder of a layout chosen to open as the folder offered next time.
  void RememberLayoutFolder(const std::string& path);

  // Empties the layout to a fresh one: no designs, 1 x 1 sheets, the large hoop, no path.
  void ResetToNew();

 protected:
  DocumentHost& Host() { return host_; }

 private:
  std::string LayoutFolder();
  // The save-file dialog and the replace question; true only when the file was written.
  bool SaveThroughDialog(const std::string& proposedName);
  // Saving to path.bdz beside an older layout: asks before replacing an existing file.
  bool SaveBesideAsBdz();
  // Asks before replacing an existing file, saves, and takes the path; true when written.
  bool SaveUnderNewPath(const std::string& path);

  DocumentHost& host_;
  LayoutLoadFailure lastFailure_ = LayoutLoadFailure::kNone;
  std::string lastFailedPath_;
  int32_t designCount_ = 0;
  int32_t hoopKind_ = kLargeHoopKind;
  std::string path_;
  LayoutFormat formatRead_ = LayoutFormat::kNone;
};

// The path with its extension replaced by ".bdz".
std::string WithBdzExtension(const std::string& path);

}  // namespace editor
