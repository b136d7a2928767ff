#pragma once

// "About Brodera": the icon, the product and version, and two web links. A double click on
// the icon shows the splash window without its close timer.

#include <QDialog>
#include <QLabel>

namespace editor_ui {

class CAboutDlg : public QDialog {
 public:
  explicit CAboutDlg(QWidget* parent);
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
};

}  // namespace editor_ui
