#include "digitizer/ui/satin_stitch_dialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace digitizer_ui {
namespace {

using digitizer::SatinDot;

constexpr int kFrameWidth = 284;
constexpr int kFrameHeight = 404;
const QColor kStartAssigned(0, 255, 0);
const QColor kStartWaiting(0, 128, 0);
const QColor kEndAssigned(255, 0, 0);
const QColor kEndWaiting(128, 0, 0);

bool Assigned(const digitizer::SatinRegionPoints& points, SatinDot dot) {
  return dot == SatinDot::kStart ? points.startAssigned : points.endAssigned;
}

}  // namespace

SatinOutlineFrame::SatinOutlineFrame(QWidget* parent, digitizer::SatinSettingModel& model)
    : QWidget(parent), model_(model) {
  setFixedSize(kFrameWidth, kFrameHeight);
}

digitizer::SatinFrameMapping SatinOutlineFrame::Mapping() const {
  return {model_.Width(), model_.Height(), width(), height()};
}

QPoint SatinOutlineFrame::ParkingPlace(SatinDot dot) {
  constexpr int kParkY = 10;
  return dot == SatinDot::kStart ? QPoint(10, kParkY) : QPoint(26, kParkY);
}

QPoint SatinOutlineFrame::DotCentre(SatinDot dot) const {
  if (dragging_ && dot == dragDot_) return dragAt_;
  if (model_.RegionCount() == 0) return ParkingPlace(dot);
  const digitizer::SatinRegionPoints& points = model_.CurrentPoints();
  if (!Assigned(points, dot)) return ParkingPlace(dot);
  const digitizer::MaskPoint at = Mapping().ToFrame(dot == SatinDot::kStart ? points.start : points.end);
  return {at.x, at.y};
}

void SatinOutlineFrame::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (model_.Width() > 0 && model_.Height() > 0 && model_.RegionCount() > 0) {
    // One bit a pixel, black outline on white: each outline pixel marks every frame pixel it
    // covers, so that neither shrinking nor enlarging leaves gaps in the outline.
    const digitizer::SatinFrameMapping mapping = Mapping();
    QImage outline(mapping.Width(), mapping.Height(), QImage::Format_Mono);
    outline.setColor(0, qRgb(255, 255, 255));
    outline.setColor(1, qRgb(0, 0, 0));
    outline.fill(0);
    const std::vector<uint8_t>& map = model_.Outline();
    for (int y = 0; y < model_.Height(); ++y) {
      for (int x = 0; x < model_.Width(); ++x) {
        if (map[static_cast<std::size_t>(y) * model_.Width() + x] != 1) continue;
        const auto [first, last] = mapping.Covered({x, y});
        for (int fy = first.y; fy <= last.y; ++fy) {
          for (int fx = first.x; fx <= last.x; ++fx) {
            const QPoint pixel(fx - mapping.Left(), fy - mapping.Top());
            if (outline.rect().contains(pixel)) outline.setPixel(pixel, 1);
          }
        }
      }
    }
    painter.drawImage(QPoint(mapping.Left(), mapping.Top()), outline);
  }
  const bool regions = model_.RegionCount() > 0;
  for (SatinDot dot : {SatinDot::kStart, SatinDot::kEnd}) {
    const bool assigned = regions && Assigned(model_.CurrentPoints(), dot);
    const QColor colour = dot == SatinDot::kStart ? (assigned ? kStartAssigned : kStartWaiting)
                                                  : (assigned ? kEndAssigned : kEndWaiting);
    painter.setPen(QPen(colour, kPenWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(DotCentre(dot), kDotRadius, kDotRadius);
  }
}

void SatinOutlineFrame::mousePressEvent(QMouseEvent* event) {
  if (model_.RegionCount() == 0) return;
  const QPoint at = event->position().toPoint();
  for (SatinDot dot : {SatinDot::kStart, SatinDot::kEnd}) {
    const QPoint offset = at - DotCentre(dot);
    if (offset.x() * offset.x() + offset.y() * offset.y() > kDotRadius * kDotRadius * 4) continue;
    dragging_ = true;
    dragDot_ = dot;
    dragAt_ = at;
    if (isVisible()) grabMouse();
    update();
    return;
  }
}

void SatinOutlineFrame::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  dragAt_ = event->position().toPoint();
  update();
}

