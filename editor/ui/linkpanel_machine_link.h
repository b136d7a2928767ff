#pragma once

// The machine and card commands' dialogs in the running program: Linkpanel's exports and
// the card dialogs, each over the main frame.

#include <QWidget>

#include "design/card/card_volumes.h"
#include "design/ui/linkpanel_machine_version.h"
#include "editor/machine_commands.h"

namespace editor_ui {

class LinkpanelMachineLink : public editor::MachineLink {
 public:
  explicit LinkpanelMachineLink(QWidget* frame) : frame_(frame) {}

  int SendFileList(const std::string& listFile) override;
  int ReceiveDesigns() override;
  int DeleteDesigns() override;
  int CommSettings() override;
  int SelectVersion() override;
  bool WriteCard(const std::string& listFile) override;
  std::string ManageCard(const std::string& folder) override;

 private:
  QWidget* frame_;
  card::SystemCardVolumes volumes_;
  design_ui::LinkpanelMachineVersion version_;
};

}  // namespace editor_ui
