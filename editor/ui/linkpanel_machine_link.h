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
  // volumes: the drives the card dialogs offer; the PC's own when null.
  explicit LinkpanelMachineLink(QWidget* frame, card::CardVolumes* volumes = nullptr)
      : frame_(frame), volumes_(volumes ? *volumes : systemVolumes_) {}

  int SendFileList(const std::string& listFile) override;
  int ReceiveDesigns() override;
  int DeleteDesigns() override;
  int CommSettings() override;
  int SelectVersion() override;
  bool WriteCard(const std::string& listFile) override;
  std::string ManageCard(const std::string& folder) override;

 private:
  QWidget* frame_;
  card::SystemCardVolumes systemVolumes_;
  card::CardVolumes& volumes_;
  design_ui::LinkpanelMachineVersion version_;
};

}  // namespace editor_ui
