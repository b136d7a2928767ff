#include "editor/machine_commands.h"

#include "design/design_import.h"
#include "design/stitch_stream.h"
#include "editor/brodera_app.h"
#include "editor/command_ids.h"
#include "editor/send_designs.h"
#include "platform/profile.h"

namespace editor {

CMachineCommands::CMachineCommands(const CBroderaDoc& doc, MachineLink& link,
                                   std::string workFolder, std::string programFolder,
                                   std::function<void()> repaint)
    : doc_(doc),
      link_(link),
      workFolder_(std::move(workFolder)),
      programFolder_(std::move(programFolder)),
      repaint_(std::move(repaint)) {}

platform::CommandState CMachineCommands::QueryCommand(int id) const {
  switch (id) {
    case cmd::kSendDesigns:
    case cmd::kWriteDesigns:
      return {true, !doc_.GetDesignList().empty(), false};
    case cmd::kReceiveDesigns:
    case cmd::kDeleteMachineDesigns:
    case cmd::kCommSettings:
    case cmd::kMachineVersion:
    case cmd::kCardManager:
      return {true, true, false};
    default:
      return {};
  }
}

void CMachineCommands::RunCommand(int id) {
  switch (id) {
    case cmd::kSendDesigns:
      SendDesigns();
      break;
    case cmd::kWriteDesigns:
      WriteDesigns();
      break;
    case cmd::kCardManager:
      ManageCard();
      break;
    case cmd::kReceiveDesigns:
      ReportIfNoDialog(link_.ReceiveDesigns() != 0);
      if (repaint_) repaint_();
      break;
    case cmd::kDeleteMachineDesigns:
      ReportIfNoDialog(link_.DeleteDesigns() != 0);
      if (repaint_) repaint_();
      break;
    case cmd::kCommSettings:
      ReportIfNoDialog(link_.CommSettings() != 0);
      break;
    case cmd::kMachineVersion:
      ReportIfNoDialog(link_.SelectVersion() >= 0);
      break;
    default:
      break;
  }
}

void CMachineCommands::ReportIfNoDialog(bool made) const {
  if (made) return;
  platform::MessageBox(owner_, kCreateDialogFailure, "", platform::kMbOk | platform::kMbIconError);
}

char CMachineCommands::WriteBatch(TempDesignBatch& batch) const {
  const int stored =
      platform::Profile(kProgramName).GetInt(kSendLetterSection, kSendLetterKey, kDefaultStoredLetter);
  const char letter = NextSendLetter(stored);
  std::vector<const DesignObject*> designs;
  for (const DesignObject& placed : doc_.GetDesignList()) designs.push_back(&placed);
  batch.Write(workFolder_, SendTitle(doc_.GetPathName()), designs, letter, doc_.GetHoopKind());
  return letter;
}

bool CMachineCommands::EveryDesignFitsAHoop() const {
  // The import refuses such a design, but a layout file may still hold one; the machine
  // would get it with no hoop margins at all.
  for (const DesignObject& placed : doc_.GetDesignList()) {
    if (placed.working && !design::FitsLargeHoop(design::ExtentsFromFirstPoint(placed.working->StitchArea()))) {
      platform::MessageBox(owner_, design::kExceedsHoopLimitsText, kAppCaption,
                           platform::kMbOk | platform::kMbIconExclamation);
      return false;
    }
  }
  return true;
}

void CMachineCommands::StoreLetter(char letter) const {
  platform::Profile(kProgramName).WriteInt(kSendLetterSection, kSendLetterKey, letter);
}

void CMachineCommands::SendDesigns() {
  if (!EveryDesignFitsAHoop()) return;
  TempDesignBatch batch;
  const char letter = WriteBatch(batch);
  const int end = link_.SendFileList(batch.ListPath().string());
  ReportIfNoDialog(end != 0);
  if (repaint_) repaint_();
  // The machine may hold some of the batch even when the user closed the dialog, so the
  // next batch never reuses this letter.
  StoreLetter(letter);
}

void CMachineCommands::WriteDesigns() {
  if (!EveryDesignFitsAHoop()) return;
  TempDesignBatch batch;
  const char letter = WriteBatch(batch);
  // A cancelled card write put nothing on the card: the letter stays free.
  if (link_.WriteCard(batch.ListPath().string())) {
    StoreLetter(letter);
  }
}

void CMachineCommands::ManageCard() {
  platform::Profile profile(kProgramName);
  const std::string folder = profile.GetString(kCardFolderSection, kCardFolderKey, programFolder_);
  const std::string chosen = link_.ManageCard(folder);
  if (!chosen.empty()) profile.WriteString(kCardFolderSection, kCardFolderKey, chosen);
}

}  // namespace editor
