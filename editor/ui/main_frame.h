#pragma once

// Brodera's main frame: the menus, the toolbar with its two drop-down buttons (Rotate and
// Zoom), and the six status panes the view fills. The machine and card commands of the
// "&Halvora" and "&ATA Card" menus are answered by editor::CMachineCommands.

#include "platform/ui/doc_frame.h"

namespace editor_ui {

class CMainFrame : public platform_ui::DocFrame, public platform::CommandTarget {
 public:
  explicit CMainFrame(platform::CommandRouter& router);

  // The frame's own commands (none yet besides the framework's).
  platform::CommandState QueryCommand(int) const override { return {}; }
  void RunCommand(int) override {}

};

}  // namespace editor_ui
