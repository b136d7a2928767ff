#include "digitizer/ui/all_colors_dialog.h"

#include <QApplication>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "digitizer/all_colors_view.h"
#include "platform/ui/qt_canvas.h"

namespace digitizer_ui {

AllColorsFrame::AllColorsFrame(QWidget* parent) : QWidget(parent) { setFixedSize(kWidth, kHeight); }

void AllColorsFrame::SetPicture(QImage picture) {
  picture_ = std::move(picture);
  update();
}

void AllColorsFrame::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(rect(), picture_);
}

CAllColorsDlg::CAllColorsDlg(QWidget* parent, const digitizer::CPartList& parts, int maskWidth, int maskHeight)
    : QDialog(parent) {
  setWindowTitle("All Colors View");
  frame_ = new AllColorsFrame(this);
  auto* ok = new QPushButton("OK", this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(frame_);
  layout->addWidget(ok, 0, Qt::AlignRight);

  // A large design takes a moment to plot.
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const digitizer::PixelImage image =
      digitizer::DrawAllColors(parts, maskWidth, maskHeight, AllColorsFrame::kWidth, AllColorsFrame::kHeight);
  QImage picture(image.Width(), image.Height(), QImage::Format_RGB32);
  if (!picture.isNull()) {
    QPainter painter(&picture);
    platform_ui::QtCanvas canvas(painter);
    digitizer::PaintPixelImage(canvas, image, 0, 0);
  }
  frame_->SetPicture(std::move(picture));
  QApplication::restoreOverrideCursor();
}

void ShowAllColorsDialog(QWidget* parent, const digitizer::CPartList& parts, int maskWidth, int maskHeight) {
  CAllColorsDlg dialog(parent, parts, maskWidth, maskHeight);
  dialog.exec();
}

}  // namespace digitizer_ui
