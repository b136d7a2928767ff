#include "link/panel/ui/posting_dialog.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

#include "link/panel/transfer_frame.h"
#include "platform/post_to_ui.h"
#include "platform/ui/caption_width.h"
#include "platform/ui/qt_ui_wake_up.h"

namespace linkpanel_ui {

using platform_ui::WidenForCaption;

void LinkDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  WidenForCaption(*this);
  CenterWindowOnScreen(this);
}

void LinkDialog::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::WindowTitleChange) WidenForCaption(*this);
}

PostingDialog::PostingDialog(QWidget* parent) : LinkDialog(parent) {
  EnsurePostedMessagesDelivered();
  platform::RegisterUiReceiver(Handle(), [this](unsigned message, uintptr_t wparam,
                                                intptr_t lparam) { OnPosted(message, wparam, lparam); });
}

PostingDialog::~PostingDialog() { platform::UnregisterUiReceiver(Handle()); }

QWidget* OwnerWidget(platform::WindowHandle owner) { return static_cast<QWidget*>(owner); }

void EnsurePostedMessagesDelivered() { platform_ui::InstallQtUiWakeUp(); }

void CenterWindowOnScreen(QWidget* widget) {
  const QScreen* screen = widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  // The window with its frame, once the window manager has framed it; its client area alone
  // before.
  const QRect frame = widget->frameGeometry();
  widget->move(area.center() - QPoint(frame.width() / 2, frame.height() / 2));
}

bool PostingDialog::HandleWorkerCommand(unsigned message, uintptr_t wparam,
                                        const std::function<void()>& start,
                                        const std::function<void()>& finish) {
  if (message != linkpanel::kCommandMessage) return false;
  switch (static_cast<int>(wparam)) {
    case linkpanel::kCmdStartWorker:
      start();
      return true;
    case linkpanel::kCmdWorkerSucceeded:
      finish();
      done(linkpanel::kEndDone);
      return true;
    case linkpanel::kCmdWorkerFailed:
      finish();
      done(linkpanel::kEndCancelled);
      return true;
    default:
      return false;
  }
}

}  // namespace linkpanel_ui
