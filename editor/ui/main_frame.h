#pragma once

// Brodera's main frame as far as the layout needs it: the menus of the layout's commands,
// a few tool buttons, and the status panes the view fills. The machine and card commands,
// the full toolbar and its drop-downs come with the machine link.

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
