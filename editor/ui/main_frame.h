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

 private:
  // Gives the toolbar button at position (separators counted) an arrow with a pop-up of
  // commands.
  void AddDropDown(QToolBar& bar, int position, const std::vector<platform_ui::MenuEntry>& popup,
                   const char* objectName);
};

}  // namespace editor_ui
