#include "design/ui/color_button.h"

#include <QPainter>

#include "platform/ui/qt_canvas.h"

namespace design_ui {

CColorButton::CColorButton(QWidget* parent) : CFlatButton(parent) {
  setFocusPolicy(Qt::TabFocus);
}

void CColorButton::SetColor(platform::PaletteColour colour) {
  colour_ = colour;
  Redraw();
}

void CColorButton::Redraw() {
  if (isVisible()) update();
}

void CColorButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  platform_ui::QtCanvas canvas(painter);
  canvas.FillRect({0, 0, width(), height()}, colour_);
}

}  // namespace design_ui
