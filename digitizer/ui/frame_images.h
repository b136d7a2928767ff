#pragma once

// The pictures of Pictorel's bars, drawn in code: the tool buttons (the desktop's icon theme
// where a standard action exists), the colour swatch and the stitch pictures of the
// colour-and-stitch bar, and the needle of the animation band.

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <string>

namespace digitizer_ui {

// Tool buttons are 22 x 21; the colour-and-stitch bar's pictures 44 x 22.
constexpr int kToolImageWidth = 22;
constexpr int kToolImageHeight = 21;
constexpr int kBarImageWidth = 44;
constexpr int kBarImageHeight = 22;

QIcon ToolIcon(int commandId);
// Image 0 of the bar: the swatch (14, 3)-(32, 19) in the thread's colour.
QPixmap ColorSwatchImage(QColor colour);
// Image 1 of the bar: stitch picture k (0..25) with its text at (22, 4).
QPixmap StitchTypeImage(int image, const std::string& text);

// The 20 x 20 animation of the third band: a needle going up and down.
class NeedleAnimation : public QWidget {
 public:
  explicit NeedleAnimation(QWidget* parent);
  int Frame() const { return frame_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QTimer timer_;
  int frame_ = 0;
};

}  // namespace digitizer_ui
