#pragma once

// The maker's two web pages that every program's About box links to: a label that opens its
// page with the desktop's own handler and shows the hand over it.

#include <QLabel>

namespace design_ui {

enum class MakerLink { kHome = 1, kSupport = 5 };

QLabel* MakerLinkLabel(MakerLink link, QWidget* parent);

}  // namespace design_ui
