#include "platform/ui/qt_message_service.h"

#include <QApplication>
#include <QMetaObject>
#include <QThread>
#include <array>

namespace platform_ui {

namespace {

using Button = QMessageBox::StandardButton;

// The buttons of each button set, in the order the default-button bits count them.
std::array<Button, 3> ButtonsOf(unsigned flags) {
  switch (flags & platform::kMbButtonMask) {
    case platform::kMbOkCancel:
      return {QMessageBox::Ok, QMessageBox::Cancel, QMessageBox::NoButton};
    case platform::kMbAbortRetryIgnore:
      return {QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore};
    case platform::kMbYesNoCancel:
      return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    case platform::kMbYesNo:
      return {QMessageBox::Yes, QMessageBox::No, QMessageBox::NoButton};
    case platform::kMbRetryCancel:
      return {QMessageBox::Retry, QMessageBox::Cancel, QMessageBox::NoButton};
    default:
      return {QMessageBox::Ok, QMessageBox::NoButton, QMessageBox::NoButton};
  }
}

QMessageBox::Icon IconOf(unsigned flags) {
  switch (flags & platform::kMbIconMask) {
    case platform::kMbIconError:
      return QMessageBox::Critical;
    case platform::kMbIconQuestion:
      return QMessageBox::Question;
    case platform::kMbIconExclamation:
      return QMessageBox::Warning;
    case platform::kMbIconInformation:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

}  // namespace

std::unique_ptr<QMessageBox> MakeMessageBox(platform::WindowHandle owner, const std::string& text,
                                            const std::string& caption, unsigned flags) {
  auto box = std::make_unique<QMessageBox>(static_cast<QWidget*>(owner));
  box->setWindowTitle(QString::fromStdString(caption));
  box->setTextFormat(Qt::PlainText);
  box->setText(QString::fromStdString(text));
  box->setIcon(IconOf(flags));
  const auto buttons = ButtonsOf(flags);
  QMessageBox::StandardButtons set;
  for (Button b : buttons) {
    if (b != QMessageBox::NoButton) set |= b;
  }
  box->setStandardButtons(set);
  const unsigned defaultIndex = (flags & platform::kMbDefButtonMask) >> 8;
  if (defaultIndex < buttons.size() && buttons[defaultIndex] != QMessageBox::NoButton) {
    box->setDefaultButton(buttons[defaultIndex]);
  } else {
    box->setDefaultButton(buttons[0]);
  }
  if (flags & platform::kMbTopmost) box->setWindowFlag(Qt::WindowStaysOnTopHint, true);
  return box;
}

int AnswerFor(QMessageBox::StandardButton button) {
  switch (button) {
    case QMessageBox::Cancel:
      return platform::kIdCancel;
    case QMessageBox::Abort:
      return platform::kIdAbort;
    case QMessageBox::Retry:
      return platform::kIdRetry;
    case QMessageBox::Ignore:
      return platform::kIdIgnore;
    case QMessageBox::Yes:
      return platform::kIdYes;
    case QMessageBox::No:
      return platform::kIdNo;
    default:
      return platform::kIdOk;
  }
}

QMessageBox::StandardButton QtMessageService::Run(QMessageBox& box) {
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

int QtMessageService::ShowHere(platform::WindowHandle owner, const std::string& text,
                               const std::string& caption, unsigned flags) {
  auto box = MakeMessageBox(owner, text, caption, flags);
  const Button pressed = Run(*box);
  // Closing the box with its window button answers as Escape would: the cancel button
  // when there is one, else the default answer.
  if (pressed == QMessageBox::NoButton) return platform::DefaultAnswer(flags);
  return AnswerFor(pressed);
}

int QtMessageService::Show(platform::WindowHandle owner, const std::string& text,
                           const std::string& caption, unsigned flags) {
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr) return platform::DefaultAnswer(flags);
  if (QThread::currentThread() == app->thread()) return ShowHere(owner, text, caption, flags);
  int answer = platform::DefaultAnswer(flags);
  QMetaObject::invokeMethod(
      app, [&] { answer = ShowHere(owner, text, caption, flags); }, Qt::BlockingQueuedConnection);
  return answer;
}

void InstallQtMessageService() {
  static QtMessageService service;
  platform::SetMessageService(&service);
}

}  // namespace platform_ui
