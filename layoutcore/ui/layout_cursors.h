#pragma once

// The cursors of the layout views that the desktop has no shape for, drawn once in code.

#include <QCursor>

namespace editor_ui {

// A round arrow about the hot spot: a design turns with the right button.
const QCursor& RotateCursor();
// A magnifying glass with a plus, the hot spot at the glass's centre: the zoom tool.
const QCursor& ZoomCursor();

}  // namespace editor_ui
