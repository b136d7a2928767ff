#include "digitizer/ui/make_stitch_dialog.h"
#include "digitizer/ui/size_box.h"

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
  // Typed values may be 0..359; the arrows stop at 355.
  rotation_ = new RotationSpinBox(rotation, MakeStitchOptionsModel::kMaxRotation);
  rotationLayout->addWidget(rotation_, 1, 0, 1, 4);
  connect(rotation_, &QSpinBox::valueChanged, this, [this](int degrees) {
    if (showing_) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    model_.SetRotation(degrees);
    QApplication::restoreOverrideCursor();
    Show();
  });

  // Positions run 50..150 downwards: the top is the largest size.
  const SizeBox sizes = MakeSizeBox(
      this, {MakeStitchOptionsModel::kMinSize, MakeStitchOptionsModel::kMaxSize, MakeStitchOptionsModel::kSliderMirror, MakeStitchOptionsModel::kSizeTick},
      [this](int position) {
        if (showing_) return;
        model_.MoveSlider(position);
        Show();
      },
      [this](int percent) {
        if (showing_) return;
        model_.MoveSizeSpin(percent);
        Show();
      });
  QGroupBox* sizeBox = sizes.box;
  slider_ = sizes.slider;
  size_ = sizes.spin;
  sizeText_ = sizes.text;

  auto* ok = new QPushButton("&Make", this);
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
