#pragma once

// The dialogs of UploadData and DeleteData, made of widgets in ui/. Each runs modally over
// its owner (a QWidget* or null) on the caller's thread, joins every worker it started,
// and gives its end value.

#include "platform/message_box.h"

namespace linkpanel {

// Receive Designs, and after Receive the receiving dialog for the ticked designs: 1 after
// Receive, 2 when closed.
int RunReceiveDesigns(platform::WindowHandle owner);
// Delete Designs: 1 after a delete ran, 2 when closed.
int RunDeleteDesigns(platform::WindowHandle owner);

}  // namespace linkpanel
