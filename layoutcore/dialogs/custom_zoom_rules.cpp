#include "layoutcore/dialogs/custom_zoom_rules.h"

#include <cstdio>

namespace editor {

CustomZoomRules::CustomZoomRules(int currentZoomPercent)
    : chosenZoom_(currentZoomPercent), radioIndex_(RadioIndexOf(currentZoomPercent)) {
  char text[32];
  std::snprintf(text, sizeof text, "%d%%", currentZoomPercent);
  currentText_ = text;
  if (currentText_.size() > kZoomTextLength) currentText_.resize(kZoomTextLength);
}

int CustomZoomRules::RadioIndexOf(int zoomPercent) {
  for (std::size_t i = 0; i < kZoomChoices.size(); ++i) {
    if (kZoomChoices[i].zoomPercent == zoomPercent) return static_cast<int>(i);
  }
  return -1;
}

void CustomZoomRules::Choose(int radioIndex) {
  if (radioIndex < 0 || radioIndex >= static_cast<int>(kZoomChoices.size())) return;
  radioIndex_ = radioIndex;
  chosenZoom_ = kZoomChoices[static_cast<std::size_t>(radioIndex)].zoomPercent;
}

}  // namespace editor
