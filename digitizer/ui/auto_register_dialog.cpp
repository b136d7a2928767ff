#include "digitizer/ui/auto_register_dialog.h"

#include <algorithm>

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QMetaObject>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace digitizer_ui {

CAutoRegisterDlg::CAutoRegisterDlg(QWidget* parent, digitizer::AutoRegisterRun& run, digitizer::PixelImage& fill,
                                   digitizer::PixelImage& line, digitizer::AutoRegisterDesign& design,
                                   const digitizer::AutoRegisterSettings& settings, SensitivityPreview preview)
    : QDialog(parent),
      run_(run),
      fill_(fill),
      line_(line),
      design_(design),
      settings_(settings),
      preview_(std::move(preview)) {
  setWindowTitle("Auto Register");
  settings_.addOutlinePart = false;  // the Outline option starts off on every run
  auto* layout = new QVBoxLayout(this);
  outline_ = new QCheckBox("Outline", this);
  layout->addWidget(outline_);
  layout->addWidget(new QLabel("Click [Outline] to add straight stitch on the outline.", this));
  auto* radios = new QGridLayout;
  auto* group = new QButtonGroup(this);
  for (int level = 0; level < 3; ++level) {
    sensitivity_[level] = new QRadioButton(digitizer::SensitivityLevelFor(level).radioText, this);
    group->addButton(sensitivity_[level], kLowId + level);
    radios->addWidget(sensitivity_[level], 0, level);
  }
  auto* previewButton = new QPushButton("Preview", this);
  radios->addWidget(previewButton, 0, 3);
  layout->addLayout(radios);
  layout->addWidget(new QLabel("Click [Sensitivity] to select the color sensitivity.", this));
  progressBar_ = new QProgressBar(this);
  progressBar_->setRange(0, 100);
  progressBar_->setValue(0);
  layout->addWidget(progressBar_);
  progressText_ = new QLabel(this);
  layout->addWidget(progressText_);
  start_ = new QPushButton("Start", this);
  auto* cancel = new QPushButton("Cancel", this);
  layout->addWidget(start_);
  layout->addWidget(cancel);
  ShowSensitivity();

  connect(start_, &QPushButton::clicked, this, [this] { Start(); });
  connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
  connect(previewButton, &QPushButton::clicked, this, [this] { Preview(); });
}

CAutoRegisterDlg::~CAutoRegisterDlg() {
  // A dialog torn down mid-run stops its worker first: the worker writes into this window.
  StopRun();
}

void CAutoRegisterDlg::ShowSensitivity() {
  sensitivity_[digitizer::ValidSensitivity(settings_.outline.sensitivity)]->setChecked(true);
}

void CAutoRegisterDlg::ReadControls() {
  settings_.addOutlinePart = outline_->isChecked();
  for (int level = 0; level < 3; ++level) {
    if (sensitivity_[level]->isChecked()) settings_.outline.sensitivity = level;
  }
}

void CAutoRegisterDlg::Start() {
  if (running_) return;
  ReadControls();
  start_->setEnabled(false);
  outline_->setEnabled(false);
  progressBar_->setValue(1);
  running_ = true;
  cancel_ = false;
  if (runningHook_) runningHook_(true);
  QPointer<CAutoRegisterDlg> self(this);
  run_.SetStageProgress([self](int percent) {
    QMetaObject::invokeMethod(self, [self, percent] {
      if (self) self->ShowStage(percent);
    }, Qt::QueuedConnection);
  });
  worker_ = std::thread([this, self] {
    const digitizer::AutoRegisterResult result =
        run_.Run(fill_, line_, design_, settings_, cancel_, [self](int counter, int colours) {
          QMetaObject::invokeMethod(self, [self, counter, colours] {
            if (self) self->ShowProgress(counter, colours);
          }, Qt::QueuedConnection);
        });
    workerResult_ = result;
    QMetaObject::invokeMethod(self, [self, result] {
      if (self) self->Finished(result);
    }, Qt::QueuedConnection);
  });
}

void CAutoRegisterDlg::Preview() {
  if (running_ || !preview_) return;
  ReadControls();
  if (const std::optional<int> chosen = preview_(settings_.outline.sensitivity)) {
    settings_.outline.sensitivity = *chosen;
    ShowSensitivity();
  }
}

void CAutoRegisterDlg::ShowProgress(int counter, int colours) {
  const digitizer::AutoRegisterProgressText progress = digitizer::FormatAutoRegisterProgress(counter, colours);
  if (progress.text.empty()) return;
  progressText_->setText(QString::fromStdString(progress.text));
  progressBar_->setValue(std::max(progressBar_->value(), std::min(progress.percent, 100)));
}

// The bar never runs back: the stage and the reports each tell part of how far the run is.
void CAutoRegisterDlg::ShowStage(int percent) {
  progressBar_->setValue(std::max(progressBar_->value(), std::min(percent, 100)));
}

void CAutoRegisterDlg::Finished(digitizer::AutoRegisterResult result) {
  if (!running_) return;  // the run was already ended by StopRun
  EndRun(result);
  if (result != digitizer::AutoRegisterResult::kCancelled) {
    done(Accepted);
  } else {
    QDialog::reject();
  }
}

void CAutoRegisterDlg::StopRun() {
  if (!running_) return;
  cancel_ = true;
  JoinWorker();
  EndRun(workerResult_);
}

void CAutoRegisterDlg::EndRun(digitizer::AutoRegisterResult result) {
  JoinWorker();
  run_.SetStageProgress(nullptr);
  running_ = false;
  if (runningHook_) runningHook_(false);
  result_ = result;
}

void CAutoRegisterDlg::reject() {
  if (!running_) {
    QDialog::reject();
    return;
  }
  cancel_ = true;
}

void CAutoRegisterDlg::JoinWorker() {
  if (worker_.joinable()) worker_.join();
}

}  // namespace digitizer_ui
