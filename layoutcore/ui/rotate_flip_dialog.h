#pragma once

// "Rotate/Flip": three fixed turns, two flips and a free rotation by typed degrees in
// either direction, remembered in the profile section "Rotate".

#include <QDialog>
#include <QRadioButton>
#include <array>

#include "layoutcore/dialogs/rotate_flip_rules.h"
#include "layoutcore/ui/spin_field.h"

namespace editor_ui {

class CRotateFlipDlg : public QDialog {
 public:
  // Filled from the profile's "Rotate" section; OK stores it back there.
  CRotateFlipDlg(QWidget* parent, platform::Profile& profile);

  int Angle() const { return rules_.Angle(); }
  int Index() const { return rules_.Index(); }

  QRadioButton* Choice(int index) const { return choices_[static_cast<std::size_t>(index)]; }
  QRadioButton* Clockwise() const { return clockwise_; }
  QRadioButton* CounterClockwise() const { return counterClockwise_; }
  SpinField* Degrees() const { return degrees_; }

  void accept() override;

 private:
  void EnableFreeRotate();

  platform::Profile& profile_;
  editor::RotateFlipRules rules_;
  std::array<QRadioButton*, 6> choices_{};
  QRadioButton* clockwise_;
  QRadioButton* counterClockwise_;
  SpinField* degrees_;
};

}  // namespace editor_ui
