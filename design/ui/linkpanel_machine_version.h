#pragma once

// The machine version as the programs ask it: through Linkpanel's version dialog and its
// stored version code. A program that runs the card dialogs links Linkpanel.

#include "design/card/machine_version.h"
#include "link/panel/linkpanel.h"

namespace design_ui {

class LinkpanelMachineVersion : public card::MachineVersion {
 public:
  int CheckVersion(platform::WindowHandle owner) override { return CheckVersionDlg(owner, 0); }
  int VersionCode() override { return GetVersionCode(); }
};

}  // namespace design_ui
