#include "layoutcore/ui/rotate_flip_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

#include "layoutcore/ui/dialog_buttons.h"
#include "platform/message_box.h"

namespace editor_ui {

namespace {

// In the order of the choice index.
constexpr const char* kChoiceLabels[] = {"Rotate 90 degrees", "Rotate 180 degrees",
                                         "Rotate 90 degrees", "Flip vertical",
                                         "Flip horizontal",   "Free rotate"};

}  // namespace

CRotateFlipDlg::CRotateFlipDlg(QWidget* parent, platform::Profile& profile)
    : QDialog(parent), profile_(profile), rules_(editor::LoadRotateSettings(profile)) {
  setWindowTitle("Rotate/Flip");
  auto* grid = new QGridLayout;
  auto* choiceGroup = new QButtonGroup(this);
  for (std::size_t i = 0; i < choices_.size(); ++i) {
    choices_[i] = new QRadioButton(kChoiceLabels[i], this);
    choiceGroup->addButton(choices_[i], static_cast<int>(i));
    grid->addWidget(choices_[i], static_cast<int>(i), 0);
    connect(choices_[i], &QRadioButton::clicked, this, [this, i] {
      rules_.Choose(static_cast<int>(i));
      EnableFreeRotate();
    });
  }
  // The counter-clockwise quarter turn: its picture tells it from the clockwise one.
  choices_[editor::kRotate270]->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
  choices_[static_cast<std::size_t>(rules_.Index())]->setChecked(true);

  degrees_ = new SpinField(0, editor::kMaxFreeDegrees, rules_.Degrees(), this);
  counterClockwise_ = new QRadioButton("Counter-clockwise", this);
  clockwise_ = new QRadioButton("Clockwise", this);
  auto* directionGroup = new QButtonGroup(this);
  directionGroup->addButton(counterClockwise_);
  directionGroup->addButton(clockwise_);
  (rules_.Direction() == editor::kClockwise ? clockwise_ : counterClockwise_)->setChecked(true);
  connect(clockwise_, &QRadioButton::clicked, this, [this] { rules_.SetDirection(editor::kClockwise); });
  connect(counterClockwise_, &QRadioButton::clicked, this,
          [this] { rules_.SetDirection(editor::kCounterClockwise); });
  grid->addWidget(degrees_, 5, 1);
  grid->addWidget(new QLabel("(0-360)", this), 5, 2);
  grid->addWidget(counterClockwise_, 6, 1);
  grid->addWidget(clockwise_, 6, 2);
  EnableFreeRotate();

  auto* buttons = MakeOkCancel(this);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(buttons);
}

void CRotateFlipDlg::EnableFreeRotate() {
  const bool free = rules_.FreeRotate();
  degrees_->setEnabled(free);
  clockwise_->setEnabled(free);
  counterClockwise_->setEnabled(free);
}

void CRotateFlipDlg::accept() {
  if (auto refusal = rules_.Confirm(degrees_->Text().toStdString(), profile_)) {
    platform::MessageBox(this, *refusal, profile_.Program(), platform::kMbOk | platform::kMbIconExclamation);
    degrees_->Edit()->setFocus();
    degrees_->Edit()->selectAll();
    return;
  }
  QDialog::accept();
}

}  // namespace editor_ui
