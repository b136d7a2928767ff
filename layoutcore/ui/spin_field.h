#pragma once

// A number field with up and down arrows beside it. The field takes any text, since the
// dialog's OK checks it and answers a bad one with the range message; the arrows step the
// number within its range.

#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

namespace editor_ui {

class SpinField : public QWidget {
 public:
  SpinField(int low, int high, int value, QWidget* parent = nullptr);

  QLineEdit* Edit() const { return edit_; }
  QString Text() const { return edit_->text(); }
  void SetValue(int value);
  // One step up (+1) or down (-1) from the number shown, kept within the range.
  void Step(int direction);

 private:
  int low_;
  int high_;
  QLineEdit* edit_;
  QToolButton* up_;
  QToolButton* down_;
};

}  // namespace editor_ui
