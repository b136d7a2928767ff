#pragma once

// The toolbar's button images (22 x 21) with their three looks: normal, hot (under the
// mouse) and disabled. Commands with a standard action (open, save, print, undo, cut, copy,
// paste, delete, zoom, new) take the desktop icon theme's icon when the theme has one; the
// rest, and every standard one the theme lacks, are drawn here.

#include <QIcon>
#include <QPixmap>

namespace editor_ui {

constexpr int kToolbarImageWidth = 22;
constexpr int kToolbarImageHeight = 21;

// The drawn image of a toolbar command; a null pixmap for a command without a button.
QPixmap DrawToolbarImage(int command);
// The button's icon with its normal, hot and disabled looks.
QIcon ToolbarIcon(int command);
// The fly-by help shown in the status bar while the mouse is over the button.
const char* ToolbarHelp(int command);

}  // namespace editor_ui
