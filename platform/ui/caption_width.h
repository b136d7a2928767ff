#pragma once

// A dialog at least as wide as its caption: the window manager cuts a caption wider than the
// window ("Send Designs - USB Disco…"), and a small dialog's own contents are often narrower
// than its caption.

class QWidget;

namespace platform_ui {

// The width that shows the whole caption beside the title bar's icon and buttons.
int CaptionWidth(const QWidget& window);

// Raises the window's minimum width (and its width) to CaptionWidth.
void WidenForCaption(QWidget& window);

}  // namespace platform_ui
