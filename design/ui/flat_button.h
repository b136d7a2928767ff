#pragma once

// The base of the dialogs' owner-drawn buttons: a push button without a raised frame that
// its subclasses paint themselves.

#include <QPushButton>

namespace design_ui {

class CFlatButton : public QPushButton {
 public:
  explicit CFlatButton(QWidget* parent = nullptr);
};

}  // namespace design_ui
