#include "digitizer/ui/making_stitch_dialog.h"

#include <QLabel>
#include <QMetaObject>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace digitizer_ui {

CMakingStitchDlg::CMakingStitchDlg(QWidget* parent, digitizer::MakeStitchRun& run, digitizer::CStitchDesign& design,
                                   const digitizer::MakeStitchOptions& options)
    : QDialog(parent), run_(run), design_(design), options_(options) {
  setWindowTitle("Making Stitch");
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  progressBar_ = new QProgressBar(this);
  progressBar_->setRange(0, 100);
  progressBar_->setValue(0);
  layout->addWidget(progressBar_);
  progressText_ = new QLabel(this);
  layout->addWidget(progressText_);
  auto* cancel = new QPushButton("Cancel", this);
  layout->addWidget(cancel);
  connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
}

CMakingStitchDlg::~CMakingStitchDlg() {
  // A dialog torn down mid-run stops its worker first: the worker reports into this window
  // and writes into the caller's design.
  cancel_ = true;
  JoinWorker();
}

void CMakingStitchDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!started_) Start();
}

void CMakingStitchDlg::Start() {
  started_ = true;
  running_ = true;
  cancel_ = false;
  QPointer<CMakingStitchDlg> self(this);
  worker_ = std::thread([this, self] {
    const digitizer::MakeStitchEnd end = run_.Run(design_, options_, cancel_, [self](int counter, int count) {
      QMetaObject::invokeMethod(self, [self, counter, count] {
        if (self) self->ShowProgress(counter, count);
      }, Qt::QueuedConnection);
    });
    QMetaObject::invokeMethod(self, [self, end] {
      if (self) self->Finished(end);
    }, Qt::QueuedConnection);
  });
}

void CMakingStitchDlg::ShowProgress(int counter, int count) {
  const digitizer::MakingStitchProgress progress(counter);
  const std::string text = progress.Text(count);
  if (text.empty()) return;
  progressText_->setText(QString::fromStdString(text));
  progressBar_->setValue(std::clamp(progress.Position(count), 0, 100));
}

void CMakingStitchDlg::Finished(digitizer::MakeStitchEnd end) {
  JoinWorker();
  running_ = false;
  done(static_cast<int>(end));
}

void CMakingStitchDlg::reject() {
  if (running_) {
    cancel_ = true;
    return;
  }
  done(kCancelled);
}

void CMakingStitchDlg::JoinWorker() {
  if (worker_.joinable()) worker_.join();
}

}  // namespace digitizer_ui
