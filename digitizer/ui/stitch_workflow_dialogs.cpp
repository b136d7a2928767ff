#include "digitizer/ui/stitch_workflow_dialogs.h"
#include "digitizer/ui/size_box.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include "platform/message_box.h"

namespace digitizer_ui {
namespace {

using digitizer::ModifyStitchModel;

QLabel* WrappedLabel(const char* text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setWordWrap(true);
  return label;
}

// An "F": its lack of symmetry shows every flip and turn at a glance.
constexpr digitizer::PreviewPoint kFigure[] = {{-20, 40}, {-20, -40}, {25, -40}, {-20, -40},
                                              {-20, 0},  {15, 0}};

}  // namespace

ModifyPreview::ModifyPreview(QWidget* parent, const ModifyStitchModel& model) : QWidget(parent), model_(model) {
  setFixedSize(140, 140);
}

void ModifyPreview::paintEvent(QPaintEvent*) {
  ++paints_;
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  painter.setPen(QPen(Qt::black, 2));
  const QPointF centre = QRectF(rect()).center();
  QPolygonF line;
  for (const digitizer::PreviewPoint& point : kFigure) {
    const digitizer::PreviewPoint moved = digitizer::ModifyPreviewPoint(model_.Settings(), point);
    line << centre + QPointF(moved.x, moved.y);
  }
  painter.drawPolyline(line);
}

CModifyStitchDlg::CModifyStitchDlg(QWidget* parent, const digitizer::ModifySettings& start)
    : QDialog(parent), model_(start) {
  setWindowTitle(ModifyStitchModel::kCaption);

  auto* flipping = new QGroupBox("Flipping", this);
  auto* flipLayout = new QVBoxLayout(flipping);
  const char* flipTexts[] = {"Original Image", "Flip horizontal", "Flip vertical"};
  for (int i = 0; i < 3; ++i) {
    flips_[i] = new QRadioButton(flipTexts[i], flipping);
    flipLayout->addWidget(flips_[i]);
    const int id = ModifyStitchModel::kOriginalId + i;
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
    const int id = ModifyStitchModel::kRotate0Id + i;
    connect(rotations_[i], &QPushButton::clicked, this, [this, id] {
      model_.PressRotationButton(id);
      Show();
    });
  }
  rotation_ = new RotationSpinBox(rotation, ModifyStitchModel::kMaxRotation);
  rotationLayout->addWidget(rotation_, 1, 0, 1, 4);
  connect(rotation_, &QSpinBox::valueChanged, this, [this](int degrees) {
    if (showing_) return;
    model_.SetRotation(degrees);
    Show();
  });

  // Positions run 80..120 downwards: the top is the largest size.
  const SizeBox sizes = MakeSizeBox(
      this, {ModifyStitchModel::kMinSize, ModifyStitchModel::kMaxSize, ModifyStitchModel::kSliderMirror, ModifyStitchModel::kSizeTick},
      [this](int position) {
        if (showing_) return;
        model_.MoveSlider(position);
        Show();
      },
      [this](int percent) {
        if (showing_) return;
        model_.MoveSpin(percent);
        Show();
      });
  QGroupBox* sizeBox = sizes.box;
  slider_ = sizes.slider;
  size_ = sizes.spin;
  sizeText_ = sizes.text;

  preview_ = new ModifyPreview(this, model_);
  auto* modify = new QPushButton("&Modify", this);
  auto* cancel = new QPushButton("Cancel", this);
  modify->setDefault(true);
  connect(modify, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* left = new QVBoxLayout;
  left->addWidget(flipping);
  left->addWidget(rotation);
  left->addWidget(preview_);
  auto* right = new QVBoxLayout;
  right->addWidget(sizeBox);
  right->addStretch();
  right->addWidget(modify);
  right->addWidget(cancel);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left);
  layout->addLayout(right);
  Show();
}

QRadioButton* CModifyStitchDlg::FlipRadio(int id) const {
  const int i = id - ModifyStitchModel::kOriginalId;
  return i >= 0 && i < 3 ? flips_[i] : nullptr;
}

QPushButton* CModifyStitchDlg::RotationButton(int id) const {
  const int i = id - ModifyStitchModel::kRotate0Id;
  return i >= 0 && i < 4 ? rotations_[i] : nullptr;
}

void CModifyStitchDlg::Show() {
  showing_ = true;
  const digitizer::ModifySettings& settings = model_.Settings();
  FlipRadio(model_.FlipRadio())->setChecked(true);
  rotation_->setValue(settings.rotationDegrees);
  slider_->setValue(model_.SliderPosition());
  size_->setValue(settings.sizePercent);
  sizeText_->setText(QString::fromStdString(model_.SizeText()));
  showing_ = false;
  preview_->update();
}

CAssignLinesDlg::CAssignLinesDlg(QWidget* parent) : QDialog(parent) {
  using Texts = digitizer::AssignLinesTexts;
  setWindowTitle(Texts::kCaption);
  select_ = new QPushButton("Select", this);
  undo_ = new QPushButton("Undo", this);
  cancel_ = new QPushButton("Cancel", this);
  auto* layout = new QGridLayout(this);
  layout->addWidget(WrappedLabel(Texts::kSelectText, this), 0, 0);
  layout->addWidget(select_, 0, 1);
  layout->addWidget(WrappedLabel(Texts::kUndoText, this), 1, 0);
  layout->addWidget(undo_, 1, 1);
  layout->addWidget(cancel_, 2, 1);
  for (int id : {Texts::kSelectId, Texts::kUndoId, static_cast<int>(platform::kIdCancel)}) {
    connect(Button(id), &QPushButton::clicked, this, [this, id] { done(digitizer::AssignLinesAnswer(id)); });
  }
}

QPushButton* CAssignLinesDlg::Button(int id) const {
  if (id == digitizer::AssignLinesTexts::kSelectId) return select_;
  if (id == digitizer::AssignLinesTexts::kUndoId) return undo_;
  if (id == platform::kIdCancel) return cancel_;
  return nullptr;
}

CHoopLimitDlg::CHoopLimitDlg(QWidget* parent) : QDialog(parent) {
  using Texts = digitizer::HoopLimitTexts;
  setWindowTitle(Texts::kCaption);
  auto* layout = new QVBoxLayout(this);
  for (const char* text : {Texts::kZigzagText, Texts::kMoveText, Texts::kExceedText}) {
    layout->addWidget(WrappedLabel(text, this));
  }
  auto* ok = new QPushButton("OK", this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
}

void InstallHoopLimitDialog() {
  digitizer::SetHoopLimitHandler([](platform::WindowHandle owner) {
    CHoopLimitDlg dialog(static_cast<QWidget*>(owner));
    dialog.exec();
  });
}

}  // namespace digitizer_ui
