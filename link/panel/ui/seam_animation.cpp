#include "link/panel/ui/seam_animation.h"

namespace linkpanel_ui {

namespace {
constexpr int kAnimationStepMs = 150;
constexpr int kSeamLength = 12;
}  // namespace

SeamAnimation::SeamAnimation(QWidget* parent) : QLabel(parent) {
  setObjectName("animation");
  setMinimumWidth(120);
  connect(&timer_, &QTimer::timeout, this, [this] { Step(); });
}

void SeamAnimation::Play() {
  timer_.start(kAnimationStepMs);
  show();
}

void SeamAnimation::Stop() {
  timer_.stop();
  clear();
}

void SeamAnimation::Step() {
  QString seam(kSeamLength, QChar('-'));
  seam[frame_ % kSeamLength] = QChar('|');
  ++frame_;
  setText(seam);
}

}  // namespace linkpanel_ui
