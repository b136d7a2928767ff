#pragma once

// The one place where a palette-relative colour 0x02BBGGRR becomes a screen colour.

#include <QColor>

#include "platform/canvas.h"

namespace platform_ui {

inline QColor ToQColor(platform::PaletteColour colour) {
  return QColor(platform::PaletteRed(colour), platform::PaletteGreen(colour),
                platform::PaletteBlue(colour));
}

}  // namespace platform_ui
