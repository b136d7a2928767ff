#pragma once

// The main frame's design commands without a screen: Make/Modify Stitch, Edit Parts, Return to
// Edit and Delete All Parts with their update rules, the flip, rotation and size kept between
// runs, and what the status panes and the private error message are told afterwards. The
// dialogs are asked through DesignDialogs; the program shows the real ones, tests script them.

#include <cstdint>
#include <functional>
#include <optional>

#include "digitizer/import_doc.h"
#include "digitizer/main_frame_rules.h"
#include "digitizer/make_stitch.h"
#include "digitizer/modify_stitch_rules.h"
#include "platform/command_router.h"

namespace digitizer {

class DesignDialogs {
 public:
  virtual ~DesignDialogs() = default;
  // "Make Stitch": the options chosen with "&Make", nothing on Cancel.
  virtual std::optional<MakeStitchOptions> ChooseMakeOptions(const CStitchDesign& design,
                                                             const MakeStitchOptions& start) = 0;
  // "Making Stitch": runs the parts through the run on its worker; how it ended.
  virtual MakeStitchEnd RunMaking(MakeStitchRun& run, CStitchDesign& design, const MakeStitchOptions& options) = 0;
  // "Modify Stitch": the settings chosen with OK, nothing on Cancel.
  virtual std::optional<ModifySettings> ChooseModify(const ModifySettings& start) = 0;
  struct EditPartsAnswer {
    bool accepted = false;
    bool makeRequested = false;  // "Make": the stitches at once, plain
  };
  virtual EditPartsAnswer EditParts(CPartList& parts, int maskWidth, int maskHeight) = 0;
  // A Yes/No question with the question icon; true for Yes.
  virtual bool AskYesNo(const char* text, const char* caption) = 0;
};

// What the commands tell the program around them.
class DesignCommandHost {
 public:
  virtual ~DesignCommandHost() = default;
  virtual void SetModified(bool modified) = 0;
  virtual void UpdateAllViews() = 0;
  // The stitches no longer follow the parts plainly (modified, or remade through the Edit
  // Parts flow): the next Register first makes the existing parts' stitches afresh.
  virtual void RequestRemake() = 0;
};

// Applies flip, angle (degrees the stitches turn) and size (percent) to finished stitches,
// always from the stitches as they were made; the new pair count.
using ModifyApplier = std::function<int32_t(CStitchDesign& design, int flip, int angle, int sizePercent)>;

class DesignCommands : public platform::CommandTarget {
 public:
  DesignCommands(CImportDoc& doc, DesignDialogs& dialogs, DesignCommandHost& host, MainFrameLink& frame,
                 ModifyApplier modify);

  const MakeStitchOptions& Options() const { return options_; }

  platform::CommandState QueryCommand(int id) const override;
  void RunCommand(int id) override;

  void OnMakeStitch();
  void OnEditParts();
  void OnReturnToEdit();
  void OnDeleteAllParts();

 private:
  // The Make Stitch dialog and run; true when the run went through.
  bool MakeWithDialog();
  // Runs the parts with the options; true when the run went through (errors posted).
  bool RunMaking(const MakeStitchOptions& options);
  void Modify();
  // The Edit Parts flow; reedit: it was reached by Return to Edit after parts were read.
  void EditPartsFlow(bool reedit);
  void ShowPanes(int mode);

  CImportDoc& doc_;
  DesignDialogs& dialogs_;
  DesignCommandHost& host_;
  MainFrameLink& frame_;
  ModifyApplier modify_;
  MakeStitchRun run_;
  MakeStitchOptions options_;
};

}  // namespace digitizer
