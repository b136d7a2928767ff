#pragma once

// The layout view's cursors: the system's own shapes where one exists, the zoom and the
// rotation cursors the layout programs draw.

#include <QWidget>

#include "hooplayout/vantle_view.h"

namespace hooplayout_ui {

void SetViewCursor(QWidget& widget, hooplayout::ViewCursor cursor);

}  // namespace hooplayout_ui
