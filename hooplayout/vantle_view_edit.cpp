// The editing commands of the Maxiframe layout view: turns, flips, delete, copy and paste,
// Corner Layout, Import Design and the one level of undo. Every command works on the
// working copy of the current design and hands it back through the document's list
// operations.

#include <filesystem>

#include "design/stitch_encoder.h"
#include "design/stitch_transformer.h"
#include "hooplayout/hoop_positions.h"
#include "hooplayout/position_send.h"
#include "hooplayout/vantle_view.h"
#include "layoutcore/layout_save.h"
#include "layoutcore/selection_frame.h"
#include "platform/message_box.h"
#include "platform/profile.h"

namespace hooplayout {

namespace {

constexpr int kCornerCopies = 3;
constexpr int kFullTurn = 360;
// Where Paste and Import put a design: the centre of sewing space B.
constexpr LayoutPoint kNewDesignStart{kSpaceBCentreX, kSpaceCentreY};
// The Rotate/Flip dialog's choices that flip instead of turning.
constexpr int kChoiceFlipVertical = 3;
constexpr int kChoiceFlipHorizontal = 4;

constexpr char kDeleteText[] = "Delete design?";
constexpr char kConfirmCaption[] = "Confirm";
constexpr char kImportCaption[] = "Import";
constexpr char kNotEmbroideryText[] = "Not a embroidery data file.";
constexpr char kDefectiveDesignText[] = "This file may be defective.";
constexpr char kDesignFolderKey[] = "DotSew";
constexpr char kSaveCaption[] = "Save";
constexpr char kSaveAsCaption[] = "Save As";
constexpr char kNewFormatQuestion[] = "Save the file in Velinor 7000 new format(*.arg).";
constexpr char kReplaceQuestion[] = "%s\nThis file already exists.\n\nReplace existing file?";
constexpr char kOldLayoutExtension[] = ".arr";
constexpr char kLayoutExtension[] = ".arg";
constexpr char kNotLayoutText[] = "Not a layout data file.";

// The working stitches made again from a source with the design's scales and the given
// flips, into target (a copy of the working record first, for its colour tables). False,
// target undefined, when the result would not fit a record.
bool RebuildInto(design::LayoutStitchRecord& target, const LayoutDesign& d,
                 const LayoutRecordPtr& source, int32_t flipH, int32_t flipV) {
  target = *d.working;
  int copied = 0;
  return design::CLayoutStitchTransformer().Transform(*source, target, d.scaleX, d.scaleY, copied,
                                                      flipH != 0, flipV != 0, 0);
}

void TellRebuildFailed() {
  platform::MessageBox(nullptr, kRebuildFailedText, kVantleCaption,
                       platform::kMbOk | platform::kMbIconExclamation);
}

void PlaceStartKeepingOffset(LayoutDesign& d, LayoutPoint start) {
  d.startX = start.x;
  d.startY = start.y;
  const LayoutPoint centre = CentreFromStart(d);
  d.centreX = centre.x;
  d.centreY = centre.y;
}

}  // namespace

void CopyDesignObject(const LayoutDesign& from, LayoutDesign& target) {
  if (!target.working || !target.source || target.working == from.working ||
      target.source == from.source) {
    GiveNewRecords(target);
  }
  const LayoutRecordPtr working = target.working;
  const LayoutRecordPtr source = target.source;
  const int32_t reserved6 = target.reserved6;
  const int32_t reserved7 = target.reserved7;
  target = from;
  target.working = working;
  target.source = source;
  target.reserved6 = reserved6;
  target.reserved7 = reserved7;
  if (from.working) *target.working = *from.working;
  if (from.source) *target.source = *from.source;
}

void CVantleView::SaveUndo(LayoutOperationKind kind) {
  CopyDesignObject(current_, undo_);
  undoPos_ = currentPos_;
  lastOperation_ = kind;
  undoAvailable_ = true;
}

void CVantleView::StoreCurrent() {
  host_.Invalidate(editor::FrameRepaintRect(frame_, zoom_));
  doc_.UpdateDesign(*currentPos_, current_);
  ComputeFrame();
  host_.Invalidate(editor::FrameRepaintRect(frame_, zoom_));
}

void CVantleView::RotateBy(int degrees) {
  if (!selectionShown_ || !currentPos_) return;
  SaveUndo(LayoutOperationKind::kRotate);
  current_.angle = (current_.angle % kFullTurn + degrees % kFullTurn) % kFullTurn;
  const LayoutPoint start = StartFromCentre(current_);
  current_.startX = start.x;
  current_.startY = start.y;
  StoreCurrent();
}

void CVantleView::Flip(bool horizontal) {
  if (!selectionShown_ || !currentPos_) return;
  const int32_t flipH = horizontal ? !current_.flipH : current_.flipH;
  const int32_t flipV = horizontal ? current_.flipV : !current_.flipV;
  // Mirroring always starts again from the stitches as imported. A rebuild that fails
  // changes nothing: flags, angle and stitches stay together.
  design::LayoutStitchRecord& rebuilt = doc_.WorkBuffer();
  if (!RebuildInto(rebuilt, current_, current_.source, flipH, flipV)) {
    TellRebuildFailed();
    return;
  }
  SaveUndo(LayoutOperationKind::kFlip);
  // The undo copy holds the stitches as they were; the working copy takes the rebuilt ones.
  *current_.working = rebuilt;
  current_.flipH = flipH;
  current_.flipV = flipV;
  current_.angle = (kFullTurn - current_.angle % kFullTurn) % kFullTurn;
  current_.extents = MeasureLayoutExtents(*current_.working);
  StoreCurrent();
}

void CVantleView::FlipHorizontal() { Flip(true); }
void CVantleView::FlipVertical() { Flip(false); }

void CVantleView::ApplyRotateFlipChoice(int choiceIndex, int angleDegrees) {
  if (choiceIndex == kChoiceFlipVertical) {
    FlipVertical();
  } else if (choiceIndex == kChoiceFlipHorizontal) {
    FlipHorizontal();
  } else {
    RotateBy(angleDegrees);
  }
}

void CVantleView::Delete() {
  if (!selectionShown_ || !currentPos_) return;
  if (platform::MessageBox(nullptr, kDeleteText, kConfirmCaption,
                           platform::kMbYesNo | platform::kMbIconExclamation) != platform::kIdYes) {
    return;
  }
  SaveUndo(LayoutOperationKind::kDelete);
  HideSelection();
  doc_.RemoveDesign(*currentPos_);
  currentPos_.reset();
  doc_.SetDesignCount(--designCount_);
  host_.RedrawAll();
}

void CVantleView::Copy() {
  if (!selectionShown_) return;
  CopyDesignObject(current_, clipboard_);
  clipboardFilled_ = true;
}

void CVantleView::AddAsNew(LayoutDesign design) {
  HideSelection();
  const DesignPosition position = doc_.AddDesign(design);
  doc_.SetDesignCount(++designCount_);
  ShowSelection(position);
}

void CVantleView::Paste() {
  if (!clipboardFilled_ || designCount_ >= kMaxLayoutDesigns) return;
  LayoutDesign copy;
  CopyDesignObject(clipboard_, copy);
  PlaceStartKeepingOffset(copy, kNewDesignStart);
  copy.reserved10 = kNoGroupMark;
  copy.reserved11 = kNoGroupMark;
  copy.transient = 0;
  AddAsNew(copy);
  undoPos_ = currentPos_;
  lastOperation_ = LayoutOperationKind::kPaste;
  undoAvailable_ = true;
}

void CVantleView::CornerLayout() {
  if (!selectionShown_ || !currentPos_) return;
  // Three more designs must fit under the layout's limit; otherwise nothing is added.
  if (designCount_ + kCornerCopies > kMaxLayoutDesigns) return;
  CopyDesignObject(current_, clipboard_);
  clipboardFilled_ = true;
  const LayoutPoint model{current_.startX, current_.startY};
  const struct {
    LayoutPoint start;
    bool flipV;
    bool flipH;
  } corners[kCornerCopies] = {
      {{kLayoutWidth - model.x, model.y}, false, true},
      {{kLayoutWidth - model.x, kLayoutHeight - model.y}, true, true},
      {{model.x, kLayoutHeight - model.y}, true, false},
  };
  for (int i = 0; i < kCornerCopies; ++i) {
    LayoutDesign copy;
    CopyDesignObject(clipboard_, copy);
    PlaceStartKeepingOffset(copy, corners[i].start);
    AddAsNew(copy);
    if (corners[i].flipV) Flip(false);
    if (corners[i].flipH) Flip(true);
    cornerPos_[i] = currentPos_;
  }
  lastOperation_ = LayoutOperationKind::kCornerLayout;
  undoAvailable_ = true;
}

void CVantleView::ImportDesign() {
  if (designCount_ >= kMaxLayoutDesigns) return;
  platform::Profile profile(kProfileProgram);
  std::string folder = profile.GetString(kDesignPathSection, kDesignFolderKey, "");
  if (folder.empty()) folder = programFolder_;

  LayoutDesign d;
  GiveNewRecords(d);
  std::string path;
  std::string chosenFolder;
  if (!host_.RunImportDialog(*d.working, folder, path, chosenFolder)) return;
  const std::string ext = editor::LowerExtension(path);
  if (ext != ".sew" && ext != ".qnf") {
    platform::MessageBox(nullptr, kNotEmbroideryText, kImportCaption,
                         platform::kMbOk | platform::kMbIconExclamation);
    return;
  }
  if (!PlaceNewDesign(d, path)) {
    platform::MessageBox(nullptr, kDefectiveDesignText, kImportCaption,
                         platform::kMbOk | platform::kMbIconExclamation);
    return;
  }
  if (!chosenFolder.empty()) profile.WriteString(kDesignPathSection, kDesignFolderKey, chosenFolder);
}

bool CVantleView::PlaceNewDesign(LayoutDesign& d, const std::string& name) {
  if (d.working->ColourCount() <= 0 || !design::CLayoutStitchEncoder().Recentre(*d.working).ok) {
    return false;
  }
  CountStreamPairs(*d.working);
  *d.source = *d.working;
  d.name = name;
  d.startX = kNewDesignStart.x;
  d.startY = kNewDesignStart.y;
  d.angle = 0;
  d.transient = 0;
  FixUpOldLayoutDesign(d);  // the placement from the working stitches, unturned
  AddAsNew(d);
  undoPos_ = currentPos_;
  lastOperation_ = LayoutOperationKind::kNewDesign;
  undoAvailable_ = true;
  return true;
}

void CVantleView::Monogram() {
  if (designCount_ >= kMaxLayoutDesigns) return;
  const bool again = selectionShown_ && currentPos_ && current_.monogram.IsLettering();
  LayoutDesign made;
  GiveNewRecords(made);
  if (again) {
    made.name = current_.name;
    made.monogram = current_.monogram;
  }
  if (!host_.RunMonogramDialog(*made.working, made.name, made.monogram)) return;
  if (!again) {
    PlaceNewDesign(made, made.name);
    return;
  }
  if (made.working->ColourCount() <= 0 || !design::CLayoutStitchEncoder().Recentre(*made.working).ok) {
    return;
  }
  CountStreamPairs(*made.working);
  *made.source = *made.working;
  // The lettering is made again where it stands: same start point, angle, flips and scale.
  // A rebuild that fails leaves the design as it was.
  made.scaleX = current_.scaleX;
  made.scaleY = current_.scaleY;
  if (!RebuildInto(*made.working, made, made.source, current_.flipH, current_.flipV)) {
    TellRebuildFailed();
    return;
  }
  SaveUndo(LayoutOperationKind::kMonogramAgain);
  current_.monogram = made.monogram;
  current_.name = made.name;
  current_.source = made.source;
  current_.working = made.working;
  MeasureWorkingSize(current_);
  current_.startOffsetX = current_.halfWidth - current_.extents.right;
  current_.startOffsetY = current_.halfHeight - current_.extents.bottom;
  current_.sourceStartOffsetX = current_.startOffsetX;
  current_.sourceStartOffsetY = current_.startOffsetY;
  current_.sourceHalfWidth = current_.halfWidth;
  current_.sourceHalfHeight = current_.halfHeight;
  // The centre is tied to the start point through the turned offset, as everywhere.
  const LayoutPoint centre = CentreFromStart(current_);
  current_.centreX = centre.x;
  current_.centreY = centre.y;
  current_.reserved10 = kNoGroupMark;
  current_.reserved11 = kNoGroupMark;
  StoreCurrent();
}

void CVantleView::RemoveListed(DesignPosition position) {
  doc_.FetchDesign(position, current_);
  ComputeFrame();
  host_.Invalidate(editor::FrameRepaintRect(frame_, zoom_));
  doc_.RemoveDesign(position);
  doc_.SetDesignCount(--designCount_);
}

void CVantleView::Undo() {
  if (!undoAvailable_) return;
  undoAvailable_ = false;
  switch (lastOperation_) {
    case LayoutOperationKind::kMove:
    case LayoutOperationKind::kRotate:
    case LayoutOperationKind::kMonogramAgain:
    case LayoutOperationKind::kFlip: {
      if (!undoPos_) return;
      LayoutDesign restored;
      CopyDesignObject(undo_, restored);
      HideSelection();
      doc_.RemoveDesign(*undoPos_);
      const DesignPosition position = doc_.AddDesign(restored);
      ShowSelection(position);
      break;
    }
    case LayoutOperationKind::kDelete: {
      LayoutDesign restored;
      CopyDesignObject(undo_, restored);
      AddAsNew(restored);
      break;
    }
    case LayoutOperationKind::kPaste:
    case LayoutOperationKind::kNewDesign:
      HideSelection();
      if (undoPos_) RemoveListed(*undoPos_);
      currentPos_.reset();
      break;
    case LayoutOperationKind::kCornerLayout:
      HideSelection();
      for (auto& position : cornerPos_) {
        if (position) RemoveListed(*position);
        position.reset();
      }
      currentPos_.reset();
      break;
  }
  undoPos_.reset();
  host_.RedrawAll();
}

std::string CVantleView::LayoutFolder() const {
  const std::string folder =
      platform::Profile(kProfileProgram).GetString(kDesignPathSection, kLayoutFolderKey, "");
  return folder.empty() ? programFolder_ : folder;
}

bool CVantleView::FileSave() {
  if (!CheckCombineLimits(doc_.GetDesignList())) return false;
  const std::string path = doc_.GetPathName();
  if (path.empty()) return FileSaveAs();
  if (editor::LowerExtension(path) == kOldLayoutExtension) {
    const int answer = platform::MessageBox(
        nullptr, kNewFormatQuestion, kSaveCaption,
        platform::kMbYesNo | platform::kMbIconInformation | platform::kMbDefButton2);
    if (answer != platform::kIdYes) return false;
    return doc_.SaveBesideAsArg();
  }
  return doc_.OnSaveDocument(path);
}

bool CVantleView::FileSaveAs() {
  if (!CheckCombineLimits(doc_.GetDesignList())) return false;
  const std::string folder = LayoutFolder();
  const std::string offered = WithArgExtension(doc_.GetTitle());
  std::optional<std::string> chosen = host_.RunSaveLayoutDialog(offered, folder);
  if (!chosen || chosen->empty()) return false;
  std::string path = *chosen;
  if (editor::LowerExtension(path) != kLayoutExtension) path += kLayoutExtension;
  std::error_code error;
  if (std::filesystem::exists(path, error)) {
    std::string question = kReplaceQuestion;
    if (const auto at = question.find("%s"); at != std::string::npos) question.replace(at, 2, path);
    const int answer = platform::MessageBox(
        nullptr, question, kSaveAsCaption,
        platform::kMbYesNo | platform::kMbIconExclamation | platform::kMbDefButton2);
    if (answer != platform::kIdYes) return false;
  }
  return doc_.OnSaveDocument(path);
}

void CVantleView::FileNew() {
  if (!doc_.SaveModified()) return;
  doc_.OnNewDocument();
  OnInitialUpdate();
  host_.RedrawAll();
}

bool CVantleView::FileOpen() {
  platform::Profile profile(kProfileProgram);
  const std::optional<std::string> chosen = host_.RunOpenLayoutDialog(LayoutFolder());
  if (!chosen || chosen->empty()) return false;
  // The new file is read and checked whole before anything of the current layout goes.
  ArgLayout layout;
  switch (doc_.ReadLayoutFile(*chosen, layout)) {
    case LayoutLoad::kOk: break;
    case LayoutLoad::kNotFound:
      ShowLayoutNotFound(*chosen);
      return false;
    case LayoutLoad::kDefective:
      platform::MessageBox(nullptr, kDefectiveLayoutText, kFileOpenCaption,
                           platform::kMbOk | platform::kMbIconExclamation);
      return false;
  }
  if (!doc_.SaveModified()) return false;
  profile.WriteString(kDesignPathSection, kLayoutFolderKey,
                      std::filesystem::path(*chosen).parent_path().string());
  const std::string ext = editor::LowerExtension(*chosen);
  // The file's own magic decides whether it is a layout; the name only earns a warning.
  if (ext != kLayoutExtension && ext != kOldLayoutExtension) {
    platform::MessageBox(nullptr, kNotLayoutText, kFileOpenCaption,
                         platform::kMbOk | platform::kMbIconExclamation);
  }
  doc_.AdoptLayout(std::move(layout), *chosen);
  doc_.SetTitle(std::filesystem::path(*chosen).filename().string());
  OnInitialUpdate();
  host_.RedrawAll();
  return true;
}

bool CVantleView::SendDesigns(PositionTransfer& transfer) {
  CPositionSender sender(doc_, transfer);
  const bool sent = sender.SendDesigns();
  host_.RedrawAll();
  return sent;
}

bool CVantleView::WriteDesigns(PositionTransfer& transfer) {
  CPositionSender sender(doc_, transfer);
  return sender.WriteDesigns();
}

CommandStates CVantleView::Commands() const {
  CommandStates states;
  states.save = allValid_ && designCount_ > 0;
  states.importDesign = designCount_ < kMaxLayoutDesigns;
  states.selection = selectionShown_;
  states.undo = undoAvailable_;
  states.paste = clipboardFilled_ && designCount_ < kMaxLayoutDesigns;
  return states;
}

}  // namespace hooplayout
