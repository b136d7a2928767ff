#include "design/ui/flat_button.h"

namespace design_ui {

CFlatButton::CFlatButton(QWidget* parent) : QPushButton(parent) { setFlat(true); }

}  // namespace design_ui
