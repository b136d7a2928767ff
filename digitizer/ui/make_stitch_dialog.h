#pragma once

// "Make Stitch": the flip, rotation and size a Make Stitch run applies to the whole design.
// The rules are MakeStitchOptionsModel's; the window only shows them and forwards input.

#include <QDialog>

#include "digitizer/make_stitch_options.h"

class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;

namespace digitizer_ui {

class CMakeStitchDlg : public QDialog {
 public:
  CMakeStitchDlg(QWidget* parent, const digitizer::CStitchDesign& design, const digitizer::MakeStitchOptions& start);

  // What OK hands the frame for the run.
  const digitizer::MakeStitchOptions& Options() const { return model_.Options(); }
  const digitizer::MakeStitchOptionsModel& Model() const { return model_; }

  QRadioButton* FlipRadio(int id) const;
  QPushButton* RotationButton(int id) const;
  QSpinBox* RotationSpin() const { return rotation_; }
  QSlider* SizeSlider() const { return slider_; }
  QSpinBox* SizeSpin() const { return size_; }
  QLabel* SizeLabel() const { return sizeText_; }

 private:
  void Show();

  digitizer::MakeStitchOptionsModel model_;
  bool showing_ = false;  // the controls are being set from the model, not by the user
  QRadioButton* flips_[3];
  QPushButton* rotations_[4];
  QSpinBox* rotation_;
  QSlider* slider_;
  QSpinBox* size_;
  QLabel* sizeText_;
};

}  // namespace digitizer_ui
