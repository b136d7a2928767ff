#pragma once

// "About <program>": the icon, the product and version, and two web links. A double click on
// the icon shows the program's splash window without its close timer.

#include <QDialog>
#include <QLabel>

#include "design/ui/splash_wnd.h"

namespace editor_ui {

class CAboutDlg : public QDialog {
 public:
  // Brodera's box, unless another program's title and splash bitmap are given.
  explicit CAboutDlg(QWidget* parent, const QString& program = "Brodera", int splashBitmap = design_ui::kBroderaSplashBitmap);
  // The line that names the system the program runs on.
  static QString PlatformLine();

  QLabel* Icon() const { return icon_; }
  QLabel* Link(int number) const { return number == 1 ? link1_ : link5_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLabel* icon_;
  QLabel* link1_;
  QLabel* link5_;
  int splashBitmap_;
};

}  // namespace editor_ui
