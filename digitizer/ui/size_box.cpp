#include "digitizer/ui/size_box.h"

#include <QGridLayout>
#include <QString>

#include "digitizer/make_stitch_options.h"

namespace digitizer_ui {

RotationSpinBox::RotationSpinBox(QWidget* parent, int maxTyped) : QSpinBox(parent) { setRange(0, maxTyped); }

void RotationSpinBox::stepBy(int steps) {
  // Steps of one held arrow follow each other within the spin's repeat interval; a pause
  // longer than that is a new press.
  constexpr qint64 kNewPressGapMs = 700;
  if (!sinceLastStep_.isValid() || sinceLastStep_.elapsed() > kNewPressGapMs) held_.start();
  sinceLastStep_.start();
  setValue(digitizer::StepRotationSpin(value(), steps, static_cast<int>(held_.elapsed())));
}

SizeBox MakeSizeBox(QWidget* parent, const SizeBoxRange& range,
                    std::function<void(int position)> onSlider,
                    std::function<void(int percent)> onSpin) {
  SizeBox out;
  out.box = new QGroupBox("Size", parent);
  auto* layout = new QGridLayout(out.box);
  out.slider = new QSlider(Qt::Vertical, out.box);
  out.slider->setRange(range.mirror - range.maxSize, range.mirror - range.minSize);
  out.slider->setInvertedAppearance(true);
  out.slider->setTickInterval(range.tick);
  out.slider->setTickPosition(QSlider::TicksRight);
  out.spin = new QSpinBox(out.box);
  out.spin->setRange(range.minSize, range.maxSize);
  out.text = new QLabel(out.box);
  layout->addWidget(new QLabel(QString("%1 %").arg(range.maxSize), out.box), 0, 1);
  layout->addWidget(new QLabel("100 %", out.box), 1, 1);
  layout->addWidget(new QLabel(QString("%1 %").arg(range.minSize), out.box), 2, 1);
  layout->addWidget(out.slider, 0, 0, 3, 1);
  layout->addWidget(out.spin, 3, 0);
  layout->addWidget(out.text, 3, 1);
  QObject::connect(out.slider, &QSlider::valueChanged, out.box, std::move(onSlider));
  QObject::connect(out.spin, &QSpinBox::valueChanged, out.box, std::move(onSpin));
  return out;
}

}  // namespace digitizer_ui
