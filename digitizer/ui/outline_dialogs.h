#pragma once

// "Preview Outline" and "Adjust Color Sensitivity": the outline and the quantised picture as the
// chosen options would make them. The pictures are built by the rules in digitizer/; these
// windows show them and take the options.

#include <QDialog>

#include "digitizer/outline_command.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;

namespace digitizer_ui {

// The three sensitivity radios (ids 1104..1106) in a row.
class SensitivityRadios;

class CPreviewOutlineDlg : public QDialog {
 public:
  static constexpr int kPreviewWidth = 220;
  static constexpr int kPreviewHeight = 300;

  // fill: the picture drawn at the work size (read); line: receives the quantised picture.
  CPreviewOutlineDlg(QWidget* parent, const digitizer::PixelImage& fill, digitizer::PixelImage& line,
                     const digitizer::OutlineOptions& options);

  const digitizer::OutlineOptions& Options() const { return options_; }
  bool IsReady() const { return ready_; }
  QComboBox* ThicknessBox() const { return thickness_; }
  QCheckBox* DarkLinesBox() const { return darkLines_; }
  QRadioButton* SensitivityButton(int level) const { return sensitivity_[level]; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ReadControls();
  void BuildPreview();

  const digitizer::PixelImage& fill_;
  digitizer::PixelImage& line_;
  digitizer::OutlineOptions options_;
  digitizer::OutlineBuilder builder_;
  bool ready_ = false;
  QRadioButton* sensitivity_[3];
  QCheckBox* darkLines_;
  QComboBox* thickness_;
  QLabel* preview_;
};

class CColorSensitivityDlg : public QDialog {
 public:
  static constexpr int kPreviewWidth = 220;
  static constexpr int kPreviewHeight = 300;

  CColorSensitivityDlg(QWidget* parent, const digitizer::PixelImage& source, int sensitivity);

  int Sensitivity() const { return sensitivity_; }
  QRadioButton* SensitivityButton(int level) const { return radios_[level]; }
  const digitizer::PixelImage& Quantised() const { return quantised_; }
  QLabel* PreviewFrame() const { return preview_; }

 private:
  void Requantise();

  const digitizer::PixelImage& source_;
  digitizer::PixelImage quantised_;
  int sensitivity_;
  QRadioButton* radios_[3];
  QLabel* preview_;
};

// "Tracing Options": the sensitivity, the line thickness and the dark-lines option that Outline,
// Preview Outline and Auto Register start from.
class CTracingOptionsDlg : public QDialog {
 public:
  CTracingOptionsDlg(QWidget* parent, const digitizer::OutlineOptions& options);
  const digitizer::OutlineOptions& Options() const { return options_; }
  QComboBox* ThicknessBox() const { return thickness_; }
  void accept() override;

 private:
  digitizer::OutlineOptions options_;
  QRadioButton* sensitivity_[3];
  QCheckBox* darkLines_;
  QComboBox* thickness_;
};

}  // namespace digitizer_ui
