#include "layoutcore/ui/custom_zoom_dialog.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "layoutcore/ui/dialog_buttons.h"

namespace editor_ui {

CCustomZoomDlg::CCustomZoomDlg(QWidget* parent, int currentZoomPercent)
    : QDialog(parent), rules_(currentZoomPercent) {
  setWindowTitle("Custom Zoom");
  current_ = new QLineEdit(QString::fromStdString(rules_.CurrentText()), this);
  current_->setReadOnly(true);
  current_->setMaxLength(static_cast<int>(editor::kZoomTextLength));
  auto* group = new QGroupBox(this);
  auto* column = new QVBoxLayout(group);
  for (std::size_t i = 0; i < radios_.size(); ++i) {
    radios_[i] = new QRadioButton(editor::kZoomChoices[i].label, group);
    column->addWidget(radios_[i]);
    connect(radios_[i], &QRadioButton::clicked, this, [this, i] {
      rules_.Choose(static_cast<int>(i));
      OkButton()->setEnabled(rules_.OkEnabled());
    });
  }
  if (rules_.RadioIndex() >= 0) radios_[static_cast<std::size_t>(rules_.RadioIndex())]->setChecked(true);
  buttons_ = MakeOkCancel(this);
  OkButton()->setEnabled(rules_.OkEnabled());

  auto* form = new QFormLayout;
  form->addRow("Current:", current_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(group);
  layout->addWidget(buttons_);
}

}  // namespace editor_ui
