#pragma once

// "Setting Satin Stitch": draws the current region's outline and the two dots; every rule is
// SatinSettingModel's, this window only shows its state and forwards drags and buttons.

#include <QDialog>
#include <QPoint>
#include <QWidget>

#include "digitizer/satin_setting_rules.h"

class QLabel;
class QPushButton;
class QRadioButton;

namespace digitizer_ui {

// The drawing area: the outline stretched into the frame, the start and end dots on it or at
// their parking places in the top-left corner.
class SatinOutlineFrame : public QWidget {
 public:
  static constexpr int kDotRadius = 5;
  static constexpr int kPenWidth = 3;
  SatinOutlineFrame(QWidget* parent, digitizer::SatinSettingModel& model);

  // Where a dot is drawn now: on its point when assigned, else at its parking place.
  QPoint DotCentre(digitizer::SatinDot dot) const;
  static QPoint ParkingPlace(digitizer::SatinDot dot);
  digitizer::SatinFrameMapping Mapping() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  digitizer::SatinSettingModel& model_;
  bool dragging_ = false;
  digitizer::SatinDot dragDot_ = digitizer::SatinDot::kStart;
  QPoint dragAt_;
};

class CSatinStitchDlg : public QDialog {
 public:
  static constexpr int kBeforeId = 1118;
  static constexpr int kNextId = 1115;

  // entries: the part's ten satin records, written only when the dialog ends with OK.
  CSatinStitchDlg(QWidget* parent, const uint8_t* packedMask, std::size_t maskBytes, int width, int height,
                  digitizer::SatinSettings& entries);

  // Labels the regions; false (after its message) when the dialog is not to be shown.
  bool Start();
  int exec() override;

  digitizer::SatinSettingModel& Model() { return model_; }
  SatinOutlineFrame* Frame() const { return frame_; }
  QLabel* Counter() const { return counter_; }
  QPushButton* Button(int id) const;
  QRadioButton* DensityRadio(int id) const;

  void accept() override;

 private:
  void Refresh();

  digitizer::SatinSettingModel model_;
  SatinOutlineFrame* frame_;
  QLabel* counter_;
  QPushButton* before_;
  QPushButton* next_;
  QRadioButton* fine_;
  QRadioButton* medium_;
  QRadioButton* coarse_;
};

// Runs the dialog modally on a part's region mask; true when settings were changed by OK.
bool EditSatinSettings(QWidget* parent, const digitizer::PartRecord& part, int maskWidth, int maskHeight,
                       digitizer::SatinSettings& settings);

}  // namespace digitizer_ui
