#include "hooplayout/vantle_frame_commands.h"

#include "hooplayout/vantle_command_ids.h"
#include "hooplayout/vantle_doc.h"
#include "hooplayout/vantle_view.h"
#include "platform/profile.h"

namespace hooplayout {

CVantleFrameCommands::CVantleFrameCommands(MachineDialogs& dialogs, std::string programFolder,
                                           std::function<void()> repaint)
    : dialogs_(dialogs), programFolder_(std::move(programFolder)), repaint_(std::move(repaint)) {}

platform::CommandState CVantleFrameCommands::QueryCommand(int id) const {
  switch (id) {
    case cmd::kCommSettings:
    case cmd::kDeleteMachineDesigns:
    case cmd::kReceiveDesigns:
    case cmd::kMachineVersion:
    case cmd::kCardManager:
      return {true, true, false};
    default:
      return {};
  }
}

void CVantleFrameCommands::RunCommand(int id) {
  switch (id) {
    case cmd::kCommSettings:
      ReportIfNoDialog(dialogs_.CommSettings());
      break;
    case cmd::kDeleteMachineDesigns:
      ReportIfNoDialog(dialogs_.DeleteDesigns());
      if (repaint_) repaint_();
      break;
    case cmd::kReceiveDesigns:
      ReportIfNoDialog(dialogs_.ReceiveDesigns());
      if (repaint_) repaint_();
      break;
    case cmd::kMachineVersion:
      dialogs_.SelectVersion();
      break;
    case cmd::kCardManager:
      ManageCard();
      break;
    default:
      break;
  }
}

void CVantleFrameCommands::ReportIfNoDialog(int result) const {
  if (result != 0) return;
  platform::MessageBox(owner_, kCreateDialogFailure, "", platform::kMbOk);
}

void CVantleFrameCommands::ManageCard() {
  platform::Profile profile(kProfileProgram);
  std::string folder = profile.GetString(kDesignPathSection, kCardListKey, "");
  if (folder.empty()) folder = programFolder_;
  const std::string chosen = dialogs_.ManageCard(folder);
  if (!chosen.empty()) profile.WriteString(kDesignPathSection, kCardListKey, chosen);
}

}  // namespace hooplayout
