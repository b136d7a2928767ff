#pragma once

// The pictures of Vantle's toolbar buttons, 22 by 21 pixels: the desktop icon theme's own
// icon where the button does a standard action, else (and whenever the theme has none) a
// picture drawn here. Disabled buttons are greyed by the toolkit.

#include <QIcon>

namespace hooplayout_ui {

// The picture of the command's button; a null icon for a command without one.
QIcon ToolbarIcon(int command);

}  // namespace hooplayout_ui
