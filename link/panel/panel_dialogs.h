#pragma once

// The dialogs the exports run, made of widgets in ui/. Each runs modally over its owner
// (a QWidget* or null) on the caller's thread and gives its end value, or a negative value
// when it cannot be made.

#include <filesystem>
#include <string>

#include "link/panel/send_rules.h"
#include "platform/message_box.h"

namespace linkpanel {

// Confirm Machine's Version: 1 after OK, 2 after Cancel.
int RunVersionDialog(platform::WindowHandle owner, bool force);
// Communication Settings: 1 after OK, 2 after Cancel.
int RunCommSettingsDialog(platform::WindowHandle owner);
// Send Designs: 1 when a transfer was started and has ended, 2 when closed before Start.
int RunSendDesignsDialog(platform::WindowHandle owner, const SendRequest& request);

// The file picker with its send panel. On Send the chosen designs are written to listFile
// and the destination is given: 1. Closed without sending: 0. folder is the starting
// folder and receives the folder shown last.
struct SendPanelResult {
  int end = 0;
  int destination = 0;
  std::string folder;
};
SendPanelResult RunSendPanel(platform::WindowHandle owner, const std::string& folder,
                             const std::filesystem::path& listFile);

}  // namespace linkpanel
