#pragma once

// The rules of the "Import Design" dialog, without a screen: which selected file gets a
// preview, what the three info texts say, which file is refused with which message, and
// whether confirming closes the dialog. The dialog widget forwards the file dialog's
// folder changes, selection changes and confirmations here and shows the result.
//
// The record is the caller's (a whole-design buffer it allocated); the model fills it on
// every preview and confirmation and leaves colour count 0 in it whenever no design was
// read.

#include <cstdint>
#include <filesystem>
#include <string>

#include "design/design_import.h"
#include "design/import_preview.h"
#include "design/stitch_record.h"
#include "platform/canvas.h"
#include "platform/message_box.h"

namespace design {

inline constexpr const char* kImportDesignCaption = "Import Design";
inline constexpr const char* kDefectiveText = "This file may be defective.";
// The preview's variant of the same message carries a second full stop.
inline constexpr const char* kDefectivePreviewText = "This file may be defective..";
inline constexpr const char* kExceedsLayoutHoopText = "The size of the design exceeds the hoop size.";
inline constexpr const char* kFileErrorText = "There is an error in a file.";
inline constexpr const char* kFileErrorCaption = "Error";

// "Could not open %s.%s.\n<program> does not support this stitch data."
std::string UnsupportedDesignText(const std::string& program, const std::string& name,
                                  const std::string& extension);
// Whole minutes at 600 stitches per minute, rounded: "%d minutes (600spm)", or
// "1 minute (600spm)" for anything up to one minute and a half.
std::string SewingTimeText(int64_t milliseconds);

struct PatListTexts {
  std::string stitches;  // "%d stitches"
  std::string time;
  std::string colours;   // "%d colors (parts)"
  friend bool operator==(const PatListTexts&, const PatListTexts&) = default;
};

enum class PreviewFill { kWhite, kGrey, kDesign };

class PatListModel {
 public:
  // program names the program in the "does not support" text; layoutHoopKind 0 means a
  // layout of standard hoops, into which large-hoop designs do not go.
  PatListModel(StitchRecord& record, std::string program, int layoutHoopKind);
  virtual ~PatListModel() = default;
  PatListModel(const PatListModel&) = delete;
  PatListModel& operator=(const PatListModel&) = delete;

  // The window the messages are shown over.
  void SetOwner(platform::WindowHandle owner) { owner_ = owner; }

  void OnFolderChange();
  // The selection changed: preview the file when it is a design file not previewed last.
  void OnFileNameChange(const std::filesystem::path& path);
  // The user confirmed: true closes the dialog (the record then holds the design, or
  // colour count 0 for no design), false keeps it open.
  bool OnFileNameOK(const std::filesystem::path& path);

  const PatListTexts& Texts() const { return texts_; }
  PreviewFill Preview() const { return preview_; }
  // Paints the preview as it stands onto the rectangle.
  void DrawPreview(platform::Canvas& canvas, const platform::CanvasRect& rect) const;
  // Folder of the accepted file, for the caller to remember.
  const std::filesystem::path& ChosenFolder() const { return chosenFolder_; }
  // The file the last confirmation named, ".qnf" added to a name typed without extension:
  // the name the caller judges the import by.
  const std::filesystem::path& ConfirmedPath() const { return confirmedPath_; }
  // Counts changes of the preview and texts, so that a widget knows when to repaint.
  int Revision() const { return revision_; }

 protected:
  // Told after every preview and confirmation that read or emptied the record.
  virtual void RecordChanged() {}
  // The sewing-time text of the design just read into the record.
  virtual std::string TimeText(DesignFileKind kind, bool confirming) const;
  const StitchRecord& Record() const { return record_; }

 private:
  enum class Outcome { kRead, kNoDesign, kRefused, kKeptOpen };
  Outcome Load(const std::filesystem::path& path, DesignFileKind kind, bool confirming);
  bool Confirm(const std::filesystem::path& chosen);
  void ShowDesign(DesignFileKind kind, bool confirming);
  void Blank(PreviewFill fill);
  void Refuse(const std::string& text, const char* caption, unsigned icon);

  StitchRecord& record_;
  std::string program_;
  int layoutHoopKind_;
  platform::WindowHandle owner_ = nullptr;
  std::filesystem::path lastPreviewed_;
  std::filesystem::path chosenFolder_;
  std::filesystem::path confirmedPath_;
  PatListTexts texts_;
  PreviewFill preview_ = PreviewFill::kWhite;
  int revision_ = 0;
};

}  // namespace design
