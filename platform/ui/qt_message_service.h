#pragma once

// The message service of the Qt programs: a QMessageBox with the caption, text, icon and
// buttons the flags ask for. A call from a worker thread is carried to the user-interface
// thread and waits there for the answer, since widgets live on that thread only.

#include <QMessageBox>
#include <memory>
#include <string>

#include "platform/message_box.h"

namespace platform_ui {

// The box for these flags, not yet shown; owner is a QWidget* or null.
std::unique_ptr<QMessageBox> MakeMessageBox(platform::WindowHandle owner, const std::string& text,
                                            const std::string& caption, unsigned flags);

// The answer a pressed button stands for.
int AnswerFor(QMessageBox::StandardButton button);

class QtMessageService : public platform::MessageService {
 public:
  int Show(platform::WindowHandle owner, const std::string& text, const std::string& caption,
           unsigned flags) override;

 protected:
  // Runs the box modally on the user-interface thread and returns the button pressed.
  virtual QMessageBox::StandardButton Run(QMessageBox& box);

 private:
  int ShowHere(platform::WindowHandle owner, const std::string& text, const std::string& caption,
               unsigned flags);
};

// Installs the process's one Qt message service; each program calls it at start-up,
// after its QApplication exists.
void InstallQtMessageService();

}  // namespace platform_ui
