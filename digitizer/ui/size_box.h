#pragma once

// The "Size" group the finished-stitch dialogs share: a vertical slider whose top is the
// largest size (positions are mirror - size, as the dialogs' rules keep them), a spin box
// and the size text. The slider and the spin report to the caller's handlers.

#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>
#include <functional>

namespace digitizer_ui {

struct SizeBoxRange {
  int minSize;  // percent
  int maxSize;  // percent
  int mirror;   // slider position = mirror - size
  int tick;     // slider tick interval
};

struct SizeBox {
  QGroupBox* box;
  QSlider* slider;
  QSpinBox* spin;
  QLabel* text;
};

// The rotation spin of the finished-stitch dialogs: typed values 0..maxTyped; the arrows step
// as StepRotationSpin says, timing how long an arrow has been held.
class RotationSpinBox : public QSpinBox {
 public:
  RotationSpinBox(QWidget* parent, int maxTyped);
  void stepBy(int steps) override;

 private:
  QElapsedTimer held_;
  QElapsedTimer sinceLastStep_;
};

SizeBox MakeSizeBox(QWidget* parent, const SizeBoxRange& range,
                    std::function<void(int position)> onSlider,
                    std::function<void(int percent)> onSpin);

}  // namespace digitizer_ui
