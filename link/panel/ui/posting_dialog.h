#pragma once

// Every Linkpanel dialog is a LinkDialog: it centres itself on the screen when it opens and
// is never narrower than its caption, whose link state ("- USB Disconnected") matters.
// A PostingDialog receives what its workers post: it registers under its own handle when
// made and unregisters when destroyed, so a late message for a closed dialog is dropped.

#include <QDialog>
#include <cstdint>
#include <functional>

#include "platform/message_box.h"

namespace linkpanel_ui {

class LinkDialog : public QDialog {
 public:
  explicit LinkDialog(QWidget* parent) : QDialog(parent) {}

 protected:
  void showEvent(QShowEvent* event) override;
  // A caption that changes while the dialog is open (the link plugged or unplugged) widens it.
  void changeEvent(QEvent* event) override;
};

class PostingDialog : public LinkDialog {
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
};

// The owner handle of the exports as a widget.
QWidget* OwnerWidget(platform::WindowHandle owner);
// Messages from workers reach the dialogs through the Qt event loop.
void EnsurePostedMessagesDelivered();
void CenterWindowOnScreen(QWidget* widget);

}  // namespace linkpanel_ui
