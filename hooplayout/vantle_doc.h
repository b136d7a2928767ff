#pragma once

// CVantleDoc: one Maxiframe layout of up to 50 designs. The design list and its owning of
// both stitch records of every design, the sheet counts, reading and writing the arg file
// (and the older arr layouts, which share its form), the question before changes are
// discarded, and the list operations through which the view edits the layout.
//
// The list is ordered by depth: its head is the newest design, drawn last (on top). A list
// position stays valid for the whole life of its design: moving a design to the head is a
// splice, never a copy, so positions the view keeps survive it.

#include <cstdint>
#include <list>
#include <string>
#include <utility>
#include <vector>

#include "design/layout_stitch_record.h"
#include "editor/document_host.h"
#include "hooplayout/layout_design.h"

namespace hooplayout {

using DesignList = std::list<LayoutDesign>;
using DesignPosition = DesignList::iterator;
// Filled by the template printer from the design list; owns nothing.
using PrintList = std::vector<const LayoutDesign*>;

inline constexpr char kVantleCaption[] = "Vantle";
inline constexpr char kDesignPathSection[] = "Design Path";
inline constexpr char kLayoutFolderKey[] = "DotArf";
inline constexpr char kUntitledArg[] = "Untitled.arg";

class CVantleDoc {
 public:
  explicit CVantleDoc(editor::DocumentHost& host);
  CVantleDoc(const CVantleDoc&) = delete;
  CVantleDoc& operator=(const CVantleDoc&) = delete;

  // ---- list operations (each marks the layout modified) ----
  DesignPosition AddDesign(const LayoutDesign& workingCopy);
  // The listed design takes the working copy's fields and shares its records.
  void UpdateDesign(DesignPosition position, const LayoutDesign& workingCopy);
  void RemoveDesign(DesignPosition position);
  // Moves the design to the head; its position stays the same (and valid).
  DesignPosition BringDesignToFront(DesignPosition position);
  // The working copy takes the listed design's fields and shares its records.
  void FetchDesign(DesignPosition position, LayoutDesign& workingCopy);
  void DeleteAllDesigns();

  DesignList& GetDesignList() { return designs_; }
  const DesignList& GetDesignList() const { return designs_; }
  int32_t GetDesignCount() const { return designCount_; }
  void SetDesignCount(int32_t count) { designCount_ = count; }
  // Each count outside 1..3 is first replaced by 1 (and kept).
  std::pair<int32_t, int32_t> GetSheetLayout();
  void SetSheetLayout(int32_t across, int32_t down);
  PrintList& GetPrintListA() { return printListA_; }
  PrintList& GetPrintListB() { return printListB_; }
  // One layout record's worth of room for the commands that build a design.
  design::LayoutStitchRecord& WorkBuffer() { return workBuffer_; }

  bool IsModified() const { return modified_; }
  void SetModifiedFlag(bool modified = true) { modified_ = modified; }

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
  // changed). False: the layout is kept as it is, modified, and the caller stops.
  bool PromptSaveLayout();
  // Saves under the path, in the arg form and with the ".arg" extension whatever the path
  // says (the user is told when it changes); the written path becomes the document's.
  bool OnSaveDocument(const std::string& path);
  // Reads the layout file. A defective file changes nothing here and tells the view (the
  // private message), which starts a new layout; the result is then false.
  bool OnOpenDocument(const std::string& path);

 private:
  std::string LayoutFolder();
  // Writes the arg form, whole or not at all; shows a failure itself.
  bool WriteLayout(const std::string& path);
  bool AskReplaceExisting(const std::string& path);

  editor::DocumentHost& host_;
  DesignList designs_;
  PrintList printListA_;
  PrintList printListB_;
  design::LayoutStitchRecord workBuffer_;
  int32_t sheetsAcross_ = 1;
  int32_t sheetsDown_ = 1;
  int32_t designCount_ = 0;
  bool modified_ = false;
  std::string path_;
  std::string title_ = kUntitledArg;
};

// The path with its extension replaced by ".arg".
std::string WithArgExtension(const std::string& path);

}  // namespace hooplayout
