// The layout view's editing commands and the one-level undo.

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <tuple>

#include "design/stitch_encoder.h"
#include "editor/brodera_view.h"
#include "editor/wait_cursor.h"
#include "layoutcore/stitch_extents.h"
#include "platform/message_box.h"
#include "platform/profile.h"

namespace editor {

namespace {

constexpr char kProfileProgram[] = "Brodera";
constexpr char kDesignFolderKey[] = "DotQnf";
constexpr char kImportFilter[] =
    "all stitch data(*.qnf, *.sew)|*.qnf; *.sew|stitch data(*.qnf)|*.qnf|old stitch data(*.sew)|*.sew||";
constexpr char kTooLargeText[] = "The size of the design exceeds the hoop size.";
constexpr char kNotADesignText[] = "Not a embroidery data file.";
constexpr char kDeleteText[] = "Delete design?";
constexpr char kStandardRefusedText[] =
    "Cannot change to the Standard hoop.\nThe pattern laid out has exceeded the Standard Hoop size.";
constexpr char kSheetErrorText[] =
    "Sheet layout error\nCannot reduce number of sheets.\nPresent design area surpases selected lower sheet number.";
constexpr char kTooManyText[] = "Cannot place more designs.\nA layout holds 99 designs at most.";
constexpr char kConfirmCaption[] = "Confirm";
constexpr char kPasteCaption[] = "Paste";
constexpr char kImportCaption[] = "Import";
constexpr int kFlipVerticalIndex = 3;
constexpr int kFlipHorizontalIndex = 4;

void Warn(const char* text, const char* caption) {
  platform::MessageBox(nullptr, text, caption, platform::kMbOk | platform::kMbIconExclamation);
}

PixelRect Union(const PixelRect& a, const PixelRect& b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

void TakeExtentsAndHalves(DesignObject& d, bool placedToo) {
  d.extents = GetStitchExtents(*d.working);
  TakeHalfSizes(d);
  if (placedToo) {
    d.placedHalfWidth = d.halfWidth;
    d.placedHalfHeight = d.halfHeight;
  }
}

int32_t NormalDegrees(int64_t degrees) { return static_cast<int32_t>(degrees % 360); }

}  // namespace

// ---- helpers ----

void CBroderaView::SaveForUndo(int kind) {
  CopyDesignObject(current_, undo_);
  undoPos_ = currentPos_;
  undoKind_ = kind;
  undoAvailable_ = true;
}

void CBroderaView::StoreCurrent() {
  if (currentPos_) doc_.ReplaceDesign(*currentPos_, current_);
}

void CBroderaView::RepaintUnion(const PixelRect& before) {
  const PixelRect u = Union(before, FrameToLogicalRect(current_));
  host_.Invalidate({u.left - 2, u.top - 2, u.right + 2, u.bottom + 2});
}

void CBroderaView::RepaintDesign(const DesignObject& design) {
  host_.Invalidate(FrameToLogicalRect(design));
}

void CBroderaView::HideSelection() {
  if (selectionShown_ && currentPos_) RepaintDesign(current_);
  selectionShown_ = false;
}

void CBroderaView::ShowSelectionAt(DesignPosition position) {
  currentPos_ = position;
  selectionShown_ = true;
  frame_ = ComputeDesignCorners(current_);
  RepaintDesign(current_);
}

void CBroderaView::SelectDesign(DesignPosition position) {
  HideSelection();
  doc_.FetchDesign(position, current_);
  ShowSelectionAt(doc_.BringDesignToFront(position));
}

RecordPtr CBroderaView::RemadeWorkingRecord(const DesignObject& d) const {
  if (!transform_ || !d.source) return nullptr;
  auto record = std::make_shared<design::StitchRecord>(*d.source);
  if (!transform_(*d.source, *record, d.scaleX, d.scaleY, d.mirroredH, d.mirroredV,
                  hoopKind_ == kLargeHoopKind)) {
    return nullptr;
  }
  return record;
}

void CBroderaView::RefuseTransform() { Warn(kTooLargeText, kAppCaption); }

void CBroderaView::PlaceNew(DesignObject& d, int undoKind) {
  doc_.SetDesignCount(doc_.GetDesignCount() + 1);
  const DesignPosition position = doc_.AddDesign(d);
  current_ = d;
  ShowSelectionAt(position);
  // Undo removes the placed design: its position is all undo needs.
  undoPos_ = position;
  undoKind_ = undoKind;
  undoAvailable_ = true;
}

// ---- rotation and flips ----

void CBroderaView::RotateBy(int degrees) {
  if (!CanEditCurrent()) return;
  SaveForUndo(kUndoRotate);
  WaitCursor wait(host_);
  const PixelRect before = FrameToLogicalRect(current_);
  current_.rotation = NormalDegrees(static_cast<int64_t>(current_.rotation) + degrees);
  StoreCurrent();
  frame_ = ComputeDesignCorners(current_);
  RepaintUnion(before);
}

void CBroderaView::Flip(bool vertical) {
  if (!CanEditCurrent()) return;
  DesignObject flipped = current_;
  (vertical ? flipped.mirroredV : flipped.mirroredH) ^= 1;
  RecordPtr remade = RemadeWorkingRecord(flipped);
  if (!remade) {
    // The design keeps its flags, rotation and stitches.
    RefuseTransform();
    return;
  }
  SaveForUndo(kUndoFlip);
  const PixelRect before = FrameToLogicalRect(current_);
  flipped.rotation = NormalDegrees(360 - static_cast<int64_t>(flipped.rotation));
  flipped.working = std::move(remade);
  TakeExtentsAndHalves(flipped, false);
  current_ = std::move(flipped);
  StoreCurrent();
  frame_ = ComputeDesignCorners(current_);
  RepaintUnion(before);
}

void CBroderaView::RotateFlipDialog() {
  if (!CanEditCurrent()) return;
  const platform::Profile profile(kProfileProgram);
  const RotateFlipRequest request{profile.GetInt("Rotate", "Index", 0), profile.GetInt("Rotate", "Dir", 1),
                                  profile.GetInt("Rotate", "FreeRotate", 0),
                                  profile.GetInt("Rotate", "Degrees", 0)};
  const auto choice = host_.RunRotateFlipDialog(request);
  if (!choice) return;
  WaitCursor wait(host_);
  if (choice->index == kFlipVerticalIndex || choice->index == kFlipHorizontalIndex) {
    Flip(choice->index == kFlipVerticalIndex);
  } else {
    RotateBy(choice->angle);
  }
}

// ---- auto layout ----

void CBroderaView::AutoLayoutCentre() {
  if (!CanEditCurrent()) return;
  SaveForUndo(kUndoRestore);
  const PixelRect before = FrameToLogicalRect(current_);
  current_.centreX = layoutCentreX_;
  current_.centreY = layoutCentreY_;
  StoreCurrent();
  frame_ = ComputeDesignCorners(current_);
  RepaintUnion(before);
}

void CBroderaView::AutoLayoutCorner() {
  if (!CanEditCurrent()) return;
  if (!CanPlaceMore(3)) {
    Warn(kTooManyText, kAppCaption);
    return;
  }
  WaitCursor wait(host_);
  const auto [across, down] = doc_.GetSheetLayout();
  sheetsAcross_ = across;
  sheetsDown_ = down;
  MeasureLayout();
  const int32_t cx = layoutWidth_ / 2, cy = layoutHeight_ / 2;
  const int32_t x = current_.centreX, y = current_.centreY;
  const int64_t turned = 360 - static_cast<int64_t>(current_.rotation);
  struct Corner {
    int32_t x, y;
    bool toggleH, toggleV;
    int32_t rotation;
  };
  const Corner corners[3] = {
      {2 * cx - x, y, true, false, NormalDegrees(turned)},
      {2 * cx - x, 2 * cy - y, false, false, NormalDegrees(static_cast<int64_t>(current_.rotation) + 180)},
      {x, 2 * cy - y, false, true, NormalDegrees(turned)},
  };
  // All three copies are made before any is placed: a copy that cannot be made leaves the
  // layout as it was.
  std::array<DesignObject, 3> copies;
  for (int i = 0; i < 3; ++i) {
    DesignObject& copy = copies[i];
    CopyDesignObject(current_, copy);
    copy.centreX = corners[i].x;
    copy.centreY = corners[i].y;
    copy.mirroredH ^= corners[i].toggleH ? 1 : 0;
    copy.mirroredV ^= corners[i].toggleV ? 1 : 0;
    copy.rotation = corners[i].rotation;
    copy.combineMark = 0;
    copy.groupMark1 = copy.groupMark2 = kNoGroup;
    RecordPtr remade = RemadeWorkingRecord(copy);
    if (!remade) {
      RefuseTransform();
      return;
    }
    copy.working = std::move(remade);
    TakeExtentsAndHalves(copy, false);
  }
  for (int i = 0; i < 3; ++i) {
    doc_.SetDesignCount(doc_.GetDesignCount() + 1);
    cornerPos_[i] = doc_.AddDesign(copies[i]);
    RepaintDesign(copies[i]);
  }
  selectionShown_ = true;
  frame_ = ComputeDesignCorners(current_);
  undoKind_ = kUndoCorner;
  undoAvailable_ = true;
}

// ---- delete, copy, paste ----

void CBroderaView::DeleteDesign() {
  if (!CanEditCurrent()) return;
  if (platform::MessageBox(nullptr, kDeleteText, kConfirmCaption,
                           platform::kMbYesNo | platform::kMbIconExclamation) != platform::kIdYes) {
    return;
  }
  WaitCursor wait(host_);
  SaveForUndo(kUndoDelete);
  undoPos_.reset();  // the design is gone; undo places a new one
  HideSelection();
  doc_.RemoveDesign(*currentPos_);
  currentPos_.reset();
  doc_.SetDesignCount(doc_.GetDesignCount() - 1);
}

void CBroderaView::CopyDesign() {
  if (!CanEditCurrent()) return;
  CopyDesignObject(current_, clipboard_);
  clipboardFull_ = true;
}

void CBroderaView::PasteDesign() {
  if (!clipboardFull_ || !CanPlaceMore()) return;
  if (hoopKind_ == kStandardHoopKind && NeedsLargeHoop(*clipboard_.working)) {
    Warn(kTooLargeText, kPasteCaption);
    return;
  }
  WaitCursor wait(host_);
  HideSelection();
  DesignObject pasted;
  CopyDesignObject(clipboard_, pasted);
  std::tie(pasted.centreX, pasted.centreY) = PlacementPosition();
  pasted.groupMark1 = pasted.groupMark2 = kNoGroup;
  pasted.combineMark = 0;
  PlaceNew(pasted, kUndoPaste);
}

// ---- import and lettering ----

void CBroderaView::ImportDesign() {
  if (!CanPlaceMore() || combineMode_) return;
  platform::Profile profile(kProfileProgram);
  std::string folder = profile.GetString(kDesignPathSection, kDesignFolderKey);
  if (folder.empty()) folder = programFolder_;
  RecordPtr working = NewDesignRecord();
  const auto path = host_.RunImportDialog({kImportFilter, folder, hoopKind_}, *working);
  if (!path) return;
  const std::string ext = LowerExtension(*path);
  if (ext != ".sew" && ext != ".qnf") {
    Warn(kNotADesignText, kImportCaption);
    return;
  }
  if (working->ColourCount() <= 0) {
    Warn(kDefectiveFileText, kImportCaption);
    return;
  }
  WaitCursor wait(host_);
  HideSelection();
  if (!design::CStitchEncoder().Recentre(*working).ok) {
    Warn(kDefectiveFileText, kImportCaption);
    return;
  }
  if (hoopKind_ == kStandardHoopKind && NeedsLargeHoop(*working)) {
    Warn(kTooLargeText, kImportCaption);
    return;
  }
  DesignObject d;
  d.name = *path;
  d.working = working;
  d.source = std::make_shared<design::StitchRecord>(*working);
  TakeExtentsAndHalves(d, true);
  std::tie(d.centreX, d.centreY) = PlacementPosition();
  PlaceNew(d, kUndoPlace);
  placedByInsert_ = true;
  const std::string parent = std::filesystem::path(*path).parent_path().string();
  profile.WriteString(kDesignPathSection, kDesignFolderKey, parent.empty() ? parent : parent + "/");
}

void CBroderaView::Monogram() {
  if (!CanPlaceMore() || combineMode_) return;
  MonogramRequest request{programFolder_, hoopKind_, false, {}, {}};
  const bool reEdit = CanEditCurrent() && current_.monogram.IsLettering();
  if (reEdit) {
    request.reEdit = true;
    request.name = current_.name;
    request.block = current_.monogram;
  }
  RecordPtr working = NewDesignRecord();
  const auto result = host_.RunMonogramDialog(request, *working);
  if (!result) return;
  WaitCursor wait(host_);
  // The lettering comes back already centred on its extents: a second pass would only
  // cost time.
  RecordPtr source = std::make_shared<design::StitchRecord>(*working);
  if (reEdit) {
    SaveForUndo(kUndoReEdit);
    const PixelRect before = FrameToLogicalRect(current_);
    current_.monogram = result->block;
    current_.working = working;
    current_.source = source;
    TakeExtentsAndHalves(current_, false);
    if (RecordPtr remade = RemadeWorkingRecord(current_)) {
      current_.working = std::move(remade);
    } else {
      current_.scaleX = current_.scaleY = 1.0;  // the unscaled lettering
    }
    TakeExtentsAndHalves(current_, false);
    current_.groupMark1 = current_.groupMark2 = kNoGroup;
    current_.combineMark = 0;
    StoreCurrent();
    ShowSelectionAt(*currentPos_);
    RepaintUnion(before);
  } else {
    HideSelection();
    DesignObject d;
    d.name = result->name;
    d.monogram = result->block;
    d.working = working;
    d.source = source;
    TakeExtentsAndHalves(d, true);
    std::tie(d.centreX, d.centreY) = PlacementPosition();
    PlaceNew(d, kUndoPlace);
  }
  placedByInsert_ = true;
}

// ---- hoop and sheets ----

void CBroderaView::ChangeHoop(int32_t kind) {
  if (combineMode_ || kind == hoopKind_) return;
  if (kind == kStandardHoopKind) {
    for (const DesignObject& d : doc_.GetDesignList()) {
      if (d.working && NeedsLargeHoop(*d.working)) {
        Warn(kStandardRefusedText, kAppCaption);
        return;
      }
    }
  }
  hoopKind_ = kind;
  doc_.SetHoopKind(kind);
  doc_.SetModifiedFlag();
  SetHoopBox();
  host_.RedrawAll(true);
}

void CBroderaView::NumberOfSheets() {
  const SheetState before{sheetsAcross_, sheetsDown_, layoutWidth_, layoutHeight_};
  int32_t across = sheetsAcross_, down = sheetsDown_;
  if (!host_.RunSheetCountDialog(across, down)) return;
  across = std::clamp(across, 1, 3);
  down = std::clamp(down, 1, 3);
  const int32_t width = across * page_.width, height = down * page_.height;
  for (const DesignObject& d : doc_.GetDesignList()) {
    if (d.centreX < 0 || d.centreX > width || d.centreY < 0 || d.centreY > height) {
      Warn(kSheetErrorText, kConfirmCaption);
      return;
    }
  }
  // Only a change that really happened can be undone.
  savedSheets_ = before;
  sheetsAcross_ = across;
  sheetsDown_ = down;
  doc_.SetSheetLayout(across, down);
  doc_.SetModifiedFlag();
  MeasureLayout();
  SetScrollSizeForZoom();
  host_.RedrawAll(true);
  undoKind_ = kUndoSheets;
  undoAvailable_ = true;
}

// ---- undo ----

void CBroderaView::Undo() {
  if (!undoAvailable_) return;
  undoAvailable_ = false;
  switch (undoKind_) {
    case kUndoRestore:
    case kUndoRotate:
    case kUndoReEdit:
    case kUndoFlip: {
      if (!undoPos_) return;
      WaitCursor wait(host_);
      HideSelection();
      doc_.FetchDesign(*undoPos_, current_);
      RepaintDesign(current_);
      doc_.RemoveDesign(*undoPos_);
      GiveNewRecords(current_);
      CopyDesignObject(undo_, current_);
      ShowSelectionAt(doc_.AddDesign(current_));
      break;
    }
    case kUndoDelete: {
      WaitCursor wait(host_);
      HideSelection();
      doc_.SetDesignCount(doc_.GetDesignCount() + 1);
      current_ = DesignObject();
      GiveNewRecords(current_);
      CopyDesignObject(undo_, current_);
      ShowSelectionAt(doc_.AddDesign(current_));
      break;
    }
    case kUndoPaste:
    case kUndoPlace: {
      if (!undoPos_) return;
      HideSelection();
      DesignObject placed;
      doc_.FetchDesign(*undoPos_, placed);
      RepaintDesign(placed);
      if (currentPos_ == undoPos_) currentPos_.reset();
      doc_.RemoveDesign(*undoPos_);
      doc_.SetDesignCount(doc_.GetDesignCount() - 1);
      break;
    }
    case kUndoSheets:
      sheetsAcross_ = savedSheets_.across;
      sheetsDown_ = savedSheets_.down;
      doc_.SetSheetLayout(sheetsAcross_, sheetsDown_);
      MeasureLayout();
      SetScrollSizeForZoom();
      host_.RedrawAll(true);
      break;
    case kUndoCorner:
      for (auto& position : cornerPos_) {
        if (!position) continue;
        DesignObject copy;
        doc_.FetchDesign(*position, copy);
        RepaintDesign(copy);
        if (currentPos_ == position) {
          HideSelection();
          currentPos_.reset();
        }
        doc_.RemoveDesign(*position);
        doc_.SetDesignCount(doc_.GetDesignCount() - 1);
        position.reset();
      }
      break;
    default:
      break;
  }
  undoPos_.reset();
}

// ---- older layouts ----

void CBroderaView::RebuildOlderLayout(LayoutFormat format) {
  DesignList& designs = doc_.GetDesignList();
  for (auto it = designs.begin(); it != designs.end();) {
    DesignObject& d = *it;
    if (!d.source) {  // nothing to build from
      it = designs.erase(it);
      continue;
    }
    if (format == LayoutFormat::kArf) {
      if (RecordPtr remade = RemadeWorkingRecord(d)) d.working = std::move(remade);
      if (!d.working) d.working = std::make_shared<design::StitchRecord>(*d.source);
      TakeExtentsAndHalves(d, true);
    } else {
      // The arr forms place a design by its first point; it moves to its extents' middle,
      // turned with the design.
      const LayoutExtents e0 = GetStitchExtents(*d.source);
      if (!design::CStitchEncoder().Recentre(*d.source).ok) {
        it = designs.erase(it);
        continue;
      }
      d.working = std::make_shared<design::StitchRecord>(*d.source);
      d.mirroredH = d.mirroredV = 0;
      d.monogram.Clear();
      const int32_t ox = ((e0.right - e0.left) * 10 / 2 + 5) / 10 - e0.right;
      const int32_t oy = ((e0.bottom - e0.top) * 10 / 2 + 5) / 10 - e0.bottom;
      const double t = d.rotation * kDegreesToRadians;
      d.centreX -= static_cast<int32_t>(std::trunc(ox * std::cos(t) - oy * std::sin(t)));
      d.centreY -= static_cast<int32_t>(std::trunc(ox * std::sin(t) + oy * std::cos(t)));
      d.scaleX = d.scaleY = 1.0;
      TakeExtentsAndHalves(d, true);
    }
    d.groupMark1 = d.groupMark2 = kNoGroup;
    ++it;
  }
  doc_.SetDesignCount(static_cast<int32_t>(designs.size()));
}

}  // namespace editor
