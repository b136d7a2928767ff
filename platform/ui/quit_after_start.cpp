#include "platform/ui/quit_after_start.h"

#include <QCoreApplication>
#include <QTimer>

namespace platform_ui {

void QuitAfterStartWhenAsked() {
  if (!qEnvironmentVariableIsSet("VELINOR_QUIT_AFTER_START")) return;
  // A timer that ends every event loop it fires in, again and again: the program's own loop,
  // or a modal box's that the start opened (before the program's loop or in it). A single
  // quit would be lost when something of the start ran the queue before the program's loop
  // began, and a quit asks the windows to close, which a question may refuse.
  auto* timer = new QTimer(QCoreApplication::instance());
  QObject::connect(timer, &QTimer::timeout, [] { QCoreApplication::exit(0); });
  timer->start(0);
}

}  // namespace platform_ui
