#pragma once

// The OK and Cancel row every small dialog of the editor ends with. OK goes through the
// dialog's own accept(), which checks the fields before it closes.

#include <QDialog>
#include <QDialogButtonBox>

namespace editor_ui {

inline QDialogButtonBox* MakeOkCancel(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

}  // namespace editor_ui
