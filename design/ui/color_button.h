#pragma once

// A swatch button that shows one thread colour and nothing else: no frame, no focus mark.

#include "design/ui/flat_button.h"
#include "platform/canvas.h"

namespace design_ui {

class CColorButton : public CFlatButton {
 public:
  explicit CColorButton(QWidget* parent = nullptr);

  // Stores the colour (palette-relative, as the thread tables give it) and redraws.
  void SetColor(platform::PaletteColour colour);
  platform::PaletteColour Color() const { return colour_; }
  // Repaints when the button is on screen; a hidden button paints its colour when shown.
  void Redraw();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  platform::PaletteColour colour_ = platform::kPaletteBlack;
};

}  // namespace design_ui
