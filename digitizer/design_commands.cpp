#include "digitizer/design_commands.h"

#include "digitizer/pictorel_commands.h"

namespace digitizer {

namespace {

// Clears the design's busy flag however the command ends: drawing is skipped while it is set.
class BusyDesign {
 public:
  explicit BusyDesign(CStitchDesign& design) : design_(design) { design_.SetBusy(true); }
  ~BusyDesign() { design_.SetBusy(false); }
  BusyDesign(const BusyDesign&) = delete;
  BusyDesign& operator=(const BusyDesign&) = delete;

 private:
  CStitchDesign& design_;
};

}  // namespace

DesignCommands::DesignCommands(CImportDoc& doc, DesignDialogs& dialogs, DesignCommandHost& host,
                               MainFrameLink& frame, ModifyApplier modify)
    : doc_(doc), dialogs_(dialogs), host_(host), frame_(frame), modify_(std::move(modify)) {}

platform::CommandState DesignCommands::QueryCommand(int id) const {
  switch (id) {
    case cmd::kMakeStitch:
    case cmd::kEditParts:
    case cmd::kReturnToEdit:
    case cmd::kDeleteAllParts:
      return {true, DesignCommandEnabled(id, doc_.Design().EditState()), false};
    default:
      return {};
  }
}

void DesignCommands::RunCommand(int id) {
  switch (id) {
    case cmd::kMakeStitch: OnMakeStitch(); break;
    case cmd::kEditParts: OnEditParts(); break;
    case cmd::kReturnToEdit: OnReturnToEdit(); break;
    case cmd::kDeleteAllParts: OnDeleteAllParts(); break;
    default: break;
  }
}

void DesignCommands::ShowPanes(int mode) {
  CStitchDesign& design = doc_.Design();
  frame_.UpdateStatusPanes(design.GetPartCount(), -1, -1, -1, mode, design.GetStitchCount());
}

bool DesignCommands::RunMaking(const MakeStitchOptions& options) {
  CStitchDesign& design = doc_.Design();
  // A cancelled run leaves the design as it was: the stream the run had begun is dropped
  // whole, not only its count, so that what is drawn, saved and sent stays one design.
  CStitchDesign::Snapshot before = design.TakeSnapshot();
  BusyDesign busy(design);
  const MakeStitchEnd end = dialogs_.RunMaking(run_, design, options);
  if (end != MakeStitchEnd::kRan) {
    design.RestoreSnapshot(std::move(before));
    return false;
  }
  host_.SetModified(true);
  const MakeStitchError error = run_.TakeError();
  if (error != kNoStitchError) frame_.PostFrameMessage(kUwmStitchError, error, 0);
  return true;
}

bool DesignCommands::MakeWithDialog() {
  const auto chosen = dialogs_.ChooseMakeOptions(doc_.Design(), options_);
  if (!chosen) return false;
  options_ = *chosen;
  return RunMaking(options_);
}

void DesignCommands::Modify() {
  ModifySettings start;
  start.flip = options_.flip;
  start.rotationDegrees = options_.rotationDegrees;
  start.sizePercent = options_.sizePercent;
  const auto chosen = dialogs_.ChooseModify(start);
  if (!chosen || !modify_) return;
  CStitchDesign& design = doc_.Design();
  CStitchDesign::Snapshot before = design.TakeSnapshot();
  BusyDesign busy(design);
  const int32_t pairs =
      modify_(design, chosen->flip, ModifyAngleFor(chosen->rotationDegrees), chosen->sizePercent);
  if (pairs < 0) {
    // The modified stitches did not fit: the stitches are as the last Modify left them, and
    // so are the settings the next Modify starts from and the document's modified state.
    design.RestoreSnapshot(std::move(before));
    frame_.PostFrameMessage(kUwmStitchError, kPartNotStitched, 0);
    return;
  }
  if (pairs == 0) return;  // no stitches to modify
  options_.flip = chosen->flip;
  options_.rotationDegrees = chosen->rotationDegrees;
  options_.sizePercent = chosen->sizePercent;
  frame_.PostFrameMessage(kUwmStitchError, kNoStitchError, 0);
  host_.SetModified(true);
  host_.RequestRemake();
}

void DesignCommands::OnMakeStitch() {
  if (doc_.Design().EditState() == kStitchesFromParts) {
    MakeWithDialog();
    ShowPanes(kModeReedit);
  } else {
    Modify();
    ShowPanes(kModeModify);
  }
  host_.UpdateAllViews();
}

void DesignCommands::OnReturnToEdit() {
  CStitchDesign& design = doc_.Design();
  if (design.EditState() == kPartsRead) {
    EditPartsFlow(true);
    return;
  }
  design.SetEditState(kStitchesModified);
  Modify();
  ShowPanes(kModeModify);
  host_.UpdateAllViews();
}

void DesignCommands::OnEditParts() { EditPartsFlow(false); }

void DesignCommands::EditPartsFlow(bool reedit) {
  CStitchDesign& design = doc_.Design();
  design.SaveOrder();
  const DesignDialogs::EditPartsAnswer answer =
      dialogs_.EditParts(design.GetPartList(), design.WorkWidth(), design.WorkHeight());
  if (!answer.accepted) {
    if (reedit) ShowPanes(kModeReedit);
    host_.UpdateAllViews();
    return;
  }
  design.RestoreOrder();
  host_.RequestRemake();
  if (design.GetPartCount() > 0) {
    if (answer.makeRequested) {
      design.SetEditState(kStitchesFromParts);
      host_.SetModified(reedit);
      if (design.Record()) design.Record()->SetPairCount(0);
      RunMaking(MakeStitchOptions{});
    } else if (MakeWithDialog()) {
      design.SetEditState(kStitchesFromParts);
    }
    ShowPanes(kModeReedit);
  } else {
    // Every part was deleted: nothing is left to stitch.
    design.Clear();
    host_.SetModified(false);
    ShowPanes(kModeReedit);
  }
  host_.UpdateAllViews();
}

void DesignCommands::OnDeleteAllParts() {
  if (!dialogs_.AskYesNo(kDeleteAllPartsText, kDeleteAllPartsCaption)) return;
  CStitchDesign& design = doc_.Design();
  design.ClearParts();
  design.Clear();
  host_.SetModified(false);
  host_.UpdateAllViews();
  frame_.UpdateStatusPanes(0, -1, -1, -1, kModeNone, 0);
}

}  // namespace digitizer
