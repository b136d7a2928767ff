#pragma once

// A small looping animation while a transfer runs: a needle walking along a seam.

#include <QLabel>
#include <QTimer>

namespace linkpanel_ui {

class SeamAnimation : public QLabel {
 public:
  explicit SeamAnimation(QWidget* parent);
  void Play();
  void Stop();
  bool Playing() const { return timer_.isActive(); }

 private:
  void Step();
  QTimer timer_;
  int frame_ = 0;
};

}  // namespace linkpanel_ui
