#include "digitizer/ui/make_stitch_dialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

namespace digitizer_ui {

using digitizer::MakeStitchOptionsModel;

CMakeStitchDlg::CMakeStitchDlg(QWidget* parent, const digitizer::CStitchDesign& design,
                               const digitizer::MakeStitchOptions& start)
    : QDialog(parent), model_(design, start) {
  setWindowTitle(MakeStitchOptionsModel::kCaption);

  auto* flipping = new QGroupBox("Flipping", this);
  auto* flipLayout = new QVBoxLayout(flipping);
  const char* flipTexts[] = {"Original Image", "Flip horizontal", "Flip vertical"};
  for (int i = 0; i < 3; ++i) {
    flips_[i] = new QRadioButton(flipTexts[i], flipping);
    flipLayout->addWidget(flips_[i]);
    const int id = MakeStitchOptionsModel::kOriginalId + i;
    connect(flips_[i], &QRadioButton::toggled, this, [this, id](bool on) {
      if (!on || showing_) return;
      model_.ChooseFlipRadio(id);
      Show();
    });
  }

  auto* rotation = new QGroupBox("Rotation", this);
  auto* rotationLayout = new QGridLayout(rotation);
  for (int i = 0; i < 4; ++i) {
    rotations_[i] = new QPushButton(QString::number(i * 90), rotation);
    rotationLayout->addWidget(rotations_[i], 0, i);
    const int id = MakeStitchOptionsModel::kRotate0Id + i;
    connect(rotations_[i], &QPushButton::clicked, this, [this, id] {
      QApplication::setOverrideCursor(Qt::WaitCursor);  // turning measures every pixel again
      model_.PressRotationButton(id);
      QApplication::restoreOverrideCursor();
      Show();
    });
  }
  rotation_ = new QSpinBox(rotation);
  // Typed values may be 0..359; the arrows step by 5 and stop at 355.
  rotation_->setRange(0, MakeStitchOptionsModel::kMaxRotation);
  rotation_->setSingleStep(MakeStitchOptionsModel::kSpinStep);
  rotation_->setAccelerated(true);
  rotationLayout->addWidget(rotation_, 1, 0, 1, 4);
  connect(rotation_, &QSpinBox::valueChanged, this, [this](int degrees) {
    if (showing_) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    model_.SetRotation(degrees);
    QApplication::restoreOverrideCursor();
    Show();
  });

  auto* sizeBox = new QGroupBox("Size", this);
  auto* sizeLayout = new QGridLayout(sizeBox);
  slider_ = new QSlider(Qt::Vertical, sizeBox);
  // Positions run 50..150 downwards: the top (50) is the largest size, 200 - 50.
  slider_->setRange(MakeStitchOptionsModel::kSliderMirror - MakeStitchOptionsModel::kMaxSize,
                    MakeStitchOptionsModel::kSliderMirror - MakeStitchOptionsModel::kMinSize);
  slider_->setInvertedAppearance(true);
  slider_->setTickInterval(MakeStitchOptionsModel::kSizeTick);
  slider_->setTickPosition(QSlider::TicksRight);
  size_ = new QSpinBox(sizeBox);
  size_->setRange(MakeStitchOptionsModel::kMinSize, MakeStitchOptionsModel::kMaxSize);
  sizeText_ = new QLabel(sizeBox);
  sizeLayout->addWidget(new QLabel("150 %", sizeBox), 0, 1);
  sizeLayout->addWidget(new QLabel("100 %", sizeBox), 1, 1);
  sizeLayout->addWidget(new QLabel("50 %", sizeBox), 2, 1);
  sizeLayout->addWidget(slider_, 0, 0, 3, 1);
  sizeLayout->addWidget(size_, 3, 0);
  sizeLayout->addWidget(sizeText_, 3, 1);
  connect(slider_, &QSlider::valueChanged, this, [this](int position) {
    if (showing_) return;
    model_.MoveSlider(position);
    Show();
  });
  connect(size_, &QSpinBox::valueChanged, this, [this](int percent) {
    if (showing_) return;
    model_.MoveSizeSpin(percent);
    Show();
  });

  auto* ok = new QPushButton("OK", this);
  auto* cancel = new QPushButton("Cancel", this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* columns = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  left->addWidget(flipping);
  left->addWidget(rotation);
  columns->addLayout(left);
  columns->addWidget(sizeBox);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addLayout(buttons);
  Show();
}

QRadioButton* CMakeStitchDlg::FlipRadio(int id) const {
  const int i = id - MakeStitchOptionsModel::kOriginalId;
  return i >= 0 && i < 3 ? flips_[i] : nullptr;
}

QPushButton* CMakeStitchDlg::RotationButton(int id) const {
  const int i = id - MakeStitchOptionsModel::kRotate0Id;
  return i >= 0 && i < 4 ? rotations_[i] : nullptr;
}

void CMakeStitchDlg::Show() {
  showing_ = true;
  const digitizer::MakeStitchOptions& options = model_.Options();
  flips_[options.flip]->setChecked(true);
  rotation_->setValue(options.rotationDegrees);
  slider_->setValue(model_.SliderPosition());
  slider_->setToolTip(QString("Largest size: %1 %").arg(model_.Fit()));
  size_->setValue(options.sizePercent);
  sizeText_->setText(QString::fromStdString(model_.SizeText()));
  showing_ = false;
}

}  // namespace digitizer_ui
