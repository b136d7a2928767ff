#pragma once

// The design list of a layout document, with the sheet counts and the modified flag, as
// both layout programs keep them. The list is ordered by depth: its head is the design drawn
// last (on top). A list position stays valid for the whole life of its design: moving a
// design to the head is a splice, never a copy, so positions a view keeps survive it. Every
// list operation marks the layout modified, fetching too (a click counts as a change).

#include <cstdint>
#include <list>
#include <utility>

namespace editor {

template <class Design>
class DesignListOwner {
 public:
  using List = std::list<Design>;
  using Position = typename List::iterator;

  // A new design, a copy of the working copy, at the head.
  Position AddDesign(const Design& workingCopy) {
    designs_.push_front(workingCopy);
    modified_ = true;
    return designs_.begin();
  }
  // The listed design takes the working copy's fields and shares its records.
  void ReplaceDesign(Position position, const Design& workingCopy) {
    *position = workingCopy;
    modified_ = true;
  }
  void RemoveDesign(Position position) {
    designs_.erase(position);
    modified_ = true;
  }
  // Moves the design to the head; its position stays the same (and valid).
  Position BringDesignToFront(Position position) {
    designs_.splice(designs_.begin(), designs_, position);
    modified_ = true;
    return position;
  }
  // The working copy takes the listed design's fields and shares its records.
  void FetchDesign(Position position, Design& workingCopy) {
    workingCopy = *position;
    modified_ = true;
  }

  List& GetDesignList() { return designs_; }
  const List& GetDesignList() const { return designs_; }

  void SetSheetLayout(int32_t across, int32_t down) {
    sheetsAcross_ = across;
    sheetsDown_ = down;
  }
  // A count outside 1..3 is replaced by 1 (and kept).
  std::pair<int32_t, int32_t> GetSheetLayout() {
    if (sheetsAcross_ < 1 || sheetsAcross_ > kMaxSheets) sheetsAcross_ = 1;
    if (sheetsDown_ < 1 || sheetsDown_ > kMaxSheets) sheetsDown_ = 1;
    return {sheetsAcross_, sheetsDown_};
  }

  bool IsModified() const { return modified_; }
  void SetModifiedFlag(bool modified = true) { modified_ = modified; }

 protected:
  static constexpr int32_t kMaxSheets = 3;

  List designs_;
  int32_t sheetsAcross_ = 1;
  int32_t sheetsDown_ = 1;
  bool modified_ = false;
};

}  // namespace editor
