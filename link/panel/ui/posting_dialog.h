#pragma once

// A dialog that receives what its workers post: it registers under its own handle when
// made and unregisters when destroyed, so a late message for a closed dialog is dropped.
// Every Linkpanel dialog centres itself on the screen when it opens.

#include <QDialog>
#include <cstdint>

#include "platform/message_box.h"

namespace linkpanel_ui {

class PostingDialog : public QDialog {
 public:
  explicit PostingDialog(QWidget* parent);
  ~PostingDialog() override;

  platform::WindowHandle Handle() { return static_cast<QWidget*>(this); }

 protected:
  virtual void OnPosted(unsigned message, uintptr_t wparam, intptr_t lparam) = 0;
  void showEvent(QShowEvent* event) override;
};

// The owner handle of the exports as a widget.
QWidget* OwnerWidget(platform::WindowHandle owner);
// Messages from workers reach the dialogs through the Qt event loop.
void EnsurePostedMessagesDelivered();
void CenterOnScreen(QWidget* widget);

}  // namespace linkpanel_ui
