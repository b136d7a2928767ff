#pragma once

// CVantleDoc: one Maxiframe layout of up to 50 designs. The design list and its owning of
// both stitch records of every design, the sheet counts, reading and writing the arg file
// (and the older arr layouts, which share its form), the question before changes are
// discarded, and the list operations through which the view edits the layout.
//
// The list is ordered by depth: its head is the newest design, drawn last (on top); the
// list operations are DesignListOwner's.

#include <cstdint>
#include <list>
#include <string>
#include <utility>
#include <vector>

#include "design/layout_stitch_record.h"
#include "hooplayout/arg_file.h"
#include "hooplayout/layout_design.h"
#include "layoutcore/design_list_owner.h"
#include "layoutcore/document_host.h"

namespace hooplayout {

using DesignList = editor::DesignListOwner<LayoutDesign>::List;
using DesignPosition = editor::DesignListOwner<LayoutDesign>::Position;
// Filled by the template printer from the design list; owns nothing.
using PrintList = std::vector<const LayoutDesign*>;

// The program's title: the caption of its own message boxes.
inline constexpr char kVantleCaption[] = "Tessaly";
inline constexpr char kDesignPathSection[] = "Design Path";
inline constexpr char kLayoutFolderKey[] = "DotArf";
inline constexpr char kUntitledArg[] = "Untitled.arg";
inline constexpr char kFileOpenCaption[] = "File Open";
inline constexpr char kLayoutNotFoundText[] = "%s\nThis file was not found.";

// What reading a layout file came to.
enum class LayoutLoad { kOk, kNotFound, kDefective };

class CVantleDoc : public editor::DesignListOwner<LayoutDesign> {
 public:
  explicit CVantleDoc(editor::DocumentHost& host);
  CVantleDoc(const CVantleDoc&) = delete;
  CVantleDoc& operator=(const CVantleDoc&) = delete;

  // The listed design takes the working copy's fields and shares its records; marks the
  // layout modified.
  void UpdateDesign(DesignPosition position, const LayoutDesign& workingCopy) {
    ReplaceDesign(position, workingCopy);
  }
  // Frees every design with its records, and empties the print lists that point at them.
  void DeleteAllDesigns();
  int32_t GetDesignCount() const { return designCount_; }
  void SetDesignCount(int32_t count) { designCount_ = count; }
  PrintList& GetPrintListA() { return printListA_; }
  PrintList& GetPrintListB() { return printListB_; }
  // One layout record's worth of room for the commands that build a design.
  design::LayoutStitchRecord& WorkBuffer() { return workBuffer_; }

  const std::string& GetPathName() const { return path_; }
  // Sets the path and puts it on the recent-file list.
  void SetPathName(const std::string& path);
  const std::string& GetTitle() const { return title_; }
  void SetTitle(const std::string& title) { title_ = title; }
  // The document's file is an older layout (".arr" in any case), whose placements the view
  // rebuilds when it first shows it.
  bool IsOldLayout() const;
  // Rebuilds every design's placement from its working stitches.
  void FixUpOldLayout();

  // ---- document steps ----
  // A fresh layout: no designs, 1 x 1 sheets, no path, titled "Untitled.arg".
  void OnNewDocument();
  bool CanCloseFrame() { return PromptSaveLayout(); }
  bool SaveModified() { return PromptSaveLayout(); }
  // True: the caller may go on (the user said No, or the layout is saved, or nothing was
  // changed, or there is no design left to save). False: the layout is kept as it is,
  // modified, and the caller stops. A layout without designs is never written: the arg
  // file holds at least one.
  bool PromptSaveLayout();
  // Saves under the path, in the arg form and with the ".arg" extension whatever the path
  // says (the user is told when it changes, and asked before that other file is
  // replaced); the written path becomes the document's.
  bool OnSaveDocument(const std::string& path);
  // An older layout saved in the arg form beside it, same name ending in ".arg", after the
  // user agreed to replace a file of that name.
  bool SaveBesideAsArg();
  // Reads and checks a layout file without touching the document.
  LayoutLoad ReadLayoutFile(const std::string& path, ArgLayout& layout) const;
  // The document takes a layout that was read whole: its designs replace the current ones.
  void AdoptLayout(ArgLayout&& layout, const std::string& path);
  // Reads the layout file; the current layout is replaced only by a file read whole. A
  // missing file is said to be not found; a defective one is told to the view (the private
  // message). The result is then false and the layout stays as it was.
  bool OnOpenDocument(const std::string& path);

 private:
  std::string LayoutFolder();
  // Writes the arg form, whole or not at all; shows a failure itself.
  bool WriteLayout(const std::string& path);

  editor::DocumentHost& host_;
  PrintList printListA_;
  PrintList printListB_;
  design::LayoutStitchRecord workBuffer_;
  int32_t designCount_ = 0;
  std::string path_;
  std::string title_ = kUntitledArg;
};

// "%s\nThis file was not found." with the path, caption "File Open".
void ShowLayoutNotFound(const std::string& path);

// The path with its extension replaced by ".arg".
std::string WithArgExtension(const std::string& path);

}  // namespace hooplayout
