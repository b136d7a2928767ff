#pragma once

// "Auto Register": the progress dialog of the Auto Register run. The run itself is
// AutoRegisterRun's; this window starts it on a worker thread, shows its progress and turns a
// click on Cancel into the cancel flag the worker polls. The worker ends the dialog.

#include <QDialog>

#include <atomic>
#include <functional>
#include <optional>
#include <thread>

#include "digitizer/auto_register.h"

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace digitizer_ui {

class CAutoRegisterDlg : public QDialog {
 public:
  static constexpr int kStartId = 1091;
  static constexpr int kOutlineId = 1092;
  static constexpr int kPreviewId = 1109;
  static constexpr int kLowId = 1104;  // Medium and High follow

  // Runs the colour sensitivity preview for a sensitivity; the chosen one, or nothing on Cancel.
  using SensitivityPreview = std::function<std::optional<int>(int sensitivity)>;

  // The run, the pictures and the design belong to the caller and are the worker's while it runs.
  CAutoRegisterDlg(QWidget* parent, digitizer::AutoRegisterRun& run, digitizer::PixelImage& fill,
                   digitizer::PixelImage& line, digitizer::AutoRegisterDesign& design,
                   const digitizer::AutoRegisterSettings& settings, SensitivityPreview preview);
  ~CAutoRegisterDlg() override;

  // Told true before the worker starts and false once it has ended, on this thread: the
  // design is the worker's in between.
  void SetRunningHook(std::function<void(bool)> hook) { runningHook_ = std::move(hook); }

  const digitizer::AutoRegisterSettings& Settings() const { return settings_; }
  bool IsRunning() const { return running_; }
  // How the run ended: kNotStarted when the dialog closed before Start. The view reads it,
  // not the dialog's result, which tells only whether the run went through.
  digitizer::AutoRegisterResult RunResult() const { return result_; }
  QPushButton* StartButton() const { return start_; }
  QCheckBox* OutlineBox() const { return outline_; }
  QLabel* ProgressText() const { return progressText_; }
  QProgressBar* ProgressBar() const { return progressBar_; }

  // Cancel: ends the dialog when idle, else only asks the worker to stop.
  void reject() override;
  // Ends a run the dialog was closed in the middle of (hidden, as when the program quits):
  // the worker is stopped and waited for, and its result becomes the dialog's.
  void StopRun();

 private:
  void Start();
  void Preview();
  void ReadControls();
  void ShowSensitivity();
  void ShowProgress(int counter, int colours);
  void ShowStage(int percent);
  void Finished(digitizer::AutoRegisterResult result);
  void EndRun(digitizer::AutoRegisterResult result);
  void JoinWorker();

  digitizer::AutoRegisterRun& run_;
  digitizer::PixelImage& fill_;
  digitizer::PixelImage& line_;
  digitizer::AutoRegisterDesign& design_;
  digitizer::AutoRegisterSettings settings_;
  SensitivityPreview preview_;
  std::function<void(bool)> runningHook_;
  std::atomic<bool> cancel_{false};
  bool running_ = false;
  // Written by the worker before it ends; read once it has been joined.
  digitizer::AutoRegisterResult workerResult_ = digitizer::AutoRegisterResult::kCancelled;
  digitizer::AutoRegisterResult result_ = digitizer::AutoRegisterResult::kNotStarted;
  std::thread worker_;

  QPushButton* start_;
  QCheckBox* outline_;
  QRadioButton* sensitivity_[3];
  QProgressBar* progressBar_;
  QLabel* progressText_;
};

}  // namespace digitizer_ui
