#pragma once

// "Custom Zoom": the current zoom as text and seven zooms to choose from.

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QLineEdit>
#include <QRadioButton>
#include <array>

#include "layoutcore/dialogs/custom_zoom_rules.h"

namespace editor_ui {

class CCustomZoomDlg : public QDialog {
 public:
  CCustomZoomDlg(QWidget* parent, int currentZoomPercent);

  int ChosenZoom() const { return rules_.ChosenZoom(); }
  QRadioButton* Radio(int index) const { return radios_[static_cast<std::size_t>(index)]; }
  QPushButton* OkButton() const { return buttons_->button(QDialogButtonBox::Ok); }
  QString CurrentText() const { return current_->text(); }

 private:
  editor::CustomZoomRules rules_;
  QLineEdit* current_;
  std::array<QRadioButton*, editor::kZoomChoices.size()> radios_{};
  QDialogButtonBox* buttons_;
};

}  // namespace editor_ui
