#pragma once

// The small modal dialogs of the stitch workflow: "Modify Stitch", "Assign to Lines" and the
// hoop-limit "Attention". Their rules are in digitizer/modify_stitch_rules.h.

#include <QDialog>
#include <QWidget>

#include "digitizer/modify_stitch_rules.h"

class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;

namespace digitizer_ui {

// A small figure, flipped, turned and sized as the stitches will be.
class ModifyPreview : public QWidget {
 public:
  ModifyPreview(QWidget* parent, const digitizer::ModifyStitchModel& model);
  int Paints() const { return paints_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const digitizer::ModifyStitchModel& model_;
  int paints_ = 0;
};

class CModifyStitchDlg : public QDialog {
 public:
  static constexpr int kRotationEditId = 1082;
  static constexpr int kSizeSliderId = 1002;
  static constexpr int kSizeSpinId = 1004;

  CModifyStitchDlg(QWidget* parent, const digitizer::ModifySettings& start);

  // What "&Modify" returns to the frame.
  const digitizer::ModifySettings& Settings() const { return model_.Settings(); }
  const digitizer::ModifyStitchModel& Model() const { return model_; }

  QRadioButton* FlipRadio(int id) const;
  QPushButton* RotationButton(int id) const;
  QSpinBox* RotationSpin() const { return rotation_; }
  QSlider* SizeSlider() const { return slider_; }
  QSpinBox* SizeSpin() const { return size_; }
  QLabel* SizeLabel() const { return sizeText_; }
  ModifyPreview* Preview() const { return preview_; }

 private:
  void Show();

  digitizer::ModifyStitchModel model_;
  bool showing_ = false;  // the controls are being set from the model, not by the user
  QRadioButton* flips_[3];
  QPushButton* rotations_[4];
  QSpinBox* rotation_;
  QSlider* slider_;
  QSpinBox* size_;
  QLabel* sizeText_;
  ModifyPreview* preview_;
};

// Ends with IDYES (Select), IDNO (Undo) or IDCANCEL.
class CAssignLinesDlg : public QDialog {
 public:
  explicit CAssignLinesDlg(QWidget* parent);
  QPushButton* Button(int id) const;

 private:
  QPushButton* select_;
  QPushButton* undo_;
  QPushButton* cancel_;
};

class CHoopLimitDlg : public QDialog {
 public:
  explicit CHoopLimitDlg(QWidget* parent);
};

// Makes the hoop-limit notice of the save, send and card commands show this dialog, modal over
// the owner window. The program calls it once at start-up.
void InstallHoopLimitDialog();

}  // namespace digitizer_ui
