#pragma once

// The one place where a palette-relative colour 0x02BBGGRR becomes a screen colour, and a
// canvas pen style a Qt one.

#include <QColor>
#include <Qt>

#include "platform/canvas.h"

namespace platform_ui {

inline QColor ToQColor(platform::PaletteColour colour) {
  return QColor(platform::PaletteRed(colour), platform::PaletteGreen(colour),
                platform::PaletteBlue(colour));
}

inline Qt::PenStyle ToQtPenStyle(platform::PenStyle style) {
  switch (style) {
    case platform::PenStyle::kDotted: return Qt::DotLine;
    case platform::PenStyle::kDashDot: return Qt::DashDotLine;
    case platform::PenStyle::kSolid: break;
  }
  return Qt::SolidLine;
}

}  // namespace platform_ui
