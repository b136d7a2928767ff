#pragma once

// The Edit Parts dialog's rules: the list of part thumbnails with their texts, selection,
// re-colouring and changing a part's fill type through the Fill and Line dialogs, deleting,
// and moving parts (by the Move button or by dragging) to just before another part. The
// parts' registration numbers follow the list order; OK sorts the parts by them. Edits go to
// the working fields; the frame applies them when the dialog was accepted.

#include <memory>
#include <optional>
#include <utility>
#include <string>
#include <vector>

#include "digitizer/part_list.h"
#include "digitizer/pixel_image.h"

namespace digitizer {

// The Line dialog: zigzag and straight-stitch types 5 to 9.
struct LineStitchChoice {
  int colourIndex = 0;
  int fillType = 0;
  double zigzagWidthMm = 0;
  double straightLengthMm = 0;
};

// The Fill dialog: the weaves, cross stitch and satin, types 0 to 4.
struct FillStitchChoice {
  int colourIndex = 0;
  int fillType = 0;
  int angle = 0;  // degrees, for the diagonal weave
};

// The dialogs the parts editor opens; the program shows the real ones, tests script them.
// Each returns the user's choice, or nothing on Cancel.
class PartDialogs {
 public:
  virtual ~PartDialogs() = default;
  virtual std::optional<LineStitchChoice> EditLineStitch(const LineStitchChoice& start) = 0;
  // The part comes along so that the satin settings open on it.
  virtual std::optional<FillStitchChoice> EditFillStitch(PartRecord& part, const FillStitchChoice& start) = 0;
  virtual void ShowAllColors(CPartList& parts) = 0;
};

class EditPartsModel {
 public:
  static constexpr const char* kCaption = "Edit Parts";
  static constexpr const char* kMovingCaption = "Moving - Edit Parts";
  static constexpr const char* kMoveText = "Move";
  static constexpr const char* kMoveToText = "Move To";
  static constexpr platform::PaletteColour kThumbnailBackground = platform::PaletteRgb(220, 220, 220);

  enum class Result { kStay, kAccepted };

  // maskWidth and maskHeight: the pixel size of every part's region mask.
  EditPartsModel(CPartList& parts, PartDialogs& dialogs, int maskWidth, int maskHeight);
  // Frees the thumbnails the dialog made. A dialog that was not accepted leaves the parts as
  // they were when it opened: deleted parts come back, in their old order.
  ~EditPartsModel();

  int ItemCount() const { return static_cast<int>(items_.size()); }
  PartRecord& Item(int i) const { return *items_[static_cast<std::size_t>(i)]; }
  std::string ItemText(int i) const;
  PixelImage ThumbnailImage(int i) const;

  void SetSelection(const std::vector<int>& items);
  const std::vector<int>& Selection() const { return selection_; }

  std::string Caption() const { return moving_.empty() ? kCaption : kMovingCaption; }
  std::string MoveButtonText() const { return moving_.empty() ? kMoveText : kMoveToText; }
  bool IsMoving() const { return !moving_.empty(); }

  // "Color/Stitch" and a double-click: each selected part through its dialog.
  void EditSelected();
  // "Delete": asks first; closes as by OK when no part is left. The deleted parts leave the
  // list at once but are freed only when the dialog is accepted.
  Result DeleteSelected();
  // "Move": the first press remembers the selection, the second cancels.
  void PressMove();
  // A click on an item; while moving, the remembered parts go just before it.
  void ClickItem(int item);
  // A drag of the selected items released over an item.
  void DropSelectionOn(int item);
  // "All Color".
  void ShowAllColors();
  // "Make": the stitches are to be made at once; closes as by OK.
  Result Make();
  Result Ok();
  // Cancel (and a dialog closed without OK): the parts as they were when it opened.
  void Cancel();

  bool Accepted() const { return accepted_; }
  bool MakeRequested() const { return makeRequested_; }

 private:
  void MakeThumbnail(PartRecord& part) const;
  void EditPart(PartRecord& part);
  void MoveBefore(std::vector<PartRecord*> moved, int item);
  void Renumber();

  CPartList& parts_;
  PartDialogs& dialogs_;
  int maskWidth_;
  int maskHeight_;
  std::vector<PartRecord*> items_;  // in list order
  std::vector<int> selection_;
  std::vector<PartRecord*> moving_;
  // The list as the dialog found it, with each part's number, and the parts deleted since.
  std::vector<std::pair<PartRecord*, int32_t>> opened_;
  std::vector<std::unique_ptr<PartRecord>> deleted_;
  // What the dialogs open with for a part that has no value of its own.
  int rememberedAngle_ = 45;
  double rememberedZigzagWidthMm = 1.4;
  double rememberedStraightLengthMm = 2.0;
  bool accepted_ = false;
  bool makeRequested_ = false;
};

// The side of a thumbnail dot for a stitch code: wider zigzags show wider.
int ThumbnailDotSize(uint16_t stitch);

}  // namespace digitizer