void SatinOutlineFrame::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragging_) return;
  dragging_ = false;
  if (isVisible()) releaseMouse();
  const QPoint at = event->position().toPoint();
  model_.DropDot(dragDot_, Mapping().ToWork({at.x(), at.y()}));
  update();
}

CSatinStitchDlg::CSatinStitchDlg(QWidget* parent, const uint8_t* packedMask, std::size_t maskBytes, int width,
                                 int height, digitizer::SatinSettings& entries)
    : QDialog(parent), model_(packedMask, maskBytes, width, height, entries) {
  using Model = digitizer::SatinSettingModel;
  setWindowTitle("Setting Satin Stitch");
  frame_ = new SatinOutlineFrame(this, model_);
  counter_ = new QLabel("1 /", this);
  before_ = new QPushButton("<< Before", this);
  next_ = new QPushButton("Next >>", this);
  auto* ok = new QPushButton("OK", this);
  auto* cancel = new QPushButton("Cancel", this);
  ok->setDefault(true);

  auto* density = new QGroupBox("Density", this);
  fine_ = new QRadioButton("Fine", density);
  medium_ = new QRadioButton("Medium", density);
  coarse_ = new QRadioButton("Coarse", density);
  auto* densityLayout = new QVBoxLayout(density);
  for (QRadioButton* radio : {fine_, medium_, coarse_}) densityLayout->addWidget(radio);

  auto* side = new QVBoxLayout;
  for (const char* text : {Model::kStartHint, Model::kEndHint, Model::kTenHint}) {
    auto* hint = new QLabel(text, this);
    hint->setWordWrap(true);
    side->addWidget(hint);
  }
  auto* stepper = new QHBoxLayout;
  stepper->addWidget(before_);
  stepper->addWidget(counter_);
  stepper->addWidget(next_);
  side->addLayout(stepper);
  side->addWidget(density);
  side->addStretch();
  side->addWidget(ok);
  side->addWidget(cancel);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(frame_);
  layout->addLayout(side);

  connect(ok, &QPushButton::clicked, this, &CSatinStitchDlg::accept);
  connect(cancel, &QPushButton::clicked, this, &CSatinStitchDlg::reject);
  connect(next_, &QPushButton::clicked, this, [this] { model_.Next(); Refresh(); });
  connect(before_, &QPushButton::clicked, this, [this] { model_.Before(); Refresh(); });
  for (int id : {digitizer::kDensityFineId, digitizer::kDensityMediumId, digitizer::kDensityCoarseId}) {
    connect(DensityRadio(id), &QRadioButton::toggled, this, [this, id](bool on) {
      if (on) model_.SetDensityId(id);
    });
  }
}

QPushButton* CSatinStitchDlg::Button(int id) const {
  if (id == kBeforeId) return before_;
  if (id == kNextId) return next_;
  return nullptr;
}

QRadioButton* CSatinStitchDlg::DensityRadio(int id) const {
  if (id == digitizer::kDensityFineId) return fine_;
  if (id == digitizer::kDensityCoarseId) return coarse_;
  if (id == digitizer::kDensityMediumId) return medium_;
  return nullptr;
}

bool CSatinStitchDlg::Start() {
  if (!model_.Open()) return false;
  DensityRadio(model_.DensityId())->setChecked(true);
  Refresh();
  return true;
}

int CSatinStitchDlg::exec() {
  if (!Start()) return QDialog::Rejected;
  return QDialog::exec();
}

void CSatinStitchDlg::Refresh() {
  counter_->setText(QString::fromStdString(model_.CounterText()));
  next_->setEnabled(model_.CanGoNext());
  before_->setEnabled(model_.CanGoBefore());
  frame_->update();
}

void CSatinStitchDlg::accept() {
  switch (model_.Ok()) {
    case digitizer::SatinSettingModel::Result::kAccepted: QDialog::accept(); return;
    case digitizer::SatinSettingModel::Result::kCancelled: QDialog::reject(); return;
    case digitizer::SatinSettingModel::Result::kStay: Refresh(); return;
  }
}

bool EditSatinSettings(QWidget* parent, const digitizer::PartRecord& part, int maskWidth, int maskHeight,
                       digitizer::SatinSettings& settings) {
  CSatinStitchDlg dialog(parent, part.mask.data(), part.mask.size(), maskWidth, maskHeight, settings);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace digitizer_ui
