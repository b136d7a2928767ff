#pragma once

// A dialog that receives what its workers post: it registers under its own handle when
// made and unregisters when destroyed, so a late message for a closed dialog is dropped.
// Every Linkpanel dialog centres itself on the screen when it opens.

#include <QDialog>
#include <cstdint>
#include <functional>

#include "platform/message_box.h"

namespace linkpanel_ui {

class PostingDialog : public QDialog {
 public:
  explicit PostingDialog(QWidget* parent);
  ~PostingDialog() override;

  platform::WindowHandle Handle() { return static_cast<QWidget*>(this); }

 protected:
  virtual void OnPosted(unsigned message, uintptr_t wparam, intptr_t lparam) = 0;
  // The private commands of a dialog that runs one worker: the start command starts it, and
  // the worker's verdict ends the dialog (done or cancelled) after finish() has let the
  // worker go. False for any other message.
  bool HandleWorkerCommand(unsigned message, uintptr_t wparam, const std::function<void()>& start,
                           const std::function<void()>& finish);
  void showEvent(QShowEvent* event) override;
};

// The owner handle of the exports as a widget.
QWidget* OwnerWidget(platform::WindowHandle owner);
// Messages from workers reach the dialogs through the Qt event loop.
void EnsurePostedMessagesDelivered();
void CenterOnScreen(QWidget* widget);

}  // namespace linkpanel_ui
