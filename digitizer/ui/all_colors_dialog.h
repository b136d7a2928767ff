#pragma once

// "All Colors View": shows the picture DrawAllColors made, stretched into its frame. It only
// displays; OK closes it.

#include <QDialog>
#include <QImage>
#include <QWidget>

#include "digitizer/part_list.h"

namespace digitizer_ui {

class AllColorsFrame : public QWidget {
 public:
  static constexpr int kWidth = 300;
  static constexpr int kHeight = 300;
  explicit AllColorsFrame(QWidget* parent);
  void SetPicture(QImage picture);
  const QImage& Picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
};

class CAllColorsDlg : public QDialog {
 public:
  CAllColorsDlg(QWidget* parent, const digitizer::CPartList& parts, int maskWidth, int maskHeight);
  AllColorsFrame* Frame() const { return frame_; }

 private:
  AllColorsFrame* frame_;
};

// Runs the dialog modally; what the parts editor's "All Color" button opens.
void ShowAllColorsDialog(QWidget* parent, const digitizer::CPartList& parts, int maskWidth, int maskHeight);

}  // namespace digitizer_ui
