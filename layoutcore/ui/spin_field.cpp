#include "layoutcore/ui/spin_field.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>

#include "layoutcore/dialogs/int_field.h"

namespace editor_ui {

SpinField::SpinField(int low, int high, int value, QWidget* parent)
    : QWidget(parent), low_(low), high_(high) {
  edit_ = new QLineEdit(this);
  up_ = new QToolButton(this);
  down_ = new QToolButton(this);
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  auto* arrows = new QVBoxLayout;
  arrows->setSpacing(0);
  arrows->addWidget(up_);
  arrows->addWidget(down_);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(1);
  row->addWidget(edit_);
  row->addLayout(arrows);
  connect(up_, &QToolButton::clicked, this, [this] { Step(1); });
  connect(down_, &QToolButton::clicked, this, [this] { Step(-1); });
  SetValue(value);
}

void SpinField::SetValue(int value) { edit_->setText(QString::number(std::clamp(value, low_, high_))); }

void SpinField::Step(int direction) {
  const int shown = editor::ParseDialogInt(edit_->text().toStdString()).value_or(low_);
  SetValue(std::clamp(shown, low_, high_) + direction);
}

}  // namespace editor_ui
