#pragma once

// "Making Stitch": the modal progress dialog of a Make Stitch run. The run is MakeStitchRun's;
// this window starts it on a worker thread as soon as it is shown, shows the part count and
// turns Cancel into the flag the worker polls once per part. The worker ends the dialog:
// result 1 when the run went through (check PairCount()), 2 when it was cancelled.

#include <QDialog>

#include <atomic>
#include <thread>

#include "digitizer/make_stitch.h"

class QLabel;
class QProgressBar;

namespace digitizer_ui {

class CMakingStitchDlg : public QDialog {
 public:
  static constexpr int kRan = static_cast<int>(digitizer::MakeStitchEnd::kRan);
  static constexpr int kCancelled = static_cast<int>(digitizer::MakeStitchEnd::kCancelled);

  // The run and the design belong to the caller and are the worker's while it runs.
  CMakingStitchDlg(QWidget* parent, digitizer::MakeStitchRun& run, digitizer::CStitchDesign& design,
                   const digitizer::MakeStitchOptions& options);
  ~CMakingStitchDlg() override;

  bool IsRunning() const { return running_; }
  int32_t PairCount() const { return run_.PairCount(); }
  QLabel* ProgressText() const { return progressText_; }
  QProgressBar* ProgressBar() const { return progressBar_; }

  // Cancel: while the worker runs only asks it to stop; otherwise ends the dialog with 2.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Start();
  void ShowProgress(int counter, int count);
  void Finished(digitizer::MakeStitchEnd end);
  void JoinWorker();

  digitizer::MakeStitchRun& run_;
  digitizer::CStitchDesign& design_;
  digitizer::MakeStitchOptions options_;
  std::atomic<bool> cancel_{false};
  bool running_ = false;
  bool started_ = false;
  std::thread worker_;

  QProgressBar* progressBar_;
  QLabel* progressText_;
};

}  // namespace digitizer_ui
