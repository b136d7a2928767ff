#include "platform/ui/qt_ui_wake_up.h"

#include <QCoreApplication>
#include <QMetaObject>

#include "platform/post_to_ui.h"

namespace platform_ui {

void InstallQtUiWakeUp() {
  platform::SetUiWakeUp([] {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr) return;
    QMetaObject::invokeMethod(app, [] { platform::DeliverPostedMessages(); }, Qt::QueuedConnection);
  });
}

}  // namespace platform_ui
